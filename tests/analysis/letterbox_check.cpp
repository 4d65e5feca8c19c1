#include "analysis/letterbox_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>

#include "analysis/pattern_geometry.h"
#include "analysis/problem_list.h"

namespace orvel::analysis {
namespace {

using test_pattern::kCells;
using test_pattern::kColumns;
using test_pattern::kRows;
using test_pattern::Rgb;

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char text[320];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

std::string Describe(const Rgb& c) { return Format("rgb(%d,%d,%d)", c.r, c.g, c.b); }
std::string Describe(const Bgra& p) { return Format("rgb(%d,%d,%d) alpha %d", p.r, p.g, p.b, p.a); }

int ColourDistance(const Bgra& p, const Rgb& c) {
  return std::abs(p.r - c.r) + std::abs(p.g - c.g) + std::abs(p.b - c.b);
}

int LargestChannelDifference(const Bgra& p, const Rgb& c) {
  return std::max({std::abs(p.r - c.r), std::abs(p.g - c.g), std::abs(p.b - c.b)});
}

constexpr Rgb kBlack{0, 0, 0};

class PatternInspector {
 public:
  PatternInspector(const FrameView& frame, std::uint32_t sourceWidth, std::uint32_t sourceHeight,
                   const PatternCheck& check)
      : frame_(frame),
        check_(check),
        geometry_(sourceWidth, sourceHeight, frame.width, frame.height,
                  Margin(frame, sourceWidth, sourceHeight, check)) {}

  std::vector<std::string> Run() {
    if (geometry_.pictureEmpty()) {
      problems_.Add("picture", "the picture has no area in the frame; only the bars were checked");
    } else {
      CheckCells();
      CheckColumnBoundaries();
      CheckRowBoundaries();
      if (check_.scaling == Scaling::Exact) CheckNoBlendedPixels();
    }
    CheckBars();
    return problems_.Lines();
  }

 private:
  // Nearest-neighbour copying moves a boundary by up to one source pixel,
  // which is ceil(scale) output pixels; a filter blends across about one
  // source pixel on each side of it, so it gets twice the margin.
  static int Margin(const FrameView& frame, std::uint32_t sourceWidth, std::uint32_t sourceHeight,
                    const PatternCheck& check) {
    const LetterboxPlacement fit = LetterboxRect(sourceWidth, sourceHeight, frame.width, frame.height);
    const double scale =
        std::max(static_cast<double>(fit.width()) / sourceWidth, static_cast<double>(fit.height()) / sourceHeight);
    const int base = static_cast<int>(std::ceil(scale)) + 1;
    return check.scaling == Scaling::Exact ? base : 2 * base;
  }

  bool Matches(const Bgra& pixel, const Rgb& colour) const {
    const int allowed = check_.scaling == Scaling::Exact ? 0 : check_.colourTolerance;
    return LargestChannelDifference(pixel, colour) <= allowed;
  }

  void CheckCells() {
    for (int row = 0; row < kRows; ++row) {
      for (int column = 0; column < kColumns; ++column) CheckCell(row, column);
    }
    if (cellsFailed_) Diagnose();
  }

  void CheckCell(int row, int column) {
    const PixelSpan xs = geometry_.CellColumnPixels(column);
    const PixelSpan ys = geometry_.CellRowPixels(row);
    if (xs.empty() || ys.empty()) {
      problems_.Add("cells too small", Format("cell (row %d, column %d) is too small to sample", row, column));
      return;
    }
    const Rgb expected = kCells[row][column];
    for (double fy : {0.25, 0.5, 0.75}) {
      for (double fx : {0.25, 0.5, 0.75}) {
        const int x = xs.At(fx), y = ys.At(fy);
        if (geometry_.NearTicker(x, y)) continue;
        const Bgra pixel = At(x, y);
        if (Matches(pixel, expected)) continue;
        ++cellsFailed_;
        problems_.Add("cell colours", Format("cell (row %d, column %d) at (%d, %d) is %s, expected %s", row, column, x,
                                             y, Describe(pixel).c_str(), Describe(expected).c_str()));
      }
    }
  }

  // Names what the cells show instead when it is one of the usual mistakes.
  void Diagnose() {
    struct Hypothesis {
      const char* text;
      std::function<Rgb(int, int)> colour;
    };
    const Hypothesis hypotheses[] = {
        {"red and blue swapped",
         [](int r, int c) {
           return Rgb{kCells[r][c].b, kCells[r][c].g, kCells[r][c].r};
         }},
        {"mirrored left to right", [](int r, int c) { return kCells[r][kColumns - 1 - c]; }},
        {"upside down", [](int r, int c) { return kCells[kRows - 1 - r][c]; }},
    };
    for (const Hypothesis& hypothesis : hypotheses) {
      bool all = true;
      for (int row = 0; row < kRows && all; ++row) {
        for (int column = 0; column < kColumns && all; ++column) {
          const PixelSpan xs = geometry_.CellColumnPixels(column), ys = geometry_.CellRowPixels(row);
          if (xs.empty() || ys.empty()) continue;
          const int x = xs.At(0.5), y = ys.At(0.5);
          if (!geometry_.NearTicker(x, y)) all = Matches(At(x, y), hypothesis.colour(row, column));
        }
      }
      if (all) problems_.Add("diagnosis", std::string("the cells match the pattern ") + hypothesis.text);
    }
  }

  // Along a line, the first pixel closer to the far colour than to the near
  // one marks the boundary; it must lie within the tolerance of `expected`.
  void FindBoundary(const char* what, double expected, const Rgb& nearColour, const Rgb& farColour, int lineLength,
                    const std::function<Bgra(int)>& pixelAt, const std::function<bool(int)>& skip) {
    const int reach = static_cast<int>(std::ceil(check_.positionTolerance)) + 2 * geometry_.margin();
    const int from = std::max(0, static_cast<int>(std::floor(expected)) - reach);
    const int to = std::min(lineLength - 1, static_cast<int>(std::ceil(expected)) + reach);
    if (from > to) return;
    for (int i = from; i <= to; ++i) {
      if (skip(i)) return;
    }
    if (ColourDistance(pixelAt(from), farColour) < ColourDistance(pixelAt(from), nearColour)) {
      problems_.Add("boundaries", Format("%s: the far side's colour already at %d, %d px before where the boundary "
                                         "belongs (%.1f)",
                                         what, from, static_cast<int>(expected) - from, expected));
      return;
    }
    for (int i = from; i <= to; ++i) {
      const Bgra pixel = pixelAt(i);
      if (ColourDistance(pixel, farColour) < ColourDistance(pixel, nearColour)) {
        if (std::abs(i - expected) > check_.positionTolerance) {
          problems_.Add("boundaries", Format("%s is at %d, expected at %.1f (%+.1f px; %.1f allowed)", what, i,
                                             expected, i - expected, check_.positionTolerance));
        }
        return;
      }
    }
    problems_.Add("boundaries", Format("%s: no change from %s to %s within %d px of %.1f", what,
                                       Describe(nearColour).c_str(), Describe(farColour).c_str(), reach, expected));
  }

  void CheckColumnBoundaries() {
    const LetterboxPlacement& fit = geometry_.picture();
    for (int row = 0; row < kRows; ++row) {
      const int y = geometry_.RowMiddle(row);
      if (y < 0 || y >= static_cast<int>(frame_.height)) continue;
      auto pixelAt = [&](int x) { return At(x, y); };
      auto skip = [&](int x) { return geometry_.NearTicker(x, y); };
      const int length = static_cast<int>(frame_.width);
      if (fit.left > 0) {
        FindBoundary(Format("row %d: left edge of the picture", row).c_str(), fit.left, kBlack, kCells[row][0], length,
                     pixelAt, skip);
      }
      for (int column = 1; column < kColumns; ++column) {
        FindBoundary(Format("row %d: boundary before column %d", row, column).c_str(), geometry_.ColumnBoundary(column),
                     kCells[row][column - 1], kCells[row][column], length, pixelAt, skip);
      }
      if (fit.right < length) {
        FindBoundary(Format("row %d: right edge of the picture", row).c_str(), fit.right, kCells[row][kColumns - 1],
                     kBlack, length, pixelAt, skip);
      }
    }
  }

  void CheckRowBoundaries() {
    const LetterboxPlacement& fit = geometry_.picture();
    for (int column = 0; column < kColumns; ++column) {
      const int x = geometry_.ColumnMiddle(column);
      if (x < 0 || x >= static_cast<int>(frame_.width)) continue;
      auto pixelAt = [&](int y) { return At(x, y); };
      auto skip = [&](int y) { return geometry_.NearTicker(x, y); };
      const int length = static_cast<int>(frame_.height);
      if (fit.top > 0) {
        FindBoundary(Format("column %d: top edge of the picture", column).c_str(), fit.top, kBlack, kCells[0][column],
                     length, pixelAt, skip);
      }
      for (int row = 1; row < kRows; ++row) {
        FindBoundary(Format("column %d: boundary before row %d", column, row).c_str(), geometry_.RowBoundary(row),
                     kCells[row - 1][column], kCells[row][column], length, pixelAt, skip);
      }
      if (fit.bottom < length) {
        FindBoundary(Format("column %d: bottom edge of the picture", column).c_str(), fit.bottom,
                     kCells[kRows - 1][column], kBlack, length, pixelAt, skip);
      }
    }
  }

  // A nearest-neighbour copy only ever repeats source pixels. Scans the
  // whole picture, so it works on raw rows and tries the pixel's own cell
  // colour before the others.
  void CheckNoBlendedPixels() {
    const LetterboxPlacement& fit = geometry_.picture();
    std::vector<int> columnOf(static_cast<std::size_t>(fit.width()));
    for (int x = fit.left, column = 0; x < fit.right; ++x) {
      while (column + 1 < kColumns && x + 0.5 >= geometry_.ColumnBoundary(column + 1)) ++column;
      columnOf[x - fit.left] = column;
    }
    std::size_t blended = 0, checked = 0;
    std::optional<std::pair<int, int>> first;
    for (int y = fit.top, row = 0; y < fit.bottom; ++y) {
      while (row + 1 < kRows && y + 0.5 >= geometry_.RowBoundary(row + 1)) ++row;
      const std::uint8_t* p = RowStart(y) + std::size_t(fit.left) * 4;
      for (int x = fit.left; x < fit.right; ++x, p += 4) {
        if (geometry_.NearTicker(x, y)) continue;
        ++checked;
        if (SameColour(p, kCells[row][columnOf[x - fit.left]])) continue;
        if (std::any_of(&kCells[0][0], &kCells[0][0] + kRows * kColumns,
                        [p](const Rgb& colour) { return SameColour(p, colour); })) {
          continue;
        }
        if (!first) first = std::pair{x, y};
        ++blended;
      }
    }
    if (blended > 0) {
      problems_.Add("blended", Format("%zu of %zu picture pixels are no colour of the pattern (blended, not a "
                                      "nearest-neighbour copy); the first at (%d, %d) is %s",
                                      blended, checked, first->first, first->second,
                                      Describe(At(first->first, first->second)).c_str()));
    }
  }

  void CheckBars() {
    const LetterboxPlacement& fit = geometry_.picture();
    const int width = static_cast<int>(frame_.width), height = static_cast<int>(frame_.height);
    // A filtering scaler may touch the pixels next to the picture.
    const int gap = check_.scaling == Scaling::Filtered ? 1 : 0;
    CheckBar("left bar", 0, 0, fit.left - gap, height);
    CheckBar("right bar", fit.right + gap, 0, width, height);
    CheckBar("top bar", std::max(0, fit.left), 0, std::min(width, fit.right), fit.top - gap);
    CheckBar("bottom bar", std::max(0, fit.left), fit.bottom + gap, std::min(width, fit.right), height);
  }

  // Pixels in [x0, x1) x [y0, y1).
  void CheckBar(const char* name, int x0, int y0, int x1, int y1) {
    const bool exact = check_.scaling == Scaling::Exact;
    const int tolerance = exact ? 0 : check_.colourTolerance;
    const int alpha = exact ? 0 : 255;
    std::size_t bad = 0, total = 0;
    std::optional<std::pair<int, int>> first;
    for (int y = std::max(0, y0); y < y1; ++y) {
      const std::uint8_t* p = RowStart(y) + std::size_t(std::max(0, x0)) * 4;
      for (int x = std::max(0, x0); x < x1; ++x, p += 4) {
        ++total;
        if (p[0] <= tolerance && p[1] <= tolerance && p[2] <= tolerance && std::abs(p[3] - alpha) <= tolerance) {
          continue;
        }
        if (!first) first = std::pair{x, y};
        ++bad;
      }
    }
    if (bad > 0) {
      problems_.Add(
          "bars", Format("%s: %zu of %zu pixels are not black with alpha %d; the first at (%d, %d) is %s", name, bad,
                         total, alpha, first->first, first->second, Describe(At(first->first, first->second)).c_str()));
    }
  }

  static bool SameColour(const std::uint8_t* p, const Rgb& colour) {
    return p[0] == colour.b && p[1] == colour.g && p[2] == colour.r;
  }
  const std::uint8_t* RowStart(int y) const { return frame_.bytes.data() + std::size_t(y) * frame_.width * 4; }
  Bgra At(int x, int y) const { return frame_.At(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)); }

  const FrameView& frame_;
  const PatternCheck& check_;
  PatternGeometry geometry_;
  ProblemList problems_;
  int cellsFailed_ = 0;
};

}  // namespace

std::vector<std::string> CheckLetterboxedPattern(const FrameView& frame, std::uint32_t sourceWidth,
                                                 std::uint32_t sourceHeight, const PatternCheck& check) {
  if (!frame.complete()) {
    return {Format("the frame has %zu bytes; %u x %u pixels need %llu", frame.bytes.size(), frame.width, frame.height,
                   static_cast<unsigned long long>(frame.expectedBytes()))};
  }
  if (sourceWidth == 0 || sourceHeight == 0) {
    return {Format("the source size %u x %u has no area", sourceWidth, sourceHeight)};
  }
  return PatternInspector(frame, sourceWidth, sourceHeight, check).Run();
}

std::vector<std::string> CheckUnscaledPattern(const FrameView& frame, const PatternCheck& check) {
  return CheckLetterboxedPattern(frame, frame.width, frame.height, check);
}

}  // namespace orvel::analysis
