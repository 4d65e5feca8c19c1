#pragma once
// Plays the user for the chooser dialog of a test: a thread that waits for
// the dialog to show on the thread that called Choose, notes what it looks
// like, then acts on it. If the dialog is still up a few seconds after the
// action, the driver closes it and says so, so a test can fail but not hang.

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

namespace orvel::plugin::testing {

struct DialogSeen {
  HWND window = nullptr;  // null: no dialog showed
  HWND owner = nullptr;
  bool ownerDisabled = false;
  int defaultId = 0;  // from DM_GETDEFID; 0 when there is none
  int focusId = 0;    // the control with the keyboard focus
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  bool stuck = false;  // the action did not end the dialog
};

class ChooserDriver {
 public:
  // Acts on the dialog once it shows. `chooserThread` is the thread that
  // calls Choose.
  ChooserDriver(DWORD chooserThread, std::function<void(HWND dialog, HWND focus)> act);
  ~ChooserDriver();
  ChooserDriver(const ChooserDriver&) = delete;
  ChooserDriver& operator=(const ChooserDriver&) = delete;

  // Call once Choose has returned: a dialog that showed has been closed by
  // then, so the driver stops waiting for one.
  DialogSeen Finish();

 private:
  void Run();

  DWORD chooserThread_;
  std::function<void(HWND, HWND)> act_;
  std::atomic<bool> stop_{false};
  DialogSeen seen_;
  std::thread thread_;
};

// The visible chooser dialog of a thread, or null.
HWND FindChooser(DWORD thread);

// Actions.
std::function<void(HWND, HWND)> PostCommand(int id);
std::function<void(HWND, HWND)> PostClose();
// Keys as the message loop gets them from the keyboard, posted to the control
// with the focus: down and up for each virtual key (all but the last must
// move the focus, as Tab does), or a typed character.
std::function<void(HWND, HWND)> PressKeys(std::initializer_list<UINT> virtualKeys);
std::function<void(HWND, HWND)> TypeCharacter(wchar_t character);

}  // namespace orvel::plugin::testing
