// The five-argument form end to end, the way the parent runs it: headed
// records at the window's own size, each with its time. Where the platform
// probe finds Windows Graphics Capture, the run streams the window; where
// it does not, the run ends at once with 5, nothing on standard output and
// exactly one HRESULT line (the five-argument form has no fallback).

#include <gtest/gtest.h>

#include "analysis/letterbox_check.h"
#include "capture_run.h"
#include "expect_run.h"
#include "picture_size.h"
#include "run_report.h"

namespace orvel::wintest {
namespace {

using expectations::Form;
using expectations::RunExpectation;
using expectations::Scenario;
using expectations::Writer;

CaptureRunSettings Headed(double seconds) {
  CaptureRunSettings settings;
  settings.form = Form::Headed;
  settings.fps = 30;
  settings.seconds = seconds;
  return settings;
}

TEST(HeadedRuns, RecordsAtTheWindowsSizeOnThePacingGrid) {
  const RunExpectation expected = Expected(Form::Headed, Scenario::PatternStays);
  PatternWindow window({L"--popup", L"--tick"});
  const PictureSize size = PictureSizeOf(window.window(), expected.pictureArea);
  const CaptureRun run = RunCapture(window, Headed(2.5));
  ReportRun("runs-5arg-30", run, 30, expected);

  ExpectOutcome(run, expected);
  if (expected.writer == Writer::Nobody) {
    EXPECT_EQ(run.outputBytes, 0u) << "nothing on standard output";
    return;
  }
  ExpectWholeRecordsOnTheGrid(run, expected, 30);
  const std::vector<analysis::HeadedRecord> headers = run.headed->headers();
  ASSERT_FALSE(headers.empty());
  for (std::size_t i = 0; i + 1 < headers.size() && !expected.earlyRecordSizesMayDiffer; ++i) {
    EXPECT_EQ((PictureSize{headers[i].width, headers[i].height}), size) << "record " << i;
  }
  EXPECT_EQ((PictureSize{headers.back().width, headers.back().height}), size)
      << "the last record, " << headers.back().width << "x" << headers.back().height << ", against the window's "
      << size.width << "x" << size.height;
  const std::optional<analysis::HeadedFrame> last = run.headed->LastRecord();
  ASSERT_TRUE(last);
  analysis::PatternCheck check;
  check.scaling = expected.scaling;
  const std::vector<std::string> problems = analysis::CheckUnscaledPattern(last->view(), check);
  EXPECT_TRUE(problems.empty()) << Lines(problems);
}

TEST(HeadedRuns, WindowMinimisedMidRun) {
  const RunExpectation expected = Expected(Form::Headed, Scenario::WindowGone);
  PatternWindow window({L"--popup", L"--tick", L"--at", L"1200", L"minimize"});
  const CaptureRun run = RunCapture(window, Headed(10.0));
  ReportRun("runs-5arg-minimised", run, 30, expected);

  ExpectOutcome(run, expected);
  EXPECT_LT(run.ended, run.endTime) << "the run ends when the window goes, not at the end time";
  if (expected.writer == Writer::Nobody) {
    EXPECT_EQ(run.outputBytes, 0u) << "nothing on standard output";
    return;
  }
  EXPECT_GT(run.records(), 0u);
  ExpectWholeRecordsOnTheGrid(run, expected, 30);
}

}  // namespace
}  // namespace orvel::wintest
