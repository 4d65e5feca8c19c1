#pragma once
// Where the test pattern's cells, boundaries and ticker land in a frame when
// a sourceWidth x sourceHeight picture is placed by LetterboxRect: the
// arithmetic the pattern checks share.

#include <cstdint>

#include "letterbox.h"
#include "test_pattern.h"

namespace orvel::analysis {

// A span of whole output pixels, both ends included; empty when last < first.
struct PixelSpan {
  int first = 0;
  int last = -1;
  bool empty() const { return last < first; }
  int At(double fraction) const;  // the pixel at `fraction` of the way from first to last
};

class PatternGeometry {
 public:
  PatternGeometry(std::uint32_t sourceWidth, std::uint32_t sourceHeight, std::uint32_t frameWidth,
                  std::uint32_t frameHeight, int margin);

  const LetterboxPlacement& picture() const { return picture_; }
  bool pictureEmpty() const { return picture_.width() <= 0 || picture_.height() <= 0; }
  // Output pixels per source pixel, the larger of the two directions.
  double scale() const { return scale_; }
  // How far samples stay from boundaries, in output pixels.
  int margin() const { return margin_; }

  // Source coordinates (continuous, in source pixels) to output coordinates.
  double OutputX(double sourceX) const;
  double OutputY(double sourceY) const;

  // Output position of the boundary before cell column `column` (0 is the
  // picture's left edge, kColumns its right edge), and likewise for rows.
  double ColumnBoundary(int column) const;
  double RowBoundary(int row) const;
  // The output pixels wholly inside a cell, inset by the margin.
  PixelSpan CellColumnPixels(int column) const;
  PixelSpan CellRowPixels(int row) const;
  // The output line through the middle of a cell column or row.
  int ColumnMiddle(int column) const;
  int RowMiddle(int row) const;

  // The ticker's output rectangle grown by the margin; checks skip it.
  bool NearTicker(int x, int y) const { return ticker_.Contains(x, y); }
  // Whether any pixel of the inclusive output rectangle is near the ticker.
  bool TouchesTicker(int x0, int y0, int x1, int y1) const;

 private:
  std::uint32_t sourceWidth_, sourceHeight_;
  LetterboxPlacement picture_;
  double scale_ = 0;
  int margin_;
  test_pattern::Rect ticker_;
};

}  // namespace orvel::analysis
