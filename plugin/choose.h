#pragma once
// The exported Choose and its decisions: which language the dialog
// preselects, which text the dialog's result becomes, and how that text
// replaces the preference on top of the installer's stack.

#include <cstdint>

#include "platform/dialog_manager.h"
#include "platform/kernel_strings.h"
#include "stack_entry.h"

namespace orvel::plugin {

// The one preference text that preselects Portuguese.
inline constexpr char16_t kPreferPortuguese[] = u"preferred-2070";

// kPortuguese when `text` equals kPreferPortuguese as `strings` compares
// (whole text, case-sensitive), kEnglish for every other text.
int DefaultLanguageId(const char16_t* text, KernelStrings& strings);

// The answer for the script: "2070", "1033", "cancel" for kCancel, and
// "error" for anything else, the dialog manager's failures -1 and 0 among
// them. The pointer-sized result is compared whole.
const char16_t* ResultTextFor(std::intptr_t result);

// Shows the chooser with the language the top entry asks for preselected and
// writes the answer over that entry's text, at most string_size code units
// with the terminator. Without a stack, with an empty stack or without room
// (string_size zero or less) it shows nothing and writes nothing.
void Choose(DialogManager& dialogs, KernelStrings& strings, ModuleHandle plugin, WindowHandle owner, int string_size,
            StackEntry** stacktop);

}  // namespace orvel::plugin
