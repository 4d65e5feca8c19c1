#pragma once
// Reads a fuzz input as a few fixed control bytes followed by texts. The
// layout keeps seeds readable: texts are NUL-separated, and each code unit is
// one byte when it is ASCII, so "1280" in a seed is the text L"1280".

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvel::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  // Control values; an input that has run out gives zeros.
  std::uint8_t Byte();
  std::uint16_t U16();
  std::uint32_t U32();
  std::uint64_t U64();
  double Double();  // the 8 bytes as they are: NaN and infinities included

  // The next text, up to a 0x00 byte or the end of the input. A byte from
  // 0x01 to 0x7F is that code unit; 0x80 to 0xFF start an escape: the next
  // two bytes, little-endian, are any code unit, a unit of 0 being taken as
  // 0xFFFF so that no text holds a NUL. Returns false when nothing is left.
  bool Text(std::u16string* text);

  // Every remaining text, at most `limit` of them.
  std::vector<std::u16string> Texts(std::size_t limit);

  std::size_t remaining() const { return size_ - offset_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t offset_ = 0;
};

}  // namespace orvel::fuzz
