#pragma once
// A BGRA frame as a 32-bit BMP file (BITMAPFILEHEADER + BITMAPINFOHEADER,
// BI_RGB, no colour table), so that a check can keep frames as pictures any
// viewer opens. BI_RGB tells viewers to ignore the fourth byte, so frames
// whose alpha is 0 (GDI's) still show.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "analysis/frame_view.h"

namespace orvel::analysis {

enum class BmpRows {
  TopDown,   // negative height in the header, rows as in the frame
  BottomUp,  // positive height, last row first (the form every reader knows)
};

// Empty when the view is not complete or a side exceeds the header's range.
std::vector<std::uint8_t> EncodeBmp(const FrameView& frame, BmpRows rows = BmpRows::BottomUp);

struct DecodedBmp {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> pixels;  // BGRA, rows top-down, as a frame
  FrameView view() const { return FrameView{pixels, width, height}; }
};

// Reads back what EncodeBmp writes (32-bit BI_RGB, either row order); none
// for anything else or for a short or inconsistent file.
std::optional<DecodedBmp> DecodeBmp(std::span<const std::uint8_t> bytes);

// EncodeBmp written to `path`; false when encoding or writing fails.
bool SaveBmp(const std::filesystem::path& path, const FrameView& frame, BmpRows rows = BmpRows::BottomUp);

}  // namespace orvel::analysis
