// WriteFrame: record layout in both forms, the sampled content test, and the
// first failed write or flush ending the frame.

#include "frame_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "fakes/test_streams.h"

namespace orvel {
namespace {

using testing::TestStream;

struct Frame {
  Frame(std::uint32_t w, std::uint32_t h, std::uint8_t fill = 0)
      : width(w), height(h), bytes(std::size_t{w} * h * 4, fill) {}
  void Set(std::uint32_t x, std::uint32_t y, std::uint8_t b, std::uint8_t g, std::uint8_t r, std::uint8_t a = 255) {
    std::uint8_t* p = &bytes[(std::size_t{y} * width + x) * 4];
    p[0] = b, p[1] = g, p[2] = r, p[3] = a;
  }
  std::uint32_t width, height;
  std::vector<std::uint8_t> bytes;
};

std::string Bytes(const void* data, std::size_t size) { return std::string(static_cast<const char*>(data), size); }

TEST(FrameRecord, HeadedTwoByOneRecordIs24BytesInOrder) {
  TestStream out;
  CaptureSession session;
  Frame frame(2, 1);
  const std::uint8_t pixels[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  std::memcpy(frame.bytes.data(), pixels, 8);
  const double time = 1234.5678;

  ASSERT_TRUE(WriteFrame(session, frame.bytes.data(), 2, 1, time, out.file()));

  std::string expected = Bytes(&time, 8);
  expected += std::string("\x02\x00\x00\x00\x01\x00\x00\x00", 8);
  expected += Bytes(pixels, 8);
  EXPECT_EQ(out.bytes(), expected);
  EXPECT_EQ(out.bytes().size(), 24u);
  EXPECT_EQ(session.framesWritten, 1u);
}

TEST(FrameRecord, HeadedRecordsMayChangeSizeFromFrameToFrame) {
  TestStream out;
  CaptureSession session;
  Frame small(3, 2, 9), large(5, 4, 7);
  ASSERT_TRUE(WriteFrame(session, small.bytes.data(), 3, 2, 1.0, out.file()));
  ASSERT_TRUE(WriteFrame(session, large.bytes.data(), 5, 4, 2.0, out.file()));
  ASSERT_EQ(out.bytes().size(), (16u + 24u) + (16u + 80u));
  std::uint32_t width = 0, height = 0;
  std::memcpy(&width, out.bytes().data() + 40 + 8, 4);
  std::memcpy(&height, out.bytes().data() + 40 + 12, 4);
  EXPECT_EQ(width, 5u);
  EXPECT_EQ(height, 4u);
  EXPECT_EQ(session.framesWritten, 2u);
}

TEST(FrameRecord, BareRecordsAtOutputSizeWithTimesInTheFile) {
  TestStream out(TestStream::Buffering::Buffered), times;
  CaptureSession session;
  session.timestampFile = times.file();
  Frame frame(1280, 720, 0x40);
  const double frameTimes[] = {10.0, 10.0333, 10.0667};
  for (double t : frameTimes) ASSERT_TRUE(WriteFrame(session, frame.bytes.data(), 1280, 720, t, out.file()));

  EXPECT_EQ(out.bytes().size(), 3u * 3'686'400u);
  EXPECT_EQ(out.bytes().substr(0, 3'686'400), Bytes(frame.bytes.data(), frame.bytes.size()));
  EXPECT_EQ(times.bytes(), Bytes(frameTimes, sizeof frameTimes));
  EXPECT_EQ(session.framesWritten, 3u);
}

TEST(FrameRecord, EachRecordIsFlushedBeforeWriteFrameReturns) {
  TestStream out(TestStream::Buffering::Buffered);
  CaptureSession session;
  Frame frame(4, 4, 1);
  ASSERT_TRUE(WriteFrame(session, frame.bytes.data(), 4, 4, 5.0, out.file()));
  EXPECT_EQ(out.bytes().size(), 16u + 64u) << "the reader must have the whole record";
}

TEST(FrameRecord, AlphaReachesTheOutputAsGiven) {
  TestStream out;
  CaptureSession session;
  Frame frame(2, 2);
  frame.Set(1, 1, 10, 20, 30, 0x7F);
  ASSERT_TRUE(WriteFrame(session, frame.bytes.data(), 2, 2, 0.0, out.file()));
  EXPECT_EQ(out.bytes().substr(16), Bytes(frame.bytes.data(), 16));
}

// ---- Content test ---------------------------------------------------------

struct ContentCase {
  const char* name;
  std::uint32_t width, height;
  std::uint32_t x, y;  // the one coloured pixel
  std::uint8_t b, g, r, a;
  bool content;
};

// Test names carry the case; print only that.
void PrintTo(const ContentCase& c, std::ostream* os) { *os << c.name; }

class ContentTest : public ::testing::TestWithParam<ContentCase> {};

TEST_P(ContentTest, SamplesTheGrid) {
  const ContentCase& c = GetParam();
  Frame frame(c.width, c.height);
  frame.Set(c.x, c.y, c.b, c.g, c.r, c.a);
  EXPECT_EQ(ShowsContent(frame.bytes.data(), c.width, c.height), c.content);

  TestStream out;
  CaptureSession session;
  ASSERT_TRUE(WriteFrame(session, frame.bytes.data(), c.width, c.height, 1.0, out.file()));
  EXPECT_EQ(session.contentSeen, c.content);
}

INSTANTIATE_TEST_SUITE_P(
    Grid, ContentTest,
    ::testing::Values(ContentCase{"FourByFourOnlyPoint", 4, 4, 3, 3, 4, 0, 0, 255, true},
                      ContentCase{"OffGridOrigin", 4, 4, 0, 0, 255, 255, 255, 255, false},
                      ContentCase{"OffGridNextColumn", 8, 8, 4, 3, 255, 255, 255, 255, false},
                      ContentCase{"SeventeenSecondColumn", 17, 17, 16, 3, 0, 4, 0, 255, true},
                      ContentCase{"SeventeenSecondRow", 17, 17, 3, 16, 0, 0, 4, 255, true},
                      ContentCase{"SeventeenLastPoint", 17, 17, 16, 16, 200, 0, 0, 255, true},
                      ContentCase{"SeventeenBetweenPoints", 17, 17, 15, 15, 255, 255, 255, 255, false},
                      ContentCase{"DarkGreyIsNotContent", 4, 4, 3, 3, 3, 3, 3, 255, false},
                      ContentCase{"MixedLowBitsAreNotContent", 4, 4, 3, 3, 1, 2, 0, 255, false},
                      ContentCase{"AlphaPlaysNoPart", 4, 4, 3, 3, 0, 0, 0, 255, false},
                      ContentCase{"WidthThreeNeverCounts", 3, 50, 2, 3, 255, 255, 255, 255, false},
                      ContentCase{"HeightThreeNeverCounts", 50, 3, 3, 2, 255, 255, 255, 255, false},
                      ContentCase{"FarPointOfA1280x720Grid", 1280, 720, 1277, 718, 0, 0, 9, 255, true},
                      ContentCase{"LastRowBelowTheGrid", 1280, 720, 3, 719, 255, 255, 255, 255, false}),
    [](const ::testing::TestParamInfo<ContentCase>& info) { return std::string(info.param.name); });

TEST(ContentTest, UniformDarkGreyFrameIsNotContent) {
  Frame frame(64, 64);
  for (std::uint32_t y = 0; y < 64; ++y)
    for (std::uint32_t x = 0; x < 64; ++x) frame.Set(x, y, 3, 3, 3, 255);
  EXPECT_FALSE(ShowsContent(frame.bytes.data(), 64, 64));
}

TEST(ContentTest, OnceSeenLaterBlackFramesLeaveItSet) {
  TestStream out;
  CaptureSession session;
  Frame bright(8, 8, 200), black(8, 8, 0);
  ASSERT_TRUE(WriteFrame(session, bright.bytes.data(), 8, 8, 1.0, out.file()));
  ASSERT_TRUE(WriteFrame(session, black.bytes.data(), 8, 8, 2.0, out.file()));
  EXPECT_TRUE(session.contentSeen);
}

// ---- Failures ---------------------------------------------------------------

struct FailureCase {
  const char* name;
  bool withTimestampFile;
  TestStream::Buffering outputBuffering;  // Buffered: the bytes reach the output only at the flush
  std::size_t outputRoom;                 // bytes the output takes before it refuses
  std::size_t timestampRoom;              // bytes the timestamp file takes before it refuses
  std::size_t outputBytesLeft;            // what the reader got
};

// Test names carry the case; print only that.
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class WriteFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(WriteFailureTest, FirstFailureEndsTheFrameUncounted) {
  const FailureCase& c = GetParam();
  TestStream out(c.outputBuffering), times;
  out.AcceptOnly(c.outputRoom);
  times.AcceptOnly(c.timestampRoom);
  CaptureSession session;
  if (c.withTimestampFile) session.timestampFile = times.file();
  Frame frame(4, 4, 0x80);

  EXPECT_FALSE(WriteFrame(session, frame.bytes.data(), 4, 4, 3.0, out.file()));

  EXPECT_EQ(out.bytes().size(), c.outputBytesLeft);
  EXPECT_EQ(session.framesWritten, 0u);
  EXPECT_TRUE(session.contentSeen) << "the content test runs before anything is written";
  EXPECT_EQ(out.refusedWrites() + times.refusedWrites(), 1) << "nothing more is tried after the first failure";
  EXPECT_EQ(times.bytes().size(), 0u);
}

constexpr auto kUnbuffered = TestStream::Buffering::Unbuffered;
constexpr auto kBuffered = TestStream::Buffering::Buffered;
constexpr std::size_t kPlenty = 1 << 20;

INSTANTIATE_TEST_SUITE_P(
    Steps, WriteFailureTest,
    ::testing::Values(FailureCase{"HeadedTime", false, kUnbuffered, 0, kPlenty, 0},
                      FailureCase{"HeadedWidth", false, kUnbuffered, 8, kPlenty, 8},
                      FailureCase{"HeadedHeight", false, kUnbuffered, 12, kPlenty, 12},
                      FailureCase{"HeadedPixels", false, kUnbuffered, 16, kPlenty, 16},
                      FailureCase{"HeadedPixelsHalfway", false, kUnbuffered, 40, kPlenty, 40},
                      FailureCase{"HeadedFlush", false, kBuffered, 0, kPlenty, 0},
                      FailureCase{"BarePixels", true, kUnbuffered, 0, kPlenty, 0},
                      FailureCase{"BareFlush", true, kBuffered, 0, kPlenty, 0},
                      FailureCase{"TimestampAfterAFlushedRecord", true, kUnbuffered, kPlenty, 0, 64}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(WriteFailure, TimestampFailureLeavesOneRecordMoreThanTimes) {
  // The backend ends the run with 9 after this and writes nothing more.
  TestStream out, times;
  CaptureSession session;
  session.timestampFile = times.file();
  Frame frame(4, 4, 1);
  ASSERT_TRUE(WriteFrame(session, frame.bytes.data(), 4, 4, 1.0, out.file()));
  times.AcceptOnly(0);
  EXPECT_FALSE(WriteFrame(session, frame.bytes.data(), 4, 4, 2.0, out.file()));
  EXPECT_EQ(out.bytes().size(), 2u * 64u);
  EXPECT_EQ(times.bytes().size(), 8u);
  EXPECT_EQ(session.framesWritten, 1u);
}

}  // namespace
}  // namespace orvel
