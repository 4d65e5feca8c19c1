// GpuScaler against the fake platform: what it makes, in which order, with
// which descriptions and processor state; one input view and one blit per
// frame; and nothing left held when any step fails.

#include "gpu_scaler.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/fake_wgc_platform.h"
#include "release_checks.h"

namespace orvel::testing {
namespace {

using Lines = std::vector<std::string>;

class ScalerTest : public ::testing::Test {
 protected:
  ScalerTest() {
    platform.D3D11CreateDevice(nullptr, kDriverTypeHardware, nullptr, 0x820, nullptr, 0, kSdkVersion, &device, nullptr,
                               &context);
    callsBefore = platform.calls().size();
  }
  ~ScalerTest() override {
    platform.Release(AsUnknown(context));
    platform.Release(AsUnknown(device));
  }

  // The calls made since the device was made.
  Lines ScalerCalls() const { return Lines(platform.calls().begin() + callsBefore, platform.calls().end()); }

  Lines Roles(JournalEntry::Kind kind) const {
    Lines roles;
    for (const JournalEntry& entry : platform.journal()) {
      if (entry.kind == kind && entry.role != "Device" && entry.role != "Context") roles.push_back(entry.role);
    }
    return roles;
  }

  FakeClock clock;
  FakeWgcPlatform platform{clock};
  D3D11Device* device = nullptr;
  D3D11DeviceContext* context = nullptr;
  std::size_t callsBefore = 0;
};

const Lines kAcquisitionOrder = {"VideoDevice", "VideoContext",  "Enumerator",
                                 "Processor",   "OutputTexture", "OutputView"};
const Lines kReleaseOrder = {"OutputTexture", "OutputView", "Processor", "Enumerator", "VideoContext", "VideoDevice"};

struct Sizes {
  PixelSize input, picture, output;
  std::uint32_t fps;
  const char* enumerator;
  const char* outputTexture;
  const char* sourceRect;
  const char* destinationRect;
  friend void PrintTo(const Sizes& sizes, std::ostream* out) {
    *out << sizes.picture.width << "x" << sizes.picture.height << " of " << sizes.input.width << "x"
         << sizes.input.height << " to " << sizes.output.width << "x" << sizes.output.height;
  }
};

class ScalerConstruction : public ScalerTest, public ::testing::WithParamInterface<Sizes> {};

TEST_P(ScalerConstruction, MakesItsObjectsInOrderAndSetsExactlyTheProcessorState) {
  const Sizes& sizes = GetParam();
  auto scaler =
      std::make_unique<GpuScaler>(platform, device, context, sizes.input, sizes.picture, sizes.output, sizes.fps);

  EXPECT_EQ(ScalerCalls(), (Lines{"QueryInterface ID3D11VideoDevice", "QueryInterface ID3D11VideoContext",
                                  sizes.enumerator, "CreateVideoProcessor rate=0", sizes.outputTexture,
                                  "CreateVideoProcessorOutputView dimension=1 mip=0", sizes.sourceRect,
                                  "VideoProcessorSetStreamFrameFormat stream=0 format=0",
                                  "VideoProcessorSetStreamAutoProcessingMode stream=0 enable=0", sizes.destinationRect,
                                  "VideoProcessorSetOutputBackgroundColor ycbcr=0 rgba=(0,0,0,1)"}));
  EXPECT_EQ(Roles(JournalEntry::Acquire), kAcquisitionOrder);
  EXPECT_EQ(Roles(JournalEntry::Release), Lines{});

  scaler.reset();
  EXPECT_EQ(Roles(JournalEntry::Release), kReleaseOrder);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ScalerConstruction,
    ::testing::Values(
        Sizes{{800, 600},
              {800, 600},
              {1280, 720},
              60,
              "CreateVideoProcessorEnumerator format=0 in=800x600@60/1 out=1280x720@60/1 usage=0",
              "CreateTexture2D 1280x720 mips=1 array=1 format=87 samples=1/0 usage=0 bind=0x20 cpu=0x0 misc=0x0",
              "VideoProcessorSetStreamSourceRect stream=0 enable=1 (0,0,800,600)",
              "VideoProcessorSetStreamDestRect stream=0 enable=1 (160,0,1120,720)"},
        Sizes{{2560, 1080},
              {2560, 1080},
              {1920, 1080},
              30,
              "CreateVideoProcessorEnumerator format=0 in=2560x1080@30/1 out=1920x1080@30/1 usage=0",
              "CreateTexture2D 1920x1080 mips=1 array=1 format=87 samples=1/0 usage=0 bind=0x20 cpu=0x0 misc=0x0",
              "VideoProcessorSetStreamSourceRect stream=0 enable=1 (0,0,2560,1080)",
              "VideoProcessorSetStreamDestRect stream=0 enable=1 (0,135,1920,945)"},
        // A surface larger than the window's content: the enumerator takes the
        // texture's size; only the picture is scaled, and placed by its own
        // aspect ratio.
        Sizes{{1000, 800},
              {800, 600},
              {1280, 720},
              60,
              "CreateVideoProcessorEnumerator format=0 in=1000x800@60/1 out=1280x720@60/1 usage=0",
              "CreateTexture2D 1280x720 mips=1 array=1 format=87 samples=1/0 usage=0 bind=0x20 cpu=0x0 misc=0x0",
              "VideoProcessorSetStreamSourceRect stream=0 enable=1 (0,0,800,600)",
              "VideoProcessorSetStreamDestRect stream=0 enable=1 (160,0,1120,720)"}));

TEST_F(ScalerTest, EachFrameGetsOneInputViewAndOneBlitAndIsNotKept) {
  GpuScaler scaler(platform, device, context, {800, 600}, {800, 600}, {1280, 720}, 60);
  for (int serial = 0; serial < 3; ++serial) {
    SCOPED_TRACE("frame " + std::to_string(serial));
    D3D11Texture2D* frame = platform.MakeFrameTexture(800, 600, serial);
    const std::size_t before = platform.calls().size();

    scaler.ScaleFrame(frame);

    EXPECT_EQ(Lines(platform.calls().begin() + before, platform.calls().end()),
              (Lines{"CreateVideoProcessorInputView fourcc=0 dimension=1 mip=0 slice=0",
                     "VideoProcessorBlt frame=0 streams=1 enable=1 output=0 field=0 past=0 future=0 others=null"}));
    EXPECT_EQ(platform.PatternSerialOf(scaler.outputTexture()), serial) << "the output shows this frame";
    platform.Release(AsUnknown(frame));
    EXPECT_EQ(platform.Held().size(), 2u + kAcquisitionOrder.size()) << "the input view went with the call";
  }
  EXPECT_TRUE(ReleasedInReverseOrder(platform.journal()));
}

struct FailingStep {
  const char* call;
  Lines released;  // in this order
  friend void PrintTo(const FailingStep& step, std::ostream* out) { *out << step.call; }
};

class ScalerConstructionFails : public ScalerTest, public ::testing::WithParamInterface<FailingStep> {};

TEST_P(ScalerConstructionFails, ThrowsTheHResultAndReleasesWhatItObtained) {
  const FailingStep& step = GetParam();
  const HResult refused = static_cast<HResult>(0x887A0004u);
  platform.FailNamedCall(step.call, refused);

  std::unique_ptr<GpuScaler> slot;
  try {
    slot = std::make_unique<GpuScaler>(platform, device, context, PixelSize{800, 600}, PixelSize{800, 600},
                                       PixelSize{1280, 720}, 60);
    ADD_FAILURE() << "construction succeeded";
  } catch (const HResultError& error) {
    EXPECT_EQ(static_cast<std::uint32_t>(error.hresult()), 0x887A0004u);
  }

  EXPECT_EQ(slot, nullptr);
  EXPECT_TRUE(platform.faultTriggered());
  EXPECT_EQ(Roles(JournalEntry::Release), step.released);
  EXPECT_EQ(platform.Held(), (Lines{"Device#1", "Context#2"}));
  EXPECT_TRUE(platform.violations().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ScalerConstructionFails,
    ::testing::Values(FailingStep{"QueryInterface(ID3D11VideoDevice)", {}},
                      FailingStep{"QueryInterface(ID3D11VideoContext)", {"VideoDevice"}},
                      FailingStep{"CreateVideoProcessorEnumerator", {"VideoContext", "VideoDevice"}},
                      FailingStep{"CreateVideoProcessor", {"Enumerator", "VideoContext", "VideoDevice"}},
                      FailingStep{"CreateTexture2D", {"Processor", "Enumerator", "VideoContext", "VideoDevice"}},
                      FailingStep{"CreateVideoProcessorOutputView",
                                  {"OutputTexture", "Processor", "Enumerator", "VideoContext", "VideoDevice"}}),
    [](const auto& info) {
      std::string name = info.param.call;
      std::erase_if(name, [](char c) { return c == '(' || c == ')'; });
      return name;
    });

TEST_F(ScalerTest, AVideoDeviceMadeWithoutVideoSupportIsRefused) {
  D3D11Device* plainDevice = nullptr;
  D3D11DeviceContext* plainContext = nullptr;
  platform.D3D11CreateDevice(nullptr, kDriverTypeHardware, nullptr, kCreateDeviceBgraSupport, nullptr, 0, kSdkVersion,
                             &plainDevice, nullptr, &plainContext);
  EXPECT_THROW(GpuScaler(platform, plainDevice, plainContext, {800, 600}, {800, 600}, {1280, 720}, 60), HResultError);
  platform.Release(AsUnknown(plainContext));
  platform.Release(AsUnknown(plainDevice));
}

struct FailingFrameStep {
  const char* call;
  bool inputViewMade;
  friend void PrintTo(const FailingFrameStep& step, std::ostream* out) { *out << step.call; }
};

class ScaleFrameFails : public ScalerTest, public ::testing::WithParamInterface<FailingFrameStep> {};

TEST_P(ScaleFrameFails, ThrowsAndLeavesNoInputViewHeld) {
  GpuScaler scaler(platform, device, context, {800, 600}, {800, 600}, {1280, 720}, 60);
  D3D11Texture2D* frame = platform.MakeFrameTexture(800, 600, 7);
  platform.FailNamedCall(GetParam().call, kFail);

  EXPECT_THROW(scaler.ScaleFrame(frame), HResultError);

  EXPECT_TRUE(platform.faultTriggered());
  const Lines acquired = Roles(JournalEntry::Acquire);
  EXPECT_EQ(std::count(acquired.begin(), acquired.end(), "InputView"), GetParam().inputViewMade ? 1 : 0);
  platform.Release(AsUnknown(frame));
  EXPECT_EQ(platform.Held().size(), 2u + kAcquisitionOrder.size());
  EXPECT_TRUE(platform.violations().empty());
}

INSTANTIATE_TEST_SUITE_P(Steps, ScaleFrameFails,
                         ::testing::Values(FailingFrameStep{"CreateVideoProcessorInputView", false},
                                           FailingFrameStep{"VideoProcessorBlt", true}),
                         [](const auto& info) { return std::string(info.param.call); });

}  // namespace
}  // namespace orvel::testing
