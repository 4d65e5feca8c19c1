#pragma once
// Playing the user on another process's window with SendInput: keys go to
// the foreground window, clicks to whatever lies under the pointer, so both
// are only as good as the checks made before them (the window is foreground,
// the point lies on the intended window).

#include <windows.h>

#include <string>
#include <vector>

namespace orvel::plugin::testing {

// Makes `window` the foreground window, escalating from a plain
// SetForegroundWindow to the documented ways a process earns the right to do
// so. Returns an empty string on success, otherwise what is in front instead.
std::wstring BringToForeground(HWND window);

// Presses the keys together (modifiers first) and releases them in reverse
// order, in one SendInput batch so that no other input can come between.
// Every key pressed is released, even when the batch is cut short. Returns
// an empty string on success.
std::wstring PressChord(const std::vector<WORD>& virtualKeys);

// Moves the pointer to `point` (screen coordinates), checks that it arrived
// and that `expected` (or one of its children) is the window under it, then
// clicks the left button. Returns an empty string on success.
std::wstring ClickAt(POINT point, HWND expected);

// Moves the pointer to the left edge of the desktop, halfway down: away from
// where a centred dialog appears. Under Wine, a pointer that enters a window
// makes Wine re-read the modifier keys from the X server, which knows nothing
// of SendInput, and release them: with the pointer entering the dialog
// between Alt and F4, Alt+F4 was lost 5 times out of 5. A dialog that opens
// under the pointer brings the same about a moment later. Returns an empty
// string on success.
std::wstring ParkPointer();

}  // namespace orvel::plugin::testing
