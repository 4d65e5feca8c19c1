#include "kernel_strings_win.h"

#include "handles_win.h"

namespace orvel::plugin {

int WinKernelStrings::lstrcmpW(const char16_t* first, const char16_t* second) {
  return ::lstrcmpW(ToWide(first), ToWide(second));
}

char16_t* WinKernelStrings::lstrcpynW(char16_t* destination, const char16_t* source, int size) {
  ::lstrcpynW(ToWide(destination), ToWide(source), size);
  return destination;
}

}  // namespace orvel::plugin
