#pragma once
// The size of the pattern window's picture as a backend sees it, in
// physical pixels: the checks are DPI aware, as the helper is, so that a
// scaled desktop does not shrink the sizes they read.

#include <cstdint>

#include "expectations/capture_expectations.h"

namespace orvel::wintest {

struct PictureSize {
  std::uint32_t width = 0, height = 0;
  friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

// GetWindowRect for Windows Graphics Capture, which takes the whole
// top-level window; GetClientRect for GDI. Zero when the window is gone.
PictureSize PictureSizeOf(std::uint64_t window, expectations::PictureArea area);

}  // namespace orvel::wintest
