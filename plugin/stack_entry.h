#pragma once
// One entry of the installer's string stack, laid out as the host lays it
// out: the entry below, then the text, string_size UTF-16 code units long in
// the host's allocation. char16_t keeps the layout right natively too, where
// wchar_t is 32 bits wide.

#include <cstddef>

namespace orvel::plugin {

struct StackEntry {
  StackEntry* next;
  char16_t text[1];  // really string_size code units: the host allocates the rest
};

static_assert(sizeof(char16_t) == 2);
static_assert(offsetof(StackEntry, text) == sizeof(void*), "the text begins directly after the link");

}  // namespace orvel::plugin
