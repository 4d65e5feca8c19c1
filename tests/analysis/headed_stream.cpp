#include "analysis/headed_stream.h"

#include <algorithm>
#include <cstdio>

#include "analysis/little_endian.h"

namespace orvel::analysis {

HeadedStreamCollector::HeadedStreamCollector(std::set<std::size_t> keep) : keep_(std::move(keep)) {}

void HeadedStreamCollector::Take(const char* data, std::size_t size) {
  std::lock_guard lock(mutex_);
  total_ += size;
  TakeLocked(data, size);
}

void HeadedStreamCollector::TakeLocked(const char* data, std::size_t size) {
  while (size > 0) {
    if (malformed_) return;
    if (!inPixels_) {
      const std::size_t take = std::min(size, kHeaderBytes - headerFill_);
      std::copy_n(data, take, header_ + headerFill_);
      headerFill_ += take;
      consumed_ += take;
      data += take;
      size -= take;
      if (headerFill_ == kHeaderBytes && !ReadHeaderLocked()) continue;  // the rest is ignored
    } else {
      // Grows with what arrives: a large header allocates only as its pixels come.
      const auto take = static_cast<std::size_t>(
          std::min<std::uint64_t>(size, currentPixelBytes_ - static_cast<std::uint64_t>(pixels_.size())));
      pixels_.insert(pixels_.end(), data, data + take);
      consumed_ += take;
      data += take;
      size -= take;
    }
    if (inPixels_ && pixels_.size() == currentPixelBytes_) {
      const std::size_t index = headers_.size();
      headers_.push_back(current_);
      HeadedFrame frame{current_, {}};
      frame.pixels.swap(pixels_);
      if (keep_.contains(index)) kept_.emplace_back(index, frame);
      last_ = std::move(frame);
      inPixels_ = false;
      headerFill_ = 0;
    }
  }
}

// Takes the header just completed; false (and the stream marked malformed)
// when its size cannot be a frame.
bool HeadedStreamCollector::ReadHeaderLocked() {
  current_.time = ReadLittleEndian<double>(header_);
  current_.width = ReadLittleEndian<std::uint32_t>(header_ + 8);
  current_.height = ReadLittleEndian<std::uint32_t>(header_ + 12);
  const bool zero = current_.width == 0 || current_.height == 0;
  const bool absurd = current_.width > kMaxSide || current_.height > kMaxSide;
  if (zero || absurd) {
    const std::uint64_t recordStart = consumed_ - kHeaderBytes;
    char text[256];
    std::snprintf(text, sizeof text, "record %zu at byte %llu has a malformed header: %lu x %lu pixels (%s)",
                  headers_.size(), static_cast<unsigned long long>(recordStart),
                  static_cast<unsigned long>(current_.width), static_cast<unsigned long>(current_.height),
                  zero ? "a side of 0" : "a side above 16384");
    malformed_ = text;
    return false;
  }
  currentPixelBytes_ = std::uint64_t{current_.width} * current_.height * 4;
  pixels_.clear();
  inPixels_ = true;
  return true;
}

std::size_t HeadedStreamCollector::records() const {
  std::lock_guard lock(mutex_);
  return headers_.size();
}

std::vector<HeadedRecord> HeadedStreamCollector::headers() const {
  std::lock_guard lock(mutex_);
  return headers_;
}

std::vector<double> HeadedStreamCollector::times() const {
  std::lock_guard lock(mutex_);
  std::vector<double> times;
  times.reserve(headers_.size());
  for (const HeadedRecord& header : headers_) times.push_back(header.time);
  return times;
}

std::optional<HeadedFrame> HeadedStreamCollector::Record(std::size_t index) const {
  std::lock_guard lock(mutex_);
  for (const auto& [i, frame] : kept_) {
    if (i == index) return frame;
  }
  return std::nullopt;
}

std::optional<HeadedFrame> HeadedStreamCollector::LastRecord() const {
  std::lock_guard lock(mutex_);
  return last_;
}

std::uint64_t HeadedStreamCollector::totalBytes() const {
  std::lock_guard lock(mutex_);
  return total_;
}

std::size_t HeadedStreamCollector::partialBytes() const {
  std::lock_guard lock(mutex_);
  if (malformed_) return 0;
  return inPixels_ ? kHeaderBytes + pixels_.size() : headerFill_;
}

bool HeadedStreamCollector::malformed() const {
  std::lock_guard lock(mutex_);
  return malformed_.has_value();
}

std::vector<std::string> HeadedStreamCollector::Problems(bool partialRecordAllowed) const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> problems;
  if (malformed_) {
    problems.push_back(*malformed_ + "; the " + std::to_string(total_ - consumed_) + " bytes after it were not read");
    return problems;
  }
  if (partialRecordAllowed) return problems;
  if (inPixels_) {
    problems.push_back("the stream ends inside record " + std::to_string(headers_.size()) + " (" +
                       std::to_string(current_.width) + " x " + std::to_string(current_.height) + "): " +
                       std::to_string(pixels_.size()) + " of " + std::to_string(currentPixelBytes_) + " pixel bytes");
  } else if (headerFill_ > 0) {
    problems.push_back("the stream ends inside the header of record " + std::to_string(headers_.size()) + ": " +
                       std::to_string(headerFill_) + " of 16 bytes");
  }
  return problems;
}

}  // namespace orvel::analysis
