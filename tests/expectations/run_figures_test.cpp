// A capture run's report line: every figure present, and none a false zero.

#include "expectations/run_figures.h"

#include <gtest/gtest.h>

#include <string>

namespace orvel::expectations {
namespace {

// Ten frames a tenth of a second apart at 10 fps from 100.2, in a run
// launched at 100.0 with its end at 101.2.
RunFigures SteadyRun() {
  RunFigures run;
  run.backend = "GDI fallback";
  run.fps = 10;
  run.launched = 100.0;
  run.endTime = 101.2;
  run.ended = 101.25;
  for (int i = 0; i < 10; ++i) run.times.push_back(100.2 + i * 0.1);
  run.cpuSeconds = 0.05;
  run.cpuTimesUsable = true;
  run.peakWorkingSetBytes = 48u * 1024 * 1024;
  return run;
}

void ExpectContains(const std::string& text, const std::string& part) {
  EXPECT_NE(text.find(part), std::string::npos) << "'" << part << "' is not in: " << text;
}

TEST(RunFigures, SaysEveryFigureOfASteadyRun) {
  const std::string text = DescribeRunFigures(SteadyRun());
  ExpectContains(text, "GDI fallback; 10 fps for 1.200 s; 10 frames, 1.000 per slot from the first frame, ");
  ExpectContains(text, "0.833 from the launch");
  ExpectContains(text, "spacing 9 gaps: min 100.000 ms, median 100.000 ms, p99 100.000 ms, max 100.000 ms");
  ExpectContains(text, "requested 100.000 ms");
  ExpectContains(text, "CPU 5.000 ms CPU per frame");
  ExpectContains(text, "memory 48.0 MiB peak working set");
  ExpectContains(text, "first frame 0.200 s after the launch");
}

TEST(RunFigures, ARunThatEndedEarlyCountsSlotsUpToItsEnd) {
  RunFigures run = SteadyRun();
  run.endTime = 110.0;  // the window went at 101.2, long before the end time
  run.ended = 101.2;
  ExpectContains(DescribeRunFigures(run), "10 frames, 1.000 per slot from the first frame, 0.833 from the launch");
}

TEST(RunFigures, SaysWhereThePlatformGaveNoAnswerRatherThanZero) {
  RunFigures run = SteadyRun();
  run.cpuSeconds = 0.0;
  run.cpuTimesUsable = false;
  run.peakWorkingSetBytes = std::nullopt;
  const std::string text = DescribeRunFigures(run);
  ExpectContains(text, "CPU not measured: this platform does not report the helper's CPU time");
  ExpectContains(text, "memory not measured: the platform gave no working set");
  EXPECT_EQ(text.find("0.000 ms CPU"), std::string::npos) << text;
}

TEST(RunFigures, ASingleFrameHasNoSpacing) {
  RunFigures run = SteadyRun();
  run.times = {100.3};
  const std::string text = DescribeRunFigures(run);
  ExpectContains(text, "1 frame, ");
  ExpectContains(text, "spacing not measured: fewer than two frames");
  ExpectContains(text, "first frame 0.300 s after the launch");
}

}  // namespace
}  // namespace orvel::expectations
