#pragma once
// What the chooser dialog does with each message: on creation it takes the
// host's icon, makes the preselected language button the default and gives
// it the focus; it ends with the identifier of a language button, or with
// kCancel for every other way out.

#include <cstdint>

#include "platform/dialog_manager.h"

namespace orvel::plugin {

// The dialog procedure of template 101. WM_INITDIALOG carries the preselected
// language identifier in lParam. Returns kTrue for a message it handled.
std::intptr_t ChooseDialogProc(DialogManager& dialogs, WindowHandle dialog, std::uint32_t message,
                               std::uintptr_t wParam, std::intptr_t lParam);

}  // namespace orvel::plugin
