// Failures inside the capture backend: every call whose HRESULT it checks,
// in set-up, loop and scaler, made to fail in turn, and the calls whose
// failure it ignores.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "release_checks.h"
#include "wgc_harness.h"

namespace orvel::testing {
namespace {

enum class Form { Five, Eight };
void PrintTo(Form form, std::ostream* out) { *out << (form == Form::Five ? "five arguments" : "eight arguments"); }

constexpr std::uint32_t kOutputWidth = 64, kOutputHeight = 36;  // small: the loop below makes many runs

// A run that goes through every checked call: a written frame, one dropped
// as too early, one showing a new size (the pool is re-made, and in the
// eight-argument form the scaler with it), a frame written at the new size,
// then empty polls until the end time.
void Script(WgcHarness& run, Form form) {
  if (form == Form::Eight) run.EightArgumentForm(kOutputWidth, kOutputHeight);
  run.platform.itemSize = {40, 30};
  const double offsets[] = {0.0, 0.005, 1.0 / 60, 2.0 / 60};
  const SizeInt32 sizes[] = {{40, 30}, {40, 30}, {50, 20}, {50, 20}};
  for (int k = 0; k < 4; ++k) run.platform.Deliver({kStart, Ticks(kStart + offsets[k]), sizes[k], false, {}});
}

WgcHarness* NewRun(Form form) {
  auto* run = new WgcHarness(60, 0.05);
  Script(*run, form);
  return run;
}

const std::set<std::string> kFiveArgumentCalls = {"WindowsCreateString",
                                                  "RoGetActivationFactory(GraphicsCaptureItem)",
                                                  "CreateForWindow",
                                                  "get_Size",
                                                  "D3D11CreateDevice",
                                                  "QueryInterface(IDXGIDevice)",
                                                  "CreateDirect3D11DeviceFromDXGIDevice",
                                                  "QueryInterface(IDirect3DDevice)",
                                                  "RoGetActivationFactory(Direct3D11CaptureFramePool)",
                                                  "CreateFreeThreaded",
                                                  "CreateCaptureSession",
                                                  "StartCapture",
                                                  "TryGetNextFrame",
                                                  "get_SystemRelativeTime",
                                                  "get_ContentSize",
                                                  "Recreate",
                                                  "get_Surface",
                                                  "QueryInterface(IDirect3DDxgiInterfaceAccess)",
                                                  "GetInterface(ID3D11Texture2D)",
                                                  "CreateTexture2D",
                                                  "Map"};

const std::set<std::string> kScalerCalls = {"QueryInterface(ID3D11VideoDevice)",
                                            "QueryInterface(ID3D11VideoContext)",
                                            "CreateVideoProcessorEnumerator",
                                            "CreateVideoProcessor",
                                            "CreateVideoProcessorOutputView",
                                            "CreateVideoProcessorInputView",
                                            "VideoProcessorBlt"};

struct Fault {
  const char* name;
  bool throws;  // std::bad_alloc instead of a failed HRESULT
  HResult hr;
  ExitCode code;
  const char* line;
  friend void PrintTo(const Fault& fault, std::ostream* out) { *out << fault.name; }
};

const Fault kFaults[] = {
    {"AccessDenied", false, kAccessDenied, ExitCode::AccessDenied, "Windows Graphics Capture: 0x80070005\n"},
    {"Unsupported", false, static_cast<HResult>(0x887A0004u), ExitCode::CaptureFailed,
     "Windows Graphics Capture: 0x887A0004\n"},
    {"ClassNotRegistered", false, static_cast<HResult>(0x80040154u), ExitCode::CaptureFailed,
     "Windows Graphics Capture: 0x80040154\n"},
    {"OutOfMemory", true, kOk, ExitCode::CaptureFailed, "Windows Graphics Capture: std::bad_alloc\n"},
};

class CheckedCallFails : public ::testing::TestWithParam<std::tuple<Form, Fault>> {};

TEST_P(CheckedCallFails, EachInTurnGivesTheCodeAndLineAndReleasesEverythingInReverse) {
  const auto [form, fault] = GetParam();
  std::unique_ptr<WgcHarness> baseline(NewRun(form));
  ASSERT_EQ(baseline->Run(), ExitCode::Ok);
  const std::vector<std::string> calls = baseline->platform.checkedCalls();

  std::set<std::string> expected = kFiveArgumentCalls;
  if (form == Form::Eight) expected.insert(kScalerCalls.begin(), kScalerCalls.end());
  ASSERT_EQ(std::set<std::string>(calls.begin(), calls.end()), expected) << "the run reaches every checked call";

  for (std::size_t n = 1; n <= calls.size(); ++n) {
    SCOPED_TRACE("checked call " + std::to_string(n) + ": " + calls[n - 1]);
    std::unique_ptr<WgcHarness> run(NewRun(form));
    if (fault.throws) {
      run->platform.ThrowOnCheckedCall(static_cast<int>(n));
    } else {
      run->platform.FailCheckedCall(static_cast<int>(n), fault.hr);
    }

    EXPECT_EQ(run->Run(), fault.code);

    ASSERT_TRUE(run->platform.faultTriggered());
    EXPECT_EQ(run->Errors(), fault.line);
    EXPECT_TRUE(NothingHeld(run->platform));
    EXPECT_TRUE(ReleasedInReverseOrder(run->platform.journal()));
    EXPECT_TRUE(ClosedBeforeRelease(run->platform.journal()));
    // The run ended between records: what was written is whole.
    if (form == Form::Five) {
      EXPECT_EQ(run->HeadedRecords().size(), run->session.framesWritten);
    } else {
      EXPECT_EQ(run->frames.bytes().size(), std::size_t{run->session.framesWritten} * kOutputWidth * kOutputHeight * 4);
      EXPECT_EQ(run->times->bytes().size(), std::size_t{run->session.framesWritten} * 8);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothForms, CheckedCallFails,
                         ::testing::Combine(::testing::Values(Form::Five, Form::Eight), ::testing::ValuesIn(kFaults)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param) == Form::Five ? "Five" : "Eight") +
                                  std::get<1>(info.param).name;
                         });

// --- Failures that do not change the outcome.

struct IgnoredFailure {
  const char* name;
  void (*set)(FakeWgcPlatform&);
  bool closableOffered;
  friend void PrintTo(const IgnoredFailure& ignored, std::ostream* out) { *out << ignored.name; }
};

const IgnoredFailure kIgnored[] = {
    {"NoSecondSessionInterface", [](FakeWgcPlatform& p) { p.session2Missing = true; }, true},
    {"CursorSettingFails", [](FakeWgcPlatform& p) { p.cursorResult = kFail; }, true},
    {"NoClosable", [](FakeWgcPlatform& p) { p.closableMissing = true; }, false},
    {"CloseFails", [](FakeWgcPlatform& p) { p.closeResult = kFail; }, true},
    // S_FALSE and other success codes are success.
    {"NonZeroSuccessCodes", [](FakeWgcPlatform& p) { p.successCode = 1; }, true},
};

class IgnoredFailures : public ::testing::TestWithParam<std::tuple<Form, IgnoredFailure>> {};

TEST_P(IgnoredFailures, LeaveTheRunAsItWouldBe) {
  const auto [form, ignored] = GetParam();
  std::unique_ptr<WgcHarness> baseline(NewRun(form));
  ASSERT_EQ(baseline->Run(), ExitCode::Ok);

  std::unique_ptr<WgcHarness> run(NewRun(form));
  ignored.set(run->platform);
  EXPECT_EQ(run->Run(), ExitCode::Ok);

  EXPECT_EQ(run->session.framesWritten, 2u);
  EXPECT_TRUE(run->frames.bytes() == baseline->frames.bytes());
  EXPECT_EQ(run->Errors(), "");
  EXPECT_TRUE(NothingHeld(run->platform));
  EXPECT_TRUE(ReleasedInReverseOrder(run->platform.journal()));
  EXPECT_TRUE(ClosedBeforeRelease(run->platform.journal(), ignored.closableOffered));
}

INSTANTIATE_TEST_SUITE_P(BothForms, IgnoredFailures,
                         ::testing::Combine(::testing::Values(Form::Five, Form::Eight), ::testing::ValuesIn(kIgnored)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param) == Form::Five ? "Five" : "Eight") +
                                  std::get<1>(info.param).name;
                         });

TEST(IgnoredFailures, WithoutTheSecondSessionInterfaceTheCursorIsNotTouched) {
  std::unique_ptr<WgcHarness> run(NewRun(Form::Five));
  run->platform.session2Missing = true;
  EXPECT_EQ(run->Run(), ExitCode::Ok);
  EXPECT_EQ(run->platform.CallsStartingWith("put_IsCursorCaptureEnabled"), std::vector<std::string>{});
  EXPECT_EQ(run->platform.cursorCapturedAtStart(), true) << "the platform's default stays";
}

// Nothing escapes the backend, whatever a platform layer throws.
TEST(ForeignExceptions, GiveTheGeneralFailureWithItsOwnLine) {
  std::unique_ptr<WgcHarness> run(NewRun(Form::Eight));
  run->platform.ThrowForeignOnCheckedCall(30);

  EXPECT_EQ(run->Run(), ExitCode::CaptureFailed);

  EXPECT_TRUE(run->platform.faultTriggered());
  EXPECT_EQ(run->Errors(), "Windows Graphics Capture: unknown exception\n");
  EXPECT_TRUE(NothingHeld(run->platform));
  EXPECT_TRUE(ReleasedInReverseOrder(run->platform.journal()));
}

TEST(FactoryRequests, TheClassNameIsDeletedAlsoWhenTheFactoryIsRefused) {
  std::unique_ptr<WgcHarness> run(NewRun(Form::Five));
  run->platform.FailNamedCall("RoGetActivationFactory(Direct3D11CaptureFramePool)", static_cast<HResult>(0x80040154u));

  EXPECT_EQ(run->Run(), ExitCode::CaptureFailed);

  const std::vector<std::string> strings = run->platform.CallsStartingWith("Windows");
  EXPECT_EQ(strings,
            (std::vector<std::string>{"WindowsCreateString Windows.Graphics.Capture.GraphicsCaptureItem",
                                      "WindowsDeleteString Windows.Graphics.Capture.GraphicsCaptureItem",
                                      "WindowsCreateString Windows.Graphics.Capture.Direct3D11CaptureFramePool",
                                      "WindowsDeleteString Windows.Graphics.Capture.Direct3D11CaptureFramePool"}));
  EXPECT_EQ(run->Errors(), "Windows Graphics Capture: 0x80040154\n");
  EXPECT_TRUE(NothingHeld(run->platform));
}

}  // namespace
}  // namespace orvel::testing
