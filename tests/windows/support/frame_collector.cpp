#include "frame_collector.h"

#include <algorithm>
#include <cstring>

namespace orvel::wintest {

void FrameCollector::Take(const char* data, std::size_t size) {
  std::lock_guard lock(mutex_);
  total_ += size;
  while (size > 0) {
    const std::size_t take = std::min(size, recordBytes_ - current_.size());
    current_.insert(current_.end(), data, data + take);
    data += take;
    size -= take;
    if (current_.size() == recordBytes_) {
      if (keep_.count(records_)) kept_.emplace_back(records_, current_);
      last_.swap(current_);
      current_.clear();
      ++records_;
    }
  }
}

std::size_t FrameCollector::records() const {
  std::lock_guard lock(mutex_);
  return records_;
}

std::size_t FrameCollector::leftoverBytes() const {
  std::lock_guard lock(mutex_);
  return current_.size();
}

std::uint64_t FrameCollector::totalBytes() const {
  std::lock_guard lock(mutex_);
  return total_;
}

std::vector<std::uint8_t> FrameCollector::Record(std::size_t index) const {
  std::lock_guard lock(mutex_);
  for (const auto& [i, bytes] : kept_) {
    if (i == index) return bytes;
  }
  return {};
}

std::vector<std::uint8_t> FrameCollector::LastRecord() const {
  std::lock_guard lock(mutex_);
  return last_;
}

std::vector<double> ReadTimes(const std::string& bytes) {
  std::vector<double> times(bytes.size() / 8);
  std::memcpy(times.data(), bytes.data(), times.size() * 8);
  return times;
}

}  // namespace orvel::wintest
