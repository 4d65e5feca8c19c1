// The capture backend driven by the fakes: whole runs in both forms, the
// frame gate, the first-frame time-out, how a run ends, row packing, the
// window going away, sizes without area, and a failed write.

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "frame_pacer.h"
#include "release_checks.h"
#include "wgc_harness.h"

namespace orvel::testing {
namespace {

using Roles = std::vector<std::string>;

const Roles kSetUpReleases = {"Session2",   "Session", "Pool",   "PoolStatics", "Direct3DDevice", "DeviceObject",
                              "DxgiDevice", "Context", "Device", "Item",        "ItemInterop"};
const Roles kScalerReleases = {"OutputTexture", "OutputView", "Processor", "Enumerator", "VideoContext", "VideoDevice"};

Roles Concat(std::initializer_list<Roles> parts) {
  Roles all;
  for (const Roles& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

void ExpectCleanTeardown(const FakeWgcPlatform& platform) {
  EXPECT_TRUE(NothingHeld(platform));
  EXPECT_TRUE(ReleasedInReverseOrder(platform.journal()));
  EXPECT_TRUE(ClosedBeforeRelease(platform.journal()));
}

std::vector<double> RecordTimes(const std::vector<HeadedRecord>& records) {
  std::vector<double> times;
  for (const HeadedRecord& record : records) times.push_back(record.time);
  return times;
}

// --- Whole runs.

TEST(WgcRun, FiveArgumentRunWritesHeadedRecordsAtTheWindowSizeAndFollowsAResize) {
  WgcHarness run(30, 0.5);
  run.platform.itemSize = {24, 18};
  run.DeliverSteady(0, 4, {24, 18});
  run.DeliverSteady(4, 12, {40, 30});  // the window grows from frame 4 on

  EXPECT_EQ(run.Run(), ExitCode::Ok);

  // Frame 4 shows the new size and is dropped; frame 15 comes at the end time.
  const std::vector<HeadedRecord> records = run.HeadedRecords();
  std::vector<int> serials = {0, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
  ASSERT_EQ(records.size(), serials.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    SCOPED_TRACE("record " + std::to_string(i));
    const int serial = serials[i];
    const std::uint32_t width = serial < 4 ? 24 : 40, height = serial < 4 ? 18 : 30;
    EXPECT_EQ(records[i].time, WrittenTime(run.SteadyTime(serial)));
    EXPECT_EQ(records[i].width, width);
    EXPECT_EQ(records[i].height, height);
    EXPECT_TRUE(records[i].pixels == PatternPixels(serial, width, height));
  }
  EXPECT_EQ(run.session.framesWritten, serials.size());
  EXPECT_EQ(run.Errors(), "");

  FakeWgcPlatform& platform = run.platform;
  EXPECT_EQ(platform.CallsStartingWith("D3D11CreateDevice"),
            Roles{"D3D11CreateDevice adapter=null driver=1 software=null flags=0x20 levels=null/0 sdk=7 level=null"});
  EXPECT_EQ(platform.CallsStartingWith("CreateFreeThreaded"),
            Roles{"CreateFreeThreaded format=87 buffers=2 size=24x18"});
  EXPECT_EQ(platform.CallsStartingWith("Recreate"), Roles{"Recreate format=87 buffers=2 size=40x30"});
  // The item is made for the session's window (the fake refuses any other),
  // and the cursor was off by the time capture started.
  EXPECT_EQ(platform.CallsStartingWith("CreateForWindow"), Roles{"CreateForWindow 655370"});
  EXPECT_EQ(platform.cursorCapturedAtStart(), false);
  // One read-back texture per capture size, copied from the frame's description.
  EXPECT_EQ(
      platform.CallsStartingWith("CreateTexture2D"),
      (Roles{"CreateTexture2D 24x18 mips=1 array=1 format=87 samples=1/0 usage=3 bind=0x0 cpu=0x20000 misc=0x0",
             "CreateTexture2D 40x30 mips=1 array=1 format=87 samples=1/0 usage=3 bind=0x0 cpu=0x20000 misc=0x0"}));
  EXPECT_EQ(platform.CallsStartingWith("CopyResource"),
            Roles(serials.size(), "CopyResource ReadbackTexture <- FrameTexture"));
  EXPECT_EQ(platform.CallsStartingWith("Map"), Roles(serials.size(), "Map ReadbackTexture sub=0 type=1 flags=0"));
  EXPECT_EQ(platform.CallsStartingWith("Unmap"), Roles(serials.size(), "Unmap ReadbackTexture sub=0"));
  EXPECT_EQ(platform.CallsStartingWith("QueryInterface ID3D11Video"), Roles{}) << "no scaler without an output size";

  ExpectCleanTeardown(platform);
  EXPECT_EQ(RunObjectReleases(platform.journal()), Concat({{"ReadbackTexture"}, {"ReadbackTexture"}, kSetUpReleases}));
}

TEST(WgcRun, EightArgumentRunWritesBareScaledRecordsWithTimesInTheFile) {
  WgcHarness run(30, 0.2);
  run.EightArgumentForm(1280, 720);
  run.platform.itemSize = {800, 600};
  run.DeliverSteady(0, 3, {800, 600});
  run.DeliverSteady(3, 4, {1000, 500});  // frame 3 shows the new size and is dropped; 6 is at the end time

  EXPECT_EQ(run.Run(), ExitCode::Ok);

  const std::vector<int> serials = {0, 1, 2, 4, 5};
  const std::size_t recordSize = 1280u * 720u * 4u;
  const std::string& stream = run.frames.bytes();
  ASSERT_EQ(stream.size(), serials.size() * recordSize);
  std::vector<double> expectedTimes;
  for (std::size_t i = 0; i < serials.size(); ++i) {
    // The fake video processor marks its output with the frame it was given:
    // the record is the scaler's output texture, read back.
    EXPECT_TRUE(stream.compare(i * recordSize, recordSize, PatternPixels(serials[i], 1280, 720)) == 0)
        << "record " << i;
    expectedTimes.push_back(WrittenTime(run.SteadyTime(serials[i])));
  }
  EXPECT_EQ(run.TimestampFileTimes(), expectedTimes);
  EXPECT_EQ(run.Errors(), "");

  FakeWgcPlatform& platform = run.platform;
  EXPECT_EQ(platform.deviceFlags(), 0x820u);
  EXPECT_EQ(platform.CallsStartingWith("CreateForWindow"), Roles{"CreateForWindow 655370"});
  EXPECT_EQ(platform.cursorCapturedAtStart(), false);
  // One scaler per capture size.
  EXPECT_EQ(platform.CallsStartingWith("CreateVideoProcessorEnumerator"),
            (Roles{"CreateVideoProcessorEnumerator format=0 in=800x600@30/1 out=1280x720@30/1 usage=0",
                   "CreateVideoProcessorEnumerator format=0 in=1000x500@30/1 out=1280x720@30/1 usage=0"}));
  EXPECT_EQ(platform.CallsStartingWith("VideoProcessorSetStreamDestRect"),
            (Roles{"VideoProcessorSetStreamDestRect stream=0 enable=1 (160,0,1120,720)",
                   "VideoProcessorSetStreamDestRect stream=0 enable=1 (0,40,1280,680)"}));
  EXPECT_EQ(platform.CallsStartingWith("VideoProcessorBlt").size(), serials.size());
  // Each frame's texture is measured; the read-back texture copies the
  // output texture's description and is made once per capture size.
  const std::string readback =
      "CreateTexture2D 1280x720 mips=1 array=1 format=87 samples=1/0 usage=3 bind=0x0 cpu=0x20000 misc=0x0";
  const std::string output =
      "CreateTexture2D 1280x720 mips=1 array=1 format=87 samples=1/0 usage=0 bind=0x20 cpu=0x0 misc=0x0";
  EXPECT_EQ(platform.CallsStartingWith("CreateTexture2D"), (Roles{output, readback, output, readback}));
  Roles descriptions;
  for (std::size_t k = 0; k < serials.size(); ++k) {
    descriptions.insert(descriptions.end(), {"GetDesc FrameTexture", "GetDesc OutputTexture"});
  }
  EXPECT_EQ(platform.CallsStartingWith("GetDesc"), descriptions);
  EXPECT_EQ(platform.CallsStartingWith("CopyResource"),
            Roles(serials.size(), "CopyResource ReadbackTexture <- OutputTexture"));

  ExpectCleanTeardown(platform);
  // The scaler goes before the read-back texture, at the resize and at the end.
  EXPECT_EQ(RunObjectReleases(platform.journal()),
            Concat({kScalerReleases, {"ReadbackTexture"}, kScalerReleases, {"ReadbackTexture"}, kSetUpReleases}));
}

// --- The frame gate.

struct GateCase {
  const char* name;
  std::vector<double> frameTimes;  // seconds after the start, all in the pool at the start
  std::vector<int> written;        // indexes of the frames that must be written
  std::uint32_t fps = 60;
  friend void PrintTo(const GateCase& gate, std::ostream* out) { *out << gate.name; }
};

class FrameGate : public ::testing::TestWithParam<GateCase> {};

TEST_P(FrameGate, WritesExactlyTheFramesThatPass) {
  const GateCase& gate = GetParam();
  WgcHarness run(gate.fps, 0.5);
  run.platform.itemSize = {8, 6};
  for (double offset : gate.frameTimes) run.platform.Deliver({kStart, Ticks(kStart + offset), {8, 6}, false, {}});

  EXPECT_EQ(run.Run(), ExitCode::Ok);

  std::vector<double> expected;
  for (int index : gate.written) expected.push_back(WrittenTime(kStart + gate.frameTimes[index]));
  EXPECT_EQ(RecordTimes(run.HeadedRecords()), expected);
  // Dropped frames are handed back at once: the loop sleeps only after
  // finding the pool empty.
  EXPECT_EQ(run.platform.CallsStartingWith("TryGetNextFrame -> frame").size(), gate.frameTimes.size());
  EXPECT_EQ(run.clock.sleeps().size(), run.platform.CallsStartingWith("TryGetNextFrame -> none").size());
  ExpectCleanTeardown(run.platform);
}

// At 60 frames per second the frame after one at the start is due at
// start + 1/60; the early tolerance is half a millisecond. Frame times come
// in 100-ns ticks, and at 30 or 60 fps no due time falls on that grid, so the
// boundary itself is met only at a rate whose interval is a whole number of
// ticks: at 50 fps, a frame at start + 0.0195 s is exactly 0.5 ms early.
INSTANTIATE_TEST_SUITE_P(
    Cases, FrameGate,
    ::testing::Values(GateCase{"OlderThanTheStartIsDropped", {-1e-7, 0.0, 0.02}, {1, 2}},
                      GateCase{"JustUnderHalfAMillisecondEarlyIsAccepted", {0.0, 1.0 / 60 - 0.0005 + 1e-7}, {0, 1}},
                      GateCase{"ExactlyHalfAMillisecondEarlyIsAccepted", {0.0, 0.0195}, {0, 1}, 50},
                      GateCase{"OneTickMoreThanHalfAMillisecondEarlyIsDropped", {0.0, 0.0194999, 0.02}, {0, 2}, 50},
                      GateCase{"MoreThanHalfAMillisecondEarlyIsDropped", {0.0, 1.0 / 60 - 0.0006, 0.02}, {0, 2}},
                      GateCase{"AtTheEndTimeIsDropped", {0.0, 0.5, 0.5 - 1e-7}, {0, 2}},
                      GateCase{"DroppedFramesLeaveThePacerAlone", {0.0, 0.005, 1.0 / 60}, {0, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

// The 50 fps cases above test the boundary only if the backend's own
// arithmetic (ticks / 10^7, due = first + 1 / fps) puts them exactly on it.
TEST(FrameGateBoundary, TheExactCaseLiesOnTheBoundaryInTheBackendsArithmetic) {
  const double first = static_cast<double>(Ticks(kStart)) / 10'000'000.0;
  const double onTheEdge = static_cast<double>(Ticks(kStart + 0.0195)) / 10'000'000.0;
  const double oneTickEarlier = static_cast<double>(Ticks(kStart + 0.0194999)) / 10'000'000.0;
  FramePacer pacer(50);
  pacer.Advance(first);
  EXPECT_EQ(onTheEdge + FramePacer::kEarlyTolerance, pacer.nextDue());
  EXPECT_LT(oneTickEarlier + FramePacer::kEarlyTolerance, pacer.nextDue());
}

// --- How a run ends.

struct EndCase {
  const char* name;
  double secondsToEnd;
  int frames;  // steady frames from the start (0: none)
  bool dark;
  ExitCode code;
  double minimumRunSeconds, maximumRunSeconds;  // by the fake clock
  double startCaptureSeconds = 0.0;             // how long StartCapture takes
  friend void PrintTo(const EndCase& end, std::ostream* out) { *out << end.name; }
};

class RunEnd : public ::testing::TestWithParam<EndCase> {};

TEST_P(RunEnd, EndsWithTheCodeThatTheCountersGive) {
  const EndCase& end = GetParam();
  WgcHarness run(30, end.secondsToEnd);
  run.platform.itemSize = {8, 6};
  run.platform.startCaptureSeconds = end.startCaptureSeconds;
  run.DeliverSteady(0, end.frames, {8, 6}, end.dark);

  EXPECT_EQ(run.Run(), end.code);

  const double ranFor = run.clock.now() - kStart;
  for (std::uint32_t sleep : run.clock.sleeps()) EXPECT_EQ(sleep, 3u);
  EXPECT_GE(ranFor, end.minimumRunSeconds);
  EXPECT_LE(ranFor, end.maximumRunSeconds);
  EXPECT_EQ(run.HeadedRecords().size(), static_cast<std::size_t>(end.frames));
  EXPECT_EQ(run.Errors(), "");
  ExpectCleanTeardown(run.platform);
}

INSTANTIATE_TEST_SUITE_P(Cases, RunEnd,
                         ::testing::Values(
                             // The first empty poll more than 1 s after the start gives up.
                             EndCase{"NoFrameWithinOneSecondGives6", 5.0, 0, false, ExitCode::NoFrames, 1.0, 1.004},
                             // The second counts from when StartCapture returned.
                             EndCase{"NoFrameWithinOneSecondAfterASlowStartGives6", 5.0, 0, false, ExitCode::NoFrames,
                                     1.5, 1.504, 0.5},
                             EndCase{"EndTimeBeforeAnyFrameGives6", 0.3, 0, false, ExitCode::NoFrames, 0.3, 0.304},
                             // After a written frame an empty pool never ends the run.
                             EndCase{"OneFrameThenSilenceRunsToTheEndTime", 2.5, 1, false, ExitCode::Ok, 2.5, 2.504},
                             EndCase{"OnlyDarkFramesGive8", 0.2, 6, true, ExitCode::NoContent, 0.2, 0.204},
                             EndCase{"FramesWithContentGive0", 0.2, 6, false, ExitCode::Ok, 0.2, 0.204}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WgcRun, FramesDroppedByTimeDoNotEndTheRunButTheFirstEmptyPollAfterOneSecondDoes) {
  WgcHarness run(30, 5.0);
  run.platform.itemSize = {8, 6};
  // 150 frames older than the start, all waiting; each turn's reading moves
  // the clock on by 10 ms, so the last is dropped 1.5 s after the start.
  run.clock.TickPerReading(0.01);
  for (int k = 0; k < 150; ++k) run.platform.Deliver({kStart, Ticks(kStart - 1.0), {8, 6}, false, {}});

  EXPECT_EQ(run.Run(), ExitCode::NoFrames);

  EXPECT_EQ(run.platform.CallsStartingWith("TryGetNextFrame -> frame").size(), 150u);
  EXPECT_EQ(run.platform.CallsStartingWith("TryGetNextFrame -> none").size(), 1u);
  EXPECT_EQ(run.frames.bytes(), "");
  ExpectCleanTeardown(run.platform);
}

// --- Row packing.

class RowPitch : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(RowPitch, RowsArePackedWhateverTheMappedPitch) {
  WgcHarness run(30, 0.1);
  run.platform.itemSize = {5, 4};
  run.platform.extraRowPitch = GetParam();
  run.DeliverSteady(0, 2, {5, 4});

  EXPECT_EQ(run.Run(), ExitCode::Ok);

  const std::vector<HeadedRecord> records = run.HeadedRecords();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].pixels, PatternPixels(0, 5, 4));
  EXPECT_EQ(records[1].pixels, PatternPixels(1, 5, 4));
  ExpectCleanTeardown(run.platform);
}

INSTANTIATE_TEST_SUITE_P(ExtraBytesPerRow, RowPitch, ::testing::Values(0u, 12u, 1004u));

// --- The capture start.

TEST(WgcRun, TheStartIsReadWhenStartCaptureHasReturned) {
  WgcHarness run(30, 0.5);
  run.platform.itemSize = {8, 6};
  run.platform.startCaptureSeconds = 0.25;  // by the fake clock
  const double started = kStart + 0.25;
  run.platform.Deliver({started, Ticks(kStart + 0.1), {8, 6}, false, {}});  // rendered while starting: dropped
  run.platform.Deliver({started, Ticks(started), {8, 6}, false, {}});       // at the start: written

  EXPECT_EQ(run.Run(), ExitCode::Ok);

  EXPECT_EQ(RecordTimes(run.HeadedRecords()), std::vector<double>{WrittenTime(started)});
  EXPECT_EQ(run.platform.cursorCapturedAtStart(), false);
  ExpectCleanTeardown(run.platform);
}

// --- The window going away.

enum class WindowChange { Close, Minimise, Reown };

void PrintTo(WindowChange change, std::ostream* os) {
  *os << (change == WindowChange::Close ? "Close" : change == WindowChange::Minimise ? "Minimise" : "Reown");
}

class WindowGone : public ::testing::TestWithParam<WindowChange> {};

TEST_P(WindowGone, EndsWith3AtTheNextTurnWithWhatWasWrittenIntact) {
  WgcHarness run(30, 1.0);
  run.platform.itemSize = {8, 6};
  run.DeliverSteady(0, 30, {8, 6});
  const double at = kStart + 0.1;  // between frames 2 and 3
  switch (GetParam()) {
    case WindowChange::Close:
      run.windows.CloseAt(at, kWindow);
      break;
    case WindowChange::Minimise:
      run.windows.MinimiseAt(at, kWindow);
      break;
    case WindowChange::Reown:
      run.windows.ReownAt(at, kWindow, kOwner + 1);
      break;
  }

  EXPECT_EQ(run.Run(), ExitCode::WindowUnavailable);

  const std::vector<HeadedRecord> records = run.HeadedRecords();
  ASSERT_EQ(records.size(), 3u);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(records[k].pixels, PatternPixels(k, 8, 6));
  EXPECT_EQ(run.Errors(), "");
  ExpectCleanTeardown(run.platform);
}

INSTANTIATE_TEST_SUITE_P(Changes, WindowGone,
                         ::testing::Values(WindowChange::Close, WindowChange::Minimise, WindowChange::Reown),
                         [](const ::testing::TestParamInfo<WindowChange>& info) {
                           return ::testing::PrintToString(info.param);
                         });

// --- Sizes without area.

class ItemWithoutArea : public ::testing::TestWithParam<SizeInt32> {};

TEST_P(ItemWithoutArea, Gives3BeforeAnyDeviceIsMade) {
  WgcHarness run;
  run.platform.itemSize = GetParam();

  EXPECT_EQ(run.Run(), ExitCode::WindowUnavailable);

  EXPECT_EQ(run.platform.CallsStartingWith("D3D11CreateDevice"), Roles{});
  EXPECT_EQ(RunObjectReleases(run.platform.journal()), (Roles{"Item", "ItemInterop"}));
  EXPECT_EQ(run.Errors(), "");
  EXPECT_TRUE(NothingHeld(run.platform));
}

INSTANTIATE_TEST_SUITE_P(Sizes, ItemWithoutArea,
                         ::testing::Values(SizeInt32{0, 600}, SizeInt32{800, 0}, SizeInt32{-1, 600}));

class FrameWithoutArea : public ::testing::TestWithParam<SizeInt32> {};

TEST_P(FrameWithoutArea, Gives3WithWhatWasWrittenIntact) {
  WgcHarness run(30, 1.0);
  run.platform.itemSize = {8, 6};
  run.DeliverSteady(0, 2, {8, 6});
  run.platform.Deliver({run.SteadyTime(2), Ticks(run.SteadyTime(2)), GetParam(), false, {}});
  run.DeliverSteady(3, 2, {8, 6});

  EXPECT_EQ(run.Run(), ExitCode::WindowUnavailable);

  const std::vector<HeadedRecord> records = run.HeadedRecords();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1].pixels, PatternPixels(1, 8, 6));
  EXPECT_EQ(run.platform.CallsStartingWith("Recreate"), Roles{});
  EXPECT_EQ(run.Errors(), "");
  ExpectCleanTeardown(run.platform);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FrameWithoutArea, ::testing::Values(SizeInt32{0, 0}, SizeInt32{8, 0}, SizeInt32{0, 6}));

// --- Writing fails.

TEST(WgcRun, AFailedWriteGives9AndReleasesEverything) {
  WgcHarness run(30, 1.0);
  run.platform.itemSize = {8, 6};
  run.DeliverSteady(0, 10, {8, 6});
  const std::size_t recordSize = 16 + 8 * 6 * 4;
  run.frames.AcceptOnly(recordSize + 20);  // the second record breaks off

  EXPECT_EQ(run.Run(), ExitCode::WriteFailed);

  EXPECT_EQ(run.session.framesWritten, 1u);
  EXPECT_EQ(run.frames.bytes().substr(16, recordSize - 16), PatternPixels(0, 8, 6));
  EXPECT_EQ(run.platform.CallsStartingWith("TryGetNextFrame -> frame").size(), 2u) << "no turn after the failure";
  EXPECT_EQ(run.Errors(), "");
  ExpectCleanTeardown(run.platform);
}

TEST(WgcRun, AFailedTimestampWriteGives9InTheEightArgumentForm) {
  WgcHarness run(30, 1.0);
  run.EightArgumentForm(64, 36);
  run.platform.itemSize = {8, 6};
  run.DeliverSteady(0, 10, {8, 6});
  run.times->AcceptOnly(8);

  EXPECT_EQ(run.Run(), ExitCode::WriteFailed);

  EXPECT_EQ(run.session.framesWritten, 1u);
  EXPECT_EQ(run.frames.bytes().size(), 2u * 64 * 36 * 4) << "the second record went out before its time failed";
  ExpectCleanTeardown(run.platform);
}

// --- A pixel buffer that cannot be had.

TEST(WgcRun, APixelBufferBeyondTheAddressSpaceGives5WithTheExceptionText) {
  WgcHarness run(30, 1.0);
  const SizeInt32 huge{0x7FFFFFFF, 0x7FFFFFFF};
  run.platform.itemSize = huge;
  run.platform.Deliver({kStart, Ticks(kStart), huge, false, {}});

  std::string message;
  try {
    std::vector<std::uint8_t>().resize(std::size_t{0x7FFFFFFF} * 0x7FFFFFFF * 4);
  } catch (const std::exception& error) {
    message = error.what();
  }
  ASSERT_NE(message, "");

  EXPECT_EQ(run.Run(), ExitCode::CaptureFailed);
  EXPECT_EQ(run.Errors(), "Windows Graphics Capture: " + message + "\n");
  EXPECT_EQ(run.platform.CallsStartingWith("Map"), Roles{});
  ExpectCleanTeardown(run.platform);
}

}  // namespace
}  // namespace orvel::testing
