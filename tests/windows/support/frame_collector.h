#pragma once
// Reads the bare frame stream as the parent does, while the helper runs:
// counts whole records, keeps a few of them for pixel checks, and notes a
// partial record at the end.

#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace orvel::wintest {

class FrameCollector {
 public:
  FrameCollector(std::uint32_t width, std::uint32_t height, std::set<std::size_t> keep = {0})
      : width_(width), height_(height), recordBytes_(std::size_t{width} * height * 4), keep_(std::move(keep)) {}

  // The sink for ChildProcess::Options::onOutput.
  void Take(const char* data, std::size_t size);

  std::size_t records() const;
  std::size_t leftoverBytes() const;  // bytes of an unfinished record
  std::uint64_t totalBytes() const;
  // A kept record (by index), or the last complete record.
  std::vector<std::uint8_t> Record(std::size_t index) const;
  std::vector<std::uint8_t> LastRecord() const;

  std::uint32_t width() const { return width_; }
  std::uint32_t height() const { return height_; }

 private:
  std::uint32_t width_, height_;
  std::size_t recordBytes_;
  std::set<std::size_t> keep_;
  mutable std::mutex mutex_;
  std::uint64_t total_ = 0;
  std::size_t records_ = 0;
  std::vector<std::uint8_t> current_;
  std::vector<std::uint8_t> last_;
  std::vector<std::pair<std::size_t, std::vector<std::uint8_t>>> kept_;
};

struct Bgra {
  std::uint8_t b, g, r, a;
};
inline Bgra PixelAt(const std::vector<std::uint8_t>& frame, std::uint32_t width, std::uint32_t x, std::uint32_t y) {
  const std::uint8_t* p = &frame[(std::size_t{y} * width + x) * 4];
  return Bgra{p[0], p[1], p[2], p[3]};
}

// The frame times of a timestamp file.
std::vector<double> ReadTimes(const std::string& bytes);

}  // namespace orvel::wintest
