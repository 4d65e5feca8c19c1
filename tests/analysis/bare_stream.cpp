#include "analysis/bare_stream.h"

#include <algorithm>

namespace orvel::analysis {

BareStreamCollector::BareStreamCollector(std::uint32_t width, std::uint32_t height, std::set<std::size_t> keep)
    : width_(width), height_(height), recordBytes_(std::size_t{width} * height * 4), keep_(std::move(keep)) {}

void BareStreamCollector::Take(const char* data, std::size_t size) {
  std::lock_guard lock(mutex_);
  total_ += size;
  if (recordBytes_ == 0) return;  // a zero-sized record never completes; the bytes show as total only
  while (size > 0) {
    const std::size_t take = std::min(size, recordBytes_ - current_.size());
    current_.insert(current_.end(), data, data + take);
    data += take;
    size -= take;
    if (current_.size() == recordBytes_) {
      if (keep_.contains(records_)) kept_.emplace_back(records_, current_);
      last_.swap(current_);
      current_.clear();
      ++records_;
    }
  }
}

std::size_t BareStreamCollector::records() const {
  std::lock_guard lock(mutex_);
  return records_;
}

std::size_t BareStreamCollector::leftoverBytes() const {
  std::lock_guard lock(mutex_);
  return recordBytes_ == 0 ? static_cast<std::size_t>(total_) : current_.size();
}

std::uint64_t BareStreamCollector::totalBytes() const {
  std::lock_guard lock(mutex_);
  return total_;
}

std::vector<std::uint8_t> BareStreamCollector::Record(std::size_t index) const {
  std::lock_guard lock(mutex_);
  for (const auto& [i, bytes] : kept_) {
    if (i == index) return bytes;
  }
  return {};
}

std::vector<std::uint8_t> BareStreamCollector::LastRecord() const {
  std::lock_guard lock(mutex_);
  return last_;
}

std::vector<std::string> BareStreamCollector::Problems(bool partialRecordAllowed) const {
  std::lock_guard lock(mutex_);
  const std::uint64_t leftover = recordBytes_ == 0 ? total_ : current_.size();
  if (leftover == 0 || partialRecordAllowed) return {};
  return {"the stream ends inside record " + std::to_string(records_) + ": " + std::to_string(leftover) + " of " +
          std::to_string(recordBytes_) + " bytes"};
}

}  // namespace orvel::analysis
