#pragma once
#include <windows.h>

#include "platform/dialog_manager.h"

namespace orvel::plugin {

// The dialog manager over user32 and kernel32, call for call.
class WinDialogManager final : public DialogManager {
 public:
  std::intptr_t DialogBoxParamW(ModuleHandle instance, std::uint16_t templateId, WindowHandle owner,
                                std::intptr_t initParam) override;
  int EndDialog(WindowHandle dialog, std::intptr_t result) override;
  ModuleHandle GetModuleHandleW(const char16_t* name) override;
  int GetSystemMetrics(int index) override;
  IconHandle LoadImageW(ModuleHandle instance, std::uint16_t resourceId, std::uint32_t type, int width, int height,
                        std::uint32_t flags) override;
  std::intptr_t SendMessageW(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) override;
  int SetForegroundWindow(WindowHandle window) override;
  WindowHandle GetDlgItem(WindowHandle dialog, int id) override;
  WindowHandle SetFocus(WindowHandle window) override;
};

// The dialog procedure the dialog manager calls: every message goes to the
// portable ChooseDialogProc with the real dialog manager.
INT_PTR CALLBACK ChooseDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace orvel::plugin
