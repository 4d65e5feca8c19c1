#include "record_probe.h"

#include <algorithm>

namespace orvel::wintest {
namespace {

// A scaler may lift black a little (range compression puts it at 16); GDI's
// bars are exactly 0.
constexpr int kBarTolerance = 24;
// The pattern has no dark cell: every cell has a channel of 128 or more.
constexpr int kPictureFloor = 40;
constexpr std::size_t kProblemsKept = 5;

}  // namespace

RecordProbe::RecordProbe(std::uint32_t width, std::uint32_t height) : recordBytes_(std::size_t{width} * height * 4) {
  const auto at = [width](std::uint32_t x, std::uint32_t y) { return (std::size_t{y} * width + x) * 4; };
  points_ = {
      Point{0, 0, Expect::Bar, at(0, 0), {}},
      Point{width - 1, height - 1, Expect::Bar, at(width - 1, height - 1), {}},
      Point{width / 2, height / 2, Expect::Picture, at(width / 2, height / 2), {}},
  };
}

void RecordProbe::Take(const char* data, std::size_t size) {
  std::lock_guard lock(mutex_);
  while (size > 0) {
    const std::size_t take = std::min(size, recordBytes_ - offset_);
    // A pixel may straddle two chunks: copy the bytes of it that this chunk holds.
    for (Point& point : points_) {
      for (std::size_t k = 0; k < 4; ++k) {
        const std::size_t at = point.offset + k;
        if (at >= offset_ && at < offset_ + take) point.bytes[k] = static_cast<std::uint8_t>(data[at - offset_]);
      }
    }
    offset_ += take;
    data += take;
    size -= take;
    if (offset_ == recordBytes_) {
      JudgeRecord();
      offset_ = 0;
      ++records_;
    }
  }
}

void RecordProbe::JudgeRecord() {
  for (const Point& point : points_) {
    const int brightest = std::max({point.bytes[0], point.bytes[1], point.bytes[2]});
    const bool holds = point.expect == Expect::Bar ? brightest <= kBarTolerance : brightest > kPictureFloor;
    if (holds) continue;
    ++failures_;
    if (problems_.size() < kProblemsKept) {
      problems_.push_back("record " + std::to_string(records_) + ": pixel " + std::to_string(point.x) + "," +
                          std::to_string(point.y) + " (BGR " + std::to_string(point.bytes[0]) + "," +
                          std::to_string(point.bytes[1]) + "," + std::to_string(point.bytes[2]) + ") should be " +
                          (point.expect == Expect::Bar ? "black bar" : "picture"));
    }
  }
}

std::size_t RecordProbe::recordsSeen() const {
  std::lock_guard lock(mutex_);
  return records_;
}

std::vector<std::string> RecordProbe::problems() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> all = problems_;
  if (failures_ > problems_.size()) {
    all.push_back("... " + std::to_string(failures_ - problems_.size()) + " more failed pixels");
  }
  return all;
}

}  // namespace orvel::wintest
