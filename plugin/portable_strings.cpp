#include "portable_strings.h"

namespace orvel::plugin {

int PortableStrings::lstrcmpW(const char16_t* first, const char16_t* second) {
  while (*first != u'\0' && *first == *second) {
    ++first;
    ++second;
  }
  if (*first == *second) return 0;
  return *first < *second ? -1 : 1;
}

char16_t* PortableStrings::lstrcpynW(char16_t* destination, const char16_t* source, int size) {
  if (size <= 0) return destination;
  char16_t* out = destination;
  for (int room = size; room > 1 && *source != u'\0'; --room) *out++ = *source++;
  *out = u'\0';
  return destination;
}

}  // namespace orvel::plugin
