#include "expectations/capture_expectations.h"

namespace orvel::expectations {
namespace {

using analysis::PacingRule;
using analysis::Scaling;

std::uint32_t ExitCodeOnceFramesFlow(Scenario scenario) {
  switch (scenario) {
    case Scenario::PatternStays:
    case Scenario::Resized:
      return 0;
    case Scenario::DarkWindow:
      return 8;
    case Scenario::WindowGone:
      return 3;
    case Scenario::ReaderStops:
      return 9;
  }
  return 0;
}

// The helper's first Windows Graphics Capture call is the capture item
// factory request, so where the probe saw that refused the helper's line
// carries the same HRESULT. Where the factory answered and capture is still
// unavailable (a build before CreateForWindow, no Direct3D bridge), a later
// call fails, with an HRESULT that the probe cannot know.
ErrorLine CaptureFailure(const wintest::PlatformFacts& facts) {
  if (!facts.captureItemFactory) return ErrorLine{ErrorLine::Kind::HResult, facts.captureItemFactoryResult};
  return ErrorLine{ErrorLine::Kind::HResult, std::nullopt};
}

std::string Because(const ErrorLine& cause) { return cause.hresult ? ": " + wintest::HresultText(*cause.hresult) : ""; }

RunExpectation GdiFallback(const ErrorLine& cause, Scenario scenario) {
  RunExpectation expectation;
  expectation.errorLines = {cause, ErrorLine{ErrorLine::Kind::Fallback, std::nullopt}};
  expectation.exitCode = ExitCodeOnceFramesFlow(scenario);
  expectation.writer = Writer::Gdi;
  expectation.scaling = Scaling::Exact;
  expectation.pacing = PacingRule::Gdi;
  expectation.pictureArea = PictureArea::Client;
  return expectation;
}

RunExpectation WindowsGraphicsCapture(Scenario scenario) {
  RunExpectation expectation;
  expectation.exitCode = ExitCodeOnceFramesFlow(scenario);
  expectation.writer = Writer::WindowsGraphicsCapture;
  expectation.scaling = Scaling::Filtered;
  expectation.pacing = PacingRule::Wgc;
  expectation.pictureArea = PictureArea::Window;
  return expectation;
}

}  // namespace

RunExpectation ExpectRun(const wintest::PlatformFacts& facts, Form form, Scenario scenario) {
  const bool capture = wintest::HasWindowCapture(facts);
  if (form == Form::Headed) {
    if (!capture) {
      // No fallback without an output size: the run ends at once.
      RunExpectation expectation;
      expectation.errorLines = {CaptureFailure(facts)};
      expectation.exitCode = 5;
      expectation.writer = Writer::Nobody;
      expectation.backend = "none (Windows Graphics Capture unavailable" + Because(CaptureFailure(facts)) + ")";
      return expectation;
    }
    RunExpectation expectation = WindowsGraphicsCapture(scenario);
    expectation.earlyRecordSizesMayDiffer = true;
    expectation.backend = "Windows Graphics Capture";
    return expectation;
  }

  if (!capture) {
    RunExpectation expectation = GdiFallback(CaptureFailure(facts), scenario);
    expectation.backend = "GDI fallback (Windows Graphics Capture unavailable" + Because(CaptureFailure(facts)) + ")";
    return expectation;
  }
  if (!wintest::HasGpuScaler(facts)) {
    // The helper's device and scaler make the same calls as the probe, in
    // the same order, so they fail with the probe's HRESULT, before the
    // first frame is written.
    const ErrorLine cause{ErrorLine::Kind::HResult, facts.videoDeviceResult};
    RunExpectation expectation = GdiFallback(cause, scenario);
    expectation.notice = "GPU scaler unavailable (" + wintest::HresultText(facts.videoDeviceResult) + ")";
    expectation.backend = "GDI fallback (" + expectation.notice + ")";
    return expectation;
  }
  RunExpectation expectation = WindowsGraphicsCapture(scenario);
  expectation.backend = "Windows Graphics Capture with the GPU scaler";
  return expectation;
}

}  // namespace orvel::expectations
