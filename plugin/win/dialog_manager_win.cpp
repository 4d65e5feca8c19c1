#include "dialog_manager_win.h"

#include "dialog_proc.h"
#include "handles_win.h"

namespace orvel::plugin {

INT_PTR CALLBACK ChooseDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  WinDialogManager dialogs;
  return ChooseDialogProc(dialogs, FromHwnd(dialog), message, wParam, lParam);
}

std::intptr_t WinDialogManager::DialogBoxParamW(ModuleHandle instance, std::uint16_t templateId, WindowHandle owner,
                                                std::intptr_t initParam) {
  return ::DialogBoxParamW(ToHinstance(instance), MAKEINTRESOURCEW(templateId), ToHwnd(owner), ChooseDialogProc,
                           initParam);
}

int WinDialogManager::EndDialog(WindowHandle dialog, std::intptr_t result) {
  return ::EndDialog(ToHwnd(dialog), result);
}

ModuleHandle WinDialogManager::GetModuleHandleW(const char16_t* name) {
  return FromHinstance(::GetModuleHandleW(ToWide(name)));
}

int WinDialogManager::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

IconHandle WinDialogManager::LoadImageW(ModuleHandle instance, std::uint16_t resourceId, std::uint32_t type, int width,
                                        int height, std::uint32_t flags) {
  return FromHandle(::LoadImageW(ToHinstance(instance), MAKEINTRESOURCEW(resourceId), type, width, height, flags));
}

std::intptr_t WinDialogManager::SendMessageW(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                             std::intptr_t lParam) {
  return ::SendMessageW(ToHwnd(window), message, wParam, lParam);
}

int WinDialogManager::SetForegroundWindow(WindowHandle window) { return ::SetForegroundWindow(ToHwnd(window)); }

WindowHandle WinDialogManager::GetDlgItem(WindowHandle dialog, int id) {
  return FromHwnd(::GetDlgItem(ToHwnd(dialog), id));
}

WindowHandle WinDialogManager::SetFocus(WindowHandle window) { return FromHwnd(::SetFocus(ToHwnd(window))); }

}  // namespace orvel::plugin
