#include "expect_run.h"

#include <gtest/gtest.h>

#include "analysis/frame_times.h"
#include "analysis/letterbox_check.h"
#include "expectations/error_lines.h"
#include "run_report.h"
#include "support/platform_probe.h"

namespace orvel::wintest {

expectations::RunExpectation Expected(expectations::Form form, expectations::Scenario scenario) {
  expectations::RunExpectation expected = expectations::ExpectRun(Platform(), form, scenario);
  SayNotice(expected);
  return expected;
}

std::string Lines(const std::vector<std::string>& problems) {
  std::string text;
  for (const std::string& problem : problems) text += problem + "\n";
  return text;
}

void ExpectOutcome(const CaptureRun& run, const expectations::RunExpectation& expected) {
  EXPECT_TRUE(run.endedInTime) << "the helper did not end within its end time and a margin";
  EXPECT_EQ(run.exitCode, expected.exitCode) << "frames written by: " << expected.backend;
  const std::optional<std::string> problem = expectations::CheckErrorLines(run.errors, expected.errorLines);
  EXPECT_FALSE(problem) << *problem;
}

void ExpectWholeRecordsOnTheGrid(const CaptureRun& run, const expectations::RunExpectation& expected,
                                 std::uint32_t fps) {
  const std::vector<std::string> stream = run.StreamProblems();
  EXPECT_TRUE(stream.empty()) << Lines(stream);
  EXPECT_EQ(run.trailingTimestampBytes, 0u) << "the timestamp file ends inside a time";
  const analysis::RunClock clock{run.launched, run.endTime, fps};
  const std::vector<std::string> times = analysis::CheckFrameTimes(run.times, run.records(), clock, expected.pacing);
  EXPECT_TRUE(times.empty()) << Lines(times);
}

void ExpectLetterboxedPattern(const std::vector<std::uint8_t>& record, const CaptureRun& run, PictureSize source,
                              const expectations::RunExpectation& expected, const std::string& which) {
  ASSERT_TRUE(run.bare) << "a bare record needs the eight-argument form";
  ASSERT_GT(source.width, 0u) << "the window's size could not be read";
  const analysis::FrameView frame{record, run.bare->width(), run.bare->height()};
  ASSERT_TRUE(frame.complete()) << "the " << which << " record was not kept whole";
  analysis::PatternCheck check;
  check.scaling = expected.scaling;
  const std::vector<std::string> problems =
      analysis::CheckLetterboxedPattern(frame, source.width, source.height, check);
  EXPECT_TRUE(problems.empty()) << "the " << which << " record, a " << source.width << "x" << source.height
                                << " picture in " << frame.width << "x" << frame.height << ":\n"
                                << Lines(problems);
}

}  // namespace orvel::wintest
