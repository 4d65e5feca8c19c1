#pragma once
// Reads the eight-argument form's stream as the parent does, chunk by chunk
// while the helper runs: bare records of exactly width * height * 4 bytes.
// Counts whole records, keeps the chosen ones (by index) and the last, and
// notes a partial record at the end.
//
// Take() may run on a reader thread while another thread asks; every member
// is safe to call concurrently.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace orvel::analysis {

class BareStreamCollector {
 public:
  BareStreamCollector(std::uint32_t width, std::uint32_t height, std::set<std::size_t> keep = {0});

  // The sink for the reader of the helper's standard output.
  void Take(const char* data, std::size_t size);

  std::size_t records() const;
  std::size_t leftoverBytes() const;  // bytes of an unfinished record
  std::uint64_t totalBytes() const;
  // A kept record (by index), or empty when that record was not kept or has
  // not arrived; the last complete record, or empty before the first.
  std::vector<std::uint8_t> Record(std::size_t index) const;
  std::vector<std::uint8_t> LastRecord() const;
  // A partial record at the end, unless `partialRecordAllowed` (only a run
  // that ends with a write failure may leave one); empty when clean.
  std::vector<std::string> Problems(bool partialRecordAllowed = false) const;

  std::uint32_t width() const { return width_; }
  std::uint32_t height() const { return height_; }
  std::size_t recordBytes() const { return recordBytes_; }

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

}  // namespace orvel::analysis
