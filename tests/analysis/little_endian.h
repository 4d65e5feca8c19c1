#pragma once
// Reading and writing the little-endian fields of the helper's output and of
// BMP files. Every platform this runs on is little-endian, so a field's bytes
// are its value's bytes in memory.

#include <bit>
#include <cstdint>
#include <cstring>

namespace orvel::analysis {

static_assert(std::endian::native == std::endian::little, "the stream's fields are read as the machine holds them");

template <typename T>
T ReadLittleEndian(const void* bytes) {
  T value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

template <typename T>
void WriteLittleEndian(void* bytes, T value) {
  std::memcpy(bytes, &value, sizeof value);
}

}  // namespace orvel::analysis
