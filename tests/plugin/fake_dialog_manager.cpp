#include "fake_dialog_manager.h"

#include <sstream>

#include "dialog_proc.h"

namespace orvel::plugin::testing {
namespace {

template <class Handle>
std::string H(Handle handle) {
  return Hex(static_cast<std::uintptr_t>(handle));
}

}  // namespace

std::string Hex(std::uintptr_t value) {
  if (value == 0) return "null";
  std::ostringstream out;
  out << "0x" << std::hex << value;
  return out.str();
}

std::intptr_t FakeDialogManager::DialogBoxParamW(ModuleHandle instance, std::uint16_t templateId, WindowHandle owner,
                                                 std::intptr_t initParam) {
  Record("DialogBoxParamW(" + H(instance) + ", " + std::to_string(templateId) + ", " + H(owner) + ", " +
         std::to_string(initParam) + ")");
  if (!scripted_) return dialogResult;

  // A fresh dialog: nothing of an earlier one is left.
  ended_ = false;
  focus_ = WindowHandle::kNone;
  procedureResults_.push_back(ChooseDialogProc(*this, kDialog, kWmInitDialog, 0, initParam));
  for (const DialogInput& input : script_) {
    if (ended_) break;
    std::uintptr_t wParam = input.wParam;
    std::uint32_t message = input.message;
    if (input.kind == DialogInput::kEnter) {
      message = kWmCommand;
      wParam = static_cast<std::uintptr_t>(focus_) - kControlBase;
    }
    procedureResults_.push_back(ChooseDialogProc(*this, kDialog, message, wParam, 0));
  }
  if (!ended_) {
    // A real dialog would wait for more input; the script ran out instead.
    ++unendedDialogs_;
    return -1;
  }
  return endResult_;
}

int FakeDialogManager::EndDialog(WindowHandle dialog, std::intptr_t result) {
  Record("EndDialog(" + H(dialog) + ", " + std::to_string(result) + ")");
  ended_ = true;
  endResult_ = result;
  return 1;
}

ModuleHandle FakeDialogManager::GetModuleHandleW(const char16_t* name) {
  Record(name == nullptr ? "GetModuleHandleW(null)" : "GetModuleHandleW(name)");
  return hostModule;
}

int FakeDialogManager::GetSystemMetrics(int index) {
  Record("GetSystemMetrics(" + std::to_string(index) + ")");
  const auto found = metrics.find(index);
  return found == metrics.end() ? 0 : found->second;
}

IconHandle FakeDialogManager::LoadImageW(ModuleHandle instance, std::uint16_t resourceId, std::uint32_t type, int width,
                                         int height, std::uint32_t flags) {
  Record("LoadImageW(" + H(instance) + ", " + std::to_string(resourceId) + ", " + std::to_string(type) + ", " +
         std::to_string(width) + ", " + std::to_string(height) + ", " + Hex(flags) + ")");
  const auto found = iconsBySize.find(width);
  return found == iconsBySize.end() ? IconHandle::kNone : found->second;
}

std::intptr_t FakeDialogManager::SendMessageW(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                              std::intptr_t lParam) {
  Record("SendMessageW(" + H(window) + ", " + Hex(message) + ", " + std::to_string(wParam) + ", " +
         Hex(static_cast<std::uintptr_t>(lParam)) + ")");
  return 0;
}

int FakeDialogManager::SetForegroundWindow(WindowHandle window) {
  Record("SetForegroundWindow(" + H(window) + ")");
  return 1;
}

WindowHandle FakeDialogManager::GetDlgItem(WindowHandle dialog, int id) {
  Record("GetDlgItem(" + H(dialog) + ", " + std::to_string(id) + ")");
  return Control(id);
}

WindowHandle FakeDialogManager::SetFocus(WindowHandle window) {
  Record("SetFocus(" + H(window) + ")");
  const WindowHandle previous = focus_;
  focus_ = window;
  return previous;
}

}  // namespace orvel::plugin::testing
