#pragma once
// Reads the five-argument form's stream as the parent does, chunk by chunk
// while the helper runs. Each record is a header (8-byte little-endian double
// time, u32 width, u32 height) and width * height * 4 pixel bytes.
//
// It counts records, keeps every record's time and size, keeps the pixels of
// chosen records (by index) and of the last one, and notes a partial record
// at the end. A header with a zero side or a side above kMaxSide is
// malformed: reading stops there, since nothing after it can be trusted to be
// aligned. Record buffers grow with the bytes that actually arrive, so a
// header that claims a huge size allocates nothing up front.
//
// Take() may run on a reader thread while another thread asks; every member
// is safe to call concurrently.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "analysis/frame_view.h"

namespace orvel::analysis {

struct HeadedRecord {
  double time = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

struct HeadedFrame {
  HeadedRecord record;
  std::vector<std::uint8_t> pixels;
  FrameView view() const { return FrameView{pixels, record.width, record.height}; }
};

class HeadedStreamCollector {
 public:
  static constexpr std::size_t kHeaderBytes = 16;
  // Larger than any window a desktop holds; larger sides are taken as a
  // corrupted header, not as a frame to buffer.
  static constexpr std::uint32_t kMaxSide = 16384;

  explicit HeadedStreamCollector(std::set<std::size_t> keep = {0});

  // The sink for the reader of the helper's standard output.
  void Take(const char* data, std::size_t size);

  std::size_t records() const;                // complete records
  std::vector<HeadedRecord> headers() const;  // one per complete record, in order
  std::vector<double> times() const;
  std::optional<HeadedFrame> Record(std::size_t index) const;  // a kept record
  std::optional<HeadedFrame> LastRecord() const;
  std::uint64_t totalBytes() const;  // everything given to Take
  // Bytes of an unfinished record at the end (in its header or its pixels).
  std::size_t partialBytes() const;
  bool malformed() const;
  // Why the stream is not a clean run of whole records; empty when it is.
  // A partial last record is listed unless `partialRecordAllowed` (only a run
  // that ends with a write failure may leave one).
  std::vector<std::string> Problems(bool partialRecordAllowed = false) const;

 private:
  void TakeLocked(const char* data, std::size_t size);
  bool ReadHeaderLocked();

  mutable std::mutex mutex_;
  std::set<std::size_t> keep_;
  std::uint64_t total_ = 0;
  std::vector<HeadedRecord> headers_;
  std::vector<std::pair<std::size_t, HeadedFrame>> kept_;
  std::optional<HeadedFrame> last_;
  // The record being read.
  char header_[kHeaderBytes] = {};
  std::size_t headerFill_ = 0;
  bool inPixels_ = false;
  HeadedRecord current_;
  std::uint64_t currentPixelBytes_ = 0;
  std::vector<std::uint8_t> pixels_;
  // Set at the first malformed header; nothing is read after it.
  std::optional<std::string> malformed_;
  std::uint64_t consumed_ = 0;  // bytes parsed; the rest of total_ came after a malformed header
};

}  // namespace orvel::analysis
