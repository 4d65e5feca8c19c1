#pragma once
// The dialog-manager seam: the window-system calls the chooser makes, with the
// platform's own arguments and results, and the platform numbers it uses.

#include <cstdint>

#include "platform/handles.h"

namespace orvel::plugin {

// Messages and their arguments.
inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmSetIcon = 0x0080;
inline constexpr std::uint32_t kWmInitDialog = 0x0110;
inline constexpr std::uint32_t kWmCommand = 0x0111;
inline constexpr std::uint32_t kDmSetDefId = 0x0401;
inline constexpr std::uintptr_t kIconSmall = 0;
inline constexpr std::uintptr_t kIconBig = 1;

// GetSystemMetrics indices and LoadImageW arguments.
inline constexpr int kSmCxIcon = 11;
inline constexpr int kSmCxSmIcon = 49;
inline constexpr std::uint32_t kImageIcon = 1;
inline constexpr std::uint32_t kLrShared = 0x8000;

// A dialog procedure's answer: whether it handled the message.
inline constexpr std::intptr_t kFalse = 0;
inline constexpr std::intptr_t kTrue = 1;

class DialogManager {
 public:
  // Creates the modal dialog from template `templateId` of `instance`, owned by
  // `owner` (none when kNone), runs it on the calling thread with the
  // chooser's dialog procedure, and delivers `initParam` as the LPARAM of
  // WM_INITDIALOG. Returns the value given to EndDialog, or -1 (0 for an
  // owner that is not a window) when the dialog cannot be created. The
  // procedure is not an argument here: the plug-in has exactly one, and the
  // Windows layer binds it.
  virtual std::intptr_t DialogBoxParamW(ModuleHandle instance, std::uint16_t templateId, WindowHandle owner,
                                        std::intptr_t initParam) = 0;
  // Ends the modal loop; `result` becomes DialogBoxParamW's result.
  virtual int EndDialog(WindowHandle dialog, std::intptr_t result) = 0;
  // With a null name: the module of the host program.
  virtual ModuleHandle GetModuleHandleW(const char16_t* name) = 0;
  virtual int GetSystemMetrics(int index) = 0;
  // Loads the image resource `resourceId` (an integer resource identifier) of
  // `instance`; kNone on failure.
  virtual IconHandle LoadImageW(ModuleHandle instance, std::uint16_t resourceId, std::uint32_t type, int width,
                                int height, std::uint32_t flags) = 0;
  virtual std::intptr_t SendMessageW(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam) = 0;
  virtual int SetForegroundWindow(WindowHandle window) = 0;
  virtual WindowHandle GetDlgItem(WindowHandle dialog, int id) = 0;
  virtual WindowHandle SetFocus(WindowHandle window) = 0;

 protected:
  // Never deleted through the seam: the DLL is built without the C++ runtime,
  // so there is no operator delete for a virtual destructor to call.
  ~DialogManager() = default;
};

}  // namespace orvel::plugin
