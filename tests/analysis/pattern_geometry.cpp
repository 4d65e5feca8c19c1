#include "analysis/pattern_geometry.h"

#include <algorithm>
#include <cmath>

namespace orvel::analysis {

using test_pattern::CellStart;
using test_pattern::kColumns;
using test_pattern::kRows;

int PixelSpan::At(double fraction) const { return first + static_cast<int>(std::lround(fraction * (last - first))); }

PatternGeometry::PatternGeometry(std::uint32_t sourceWidth, std::uint32_t sourceHeight, std::uint32_t frameWidth,
                                 std::uint32_t frameHeight, int margin)
    : sourceWidth_(sourceWidth),
      sourceHeight_(sourceHeight),
      picture_(LetterboxRect(sourceWidth, sourceHeight, frameWidth, frameHeight)),
      margin_(margin) {
  scale_ = std::max(static_cast<double>(picture_.width()) / sourceWidth,
                    static_cast<double>(picture_.height()) / sourceHeight);
  const test_pattern::Rect source =
      test_pattern::TickerRect(static_cast<int>(sourceWidth), static_cast<int>(sourceHeight));
  if (!source.empty()) {
    ticker_ = test_pattern::Rect{static_cast<int>(std::floor(OutputX(source.left))) - margin,
                                 static_cast<int>(std::floor(OutputY(source.top))) - margin,
                                 static_cast<int>(std::ceil(OutputX(source.right))) + margin,
                                 static_cast<int>(std::ceil(OutputY(source.bottom))) + margin};
  }
}

double PatternGeometry::OutputX(double sourceX) const {
  return picture_.left + sourceX * picture_.width() / sourceWidth_;
}

double PatternGeometry::OutputY(double sourceY) const {
  return picture_.top + sourceY * picture_.height() / sourceHeight_;
}

double PatternGeometry::ColumnBoundary(int column) const {
  return OutputX(CellStart(column, kColumns, static_cast<int>(sourceWidth_)));
}

double PatternGeometry::RowBoundary(int row) const {
  return OutputY(CellStart(row, kRows, static_cast<int>(sourceHeight_)));
}

PixelSpan PatternGeometry::CellColumnPixels(int column) const {
  return PixelSpan{static_cast<int>(std::ceil(ColumnBoundary(column))) + margin_,
                   static_cast<int>(std::floor(ColumnBoundary(column + 1))) - 1 - margin_};
}

PixelSpan PatternGeometry::CellRowPixels(int row) const {
  return PixelSpan{static_cast<int>(std::ceil(RowBoundary(row))) + margin_,
                   static_cast<int>(std::floor(RowBoundary(row + 1))) - 1 - margin_};
}

int PatternGeometry::ColumnMiddle(int column) const {
  return static_cast<int>(std::floor((ColumnBoundary(column) + ColumnBoundary(column + 1)) / 2));
}

int PatternGeometry::RowMiddle(int row) const {
  return static_cast<int>(std::floor((RowBoundary(row) + RowBoundary(row + 1)) / 2));
}

bool PatternGeometry::TouchesTicker(int x0, int y0, int x1, int y1) const {
  return !ticker_.empty() && x0 < ticker_.right && x1 >= ticker_.left && y0 < ticker_.bottom && y1 >= ticker_.top;
}

}  // namespace orvel::analysis
