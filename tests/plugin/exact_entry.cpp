#include "exact_entry.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace orvel::plugin::testing {

ExactEntry::ExactEntry(std::u16string_view text, int capacity, StackEntry* next)
    : capacity_(capacity),
      storage_(new std::byte[offsetof(StackEntry, text) + sizeof(char16_t) * static_cast<std::size_t>(capacity)]),
      entry_(reinterpret_cast<StackEntry*>(storage_.get())) {
  if (text.size() + 1 > static_cast<std::size_t>(capacity)) throw std::invalid_argument("the text does not fit");
  std::memcpy(storage_.get(), &next, sizeof next);
  const std::vector<char16_t> units = UnitsOf(text, capacity);
  std::memcpy(storage_.get() + offsetof(StackEntry, text), units.data(), sizeof(char16_t) * units.size());
}

std::vector<char16_t> ExactEntry::Units() const {
  std::vector<char16_t> units(static_cast<std::size_t>(capacity_));
  std::memcpy(units.data(), storage_.get() + offsetof(StackEntry, text), sizeof(char16_t) * units.size());
  return units;
}

std::u16string ExactEntry::Text() const {
  std::u16string text;
  for (char16_t unit : Units()) {
    if (unit == u'\0') break;
    text.push_back(unit);
  }
  return text;
}

std::vector<char16_t> UnitsOf(std::u16string_view text, int capacity) {
  std::vector<char16_t> units(text.begin(), text.end());
  units.push_back(u'\0');
  units.resize(static_cast<std::size_t>(capacity), ExactEntry::kMarker);
  return units;
}

std::string Ascii(std::u16string_view text) {
  std::string out;
  for (char16_t unit : text) {
    if (unit >= 0x20 && unit < 0x7F) {
      out.push_back(static_cast<char>(unit));
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(unit));
      out += escaped;
    }
  }
  return out;
}

}  // namespace orvel::plugin::testing
