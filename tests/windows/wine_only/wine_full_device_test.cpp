// A timestamp file on a device that is always full: every frame reaches
// standard output, but writing the times fails, and the run ends with 9.
//
// Wine only. It needs Wine's Z:\dev\full, the Linux device that refuses
// every write, and Windows has no such device; so the release package does
// not carry this program. On Windows the same failure stays proved by the
// native tests of the frame writer and the entry point.

#include <gtest/gtest.h>

#include "capture_run.h"
#include "support/pattern_window.h"

namespace orvel::wintest {
namespace {

TEST(WineFullDevice, TimestampFileOnAFullDeviceGives9) {
  PatternWindow window({L"--popup", L"--tick"});
  CaptureRunSettings settings;
  settings.form = expectations::Form::Bare;
  settings.seconds = 1.5;
  settings.timestampPath = L"Z:\\dev\\full";
  const CaptureRun run = RunCapture(window, settings);

  EXPECT_TRUE(run.endedInTime);
  EXPECT_EQ(run.exitCode, 9u);
  EXPECT_GT(run.records(), 0u) << "the frames themselves went out";
}

}  // namespace
}  // namespace orvel::wintest
