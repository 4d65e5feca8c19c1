// Frames whose surface has another size than their content: larger (the
// window shrank; beyond the content the surface is undefined), smaller (the
// window grew and the pool is not yet re-made), different on the first frame
// only, and lagging behind a resize. Whatever the surface, only the picture
// (the content clipped to the surface) is read or scaled, no copy joins
// textures of different sizes, and no frame repeats an older picture.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "release_checks.h"
#include "wgc_harness.h"

namespace orvel::testing {
namespace {

using Lines = std::vector<std::string>;

constexpr std::uint32_t kOutputWidth = 64, kOutputHeight = 36;

struct Shown {
  SizeInt32 content;
  std::optional<SizeInt32> surface;  // empty: the pool's size
};

struct Record {
  int serial;
  std::uint32_t width, height;
};

struct SurfaceCase {
  const char* name;
  std::vector<Shown> frames;  // frame k is stamped start + k / 30 s
  // Five-argument form: the records written, and the read-back textures made.
  std::vector<Record> records;
  Lines readbacks;
  // Eight-argument form: each scaler made, as "in=<enumerator input>
  // source=<rect> destination=<rect>".
  Lines scalers;
  friend void PrintTo(const SurfaceCase& surfaceCase, std::ostream* out) { *out << surfaceCase.name; }
};

constexpr SizeInt32 kItem{24, 18};  // the capture size at the start

const SurfaceCase kCases[] = {
    {"SurfaceLargerThanTheContent",
     {{kItem, SizeInt32{30, 20}}, {kItem, SizeInt32{30, 20}}, {kItem, SizeInt32{30, 20}}},
     {{0, 24, 18}, {1, 24, 18}, {2, 24, 18}},
     {"30x20"},
     {"in=30x20 source=(0,0,24,18) destination=(8,0,56,36)"}},
    {"SurfaceSmallerThanTheContent",
     {{kItem, SizeInt32{20, 12}}, {kItem, SizeInt32{20, 12}}, {kItem, SizeInt32{20, 12}}},
     {{0, 20, 12}, {1, 20, 12}, {2, 20, 12}},
     {"20x12"},
     {"in=20x12 source=(0,0,20,12) destination=(2,0,62,36)"}},
    {"OnlyTheFirstSurfaceDiffers",
     {{kItem, SizeInt32{32, 24}}, {kItem, {}}, {kItem, {}}},
     {{0, 24, 18}, {1, 24, 18}, {2, 24, 18}},
     {"32x24", "24x18"},
     {"in=32x24 source=(0,0,24,18) destination=(8,0,56,36)", "in=24x18 source=(0,0,24,18) destination=(8,0,56,36)"}},
    // Frame 2 shows the new size and is dropped; frame 3 still comes on a
    // surface of the old size, which clips it.
    {"TheWindowGrowsAndASurfaceLagsBehind",
     {{kItem, {}}, {kItem, {}}, {{40, 20}, kItem}, {{40, 20}, kItem}, {{40, 20}, {}}, {{40, 20}, {}}},
     {{0, 24, 18}, {1, 24, 18}, {3, 24, 18}, {4, 40, 20}, {5, 40, 20}},
     {"24x18", "24x18", "40x20"},
     {"in=24x18 source=(0,0,24,18) destination=(8,0,56,36)", "in=24x18 source=(0,0,24,18) destination=(8,0,56,36)",
      "in=40x20 source=(0,0,40,20) destination=(0,2,64,34)"}},
    // After a shrink the lagging surface is larger than the content.
    {"TheWindowShrinksAndASurfaceLagsBehind",
     {{kItem, {}}, {{16, 9}, kItem}, {{16, 9}, kItem}, {{16, 9}, {}}},
     {{0, 24, 18}, {2, 16, 9}, {3, 16, 9}},
     {"24x18", "24x18", "16x9"},
     {"in=24x18 source=(0,0,24,18) destination=(8,0,56,36)", "in=24x18 source=(0,0,16,9) destination=(0,0,64,36)",
      "in=16x9 source=(0,0,16,9) destination=(0,0,64,36)"}},
};

class SurfaceSize : public ::testing::TestWithParam<SurfaceCase> {
 protected:
  // A run of the case's frames that ends when the next frame would be due.
  void Script(WgcHarness& run) const {
    const SurfaceCase& surfaceCase = GetParam();
    run.platform.itemSize = kItem;
    for (std::size_t k = 0; k < surfaceCase.frames.size(); ++k) {
      const double at = run.SteadyTime(static_cast<int>(k));
      run.platform.Deliver({at, Ticks(at), surfaceCase.frames[k].content, false, surfaceCase.frames[k].surface});
    }
  }
  static double SecondsToEnd() { return static_cast<double>(GetParam().frames.size()) / 30.0; }

  static void ExpectCleanTeardown(const FakeWgcPlatform& platform) {
    EXPECT_TRUE(NothingHeld(platform));  // also: no misuse, no copy between sizes, no rectangle beyond a texture
    EXPECT_TRUE(ReleasedInReverseOrder(platform.journal()));
    EXPECT_TRUE(ClosedBeforeRelease(platform.journal()));
  }
};

// "CreateTexture2D 30x20 mips=..." of the read-back textures, as "30x20".
Lines ReadbacksMade(const FakeWgcPlatform& platform) {
  Lines sizes;
  for (const std::string& call : platform.CallsStartingWith("CreateTexture2D ")) {
    if (call.find(" usage=3 ") == std::string::npos) continue;
    sizes.push_back(call.substr(16, call.find(' ', 16) - 16));
  }
  return sizes;
}

// What follows "in=" in each enumerator made, with the source and
// destination rectangles set with it.
Lines ScalersMade(const FakeWgcPlatform& platform) {
  const Lines enumerators = platform.CallsStartingWith("CreateVideoProcessorEnumerator");
  const Lines sources = platform.CallsStartingWith("VideoProcessorSetStreamSourceRect");
  const Lines destinations = platform.CallsStartingWith("VideoProcessorSetStreamDestRect");
  EXPECT_EQ(sources.size(), enumerators.size());
  EXPECT_EQ(destinations.size(), enumerators.size());
  const auto lastWord = [](const std::string& line) { return line.substr(line.rfind(' ') + 1); };
  Lines scalers;
  for (std::size_t k = 0; k < enumerators.size() && k < sources.size() && k < destinations.size(); ++k) {
    const std::size_t in = enumerators[k].find(" in=") + 4;
    scalers.push_back("in=" + enumerators[k].substr(in, enumerators[k].find('@', in) - in) +
                      " source=" + lastWord(sources[k]) + " destination=" + lastWord(destinations[k]));
  }
  return scalers;
}

TEST_P(SurfaceSize, FiveArgumentRecordsCarryOnlyThePictureAndEachFramesOwn) {
  const SurfaceCase& surfaceCase = GetParam();
  WgcHarness run(30, SecondsToEnd());
  Script(run);

  EXPECT_EQ(run.Run(), ExitCode::Ok);

  const std::vector<HeadedRecord> records = run.HeadedRecords();
  ASSERT_EQ(records.size(), surfaceCase.records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    const Record& expected = surfaceCase.records[i];
    SCOPED_TRACE("record " + std::to_string(i) + ", frame " + std::to_string(expected.serial));
    EXPECT_EQ(records[i].time, WrittenTime(run.SteadyTime(expected.serial)));
    EXPECT_EQ(records[i].width, expected.width);
    EXPECT_EQ(records[i].height, expected.height);
    // The top-left of the frame's picture: no undefined byte, no older frame.
    EXPECT_TRUE(records[i].pixels == PatternPixels(expected.serial, expected.width, expected.height));
  }
  EXPECT_EQ(run.Errors(), "");
  EXPECT_EQ(ReadbacksMade(run.platform), surfaceCase.readbacks);
  ExpectCleanTeardown(run.platform);
}

TEST_P(SurfaceSize, EightArgumentScalerTakesOnlyThePictureOfATextureOfItsOwnSize) {
  const SurfaceCase& surfaceCase = GetParam();
  WgcHarness run(30, SecondsToEnd());
  run.EightArgumentForm(kOutputWidth, kOutputHeight);
  Script(run);

  EXPECT_EQ(run.Run(), ExitCode::Ok);

  const std::size_t recordSize = std::size_t{kOutputWidth} * kOutputHeight * 4;
  const std::string& stream = run.frames.bytes();
  ASSERT_EQ(stream.size(), surfaceCase.records.size() * recordSize);
  std::vector<double> expectedTimes;
  for (std::size_t i = 0; i < surfaceCase.records.size(); ++i) {
    const int serial = surfaceCase.records[i].serial;
    // The fake processor marks its output with the frame blitted, or with
    // undefined bytes when the source rectangle reaches beyond the picture.
    EXPECT_TRUE(stream.compare(i * recordSize, recordSize, PatternPixels(serial, kOutputWidth, kOutputHeight)) == 0)
        << "record " << i << ", frame " << serial;
    expectedTimes.push_back(WrittenTime(run.SteadyTime(serial)));
  }
  EXPECT_EQ(run.TimestampFileTimes(), expectedTimes);
  EXPECT_EQ(run.Errors(), "");
  EXPECT_EQ(ScalersMade(run.platform), surfaceCase.scalers);
  // The read-back copies the output texture, whose size never changes: it is
  // made again only when the capture size changes.
  const std::size_t captureSizes = 1 + run.platform.CallsStartingWith("Recreate").size();
  EXPECT_EQ(ReadbacksMade(run.platform), Lines(captureSizes, "64x36"));
  ExpectCleanTeardown(run.platform);
}

INSTANTIATE_TEST_SUITE_P(Cases, SurfaceSize, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A read-back texture or scaler that cannot be made again for a surface of
// a new size ends the run like any failure there, with nothing left held.
struct RemakeFailure {
  const char* name;
  bool eightArguments;
  const char* call;  // its second call fails: the remake for the second frame
  Lines runReleases;
  friend void PrintTo(const RemakeFailure& failure, std::ostream* out) { *out << failure.name; }
};

const Lines kSetUpReleases = {"Session2",   "Session", "Pool",   "PoolStatics", "Direct3DDevice", "DeviceObject",
                              "DxgiDevice", "Context", "Device", "Item",        "ItemInterop"};

Lines Concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class RemakeFails : public ::testing::TestWithParam<RemakeFailure> {
 protected:
  static void Script(WgcHarness& run) {
    if (GetParam().eightArguments) run.EightArgumentForm(kOutputWidth, kOutputHeight);
    run.platform.itemSize = kItem;
    run.platform.Deliver({run.SteadyTime(0), Ticks(run.SteadyTime(0)), kItem, false, SizeInt32{30, 20}});
    run.platform.Deliver({run.SteadyTime(1), Ticks(run.SteadyTime(1)), kItem, false, {}});
  }
};

TEST_P(RemakeFails, EndsWith5AndReleasesEverything) {
  const RemakeFailure& failure = GetParam();
  WgcHarness baseline(30, 0.1);
  Script(baseline);
  ASSERT_EQ(baseline.Run(), ExitCode::Ok);
  const std::vector<std::string>& calls = baseline.platform.checkedCalls();
  int n = 0, seen = 0;
  for (std::size_t k = 0; k < calls.size() && n == 0; ++k) {
    if (calls[k] == failure.call && ++seen == 2) n = static_cast<int>(k) + 1;
  }
  ASSERT_NE(n, 0) << "the baseline remakes with " << failure.call;

  WgcHarness run(30, 0.1);
  Script(run);
  run.platform.FailCheckedCall(n, kFail);

  EXPECT_EQ(run.Run(), ExitCode::CaptureFailed);

  EXPECT_TRUE(run.platform.faultTriggered());
  EXPECT_EQ(run.Errors(), "Windows Graphics Capture: 0x80004005\n");
  EXPECT_EQ(run.session.framesWritten, 1u);
  EXPECT_TRUE(NothingHeld(run.platform));
  EXPECT_TRUE(ClosedBeforeRelease(run.platform.journal()));
  EXPECT_EQ(RunObjectReleases(run.platform.journal()), failure.runReleases);
}

INSTANTIATE_TEST_SUITE_P(Calls, RemakeFails,
                         ::testing::Values(RemakeFailure{"ReadbackTexture", false, "CreateTexture2D",
                                                         Concat({{"ReadbackTexture"}, kSetUpReleases})},
                                           RemakeFailure{"Scaler", true, "CreateVideoProcessorEnumerator",
                                                         Concat({{"OutputTexture", "OutputView", "Processor",
                                                                  "Enumerator", "VideoContext", "VideoDevice",
                                                                  "VideoContext", "VideoDevice", "ReadbackTexture"},
                                                                 kSetUpReleases})}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvel::testing
