#pragma once
// The icon in a window's caption, as the screen shows it, beside the same
// caption drawn by reference windows of this process. Under Wine 8 a window
// of another process does not answer WM_GETICON (the message is not carried
// across processes), so what its caption shows is the evidence there.

#include <windows.h>

#include <optional>
#include <string>

#include "icon_pictures.h"

namespace orvel::plugin::testing {

// The caption's icon area: from the window's left edge to where the title
// bar proper begins (GetTitleBarInfo leaves the window menu's icon out).
std::optional<RECT> CaptionIconArea(HWND window);

struct ReferenceCaptions {
  Picture blank;  // no icon and no caption text: the caption's background
  Picture withoutIcon;
  Picture largeAndSmall;  // WM_SETICON: `large` as ICON_BIG, `small` as ICON_SMALL
  Picture largeOnly;      // `large` as both
  std::wstring error;     // empty when all were drawn
};

// Windows with the style, size and caption of `like` (the blank one without
// caption), each brought to the front in turn and photographed once its
// caption settles, then destroyed.
ReferenceCaptions DrawReferenceCaptions(HWND like, HICON large, HICON small);

}  // namespace orvel::plugin::testing
