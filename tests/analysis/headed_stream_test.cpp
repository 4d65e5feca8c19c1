// The five-argument stream read chunk by chunk, as the pipe delivers it.

#include "analysis/headed_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace orvel::analysis {
namespace {

struct Made {
  double time;
  std::uint32_t width, height;
};

// A headed record whose pixel bytes count up from `seed`, so that a record
// read back in the wrong place or order shows.
std::string Record(const Made& r, std::uint8_t seed) {
  std::string bytes(16 + std::size_t{r.width} * r.height * 4, '\0');
  std::memcpy(bytes.data(), &r.time, 8);
  std::memcpy(bytes.data() + 8, &r.width, 4);
  std::memcpy(bytes.data() + 12, &r.height, 4);
  for (std::size_t i = 16; i < bytes.size(); ++i) bytes[i] = static_cast<char>(seed + i);
  return bytes;
}

std::vector<std::uint8_t> PixelsOf(const std::string& record) { return {record.begin() + 16, record.end()}; }

const Made kRun[] = {{100.0, 3, 2}, {100.0333, 5, 1}, {100.0667, 2, 4}, {100.1, 3, 2}};

std::string WholeRun() {
  std::string stream;
  for (std::size_t i = 0; i < std::size(kRun); ++i) stream += Record(kRun[i], static_cast<std::uint8_t>(i * 50));
  return stream;
}

void Feed(HeadedStreamCollector& collector, const std::string& stream, const std::vector<std::size_t>& cuts) {
  std::size_t at = 0;
  for (std::size_t cut : cuts) {
    collector.Take(stream.data() + at, cut - at);
    at = cut;
  }
  collector.Take(stream.data() + at, stream.size() - at);
}

void ExpectWholeRun(const HeadedStreamCollector& collector, const std::string& label) {
  SCOPED_TRACE(label);
  const std::string stream = WholeRun();
  ASSERT_EQ(collector.records(), std::size(kRun));
  const std::vector<HeadedRecord> headers = collector.headers();
  for (std::size_t i = 0; i < std::size(kRun); ++i) {
    EXPECT_EQ(headers[i].time, kRun[i].time);
    EXPECT_EQ(headers[i].width, kRun[i].width);
    EXPECT_EQ(headers[i].height, kRun[i].height);
  }
  EXPECT_EQ(collector.times(), std::vector<double>({100.0, 100.0333, 100.0667, 100.1}));
  ASSERT_TRUE(collector.Record(0));
  EXPECT_EQ(collector.Record(0)->pixels, PixelsOf(Record(kRun[0], 0)));
  ASSERT_TRUE(collector.Record(2));
  EXPECT_EQ(collector.Record(2)->pixels, PixelsOf(Record(kRun[2], 100)));
  EXPECT_EQ(collector.Record(2)->view().width, 2u);
  EXPECT_FALSE(collector.Record(1)) << "not asked for";
  ASSERT_TRUE(collector.LastRecord());
  EXPECT_EQ(collector.LastRecord()->pixels, PixelsOf(Record(kRun[3], 150)));
  EXPECT_EQ(collector.totalBytes(), stream.size());
  EXPECT_EQ(collector.partialBytes(), 0u);
  EXPECT_FALSE(collector.malformed());
  EXPECT_TRUE(collector.Problems().empty());
}

TEST(HeadedStream, ReadsRecordsWhateverTheChunks) {
  const std::string stream = WholeRun();
  // Cuts inside the time, between width and height, right after a header,
  // inside pixels, on record boundaries.
  const std::vector<std::vector<std::size_t>> cutSets = {
      {}, {1}, {7, 8, 9}, {12}, {16}, {17, 40, 56, 57}, {40, 41, 42, 43}, {stream.size() - 1}};
  for (const auto& cuts : cutSets) {
    HeadedStreamCollector collector({0, 2});
    Feed(collector, stream, cuts);
    std::string label = "cuts:";
    for (std::size_t cut : cuts) label += " " + std::to_string(cut);
    ExpectWholeRun(collector, label);
  }
  HeadedStreamCollector bytewise({0, 2});
  for (char c : stream) bytewise.Take(&c, 1);
  ExpectWholeRun(bytewise, "one byte at a time");

  std::mt19937 random(20240601);
  for (int round = 0; round < 50; ++round) {
    std::vector<std::size_t> cuts;
    for (std::size_t at = std::uniform_int_distribution<std::size_t>(0, 30)(random); at < stream.size();
         at += std::uniform_int_distribution<std::size_t>(1, 30)(random)) {
      cuts.push_back(at);
    }
    HeadedStreamCollector collector({0, 2});
    Feed(collector, stream, cuts);
    ExpectWholeRun(collector, "random round " + std::to_string(round));
  }
}

TEST(HeadedStream, ReportsARecordCutShort) {
  const std::string stream = WholeRun();
  const std::string first = Record(kRun[0], 0);
  struct Case {
    const char* name;
    std::size_t length;
    std::size_t partial;
    const char* problem;
  };
  const Case cases[] = {
      {"inside the next header", first.size() + 10, 10, "ends inside the header of record 1: 10 of 16 bytes"},
      {"right after the next header", first.size() + 16, 16, "ends inside record 1 (5 x 1): 0 of 20 pixel bytes"},
      {"inside the next pixels", first.size() + 16 + 7, 23, "ends inside record 1 (5 x 1): 7 of 20 pixel bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HeadedStreamCollector collector;
    collector.Take(stream.data(), c.length);
    EXPECT_EQ(collector.records(), 1u);
    EXPECT_EQ(collector.partialBytes(), c.partial);
    EXPECT_EQ(collector.LastRecord()->pixels, PixelsOf(first)) << "the last whole record";
    ASSERT_EQ(collector.Problems().size(), 1u);
    EXPECT_NE(collector.Problems()[0].find(c.problem), std::string::npos) << collector.Problems()[0];
    EXPECT_TRUE(collector.Problems(/*partialRecordAllowed=*/true).empty());
  }
}

TEST(HeadedStream, StopsAtAMalformedHeaderWithoutBufferingIt) {
  struct Case {
    const char* name;
    std::uint32_t width, height;
    const char* reason;
  };
  const Case cases[] = {
      {"zero width", 0, 600, "0 x 600 pixels (a side of 0)"},
      {"zero height", 800, 0, "800 x 0 pixels (a side of 0)"},
      {"absurd width", 16385, 1, "16385 x 1 pixels (a side above 16384)"},
      {"absurd height", 1, 4000000000u, "1 x 4000000000 pixels (a side above 16384)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string good = Record(kRun[0], 0);
    std::string bad(16, '\0');
    std::memcpy(bad.data() + 8, &c.width, 4);
    std::memcpy(bad.data() + 12, &c.height, 4);
    const std::string stream = good + bad + Record(kRun[1], 9) + "tail";
    HeadedStreamCollector collector;
    Feed(collector, stream, {good.size() + 3, good.size() + 20});
    EXPECT_TRUE(collector.malformed());
    EXPECT_EQ(collector.records(), 1u) << "nothing after the bad header is read as a record";
    EXPECT_EQ(collector.partialBytes(), 0u);
    const std::vector<std::string> problems = collector.Problems(/*partialRecordAllowed=*/true);
    ASSERT_EQ(problems.size(), 1u) << "a malformed header is a problem even where a partial record is allowed";
    EXPECT_NE(problems[0].find(std::string("record 1 at byte 40 has a malformed header: ") + c.reason),
              std::string::npos)
        << problems[0];
    EXPECT_NE(problems[0].find("the 40 bytes after it were not read"), std::string::npos) << problems[0];
  }
}

// The largest sides allowed are a frame, not an error; until its pixels
// come, it is a partial record of the bytes that came.
TEST(HeadedStream, TakesTheLargestSidesAsAFrameInProgress) {
  const Made huge{5.0, 16384, 16384};
  std::string header(16, '\0');
  std::memcpy(header.data(), &huge.time, 8);
  std::memcpy(header.data() + 8, &huge.width, 4);
  std::memcpy(header.data() + 12, &huge.height, 4);
  HeadedStreamCollector collector;
  collector.Take(header.data(), header.size());
  collector.Take("abcd", 4);
  EXPECT_FALSE(collector.malformed());
  EXPECT_EQ(collector.partialBytes(), 20u);
  ASSERT_EQ(collector.Problems().size(), 1u);
  EXPECT_NE(collector.Problems()[0].find("4 of 1073741824 pixel bytes"), std::string::npos) << collector.Problems()[0];
}

}  // namespace
}  // namespace orvel::analysis
