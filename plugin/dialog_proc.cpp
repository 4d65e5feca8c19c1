#include "dialog_proc.h"

#include "chooser_ids.h"

namespace orvel::plugin {
namespace {

// The host's icon 103 at the size of one icon kind, loaded square. A host
// without that icon gives a null handle, which is set all the same: the
// dialog then has no icon of its own.
void SetHostIcon(DialogManager& dialogs, WindowHandle dialog, ModuleHandle host, std::uintptr_t kind, int metric) {
  const int size = dialogs.GetSystemMetrics(metric);
  const IconHandle icon = dialogs.LoadImageW(host, kHostIcon, kImageIcon, size, size, kLrShared);
  dialogs.SendMessageW(dialog, kWmSetIcon, kind, static_cast<std::intptr_t>(icon));
}

void Initialise(DialogManager& dialogs, WindowHandle dialog, int preselected) {
  const ModuleHandle host = dialogs.GetModuleHandleW(nullptr);
  SetHostIcon(dialogs, dialog, host, kIconBig, kSmCxIcon);
  SetHostIcon(dialogs, dialog, host, kIconSmall, kSmCxSmIcon);
  // No button carries the default style in the template: this alone decides
  // which one looks and acts as the default.
  dialogs.SendMessageW(dialog, kDmSetDefId, static_cast<std::uintptr_t>(preselected), 0);
  dialogs.SetForegroundWindow(dialog);
  dialogs.SetFocus(dialogs.GetDlgItem(dialog, preselected));
}

bool IsAnswer(int id) { return id == kPortuguese || id == kEnglish || id == kCancel; }

}  // namespace

std::intptr_t ChooseDialogProc(DialogManager& dialogs, WindowHandle dialog, std::uint32_t message,
                               std::uintptr_t wParam, std::intptr_t lParam) {
  switch (message) {
    case kWmInitDialog:
      Initialise(dialogs, dialog, static_cast<int>(lParam));
      return kFalse;  // the focus is placed: the dialog manager must not move it
    case kWmClose:
      dialogs.EndDialog(dialog, kCancel);
      return kTrue;
    case kWmCommand: {
      // The control identifier only; the notification code in the high word
      // does not matter.
      const int id = static_cast<int>(wParam & 0xFFFF);
      if (!IsAnswer(id)) return kFalse;  // IDOK among them: the dialog stays open
      dialogs.EndDialog(dialog, id);
      return kTrue;
    }
    default:
      return kFalse;
  }
}

}  // namespace orvel::plugin
