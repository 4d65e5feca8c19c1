#pragma once
// An installer stack entry allocated exactly as large as the host makes it:
// the link, then `capacity` UTF-16 code units. AddressSanitizer then stops
// any write past the text. Units after the text's terminator hold a marker,
// so that a test can see that nothing past the written text was touched.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "stack_entry.h"

namespace orvel::plugin::testing {

class ExactEntry {
 public:
  static constexpr char16_t kMarker = 0xFEFE;

  ExactEntry(std::u16string_view text, int capacity, StackEntry* next = nullptr);

  StackEntry* get() { return entry_; }
  // The text up to its terminator (or all units when there is none).
  std::u16string Text() const;
  // All `capacity` units, terminators and markers included.
  std::vector<char16_t> Units() const;

 private:
  int capacity_;
  std::unique_ptr<std::byte[]> storage_;
  StackEntry* entry_;
};

// The text for a failure message: ASCII as it is, other units as \uXXXX.
std::string Ascii(std::u16string_view text);

// `text`, its terminator, then markers up to `capacity` units.
std::vector<char16_t> UnitsOf(std::u16string_view text, int capacity);

}  // namespace orvel::plugin::testing
