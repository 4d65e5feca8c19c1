#include "choose.h"

#include "chooser_ids.h"

namespace orvel::plugin {

int DefaultLanguageId(const char16_t* text, KernelStrings& strings) {
  return strings.lstrcmpW(text, kPreferPortuguese) == 0 ? kPortuguese : kEnglish;
}

const char16_t* ResultTextFor(std::intptr_t result) {
  switch (result) {
    case kPortuguese:
      return u"2070";
    case kEnglish:
      return u"1033";
    case kCancel:
      return u"cancel";
    default:
      return u"error";
  }
}

void Choose(DialogManager& dialogs, KernelStrings& strings, ModuleHandle plugin, WindowHandle owner, int string_size,
            StackEntry** stacktop) {
  if (stacktop == nullptr) return;
  StackEntry* const top = *stacktop;
  if (top == nullptr) return;
  if (string_size <= 0) return;

  const int preselected = DefaultLanguageId(top->text, strings);
  const std::intptr_t result = dialogs.DialogBoxParamW(plugin, kChooseDialogTemplate, owner, preselected);
  // The answer takes the preference's place in the same entry: the script's
  // next pop receives it.
  strings.lstrcpynW(top->text, ResultTextFor(result), string_size);
}

}  // namespace orvel::plugin
