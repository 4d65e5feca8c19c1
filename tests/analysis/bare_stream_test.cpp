// The eight-argument stream read chunk by chunk, and its timestamp file.

#include "analysis/bare_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "analysis/timestamp_file.h"

namespace orvel::analysis {
namespace {

// Four records of 2 x 1 pixels; record i's bytes are all i + 1.
std::string FourRecords() {
  std::string stream;
  for (char i = 1; i <= 4; ++i) stream += std::string(8, i);
  return stream;
}

TEST(BareStream, CountsAndKeepsRecordsAcrossChunks) {
  const std::string stream = FourRecords();
  for (std::size_t chunk : {1u, 3u, 8u, 13u, 32u}) {
    SCOPED_TRACE("chunks of " + std::to_string(chunk));
    BareStreamCollector collector(2, 1, {0, 2});
    for (std::size_t at = 0; at < stream.size(); at += chunk) {
      collector.Take(stream.data() + at, std::min(chunk, stream.size() - at));
    }
    EXPECT_EQ(collector.records(), 4u);
    EXPECT_EQ(collector.leftoverBytes(), 0u);
    EXPECT_EQ(collector.totalBytes(), 32u);
    EXPECT_EQ(collector.Record(0), std::vector<std::uint8_t>(8, 1));
    EXPECT_EQ(collector.Record(2), std::vector<std::uint8_t>(8, 3));
    EXPECT_TRUE(collector.Record(1).empty()) << "not asked for";
    EXPECT_EQ(collector.LastRecord(), std::vector<std::uint8_t>(8, 4));
    EXPECT_TRUE(collector.Problems().empty());
  }
}

TEST(BareStream, ReportsAPartialLastRecord) {
  const std::string stream = FourRecords();
  BareStreamCollector collector(2, 1);
  collector.Take(stream.data(), 8 + 8 + 5);
  EXPECT_EQ(collector.records(), 2u);
  EXPECT_EQ(collector.leftoverBytes(), 5u);
  EXPECT_EQ(collector.LastRecord(), std::vector<std::uint8_t>(8, 2)) << "the last whole record";
  EXPECT_EQ(collector.Problems(), std::vector<std::string>{"the stream ends inside record 2: 5 of 8 bytes"});
  EXPECT_TRUE(collector.Problems(/*partialRecordAllowed=*/true).empty());
}

TEST(TimestampFile, ReadsEachTimeAndNotesATornEnd) {
  const double times[] = {1.5, 2.25, -0.0};
  std::string bytes(sizeof times, '\0');
  std::memcpy(bytes.data(), times, sizeof times);
  const TimestampFile whole = ParseTimestampFile(bytes);
  EXPECT_EQ(whole.times, std::vector<double>({1.5, 2.25, -0.0}));
  EXPECT_EQ(whole.trailingBytes, 0u);

  const TimestampFile torn = ParseTimestampFile(std::string_view(bytes).substr(0, 19));
  EXPECT_EQ(torn.times, std::vector<double>({1.5, 2.25}));
  EXPECT_EQ(torn.trailingBytes, 3u);
  EXPECT_TRUE(ParseTimestampFile("").times.empty());
}

}  // namespace
}  // namespace orvel::analysis
