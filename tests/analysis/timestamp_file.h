#pragma once
// The eight-argument form's timestamp file: record n's time is the 8-byte
// little-endian double at offset 8 * n.

#include <cstddef>
#include <string_view>
#include <vector>

namespace orvel::analysis {

struct TimestampFile {
  std::vector<double> times;
  std::size_t trailingBytes = 0;  // bytes after the last whole time (a torn file)
};

TimestampFile ParseTimestampFile(std::string_view bytes);

}  // namespace orvel::analysis
