// The window goes before the helper has a first frame of it.

#include <gtest/gtest.h>

#include <cstdio>

#include "helper_run.h"
#include "long_paths.h"
#include "run_checks.h"
#include "stallable_reader.h"
#include "support/pattern_window.h"

namespace orvel::wintest {
namespace {

// The window closes itself as soon as it is shown, and the parent waits for
// that before it starts the helper: the start-up checks find no window, so
// the helper ends with 3 before it creates the timestamp file or writes
// anything.
TEST(WindowGone, ClosedBeforeTheStartGives3AndWritesNothing) {
  PatternWindow window({L"--at", L"0", L"close"});
  ASSERT_TRUE(window.AwaitDone("close", 10000)) << "the window did not close itself";
  StallableReader reader(1280, 720);
  const std::wstring timestamps = TemporaryPath(L"hostile-gone-before");
  HelperRun run(window, reader, RunSettings{5.0, timestamps});
  ASSERT_TRUE(run.Finish(20000)) << "the helper did not end";

  EXPECT_EQ(run.exitCode(), 3u) << "stderr: " << run.errors();
  EXPECT_EQ(run.outputBytes(), 0u);
  EXPECT_EQ(run.errors(), "") << "a missing window is reported by the exit code alone";
  EXPECT_FALSE(ExistsAtAnyLength(timestamps)) << "the timestamp file is made only after the window checks";
  ::DeleteFileW(timestamps.c_str());
}

// The helper creates its timestamp file right after its start-up checks
// passed, so the parent closes the window the moment that file appears: the
// window goes while capture is being set up, before the first frame or just
// after it. The run must end at once, with nothing torn.
//
// Which call meets the dying window first is a race: the window check at
// the top of a capture turn, GetDC in the GDI set-up, or StretchBlt and
// GdiFlush on a window that passed the turn's check a moment before. Each of
// them must end the run with 3: a GDI call that fails because the window is
// gone reports the window's going.
TEST(WindowGone, ClosedWhileCaptureStartsEndsAtOnceWithWholeRecords) {
  PatternWindow window;
  StallableReader reader(1280, 720);
  const std::wstring timestamps = TemporaryPath(L"hostile-gone-at-start");
  HelperRun run(window, reader, RunSettings{10.0, timestamps});
  const ULONGLONG deadline = ::GetTickCount64() + 10000;
  while (!ExistsAtAnyLength(timestamps) && ::GetTickCount64() < deadline) ::Sleep(1);
  ASSERT_TRUE(ExistsAtAnyLength(timestamps)) << "the helper never created its timestamp file; exit code "
                                             << (run.StillRunning() ? "none yet" : std::to_string(run.exitCode()));
  const double fileSeen = NowSeconds();
  window.Send("close");
  ASSERT_TRUE(run.Finish(20000)) << "the helper did not end";

  const std::vector<double> times = ReadTimesFile(timestamps);
  ::DeleteFileW(timestamps.c_str());
  EXPECT_EQ(run.exitCode(), 3u) << "stderr: " << run.errors();
  EXPECT_LT(run.exited(), run.endTime()) << "the run ends when the window goes, not at the end time";
  ExpectWholeRecordsWithTheirTimes(reader, times, run);
  std::printf(
      "closed while capture starts: file seen %.3f s after the launch, exit %lu, %zu records, ended %.3f s "
      "after the close\n",
      fileSeen - run.launched(), run.exitCode(), reader.frames().records(), run.exited() - fileSeen);
}

}  // namespace
}  // namespace orvel::wintest
