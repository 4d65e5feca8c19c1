// A run's frame times against the helper's rules: inside the run, rising,
// and never ahead of the pacing grid by more than the gate allows.

#include "analysis/frame_times.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace orvel::analysis {
namespace {

struct Case {
  const char* name;
  PacingRule rule;
  std::uint32_t fps;
  std::vector<double> times;
  std::size_t records;  // 0: as many as times
  const char* problem;  // the expected problem's text, or nullptr for none
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class FrameTimes : public ::testing::TestWithParam<Case> {};

// The run was launched at 100.0 and ends at 101.0.
TEST_P(FrameTimes, FindsExactlyTheBrokenRule) {
  const Case& c = GetParam();
  const RunClock run{100.0, 101.0, c.fps};
  const std::size_t records = c.records == 0 ? c.times.size() : c.records;
  const std::vector<std::string> problems = CheckFrameTimes(c.times, records, run, c.rule);
  if (c.problem == nullptr) {
    EXPECT_TRUE(problems.empty()) << problems.front();
  } else {
    ASSERT_EQ(problems.size(), 1u) << ::testing::PrintToString(problems);
    EXPECT_EQ(problems[0], c.problem);
  }
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Runs, FrameTimes,
    ::testing::Values(
        Case{"GdiOnTheGrid", PacingRule::Gdi, 30, {100.2, 100.2334, 100.27, 100.301}, 0, nullptr},
        // A frame more than one interval late moves the grid to itself.
        Case{"GdiLateFrameMovesTheGrid", PacingRule::Gdi, 30, {100.2, 100.5, 100.5334}, 0, nullptr},
        Case{"GdiExactlyAtItsDueTime", PacingRule::Gdi, 30, {100.5, 100.5 + 1.0 / 30}, 0, nullptr},
        Case{"GdiAMillisecondEarly",
             PacingRule::Gdi,
             30,
             {100.2, 100.2323},
             0,
             "frame 1 at 100.232300 came 0.001033 s before its due time 100.233333"},
        // The gate's own steps at 60 fps: due 100.13333 after frames at 100.1 and 100.1163.
        Case{"WgcWithinTheTolerance", PacingRule::Wgc, 60, {100.1, 100.1163, 100.1329}, 0, nullptr},
        Case{"WgcBeyondTheTolerance",
             PacingRule::Wgc,
             60,
             {100.1, 100.1163, 100.1325},
             0,
             "frame 2 at 100.132500 came 0.000833 s before its due time 100.133333 (0.0005 s allowed)"},
        // Exactly 0.0005 s before the due time passes; one step of the double earlier does not.
        Case{"WgcExactlyAtTheTolerance", PacingRule::Wgc, 30, {100.1, 100.1 + 1.0 / 30 - 0.0005}, 0, nullptr},
        Case{"WgcJustBeyondTheTolerance",
             PacingRule::Wgc,
             30,
             {100.1, std::nextafter(100.1 + 1.0 / 30 - 0.0005, 0.0)},
             0,
             "frame 1 at 100.132833 came 0.000500 s before its due time 100.133333 (0.0005 s allowed)"},
        Case{"GdiHoldsWhatWgcAllows",
             PacingRule::Gdi,
             60,
             {100.1, 100.1163},
             0,
             "frame 1 at 100.116300 came 0.000367 s before its due time 100.116667"},
        Case{"MoreRecordsThanTimes", PacingRule::Gdi, 30, {100.2, 100.25}, 3, "2 frame times for 3 records"},
        Case{"AtTheLaunch",
             PacingRule::Gdi,
             30,
             {100.0},
             0,
             "frame 0 at 100.000000 is not after the launch at 100.000000"},
        Case{"AtTheEndTime",
             PacingRule::Gdi,
             30,
             {100.5, 101.0},
             0,
             "frame 1 at 101.000000 is not before the end time 101.000000"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// Cases that break more than one rule at once.
TEST(FrameTimesMore, ABadTimeBreaksEveryRuleItTouches) {
  const RunClock run{100.0, 101.0, 30};
  const std::vector<std::string> nan = CheckFrameTimes(std::vector<double>{kNaN}, 1, run, PacingRule::Gdi);
  ASSERT_EQ(nan.size(), 2u) << ::testing::PrintToString(nan);
  EXPECT_EQ(nan[0], "frame 0 at nan is not after the launch at 100.000000");
  EXPECT_EQ(nan[1], "frame 0 at nan is not before the end time 101.000000");

  const std::vector<std::string> back = CheckFrameTimes(std::vector<double>{100.5, 100.4}, 2, run, PacingRule::Gdi);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0], "frame 1 at 100.400000 is not later than frame 0 at 100.500000");
  EXPECT_EQ(back[1], "frame 1 at 100.400000 came 0.133333 s before its due time 100.533333");

  const std::vector<std::string> same = CheckFrameTimes(std::vector<double>{100.5, 100.5}, 2, run, PacingRule::Wgc);
  ASSERT_EQ(same.size(), 2u);
  EXPECT_EQ(same[0], "frame 1 at 100.500000 is not later than frame 0 at 100.500000");
}

TEST(FrameTimesMore, ManyBadFramesGiveExamplesAndACount) {
  std::vector<double> times;
  for (int i = 0; i < 100; ++i) times.push_back(100.1 + i * 0.0003);  // all within one interval at 30 fps
  const std::vector<std::string> problems = CheckFrameTimes(times, times.size(), {100.0, 101.0, 30}, PacingRule::Gdi);
  ASSERT_EQ(problems.size(), 6u) << ::testing::PrintToString(problems);
  EXPECT_NE(problems[0].find("frame 1 at"), std::string::npos);
  EXPECT_EQ(problems[5], "... and 94 more: frames ahead of the pacing grid");
}

TEST(FrameTimesMore, FirstFrameDelayIsFromTheLaunch) {
  EXPECT_DOUBLE_EQ(*FirstFrameDelay(std::vector<double>{100.25, 100.3}, 100.0), 0.25);
  EXPECT_FALSE(FirstFrameDelay({}, 100.0));
}

}  // namespace
}  // namespace orvel::analysis
