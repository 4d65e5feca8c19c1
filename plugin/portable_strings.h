#pragma once
// The kernel string functions the chooser relies on, written out so that the
// chooser runs without Windows: texts compare code unit by code unit, and the
// bounded copy counts as the kernel's does.

#include "platform/kernel_strings.h"

namespace orvel::plugin {

class PortableStrings final : public KernelStrings {
 public:
  // Negative, zero or positive as the first differing code unit, taken
  // unsigned, is smaller, equal or larger. Only zero or not zero matters to
  // the chooser; the kernel orders by locale, which may differ in sign.
  int lstrcmpW(const char16_t* first, const char16_t* second) override;
  // At most size - 1 code units, then a NUL; nothing past the NUL is
  // touched. A size of zero or less writes nothing (the kernel would take a
  // negative size as no bound at all; the chooser never passes one).
  char16_t* lstrcpynW(char16_t* destination, const char16_t* source, int size) override;
};

}  // namespace orvel::plugin
