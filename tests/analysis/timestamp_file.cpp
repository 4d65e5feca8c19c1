#include "analysis/timestamp_file.h"

#include "analysis/little_endian.h"

namespace orvel::analysis {

TimestampFile ParseTimestampFile(std::string_view bytes) {
  TimestampFile file;
  file.times.reserve(bytes.size() / 8);
  for (std::size_t offset = 0; offset + 8 <= bytes.size(); offset += 8) {
    file.times.push_back(ReadLittleEndian<double>(bytes.data() + offset));
  }
  file.trailingBytes = bytes.size() % 8;
  return file;
}

}  // namespace orvel::analysis
