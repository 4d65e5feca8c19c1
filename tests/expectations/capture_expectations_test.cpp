// What a run must show, over the machines the checks meet: Wine, Windows
// 10 and 11 with a graphics adapter, a virtual machine or server without a
// video processor, and systems older than window capture.

#include "expectations/capture_expectations.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "expectations/error_lines.h"

namespace orvel::expectations {
namespace {

using analysis::PacingRule;
using analysis::Scaling;
using wintest::PlatformFacts;

constexpr std::int32_t kClassNotRegistered = static_cast<std::int32_t>(0x80040154);
constexpr std::int32_t kNoInterface = static_cast<std::int32_t>(0x80004002);
constexpr std::int32_t kDxgiUnsupported = static_cast<std::int32_t>(0x887A0004);

PlatformFacts Machine(std::uint32_t build, bool itemFactory, std::int32_t itemFactoryResult, bool bridge,
                      bool videoDevice, std::int32_t videoDeviceResult) {
  PlatformFacts facts;
  facts.versionKnown = true;
  facts.majorVersion = 10;
  facts.buildNumber = build;
  facts.captureItemFactory = itemFactory;
  facts.captureItemFactoryResult = itemFactoryResult;
  facts.deviceFromDxgiExported = bridge;
  facts.videoDevice = videoDevice;
  facts.videoDeviceResult = videoDeviceResult;
  facts.interactiveDesktop = true;
  return facts;
}

// As the probe reports them.
const PlatformFacts kWine = Machine(19043, false, kClassNotRegistered, false, false, kNoInterface);
const PlatformFacts kWindows11 = Machine(26100, true, 0, true, true, 0);
// A virtual machine on the basic display adapter: no video device.
const PlatformFacts kWindows10Vm = Machine(19045, true, 0, true, false, kNoInterface);
// A server whose hardware device refuses video support altogether.
const PlatformFacts kServer2022NoVideo = Machine(20348, true, 0, true, false, kDxgiUnsupported);
// The capture item class answers, but the build has no CreateForWindow.
const PlatformFacts kServer2019 = Machine(17763, true, 0, true, true, 0);

struct Case {
  const char* name;
  PlatformFacts facts;
  Form form;
  Scenario scenario;
  std::vector<std::string> lines;  // LineText of each expected line
  std::uint32_t exitCode;
  Writer writer;
  const char* notice;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

std::vector<std::string> Texts(const std::vector<ErrorLine>& lines) {
  std::vector<std::string> texts;
  for (const ErrorLine& line : lines) texts.push_back(LineText(line));
  return texts;
}

const char kFallback[] = "Windows Graphics Capture -> GDI (HWND)";

class RunExpectations : public ::testing::TestWithParam<Case> {};

TEST_P(RunExpectations, LinesExitCodeAndWriter) {
  const Case& c = GetParam();
  const RunExpectation expectation = ExpectRun(c.facts, c.form, c.scenario);
  EXPECT_EQ(Texts(expectation.errorLines), c.lines);
  EXPECT_EQ(expectation.exitCode, c.exitCode);
  EXPECT_EQ(expectation.writer, c.writer);
  EXPECT_EQ(expectation.notice, c.notice);
}

INSTANTIATE_TEST_SUITE_P(
    Machines, RunExpectations,
    ::testing::Values(
        // Wine: the helper's first call, the item factory, fails as the probe's did.
        Case{"WineHeaded",
             kWine,
             Form::Headed,
             Scenario::PatternStays,
             {"Windows Graphics Capture: 0x80040154"},
             5,
             Writer::Nobody,
             ""},
        Case{"WineHeadedWindowGoneStillEndsAtOnce",
             kWine,
             Form::Headed,
             Scenario::WindowGone,
             {"Windows Graphics Capture: 0x80040154"},
             5,
             Writer::Nobody,
             ""},
        Case{"WineBare",
             kWine,
             Form::Bare,
             Scenario::PatternStays,
             {"Windows Graphics Capture: 0x80040154", kFallback},
             0,
             Writer::Gdi,
             ""},
        Case{"WineBareDark",
             kWine,
             Form::Bare,
             Scenario::DarkWindow,
             {"Windows Graphics Capture: 0x80040154", kFallback},
             8,
             Writer::Gdi,
             ""},
        Case{"WineBareResized",
             kWine,
             Form::Bare,
             Scenario::Resized,
             {"Windows Graphics Capture: 0x80040154", kFallback},
             0,
             Writer::Gdi,
             ""},
        Case{"WineBareWindowGone",
             kWine,
             Form::Bare,
             Scenario::WindowGone,
             {"Windows Graphics Capture: 0x80040154", kFallback},
             3,
             Writer::Gdi,
             ""},
        Case{"WineBareReaderStops",
             kWine,
             Form::Bare,
             Scenario::ReaderStops,
             {"Windows Graphics Capture: 0x80040154", kFallback},
             9,
             Writer::Gdi,
             ""},
        // Full capture: no line at all, whatever happens to the window.
        Case{"Windows11Headed",
             kWindows11,
             Form::Headed,
             Scenario::PatternStays,
             {},
             0,
             Writer::WindowsGraphicsCapture,
             ""},
        Case{"Windows11HeadedDark",
             kWindows11,
             Form::Headed,
             Scenario::DarkWindow,
             {},
             8,
             Writer::WindowsGraphicsCapture,
             ""},
        Case{"Windows11HeadedWindowGone",
             kWindows11,
             Form::Headed,
             Scenario::WindowGone,
             {},
             3,
             Writer::WindowsGraphicsCapture,
             ""},
        Case{
            "Windows11Bare", kWindows11, Form::Bare, Scenario::PatternStays, {}, 0, Writer::WindowsGraphicsCapture, ""},
        Case{"Windows11BareDark",
             kWindows11,
             Form::Bare,
             Scenario::DarkWindow,
             {},
             8,
             Writer::WindowsGraphicsCapture,
             ""},
        Case{"Windows11BareResized",
             kWindows11,
             Form::Bare,
             Scenario::Resized,
             {},
             0,
             Writer::WindowsGraphicsCapture,
             ""},
        Case{"Windows11BareWindowGone",
             kWindows11,
             Form::Bare,
             Scenario::WindowGone,
             {},
             3,
             Writer::WindowsGraphicsCapture,
             ""},
        Case{"Windows11BareReaderStops",
             kWindows11,
             Form::Bare,
             Scenario::ReaderStops,
             {},
             9,
             Writer::WindowsGraphicsCapture,
             ""},
        // Capture without a video processor: the headed form needs none; the
        // bare form's scaler fails with the probe's HRESULT and GDI takes over.
        Case{"VmHeaded", kWindows10Vm, Form::Headed, Scenario::PatternStays, {}, 0, Writer::WindowsGraphicsCapture, ""},
        Case{"VmBare",
             kWindows10Vm,
             Form::Bare,
             Scenario::PatternStays,
             {"Windows Graphics Capture: 0x80004002", kFallback},
             0,
             Writer::Gdi,
             "GPU scaler unavailable (0x80004002)"},
        Case{"VmBareWindowGone",
             kWindows10Vm,
             Form::Bare,
             Scenario::WindowGone,
             {"Windows Graphics Capture: 0x80004002", kFallback},
             3,
             Writer::Gdi,
             "GPU scaler unavailable (0x80004002)"},
        Case{"ServerWithoutVideoSupportBare",
             kServer2022NoVideo,
             Form::Bare,
             Scenario::DarkWindow,
             {"Windows Graphics Capture: 0x887A0004", kFallback},
             8,
             Writer::Gdi,
             "GPU scaler unavailable (0x887A0004)"},
        // The item factory answers on a build without window capture: some
        // later call fails, with an HRESULT no probe can foretell.
        Case{"OldBuildHeaded",
             kServer2019,
             Form::Headed,
             Scenario::PatternStays,
             {"Windows Graphics Capture: 0x????????"},
             5,
             Writer::Nobody,
             ""},
        Case{"OldBuildBare",
             kServer2019,
             Form::Bare,
             Scenario::Resized,
             {"Windows Graphics Capture: 0x????????", kFallback},
             0,
             Writer::Gdi,
             ""}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(RunExpectationsPlacement, GdiCopiesExactlyOnTheDueGridFromTheClientArea) {
  for (const PlatformFacts& facts : {kWine, kWindows10Vm, kServer2019}) {
    const RunExpectation gdi = ExpectRun(facts, Form::Bare, Scenario::PatternStays);
    EXPECT_EQ(gdi.scaling, Scaling::Exact);
    EXPECT_EQ(gdi.pacing, PacingRule::Gdi);
    EXPECT_EQ(gdi.pictureArea, PictureArea::Client);
    EXPECT_FALSE(gdi.earlyRecordSizesMayDiffer);
  }
}

TEST(RunExpectationsPlacement, CaptureFiltersWithTheEarlyToleranceFromTheWholeWindow) {
  const RunExpectation scaled = ExpectRun(kWindows11, Form::Bare, Scenario::PatternStays);
  EXPECT_EQ(scaled.scaling, Scaling::Filtered);
  EXPECT_EQ(scaled.pacing, PacingRule::Wgc);
  EXPECT_EQ(scaled.pictureArea, PictureArea::Window);
  EXPECT_FALSE(scaled.earlyRecordSizesMayDiffer) << "bare records always have the output size";

  for (const PlatformFacts& facts : {kWindows11, kWindows10Vm}) {
    const RunExpectation headed = ExpectRun(facts, Form::Headed, Scenario::Resized);
    EXPECT_EQ(headed.pacing, PacingRule::Wgc);
    EXPECT_EQ(headed.pictureArea, PictureArea::Window);
    EXPECT_TRUE(headed.earlyRecordSizesMayDiffer) << "the first frame may come at another size";
  }
}

TEST(RunExpectationsPlacement, CaptureNeedsTheFactoryTheBridgeAndABuildWithCreateForWindow) {
  PlatformFacts noBridge = kWindows11;
  noBridge.deviceFromDxgiExported = false;
  PlatformFacts buildBefore1903 = kWindows11;
  buildBefore1903.buildNumber = wintest::kBuildWindowCapture - 1;
  PlatformFacts refused = kWindows11;
  refused.captureItemFactory = false;
  refused.captureItemFactoryResult = static_cast<std::int32_t>(0x80070005);
  for (const PlatformFacts& facts : {noBridge, buildBefore1903, refused}) {
    EXPECT_EQ(ExpectRun(facts, Form::Bare, Scenario::PatternStays).writer, Writer::Gdi);
    EXPECT_EQ(ExpectRun(facts, Form::Headed, Scenario::PatternStays).exitCode, 5u);
  }
  EXPECT_EQ(LineText(ExpectRun(refused, Form::Headed, Scenario::PatternStays).errorLines.at(0)),
            "Windows Graphics Capture: 0x80070005");
  buildBefore1903.buildNumber = wintest::kBuildWindowCapture;
  EXPECT_EQ(ExpectRun(buildBefore1903, Form::Bare, Scenario::PatternStays).writer, Writer::WindowsGraphicsCapture);
}

TEST(RunExpectationsReport, NamesTheBackendAndWhyItWasChosen) {
  EXPECT_EQ(ExpectRun(kWine, Form::Bare, Scenario::PatternStays).backend,
            "GDI fallback (Windows Graphics Capture unavailable: 0x80040154)");
  EXPECT_EQ(ExpectRun(kWine, Form::Headed, Scenario::PatternStays).backend,
            "none (Windows Graphics Capture unavailable: 0x80040154)");
  EXPECT_EQ(ExpectRun(kServer2019, Form::Bare, Scenario::PatternStays).backend,
            "GDI fallback (Windows Graphics Capture unavailable)");
  EXPECT_EQ(ExpectRun(kWindows10Vm, Form::Bare, Scenario::PatternStays).backend,
            "GDI fallback (GPU scaler unavailable (0x80004002))");
  EXPECT_EQ(ExpectRun(kWindows10Vm, Form::Headed, Scenario::PatternStays).backend, "Windows Graphics Capture");
  EXPECT_EQ(ExpectRun(kWindows11, Form::Bare, Scenario::PatternStays).backend,
            "Windows Graphics Capture with the GPU scaler");
}

}  // namespace
}  // namespace orvel::expectations
