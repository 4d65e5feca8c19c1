#pragma once
// A dialog manager that records every call in order, as text, and answers
// from knobs. DialogBoxParamW either returns a chosen result or runs a
// scripted dialog: it hands WM_INITDIALOG and then the scripted messages to
// the real ChooseDialogProc until the procedure calls EndDialog.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/dialog_manager.h"

namespace orvel::plugin::testing {

// A message the scripted dialog delivers. kEnter stands for the dialog
// manager's handling of the Enter key: a WM_COMMAND from the control that
// has the focus.
struct DialogInput {
  enum Kind { kMessage, kEnter } kind = kMessage;
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;

  static DialogInput Message(std::uint32_t message, std::uintptr_t wParam = 0) { return {kMessage, message, wParam}; }
  static DialogInput Command(int id) { return Message(kWmCommand, static_cast<std::uintptr_t>(id)); }
  static DialogInput Enter() { return {kEnter, 0, 0}; }
};

class FakeDialogManager final : public DialogManager {
 public:
  static constexpr WindowHandle kDialog = static_cast<WindowHandle>(0xD1A0);
  // GetDlgItem(dialog, id) answers kControlBase + id.
  static constexpr std::uintptr_t kControlBase = 0xC0000;
  static WindowHandle Control(int id) {
    return static_cast<WindowHandle>(kControlBase + static_cast<std::uintptr_t>(id));
  }

  // Knobs.
  std::intptr_t dialogResult = -1;  // what DialogBoxParamW returns when no dialog is scripted
  ModuleHandle hostModule = static_cast<ModuleHandle>(0x140000000);
  std::map<int, int> metrics = {{kSmCxIcon, 48}, {kSmCxSmIcon, 20}};
  // LoadImageW answers by requested width; absent: no such icon (kNone).
  std::map<int, IconHandle> iconsBySize = {{48, static_cast<IconHandle>(0x1C0B)},
                                           {20, static_cast<IconHandle>(0x1C05)}};

  // Makes DialogBoxParamW run the dialog with these inputs.
  void Script(std::vector<DialogInput> inputs) {
    script_ = std::move(inputs);
    scripted_ = true;
  }

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

  // Every call so far, e.g. "GetDlgItem(0xd1a0, 2070)"; handles in hex.
  const std::vector<std::string>& journal() const { return journal_; }
  void ClearJournal() { journal_.clear(); }
  // What the scripted dialogs' procedure returned, message by message.
  const std::vector<std::intptr_t>& procedureResults() const { return procedureResults_; }
  // Scripted dialogs whose inputs ran out before the procedure ended them;
  // DialogBoxParamW returned -1 for each. A test's script must end its dialog.
  int unendedDialogs() const { return unendedDialogs_; }

 private:
  void Record(std::string call) { journal_.push_back(std::move(call)); }

  std::vector<std::string> journal_;
  std::vector<DialogInput> script_;
  bool scripted_ = false;
  std::vector<std::intptr_t> procedureResults_;
  WindowHandle focus_ = WindowHandle::kNone;
  bool ended_ = false;
  std::intptr_t endResult_ = 0;
  int unendedDialogs_ = 0;
};

// "0x1c0b" for a handle, "null" for none.
std::string Hex(std::uintptr_t value);

}  // namespace orvel::plugin::testing
