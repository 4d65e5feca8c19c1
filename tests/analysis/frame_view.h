#pragma once
// A BGRA frame as the capture helper writes it: 4 bytes a pixel (blue,
// green, red, alpha), rows top-down, stride width * 4. A view: it owns
// nothing and never changes the pixels.
//
// The analysis library is built in both builds (C++20 standard library only,
// no Windows headers). Users include its headers as "analysis/<file>.h".

#include <cstddef>
#include <cstdint>
#include <span>

namespace orvel::analysis {

struct Bgra {
  std::uint8_t b = 0, g = 0, r = 0, a = 0;
  friend bool operator==(const Bgra&, const Bgra&) = default;
};

struct FrameView {
  std::span<const std::uint8_t> bytes;
  std::uint32_t width = 0;
  std::uint32_t height = 0;

  std::uint64_t expectedBytes() const { return std::uint64_t{width} * height * 4; }
  // The bytes are exactly width * height pixels.
  bool complete() const { return bytes.size() == expectedBytes(); }
  // Only for a complete view and x < width, y < height.
  Bgra At(std::uint32_t x, std::uint32_t y) const {
    const std::uint8_t* p = bytes.data() + (std::size_t{y} * width + x) * 4;
    return Bgra{p[0], p[1], p[2], p[3]};
  }
};

}  // namespace orvel::analysis
