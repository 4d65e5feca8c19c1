// The eight-argument form end to end, the way the parent runs it: bare
// records at the output size read while the helper runs, the timestamp
// file, the pattern where LetterboxRect puts it, and the ways a run ends.
// What each run must show comes from the platform probe: Windows Graphics
// Capture with the GPU scaler where the machine has both; else the HRESULT
// line, the fallback line and GDI's exact copy.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "capture_run.h"
#include "expect_run.h"
#include "picture_size.h"
#include "run_report.h"

namespace orvel::wintest {
namespace {

using expectations::Form;
using expectations::RunExpectation;
using expectations::Scenario;

struct OutputCase {
  std::uint32_t width, height, fps;
  std::string name() const { return std::to_string(width) + "x" + std::to_string(height) + "-" + std::to_string(fps); }
};

void PrintTo(const OutputCase& c, std::ostream* os) { *os << c.name(); }

CaptureRunSettings Bare(std::uint32_t fps, double seconds) {
  CaptureRunSettings settings;
  settings.form = Form::Bare;
  settings.fps = fps;
  settings.seconds = seconds;
  return settings;
}

class BareRuns : public ::testing::TestWithParam<OutputCase> {};

TEST_P(BareRuns, PatternLetterboxedOnThePacingGrid) {
  const OutputCase c = GetParam();
  const RunExpectation expected = Expected(Form::Bare, Scenario::PatternStays);
  PatternWindow window({L"--popup", L"--tick"});
  const PictureSize source = PictureSizeOf(window.window(), expected.pictureArea);
  CaptureRunSettings settings = Bare(c.fps, 2.5);
  settings.width = c.width;
  settings.height = c.height;
  const CaptureRun run = RunCapture(window, settings);
  ReportRun("runs-8arg-" + c.name(), run, c.fps, expected);

  ExpectOutcome(run, expected);
  ExpectWholeRecordsOnTheGrid(run, expected, c.fps);
  ASSERT_GE(run.records(), 2u) << "a first and a last frame";
  ExpectLetterboxedPattern(run.bare->Record(0), run, source, expected, "first");
  ExpectLetterboxedPattern(run.bare->LastRecord(), run, source, expected, "last");
}

INSTANTIATE_TEST_SUITE_P(SizesAndRates, BareRuns,
                         ::testing::Values(OutputCase{1280, 720, 30}, OutputCase{1280, 720, 60},
                                           OutputCase{1920, 1080, 30}, OutputCase{1920, 1080, 60}),
                         [](const ::testing::TestParamInfo<OutputCase>& info) {
                           std::string name = info.param.name();
                           for (char& c : name) {
                             if (c == '-') c = '_';
                           }
                           return "Output" + name + "fps";
                         });

TEST(BareRunEvents, ResizedWindowKeepsTheOutputSizeAndMovesTheLetterbox) {
  const RunExpectation expected = Expected(Form::Bare, Scenario::Resized);
  PatternWindow window({L"--popup", L"--tick", L"--at", L"1000", L"resize=400x400"});
  const PictureSize before = PictureSizeOf(window.window(), expected.pictureArea);
  const CaptureRun run = RunCapture(window, Bare(30, 2.5));
  ReportRun("runs-8arg-resized", run, 30, expected);
  ASSERT_TRUE(window.AwaitDone("resize=400x400", 5000)) << "the window was not resized";
  const PictureSize after = PictureSizeOf(window.window(), expected.pictureArea);

  ExpectOutcome(run, expected);
  ExpectWholeRecordsOnTheGrid(run, expected, 30);
  EXPECT_NE(before, after);
  ASSERT_GE(run.records(), 2u);
  ExpectLetterboxedPattern(run.bare->Record(0), run, before, expected, "first");
  ExpectLetterboxedPattern(run.bare->LastRecord(), run, after, expected, "last");
}

TEST(BareRunEvents, DarkWindowGivesNoContent) {
  const RunExpectation expected = Expected(Form::Bare, Scenario::DarkWindow);
  PatternWindow window({L"--popup", L"--tick", L"--dark"});
  const CaptureRun run = RunCapture(window, Bare(30, 1.5));
  ReportRun("runs-8arg-dark", run, 30, expected);

  ExpectOutcome(run, expected);
  EXPECT_GT(run.records(), 0u) << "8 means frames were written";
  ExpectWholeRecordsOnTheGrid(run, expected, 30);
}

struct Ending {
  const char* name;
  const wchar_t* action;
};

void PrintTo(const Ending& c, std::ostream* os) { *os << c.name; }

class BareRunEndings : public ::testing::TestWithParam<Ending> {};

TEST_P(BareRunEndings, WindowGoneMidRunEndsTheRunWithEveryRecordWhole) {
  const Ending& ending = GetParam();
  const RunExpectation expected = Expected(Form::Bare, Scenario::WindowGone);
  PatternWindow window({L"--popup", L"--tick", L"--at", L"1200", ending.action});
  const CaptureRun run = RunCapture(window, Bare(30, 10.0));
  ReportRun(std::string("runs-8arg-") + ending.name, run, 30, expected);

  ExpectOutcome(run, expected);
  EXPECT_LT(run.ended, run.endTime) << "the run ends when the window goes, not at the end time";
  EXPECT_GT(run.records(), 0u);
  ExpectWholeRecordsOnTheGrid(run, expected, 30);
}

INSTANTIATE_TEST_SUITE_P(Causes, BareRunEndings,
                         ::testing::Values(Ending{"minimised", L"minimize"}, Ending{"closed", L"close"}),
                         [](const ::testing::TestParamInfo<Ending>& info) {
                           std::string name = info.param.name;
                           name[0] = static_cast<char>(name[0] - 'a' + 'A');
                           return name;
                         });

TEST(BareRunWrites, ReaderClosingThePipeEarlyGives9Promptly) {
  const RunExpectation expected = Expected(Form::Bare, Scenario::ReaderStops);
  PatternWindow window({L"--popup", L"--tick"});
  CaptureRunSettings settings = Bare(30, 20.0);
  settings.closeOutputAfter = 3 * 3'686'400 / 2;  // a record and a half, then the parent stops reading
  const CaptureRun run = RunCapture(window, settings);
  ReportRun("runs-8arg-reader-stops", run, 30, expected);

  ExpectOutcome(run, expected);
  EXPECT_LT(run.ended - run.launched, 8.0) << "a write failure ends the run at once, not at the end time";
}

}  // namespace
}  // namespace orvel::wintest
