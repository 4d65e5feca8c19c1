// The eight-argument form end to end under Wine, where Windows Graphics
// Capture is missing and the helper falls back to GDI: the stream read the
// way the parent reads it, the timestamp file, the pattern's pixels in the
// letterbox, and the ways a run ends.

#include <gtest/gtest.h>

#include <ostream>
#include <regex>
#include <string>

#include "frame_pacer.h"
#include "letterbox.h"
#include "support/child_process.h"
#include "support/frame_collector.h"
#include "support/pattern_window.h"
#include "test_pattern.h"

namespace orvel::wintest {
namespace {

struct Capture {
  DWORD exitCode = 0;
  std::string errors;
  std::vector<double> times;
  double launched = 0;  // the parent's clock just before the start
  double endTime = 0;
  double exited = 0;  // the parent's clock once the helper had ended
};

struct Settings {
  Settings(std::uint32_t fps, double seconds) : fps(fps), seconds(seconds) {}
  std::uint32_t fps;
  double seconds;
  std::wstring timestampPath;  // empty: a fresh temporary file
  std::uint64_t closeOutputAfter = 0;
};

Capture RunCapture(const PatternWindow& window, FrameCollector& frames, const Settings& settings) {
  const std::wstring timestamps = settings.timestampPath.empty() ? TemporaryPath(L"gdi") : settings.timestampPath;
  Capture capture;
  capture.launched = NowSeconds();
  capture.endTime = capture.launched + settings.seconds;
  ChildProcess::Options options;
  options.onOutput = [&frames](const char* data, std::size_t size) { frames.Take(data, size); };
  options.closeOutputAfter = settings.closeOutputAfter;
  ChildProcess helper(CommandLine({SiblingPath(L"ORVELCapture.exe"), window.windowArgument(), window.processArgument(),
                                   std::to_wstring(settings.fps), Decimal(capture.endTime),
                                   std::to_wstring(frames.width()), std::to_wstring(frames.height()), timestamps}),
                      options);
  EXPECT_TRUE(helper.Wait(static_cast<DWORD>(settings.seconds * 1000) + 20000)) << "the helper did not end";
  capture.exited = NowSeconds();
  capture.exitCode = helper.exitCode();
  capture.errors = helper.errors();
  if (settings.timestampPath.empty()) {
    capture.times = ReadTimes(ReadFileBytes(timestamps));
    ::DeleteFileW(timestamps.c_str());
  }
  return capture;
}

// Under Wine, Windows Graphics Capture fails at once: its HRESULT line comes
// first, then the fallback line. Standard error is in text mode.
void ExpectFallbackLines(const std::string& errors) {
  EXPECT_TRUE(std::regex_match(errors, std::regex("Windows Graphics Capture: 0x[0-9A-F]{8}\r\n"
                                                  "Windows Graphics Capture -> GDI \\(HWND\\)\r\n")))
      << "stderr was: " << errors;
}

// Times are in the run, one per record, and never ahead of the pacing grid.
void ExpectTimesFitTheRun(const Capture& capture, std::size_t records, std::uint32_t fps) {
  ASSERT_EQ(capture.times.size(), records);
  FramePacer pacer(fps);
  for (std::size_t i = 0; i < capture.times.size(); ++i) {
    const double t = capture.times[i];
    EXPECT_GT(t, capture.launched);
    EXPECT_LT(t, capture.endTime);
    EXPECT_TRUE(pacer.IsDue(t)) << "frame " << i << " at " << t << " came before its due time " << pacer.nextDue();
    if (i > 0) {
      EXPECT_GT(t, capture.times[i - 1]);
    }
    pacer.Advance(t);
  }
}

// The pattern's cells at their letterboxed places, and black bars with alpha 0.
void ExpectLetterboxedPattern(const std::vector<std::uint8_t>& frame, std::uint32_t width, std::uint32_t height,
                              int clientWidth, int clientHeight) {
  ASSERT_EQ(frame.size(), std::size_t{width} * height * 4);
  using namespace test_pattern;
  const LetterboxPlacement fit = LetterboxRect(clientWidth, clientHeight, width, height);
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const int cx = (CellStart(column, kColumns, clientWidth) + CellStart(column + 1, kColumns, clientWidth)) / 2;
      const int cy = (CellStart(row, kRows, clientHeight) + CellStart(row + 1, kRows, clientHeight)) / 2;
      const auto x = static_cast<std::uint32_t>(fit.left + std::int64_t{cx} * fit.width() / clientWidth);
      const auto y = static_cast<std::uint32_t>(fit.top + std::int64_t{cy} * fit.height() / clientHeight);
      const Bgra pixel = PixelAt(frame, width, x, y);
      const Rgb expected = kCells[row][column];
      EXPECT_EQ(std::vector<int>({pixel.r, pixel.g, pixel.b}), std::vector<int>({expected.r, expected.g, expected.b}))
          << "cell " << row << "," << column << " at " << x << "," << y;
    }
  }
  auto expectBar = [&](std::uint32_t x, std::uint32_t y) {
    const Bgra pixel = PixelAt(frame, width, x, y);
    EXPECT_EQ(std::vector<int>({pixel.b, pixel.g, pixel.r, pixel.a}), std::vector<int>({0, 0, 0, 0}))
        << "bar at " << x << "," << y;
  };
  if (fit.left > 0) {
    expectBar(0, 0);
    expectBar(fit.left - 1, height - 1);
    expectBar(fit.right, 0);
    expectBar(width - 1, height - 1);
  }
  if (fit.top > 0) {
    expectBar(0, 0);
    expectBar(width - 1, fit.top - 1);
    expectBar(0, fit.bottom);
  }
}

struct SizeCase {
  std::uint32_t width, height, fps;
};

class GdiFallback : public ::testing::TestWithParam<SizeCase> {};

TEST_P(GdiFallback, StreamsBareLetterboxedFramesWithTheirTimes) {
  const SizeCase c = GetParam();
  PatternWindow window;
  FrameCollector frames(c.width, c.height, {0});
  const Capture capture = RunCapture(window, frames, Settings{c.fps, 2.5});

  EXPECT_EQ(capture.exitCode, 0u);
  ExpectFallbackLines(capture.errors);
  EXPECT_EQ(frames.leftoverBytes(), 0u) << "only whole records";
  EXPECT_GE(frames.records(), static_cast<std::size_t>(c.fps * 2.5 / 4)) << "far fewer frames than slots";
  ExpectTimesFitTheRun(capture, frames.records(), c.fps);
  ExpectLetterboxedPattern(frames.Record(0), c.width, c.height, 800, 600);
  ExpectLetterboxedPattern(frames.LastRecord(), c.width, c.height, 800, 600);
}

INSTANTIATE_TEST_SUITE_P(OutputSizes, GdiFallback, ::testing::Values(SizeCase{1280, 720, 30}, SizeCase{1920, 1080, 60}),
                         [](const ::testing::TestParamInfo<SizeCase>& info) {
                           return std::to_string(info.param.width) + "x" + std::to_string(info.param.height) + "at" +
                                  std::to_string(info.param.fps);
                         });

TEST(GdiFallbackContent, DarkWindowGivesNoContent) {
  PatternWindow window({L"--dark"});
  FrameCollector frames(1280, 720);
  const Capture capture = RunCapture(window, frames, Settings{30, 1.5});
  EXPECT_EQ(capture.exitCode, 8u);
  EXPECT_GT(frames.records(), 0u);
  ExpectFallbackLines(capture.errors);
}

TEST(GdiFallbackWindow, ResizedWindowKeepsTheOutputSizeWithANewLetterbox) {
  PatternWindow window({L"--at", L"1000", L"resize=400x400"});
  FrameCollector frames(1280, 720, {0});
  const Capture capture = RunCapture(window, frames, Settings{30, 2.5});
  EXPECT_EQ(capture.exitCode, 0u);
  EXPECT_EQ(frames.leftoverBytes(), 0u);
  ExpectTimesFitTheRun(capture, frames.records(), 30);
  ExpectLetterboxedPattern(frames.Record(0), 1280, 720, 800, 600);
  ExpectLetterboxedPattern(frames.LastRecord(), 1280, 720, 400, 400);
}

struct Ending {
  const char* name;
  const wchar_t* action;
};

// Test names carry the case; print only that.
void PrintTo(const Ending& c, std::ostream* os) { *os << c.name; }

class GdiFallbackEnding : public ::testing::TestWithParam<Ending> {};

TEST_P(GdiFallbackEnding, WindowGoneMidRunGives3WithEveryRecordWhole) {
  PatternWindow window({L"--at", L"1200", GetParam().action});
  FrameCollector frames(1280, 720);
  const Capture capture = RunCapture(window, frames, Settings{30, 10.0});
  EXPECT_EQ(capture.exitCode, 3u);
  EXPECT_LT(capture.exited, capture.endTime) << "the run ends when the window goes, not at the end time";
  EXPECT_GT(frames.records(), 0u);
  EXPECT_EQ(frames.leftoverBytes(), 0u);
  ExpectTimesFitTheRun(capture, frames.records(), 30);
}

INSTANTIATE_TEST_SUITE_P(Causes, GdiFallbackEnding,
                         ::testing::Values(Ending{"Minimised", L"minimize"}, Ending{"Closed", L"close"}),
                         [](const ::testing::TestParamInfo<Ending>& info) { return std::string(info.param.name); });

TEST(GdiFallbackWrites, ReaderClosingThePipeEarlyGives9Promptly) {
  PatternWindow window;
  FrameCollector frames(1280, 720);
  Settings settings{30, 20.0};
  settings.closeOutputAfter = 3 * 3'686'400 / 2;  // a record and a half, then the parent stops reading
  const Capture capture = RunCapture(window, frames, settings);
  EXPECT_EQ(capture.exitCode, 9u);
  EXPECT_LT(capture.exited - capture.launched, 8.0) << "a write failure ends the run at once";
}

TEST(GdiFallbackWrites, TimestampFileOnAFullDeviceGives9) {
  PatternWindow window;
  FrameCollector frames(1280, 720);
  Settings settings{30, 1.5};
  settings.timestampPath = L"Z:\\dev\\full";
  const Capture capture = RunCapture(window, frames, settings);
  EXPECT_EQ(capture.exitCode, 9u);
  EXPECT_GT(frames.records(), 0u) << "the frames themselves went out";
}

}  // namespace
}  // namespace orvel::wintest
