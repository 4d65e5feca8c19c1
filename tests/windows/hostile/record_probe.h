#pragma once
// Looks at a few pixels of every bare record as the stream passes, without
// keeping the records: the two far corners must be bar (black) and the
// middle must be picture. A record that is torn, or a stream that slipped
// out of step with the record size, puts picture into a corner or a bar into
// the middle. Holds for both backends: a 4:3 window in a 16:9 output always
// has bars at the sides, and a scaler's black may be lifted a little.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace orvel::wintest {

class RecordProbe {
 public:
  RecordProbe(std::uint32_t width, std::uint32_t height);

  void Take(const char* data, std::size_t size);

  std::size_t recordsSeen() const;
  // One line per record that failed, at most the first few; empty when all held.
  std::vector<std::string> problems() const;

 private:
  enum class Expect { Bar, Picture };
  struct Point {
    std::uint32_t x, y;
    Expect expect;
    std::size_t offset;  // of the pixel's first byte within a record
    std::uint8_t bytes[4];
  };

  void JudgeRecord();

  std::size_t recordBytes_;
  std::vector<Point> points_;
  mutable std::mutex mutex_;
  std::size_t offset_ = 0;  // within the record being read
  std::size_t records_ = 0;
  std::size_t failures_ = 0;
  std::vector<std::string> problems_;
};

}  // namespace orvel::wintest
