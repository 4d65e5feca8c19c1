// The GDI fallback backend against a fake GDI, window manager and clock:
// set-up and its failures, the loop's pacing, window checks, letterbox and
// clearing, copy and write failures, and the end-of-run codes.

#include "gdi_capture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/fake_gdi.h"
#include "fakes/fake_window_manager.h"
#include "fakes/test_streams.h"

namespace orvel {
namespace {

using testing::FakeClock;
using testing::FakeGdi;
using testing::FakeWindowManager;
using testing::TestStream;

constexpr std::uint64_t kWindow = 0x20044;
constexpr std::uint32_t kOwner = 77;
constexpr double kStart = 500.0;

const std::vector<std::string> kCleanUp = {"SelectObject previous", "DeleteObject", "DeleteDC", "ReleaseDC"};

struct GdiRunFixture {
  FakeClock clock{kStart};
  FakeWindowManager windows{&clock};
  FakeGdi gdi;
  TestStream frames, times;
  CaptureSession session;

  explicit GdiRunFixture(std::uint32_t width = 1280, std::uint32_t height = 720, double seconds = 0.2,
                         std::uint32_t fps = 30) {
    windows.Add(kWindow, kOwner, 800, 600);
    session.window = kWindow;
    session.processId = kOwner;
    session.fps = fps;
    session.width = width;
    session.height = height;
    session.endTime = kStart + seconds;
    session.timestampFile = times.file();
  }

  ExitCode Go() { return RunGdiCapture(session, gdi, windows, clock, frames.file()); }

  std::size_t frameBytes() const { return std::size_t{session.width} * session.height * 4; }
  std::size_t frameCount() const { return frames.bytes().size() / frameBytes(); }
  const std::uint8_t* Pixel(std::size_t frame, std::uint32_t x, std::uint32_t y) const {
    return reinterpret_cast<const std::uint8_t*>(frames.bytes().data()) + frame * frameBytes() +
           (std::size_t{y} * session.width + x) * 4;
  }
  std::vector<double> Times() const {
    std::vector<double> values(times.bytes().size() / 8);
    std::memcpy(values.data(), times.bytes().data(), values.size() * 8);
    return values;
  }
  std::vector<std::string> JournalTail(std::size_t n) const {
    const auto& j = gdi.journal();
    return std::vector<std::string>(j.end() - static_cast<std::ptrdiff_t>(std::min(n, j.size())), j.end());
  }
};

bool IsPaint(const FakeGdi& gdi, const std::uint8_t* pixel) { return std::memcmp(pixel, gdi.paint, 4) == 0; }
bool IsBlackBar(const std::uint8_t* pixel) {
  const std::uint8_t zero[4] = {0, 0, 0, 0};
  return std::memcmp(pixel, zero, 4) == 0;
}

// ---- Set-up ----------------------------------------------------------------

struct SetUpFailure {
  const char* name;
  void (*arrange)(FakeGdi&);
  std::vector<std::string> journal;  // everything acquired, then released in reverse
};

// Test names carry the case; print only that.
void PrintTo(const SetUpFailure& c, std::ostream* os) { *os << c.name; }

class GdiSetUpTest : public ::testing::TestWithParam<SetUpFailure> {};

TEST_P(GdiSetUpTest, FailureGives5AndReleasesWhatWasAcquired) {
  GdiRunFixture run;
  GetParam().arrange(run.gdi);
  EXPECT_EQ(run.Go(), ExitCode::CaptureFailed);
  EXPECT_EQ(run.gdi.journal(), GetParam().journal);
  EXPECT_EQ(run.gdi.held(), 0);
  EXPECT_EQ(run.frames.bytes(), "");
  EXPECT_EQ(run.times.bytes(), "");
  // Only a window DC that cannot be had asks whether the window is still
  // there; here it is, so the failure is GDI's.
  EXPECT_EQ(run.windows.calls().empty(), GetParam().journal.size() > 0);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, GdiSetUpTest,
    ::testing::Values(
        SetUpFailure{"NoWindowDc", [](FakeGdi& g) { g.failGetDc = true; }, {}},
        SetUpFailure{"NoMemoryDc", [](FakeGdi& g) { g.failCreateCompatibleDc = true; }, {"GetDC", "ReleaseDC"}},
        SetUpFailure{"NoDibSection",
                     [](FakeGdi& g) { g.failCreateDibSection = true; },
                     {"GetDC", "CreateCompatibleDC", "DeleteDC", "ReleaseDC"}},
        SetUpFailure{"DibSectionWithoutMemory",
                     [](FakeGdi& g) { g.dibSectionWithoutMemory = true; },
                     {"GetDC", "CreateCompatibleDC", "CreateDIBSection", "DeleteObject", "DeleteDC", "ReleaseDC"}}),
    [](const ::testing::TestParamInfo<SetUpFailure>& info) { return std::string(info.param.name); });

TEST(GdiSetUp, NoWindowDcBecauseTheWindowIsGoneGives3) {
  GdiRunFixture run;
  run.gdi.failGetDc = true;
  run.windows.Remove(kWindow);
  EXPECT_EQ(run.Go(), ExitCode::WindowUnavailable);
  EXPECT_TRUE(run.gdi.journal().empty());
  EXPECT_EQ(run.gdi.held(), 0);
  EXPECT_EQ(run.frames.bytes(), "");
}

TEST(GdiSetUp, DibSectionIsATopDown32BitFrameOfTheOutputSize) {
  GdiRunFixture run(1920, 1080, 0.01);
  ASSERT_EQ(run.Go(), ExitCode::Ok);
  const BitmapInfoHeader& h = run.gdi.dibInfo().bmiHeader;
  EXPECT_EQ(h.biSize, 40u);
  EXPECT_EQ(h.biWidth, 1920);
  EXPECT_EQ(h.biHeight, -1080);
  EXPECT_EQ(h.biPlanes, 1);
  EXPECT_EQ(h.biBitCount, 32);
  EXPECT_EQ(h.biCompression, kBiRgb);
  EXPECT_EQ(h.biSizeImage, 0u);
  EXPECT_EQ(h.biXPelsPerMeter, 0);
  EXPECT_EQ(h.biYPelsPerMeter, 0);
  EXPECT_EQ(h.biClrUsed, 0u);
  EXPECT_EQ(h.biClrImportant, 0u);
  EXPECT_EQ(run.gdi.dibInfo().bmiColors[0], 0u);
  EXPECT_EQ(std::vector<std::string>(run.gdi.journal().begin(), run.gdi.journal().begin() + 5),
            (std::vector<std::string>{"GetDC", "CreateCompatibleDC", "CreateDIBSection", "SelectObject dib",
                                      "SetStretchBltMode 3"}));
}

// ---- A normal run -----------------------------------------------------------

TEST(GdiRun, WritesLetterboxedBareFramesAtTheFrameRateUntilTheEndTime) {
  GdiRunFixture run(1280, 720, 0.2, 30);
  ASSERT_EQ(run.Go(), ExitCode::Ok);

  // Slots at 0, 1/30, 2/30 ... 5/30 s after the start; the clock moves in 2 ms sleeps.
  ASSERT_EQ(run.frameCount(), 6u);
  EXPECT_EQ(run.frames.bytes().size(), 6 * run.frameBytes()) << "bare records, nothing else";
  EXPECT_EQ(run.session.framesWritten, 6u);
  const std::vector<double> times = run.Times();
  ASSERT_EQ(times.size(), 6u);
  EXPECT_EQ(times[0], kStart);
  for (std::size_t i = 1; i < times.size(); ++i) {
    EXPECT_GE(times[i] - times[i - 1], 1.0 / 30 - 0.002 - 1e-9);
    EXPECT_LT(times[i] - times[i - 1], 1.0 / 30 + 0.002 + 1e-9);
    EXPECT_LT(times[i], run.session.endTime);
  }
  for (std::uint32_t ms : run.clock.sleeps()) EXPECT_EQ(ms, 2u);

  // 800 x 600 into 1280 x 720: 960 x 720 at x = 160; black bars with alpha 0.
  for (const FakeGdi::StretchCall& call : run.gdi.stretches()) {
    EXPECT_EQ((std::vector<int>{call.x, call.y, call.width, call.height}), (std::vector<int>{160, 0, 960, 720}));
    EXPECT_EQ((std::vector<int>{call.sourceX, call.sourceY, call.sourceWidth, call.sourceHeight}),
              (std::vector<int>{0, 0, 800, 600}));
    EXPECT_TRUE(call.intoMemoryDc);
    EXPECT_TRUE(call.fromWindowDc);
    EXPECT_EQ(call.rop, kSrcCopy);
  }
  EXPECT_EQ(run.gdi.flushes(), 6);
  for (std::size_t f = 0; f < 6; ++f) {
    EXPECT_TRUE(IsBlackBar(run.Pixel(f, 0, 0)));
    EXPECT_TRUE(IsBlackBar(run.Pixel(f, 159, 719)));
    EXPECT_TRUE(IsPaint(run.gdi, run.Pixel(f, 160, 0)));
    EXPECT_TRUE(IsPaint(run.gdi, run.Pixel(f, 1119, 719)));
    EXPECT_TRUE(IsBlackBar(run.Pixel(f, 1120, 0)));
    EXPECT_TRUE(IsBlackBar(run.Pixel(f, 1279, 719)));
  }
  EXPECT_EQ(run.JournalTail(4), kCleanUp);
  EXPECT_EQ(run.gdi.held(), 0);
}

TEST(GdiRun, WindowIsCheckedInOrderOnlyWhenAFrameIsDue) {
  GdiRunFixture run(1280, 720, 0.05, 30);
  ASSERT_EQ(run.Go(), ExitCode::Ok);
  ASSERT_EQ(run.frameCount(), 2u);
  EXPECT_EQ(run.windows.calls(), (std::vector<std::string>{"GetWindowThreadProcessId", "IsIconic", "GetClientRect",
                                                           "GetWindowThreadProcessId", "IsIconic", "GetClientRect"}));
}

TEST(GdiRun, OddSpareRowStaysBlackAtTheBottom) {
  GdiRunFixture run(1920, 1080, 0.01);
  run.windows.Add(kWindow, kOwner, 1366, 768);
  ASSERT_EQ(run.Go(), ExitCode::Ok);
  ASSERT_EQ(run.frameCount(), 1u);
  const FakeGdi::StretchCall& call = run.gdi.stretches()[0];
  EXPECT_EQ((std::vector<int>{call.x, call.y, call.width, call.height}), (std::vector<int>{0, 0, 1920, 1079}));
  EXPECT_TRUE(IsPaint(run.gdi, run.Pixel(0, 1919, 1078)));
  EXPECT_TRUE(IsBlackBar(run.Pixel(0, 0, 1079)));
  EXPECT_TRUE(IsBlackBar(run.Pixel(0, 1919, 1079)));
}

TEST(GdiRun, ClearsThePictureOnlyWhenTheFittedSizeChanges) {
  // 800 x 600, then 1024 x 768 (same fit, 960 x 720), then 800 x 500 (1152 x 720).
  GdiRunFixture run(1280, 720, 0.15, 30);
  run.windows.ResizeAt(kStart + 0.02, kWindow, 1024, 768);
  run.windows.ResizeAt(kStart + 0.05, kWindow, 800, 500);
  // A mark in the left bar, made while the first frame is drawn: only a clear removes it.
  run.gdi.onStretch = [&](int call, std::uint8_t* memory) {
    if (call == 1) std::memset(memory, 0x77, 4);
  };
  ASSERT_EQ(run.Go(), ExitCode::Ok);
  ASSERT_GE(run.frameCount(), 3u);
  const auto& s = run.gdi.stretches();
  EXPECT_EQ(s[1].sourceWidth, 1024);
  EXPECT_EQ(s[1].width, 960);
  EXPECT_EQ(s[2].width, 1152);
  EXPECT_EQ(s[2].x, 64);
  EXPECT_EQ(run.Pixel(0, 0, 0)[0], 0x77) << "drawn after the first clear";
  EXPECT_EQ(run.Pixel(1, 0, 0)[0], 0x77) << "same fitted size: no clear";
  EXPECT_TRUE(IsBlackBar(run.Pixel(2, 0, 0))) << "new fitted size: cleared before drawing";
}

TEST(GdiRun, ClearsThePictureWhenOnlyTheFittedHeightChanges) {
  // 1280 x 720 fills the frame; 1280 x 600 keeps the fitted width and leaves
  // bars of 60 rows above and below, which only a clear makes black.
  GdiRunFixture run(1280, 720, 0.05, 30);
  run.windows.Add(kWindow, kOwner, 1280, 720);
  run.windows.ResizeAt(kStart + 0.02, kWindow, 1280, 600);
  ASSERT_EQ(run.Go(), ExitCode::Ok);
  ASSERT_EQ(run.frameCount(), 2u);
  EXPECT_TRUE(IsPaint(run.gdi, run.Pixel(0, 0, 0)));
  EXPECT_EQ(run.gdi.stretches()[1].y, 60);
  EXPECT_TRUE(IsBlackBar(run.Pixel(1, 0, 0)));
  EXPECT_TRUE(IsBlackBar(run.Pixel(1, 1279, 719)));
  EXPECT_TRUE(IsPaint(run.gdi, run.Pixel(1, 0, 60)));
}

TEST(GdiRun, EachFrameTakesTheTimeOfTheReadingThatFoundItDue) {
  // Every reading moves the clock on, so any second reading would differ:
  // the end test, the due test and the frame time share one reading.
  GdiRunFixture run(1280, 720, 0.2, 30);
  run.clock.TickPerReading(0.0007);
  ASSERT_EQ(run.Go(), ExitCode::Ok);
  const std::vector<double> times = run.Times();
  ASSERT_GE(times.size(), 5u);
  EXPECT_EQ(times[0], kStart) << "the first reading";
  double due = times[0];
  for (std::size_t i = 1; i < times.size(); ++i) {
    due += 1.0 / 30;
    EXPECT_GE(times[i], due) << "frame " << i << " was taken before it was due";
  }
}

TEST(GdiRun, DarkFramesEndWithNoContent) {
  GdiRunFixture run;
  const std::uint8_t dark[4] = {1, 2, 3, 255};
  std::memcpy(run.gdi.paint, dark, 4);
  EXPECT_EQ(run.Go(), ExitCode::NoContent);
  EXPECT_EQ(run.frameCount(), 6u);
  EXPECT_FALSE(run.session.contentSeen);
}

TEST(GdiRun, EndTimeBeforeTheFirstFrameGives6) {
  GdiRunFixture run(1280, 720, 0.0);  // the first reading is already at the end time
  EXPECT_EQ(run.Go(), ExitCode::NoFrames);
  EXPECT_EQ(run.frames.bytes(), "");
  EXPECT_TRUE(run.gdi.stretches().empty());
  EXPECT_EQ(run.gdi.held(), 0);
}

// ---- Mid-run endings ---------------------------------------------------------

struct Ending {
  const char* name;
  void (*arrange)(GdiRunFixture&);
  ExitCode expected;
  std::size_t framesBefore;
  std::size_t recordsWithoutTime = 0;  // a failed time write leaves its record on the output
};

// Test names carry the case; print only that.
void PrintTo(const Ending& c, std::ostream* os) { *os << c.name; }

class GdiEndingTest : public ::testing::TestWithParam<Ending> {};

TEST_P(GdiEndingTest, EndsWithTheCodeKeepingWhatWasWritten) {
  GdiRunFixture run(1280, 720, 0.5, 30);
  GetParam().arrange(run);
  EXPECT_EQ(run.Go(), GetParam().expected);
  EXPECT_EQ(run.frames.bytes().size(), (GetParam().framesBefore + GetParam().recordsWithoutTime) * run.frameBytes())
      << "only whole records";
  EXPECT_EQ(run.times.bytes().size(), GetParam().framesBefore * 8);
  EXPECT_EQ(run.session.framesWritten, GetParam().framesBefore);
  EXPECT_EQ(run.JournalTail(4), kCleanUp);
  EXPECT_EQ(run.gdi.held(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Causes, GdiEndingTest,
    ::testing::Values(
        Ending{"WindowClosed", [](GdiRunFixture& r) { r.windows.CloseAt(kStart + 0.05, kWindow); },
               ExitCode::WindowUnavailable, 2},
        Ending{"WindowMinimised", [](GdiRunFixture& r) { r.windows.MinimiseAt(kStart + 0.05, kWindow); },
               ExitCode::WindowUnavailable, 2},
        Ending{"WindowReowned", [](GdiRunFixture& r) { r.windows.ReownAt(kStart + 0.05, kWindow, kOwner + 1); },
               ExitCode::WindowUnavailable, 2},
        Ending{"ClientWidthZero", [](GdiRunFixture& r) { r.windows.ResizeAt(kStart + 0.05, kWindow, 0, 600); },
               ExitCode::WindowUnavailable, 2},
        Ending{"ClientHeightZero", [](GdiRunFixture& r) { r.windows.ResizeAt(kStart + 0.05, kWindow, 800, 0); },
               ExitCode::WindowUnavailable, 2},
        // The sizes are signed: a negative one is no area either.
        Ending{"ClientHeightNegative", [](GdiRunFixture& r) { r.windows.ResizeAt(kStart + 0.05, kWindow, 800, -600); },
               ExitCode::WindowUnavailable, 2},
        Ending{"ClientRectUnreadable", [](GdiRunFixture& r) { r.windows.Add(kWindow, kOwner).clientRectFails = true; },
               ExitCode::WindowUnavailable, 0},
        Ending{"StretchBltFails", [](GdiRunFixture& r) { r.gdi.failStretchBltCall = 3; }, ExitCode::GdiCopyFailed, 2},
        Ending{"GdiFlushFails", [](GdiRunFixture& r) { r.gdi.failGdiFlushCall = 1; }, ExitCode::GdiCopyFailed, 0},
        // The window closes between the turn's check and the copy, which
        // then fails: the window's going is what the run reports.
        Ending{"WindowClosedDuringTheCopy",
               [](GdiRunFixture& r) {
                 r.gdi.failStretchBltCall = 3;
                 r.gdi.onStretch = [&r](int call, std::uint8_t*) {
                   if (call == 3) r.windows.Remove(kWindow);
                 };
               },
               ExitCode::WindowUnavailable, 2},
        Ending{"WindowMinimisedBeforeTheFlush",
               [](GdiRunFixture& r) {
                 r.gdi.failGdiFlushCall = 2;
                 r.gdi.onStretch = [&r](int call, std::uint8_t*) {
                   if (call == 2) r.windows.Add(kWindow, kOwner).iconic = true;
                 };
               },
               ExitCode::WindowUnavailable, 1},
        Ending{"FrameWriteFails", [](GdiRunFixture& r) { r.frames.AcceptOnly(3 * 1280 * 720 * 4); },
               ExitCode::WriteFailed, 3},
        Ending{"TimestampWriteFails", [](GdiRunFixture& r) { r.times.AcceptOnly(8); }, ExitCode::WriteFailed, 1, 1}),
    [](const ::testing::TestParamInfo<Ending>& info) { return std::string(info.param.name); });

TEST(GdiEnding, MinimisedWindowStopsBeforeAskingForItsClientArea) {
  GdiRunFixture run;
  run.windows.MinimiseAt(kStart, kWindow);
  EXPECT_EQ(run.Go(), ExitCode::WindowUnavailable);
  EXPECT_EQ(run.windows.calls(), (std::vector<std::string>{"GetWindowThreadProcessId", "IsIconic"}));
}

TEST(GdiEnding, ForeignOwnerStopsBeforeAskingAnythingElse) {
  GdiRunFixture run;
  run.windows.ReownAt(kStart, kWindow, kOwner + 5);
  EXPECT_EQ(run.Go(), ExitCode::WindowUnavailable);
  EXPECT_EQ(run.windows.calls(), (std::vector<std::string>{"GetWindowThreadProcessId"}));
}

}  // namespace
}  // namespace orvel
