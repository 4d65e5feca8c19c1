// A parent that stops reading for a while. The pipe is smaller than one
// record, so the helper blocks in the middle of a frame's write; what it
// writes must stay whole and timed, and it must neither end early nor hang.

#include <gtest/gtest.h>

#include <algorithm>

#include "helper_run.h"
#include "run_checks.h"
#include "stallable_reader.h"
#include "support/pattern_window.h"

namespace orvel::wintest {
namespace {

constexpr DWORD kStallMilliseconds = 3000;
// The helper must show that it was held: a gap in its frame times of most
// of the stall (a capture backend may still hand over a frame or two it
// queued at the start of the stall).
constexpr double kHeldGapSeconds = 2.0;
// From the last moment the helper could end (the end time, or the end of
// the stall if that were later) to the parent seeing it gone: the frame in
// hand, closing the timestamp file, and the process exit, which under Wine
// on a busy two-core machine takes up to a second.
constexpr double kEndingAllowanceSeconds = 2.0;
// From reading going on again to the helper's end when its window has gone:
// the rest of the blocked record drains at once and the next turn's window
// check ends the run; the bound only says that it does not wait for its end
// time (30 s ahead), with room for a slow process exit.
constexpr double kPromptEndSeconds = 5.0;
// The ticker keeps the window changing, so that a compositor that sends
// frames only on change keeps sending them while the reader stalls.
const std::initializer_list<std::wstring> kChangingWindow = {L"--tick"};

TEST(StalledReader, ThreeSecondStallKeepsRecordsWholeAndTheRunOnTime) {
  PatternWindow window(kChangingWindow);
  StallableReader reader(1280, 720);
  reader.HoldAfter(3);
  const std::wstring timestamps = TemporaryPath(L"hostile-stall");
  HelperRun run(window, reader, RunSettings{7.0, timestamps});

  ASSERT_TRUE(reader.AwaitHeld(15000)) << "three records never arrived; exit code "
                                       << (run.StillRunning() ? "none yet" : std::to_string(run.exitCode()));
  ::Sleep(kStallMilliseconds);
  reader.Release();
  ASSERT_TRUE(run.FinishByEndTime(20.0)) << "the helper did not end";

  const std::vector<double> times = ReadTimesFile(timestamps);
  ::DeleteFileW(timestamps.c_str());
  EXPECT_EQ(run.exitCode(), 0u) << "stderr: " << run.errors();
  ExpectWholeRecordsWithTheirTimes(reader, times, run);
  ExpectEveryRecordShowsTheWindow(reader);
  EXPECT_GE(LargestGap(times), kHeldGapSeconds) << "the stall did not hold the helper back";
  EXPECT_TRUE(std::any_of(times.begin(), times.end(), [&](double t) { return t > reader.releasedAt(); }))
      << "no frame was taken after the reader went on";
  const double lastPossibleEnd = std::max(run.endTime(), reader.releasedAt());
  EXPECT_LE(run.exited(), lastPossibleEnd + kEndingAllowanceSeconds)
      << "ended " << run.exited() - run.endTime() << " s after the end time, " << run.exited() - reader.releasedAt()
      << " s after the stall";
  std::printf("stall run: %zu records, held %.3f s, largest gap %.3f s, ended %.3f s after the end time\n",
              times.size(), reader.releasedAt() - reader.heldAt(), LargestGap(times), run.exited() - run.endTime());
}

TEST(StalledReader, WindowClosedWhileTheHelperIsBlockedEndsWith3OnceReadingGoesOn) {
  PatternWindow window(kChangingWindow);
  StallableReader reader(1280, 720);
  reader.HoldAfter(2);
  const std::wstring timestamps = TemporaryPath(L"hostile-blocked-close");
  HelperRun run(window, reader, RunSettings{30.0, timestamps});

  ASSERT_TRUE(reader.AwaitHeld(15000)) << "two records never arrived";
  ::Sleep(500);  // the pipe fills and the helper blocks in its write
  ASSERT_TRUE(run.StillRunning()) << "the helper ended with " << run.exitCode() << " before the window closed";
  window.Do("close");
  const double closedAt = NowSeconds();
  ::Sleep(1000);
  EXPECT_TRUE(run.StillRunning()) << "the helper ended while its write was blocked: the stall did not hold it";
  reader.Release();
  // Bounded: the blocked record completes, then the next turn's window check.
  ASSERT_TRUE(run.Finish(15000)) << "the helper did not end after reading went on";

  const std::vector<double> times = ReadTimesFile(timestamps);
  ::DeleteFileW(timestamps.c_str());
  EXPECT_EQ(run.exitCode(), 3u) << "stderr: " << run.errors();
  ExpectWholeRecordsWithTheirTimes(reader, times, run);
  ExpectEveryRecordShowsTheWindow(reader);
  EXPECT_GE(times.size(), 2u);
  for (std::size_t i = 0; i < times.size(); ++i) {
    EXPECT_LT(times[i], closedAt) << "frame " << i << " was taken after the window closed";
  }
  EXPECT_LT(run.exited() - reader.releasedAt(), kPromptEndSeconds) << "the helper lingered after reading went on";
  std::printf("blocked close: %zu records, ended %.3f s after reading went on, %.1f s before the end time\n",
              times.size(), run.exited() - reader.releasedAt(), run.endTime() - run.exited());
}

}  // namespace
}  // namespace orvel::wintest
