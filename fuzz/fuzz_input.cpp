#include "fuzz_input.h"

#include <cstring>

namespace orvel::fuzz {

std::uint8_t FuzzInput::Byte() { return offset_ < size_ ? data_[offset_++] : 0; }

std::uint16_t FuzzInput::U16() {
  const std::uint16_t low = Byte();
  return static_cast<std::uint16_t>(low | Byte() << 8);
}

std::uint32_t FuzzInput::U32() {
  const std::uint32_t low = U16();
  return low | static_cast<std::uint32_t>(U16()) << 16;
}

std::uint64_t FuzzInput::U64() {
  const std::uint64_t low = U32();
  return low | static_cast<std::uint64_t>(U32()) << 32;
}

double FuzzInput::Double() {
  const std::uint64_t bits = U64();
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

bool FuzzInput::Text(std::u16string* text) {
  text->clear();
  if (offset_ >= size_) return false;
  while (offset_ < size_) {
    const std::uint8_t byte = data_[offset_++];
    if (byte == 0) break;
    if (byte < 0x80) {
      text->push_back(static_cast<char16_t>(byte));
    } else {
      const std::uint16_t unit = U16();
      text->push_back(unit == 0 ? u'\xFFFF' : static_cast<char16_t>(unit));
    }
  }
  return true;
}

std::vector<std::u16string> FuzzInput::Texts(std::size_t limit) {
  std::vector<std::u16string> texts;
  std::u16string text;
  while (texts.size() < limit && Text(&text)) texts.push_back(text);
  return texts;
}

}  // namespace orvel::fuzz
