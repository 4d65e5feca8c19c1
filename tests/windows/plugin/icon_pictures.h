#pragma once
// Pictures to compare icons by: an icon's own bitmaps, and what the screen
// shows in a rectangle.

#include <windows.h>

#include <cstdint>
#include <vector>

namespace orvel::plugin::testing {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows top-down

  bool empty() const { return pixels.empty(); }
  bool operator==(const Picture&) const = default;
};

// Compares `shown` with `drawn` only where `drawn` differs from `blank`, the
// same place drawn without the icon: the icon's own pixels, whatever the
// background. `compared` is how many there were.
struct MaskedDifference {
  std::size_t compared = 0;
  std::size_t differing = 0;
};
MaskedDifference DifferenceWhereDrawn(const Picture& shown, const Picture& drawn, const Picture& blank);

struct IconPicture {
  Picture colour;
  Picture mask;
  bool operator==(const IconPicture&) const = default;
};

// The bitmaps behind an icon handle (any process's on Windows, where icons
// are shared by the session); empty when the handle is no icon.
IconPicture PictureOf(HICON icon);

// The screen's pixels in `area` (screen coordinates).
Picture ScreenPicture(const RECT& area);

}  // namespace orvel::plugin::testing
