#pragma once
#include "platform/kernel_strings.h"

namespace orvel::plugin {

// lstrcmpW and lstrcpynW from kernel32, as they are.
class WinKernelStrings final : public KernelStrings {
 public:
  int lstrcmpW(const char16_t* first, const char16_t* second) override;
  char16_t* lstrcpynW(char16_t* destination, const char16_t* source, int size) override;
};

}  // namespace orvel::plugin
