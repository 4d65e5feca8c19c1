#pragma once
// The chooser dialog as another process sees it: found by class, caption and
// owning process, and the points a user would click on it.

#include <windows.h>

#include <optional>
#include <string>

namespace orvel::plugin::testing {

inline constexpr wchar_t kChooserCaption[] = L"ORVEL \u00B7 Idioma / Language";

// "window 0x... (class "...", text "...", process N)", or "no window", for
// messages.
std::wstring DescribeWindow(HWND window);

// What the dialog's thread has as active window and focus, for messages.
std::wstring DescribeInputState(HWND dialog);

// The visible chooser dialog owned by `processId`, or null.
HWND FindVisibleChooser(DWORD processId);

// The centre of a control of the dialog, in screen coordinates.
std::optional<POINT> ControlCentre(HWND dialog, int controlId);

// The centre of the caption's close button, found by asking the dialog what
// lies where (WM_NCHITTEST) along its caption: GetTitleBarInfoEx is not
// answered under Wine 8, hit-testing is on both platforms.
std::optional<POINT> CloseBoxCentre(HWND dialog);

}  // namespace orvel::plugin::testing
