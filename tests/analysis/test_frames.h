#pragma once
// Made-up frames for the analysis tests: the test pattern rendered at a
// source size, then placed in an output frame the way each backend does it,
// and the usual ways a frame goes wrong.

#include <cstdint>
#include <optional>
#include <vector>

#include "analysis/frame_view.h"
#include "test_pattern.h"

namespace orvel::analysis::testing {

struct Frame {
  std::uint32_t width = 0, height = 0;
  std::vector<std::uint8_t> pixels;
  FrameView view() const { return FrameView{pixels, width, height}; }
  void Set(std::uint32_t x, std::uint32_t y, Bgra pixel);
};

// The window's picture; the ticker painted in `ticker` when given.
Frame RenderPattern(std::uint32_t width, std::uint32_t height, std::uint8_t alpha,
                    std::optional<test_pattern::Rgb> ticker = std::nullopt);

// Like GDI's COLORONCOLOR StretchBlt into a zeroed DIB: nearest source pixel
// (x * source / fitted, no pixel-centre offset), bars 0,0,0 alpha 0.
Frame LetterboxNearest(const Frame& source, std::uint32_t width, std::uint32_t height);

// Like a filtering GPU scaler: bilinear with pixel centres and clamped
// edges, on an opaque black background.
Frame LetterboxBilinear(const Frame& source, std::uint32_t width, std::uint32_t height);

// The whole frame moved by (dx, dy), the uncovered side filled with `fill`.
Frame Shifted(const Frame& frame, int dx, int dy, Bgra fill);
Frame MirroredLeftToRight(const Frame& frame);
Frame RedBlueSwapped(const Frame& frame);

}  // namespace orvel::analysis::testing
