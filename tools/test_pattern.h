#pragma once
// The picture that the test-pattern window paints, as a pure function, so
// that tests can tell which colour belongs at any place of a captured frame.
// A 4 x 3 grid of solid cells: large blocks survive nearest-neighbour
// scaling, and no two cells share a colour, so a misplaced, mirrored or
// channel-swapped frame shows. With --tick a small square (the ticker)
// keeps changing colour so that a compositor that sends frames only on
// change keeps sending them; checks skip TickerRect.

#include <cstdint>

namespace orvel::test_pattern {

struct Rgb {
  std::uint8_t r, g, b;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr int kColumns = 4;
inline constexpr int kRows = 3;

inline constexpr Rgb kCells[kRows][kColumns] = {
    {{220, 20, 60}, {255, 140, 0}, {255, 215, 0}, {50, 205, 50}},
    {{0, 128, 128}, {30, 144, 255}, {138, 43, 226}, {255, 105, 180}},
    {{128, 64, 0}, {0, 0, 128}, {255, 255, 255}, {64, 96, 32}},
};

// The dark variant: every pixel below the content threshold (no channel
// reaches 4), for runs that must end with "no content".
inline constexpr Rgb kDark{1, 2, 3};

// The cell that client pixel (x, y) of a width x height client lies in.
inline constexpr int CellColumn(int x, int width) { return static_cast<int>(std::int64_t{x} * kColumns / width); }
inline constexpr int CellRow(int y, int height) { return static_cast<int>(std::int64_t{y} * kRows / height); }

inline constexpr Rgb ColourAt(int x, int y, int width, int height) {
  return kCells[CellRow(y, height)][CellColumn(x, width)];
}

// First pixel of cell column c (or row r): the smallest x with CellColumn(x) == c.
inline constexpr int CellStart(int index, int cells, int extent) {
  return static_cast<int>((std::int64_t{index} * extent + cells - 1) / cells);
}

// Right and bottom exclusive, as in the platform's RECT.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  constexpr bool empty() const { return right <= left || bottom <= top; }
  constexpr bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The ticker: a square inside the top-left cell, in its lower-right part
// (5/8 to 7/8 of the cell at most), clear of the cell's centre and of the
// lines through the cells' middles that checks sample. Empty for a client
// too small to hold one.
inline constexpr Rect TickerRect(int width, int height) {
  const int cellWidth = CellStart(1, kColumns, width);
  const int cellHeight = CellStart(1, kRows, height);
  const int side = (cellWidth < cellHeight ? cellWidth : cellHeight) / 4;
  const int left = cellWidth * 5 / 8;
  const int top = cellHeight * 5 / 8;
  return Rect{left, top, left + side, top + side};
}

// The two colours the ticker alternates between.
inline constexpr Rgb kTickerColours[2] = {{255, 255, 255}, {0, 0, 0}};
// With --dark: still below the content threshold (no channel reaches 4).
inline constexpr Rgb kDarkTickerColours[2] = {{0, 0, 0}, {3, 3, 3}};

}  // namespace orvel::test_pattern
