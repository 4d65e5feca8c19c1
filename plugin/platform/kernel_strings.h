#pragma once
// The kernel's two string functions that the chooser relies on, with their
// arguments and results: texts are NUL-terminated UTF-16.

namespace orvel::plugin {

class KernelStrings {
 public:
  // Zero when the two texts are equal, case-sensitively.
  virtual int lstrcmpW(const char16_t* first, const char16_t* second) = 0;
  // Copies at most `size` - 1 code units of `source` into `destination` and
  // terminates it there; returns `destination`.
  virtual char16_t* lstrcpynW(char16_t* destination, const char16_t* source, int size) = 0;

 protected:
  ~KernelStrings() = default;
};

}  // namespace orvel::plugin
