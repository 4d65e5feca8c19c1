// The entry function: argument checks in their order, the fallback decision,
// closing the timestamp file, freeing the argument list on every path.

#include "capture_main.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/fake_process.h"
#include "fakes/fake_window_manager.h"
#include "fakes/test_streams.h"

namespace orvel {
namespace {

using testing::FakeClock;
using testing::FakeProcess;
using testing::FakeWindowManager;

constexpr std::uint64_t kWindow = 655370;
constexpr std::uint32_t kOwner = 4321;
constexpr double kNow = 1000.0;

// Backends that report what they were given and return scripted results.
class ScriptedBackends final : public CaptureBackends {
 public:
  explicit ScriptedBackends(FakeClock& clock) : clock_(clock) {}

  ExitCode wgcResult = ExitCode::Ok;
  std::uint32_t wgcFrames = 0;
  bool wgcSeesContent = true;
  double wgcDuration = 0.5;  // seconds the WGC run takes on the fake clock
  ExitCode gdiResult = ExitCode::Ok;

  std::vector<std::string> calls;
  std::uint32_t seenWidth = 0, seenHeight = 0, seenFps = 0, seenProcessId = 0;
  std::uint64_t seenWindow = 0;
  double seenEndTime = 0;
  bool seenTimestampFile = false;
  std::uint32_t gdiStartFrames = 99;

  ExitCode RunWgcCapture(CaptureSession& session) override {
    calls.push_back("wgc");
    seenWindow = session.window;
    seenProcessId = session.processId;
    seenFps = session.fps;
    seenWidth = session.width;
    seenHeight = session.height;
    seenEndTime = session.endTime;
    seenTimestampFile = session.timestampFile != nullptr;
    session.framesWritten += wgcFrames;
    for (std::uint32_t i = 0; i < wgcFrames && session.timestampFile != nullptr; ++i) {
      const double time = clock_.now() + i;
      std::fwrite(&time, sizeof time, 1, session.timestampFile);  // buffered, as the real writer leaves it
    }
    session.contentSeen = wgcFrames > 0 && wgcSeesContent;
    clock_.Advance(wgcDuration);
    return wgcResult;
  }
  ExitCode RunGdiCapture(CaptureSession& session) override {
    calls.push_back("gdi");
    gdiStartFrames = session.framesWritten;
    return gdiResult;
  }

 private:
  FakeClock& clock_;
};

std::wstring Seconds(double value) {
  wchar_t text[64];
  std::swprintf(text, 64, L"%.17g", value);
  return text;
}

struct Harness {
  FakeClock clock{kNow};
  FakeWindowManager windows{&clock};
  ScriptedBackends backends{clock};
  std::FILE* errors = std::tmpfile();

  Harness() { windows.Add(kWindow, kOwner); }
  ~Harness() { std::fclose(errors); }

  ExitCode Run(FakeProcess& process) { return CaptureMain(process, windows, clock, backends, errors); }
  std::string ErrorText() { return testing::ReadAll(errors); }
};

std::vector<std::wstring> ShortForm(const std::wstring& endTime = Seconds(kNow + 10)) {
  return {L"ORVELCapture.exe", std::to_wstring(kWindow), std::to_wstring(kOwner), L"30", endTime};
}

std::vector<std::wstring> LongForm(const std::wstring& width = L"1280", const std::wstring& height = L"720") {
  auto arguments = ShortForm();
  arguments.insert(arguments.end(), {width, height, L"C:\\out\\times.bin"});
  return arguments;
}

// ---- Argument checks ------------------------------------------------------

struct CheckCase {
  const char* name;
  std::vector<std::wstring> arguments;
  ExitCode expected;  // Ok here: the checks pass and the backend's Ok comes back
  bool opensFile;
  void (*arrange)(FakeWindowManager&) = nullptr;
};

// Test names carry the case; print only that.
void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

std::vector<std::wstring> With(std::vector<std::wstring> arguments, std::size_t index, std::wstring value) {
  arguments[index] = std::move(value);
  return arguments;
}

std::vector<std::wstring> Take(std::size_t count) {
  auto arguments = LongForm();
  arguments.resize(count);
  return arguments;
}

class ArgumentCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(ArgumentCheckTest, GivesTheExpectedCodeAndTouchesNothingElse) {
  const CheckCase& c = GetParam();
  Harness harness;
  if (c.arrange != nullptr) c.arrange(harness.windows);
  FakeProcess process(c.arguments);

  EXPECT_EQ(harness.Run(process), c.expected);

  const bool started = !harness.backends.calls.empty();
  EXPECT_EQ(started, c.expected == ExitCode::Ok);
  EXPECT_EQ(process.timestampFile() != nullptr, c.opensFile);
  EXPECT_EQ(process.listsOutstanding(), 0) << "the argument list must be freed on every path";
  EXPECT_EQ(harness.ErrorText(), "") << "checks print nothing";
  if (!started) {
    for (const std::string& call : process.journal()) EXPECT_NE(call, "SetStandardOutputBinary");
  }
  if (process.timestampFile() != nullptr) {
    EXPECT_EQ(process.timestampFile()->closeCalls(), 1);
  }
}

void OwnedByOther(FakeWindowManager& w) { w.Add(kWindow, kOwner + 1); }
void Minimised(FakeWindowManager& w) { w.Add(kWindow, kOwner).iconic = true; }
void NoWindow(FakeWindowManager& w) { w.Remove(kWindow); }
void OwnedByZero(FakeWindowManager& w) { w.Add(kWindow, 0); }

INSTANTIATE_TEST_SUITE_P(
    Table, ArgumentCheckTest,
    ::testing::Values(CheckCase{"NoValues", Take(1), ExitCode::BadArguments, false},
                      CheckCase{"ThreeValues", Take(4), ExitCode::BadArguments, false},
                      CheckCase{"FiveValues", Take(6), ExitCode::BadArguments, false},
                      CheckCase{"SixValues", Take(7), ExitCode::BadArguments, false},
                      CheckCase{"EightValues",
                                [] {
                                  auto a = LongForm();
                                  a.push_back(L"x");
                                  return a;
                                }(),
                                ExitCode::BadArguments, false},
                      CheckCase{"ShortFormAccepted", ShortForm(), ExitCode::Ok, false},
                      CheckCase{"LongForm1280x720", LongForm(), ExitCode::Ok, true},
                      CheckCase{"LongForm1920x1080", LongForm(L"1920", L"1080"), ExitCode::Ok, true},
                      CheckCase{"ProcessIdZeroWithExistingWindow", With(ShortForm(), 2, L"0"),
                                ExitCode::WindowUnavailable, false, OwnedByZero},
                      CheckCase{"ForeignOwner", ShortForm(), ExitCode::WindowUnavailable, false, OwnedByOther},
                      CheckCase{"Minimised", ShortForm(), ExitCode::WindowUnavailable, false, Minimised},
                      CheckCase{"NotAWindow", ShortForm(), ExitCode::WindowUnavailable, false, NoWindow},
                      CheckCase{"HexadecimalHandle", With(ShortForm(), 1, L"0xA000A"), ExitCode::WindowUnavailable,
                                false},
                      CheckCase{"Fps25", With(ShortForm(), 3, L"25"), ExitCode::BadArguments, false},
                      CheckCase{"Fps25WithBadWindowIsAWindowProblem", With(ShortForm(), 3, L"25"),
                                ExitCode::WindowUnavailable, false, NoWindow},
                      CheckCase{"Fps60", With(ShortForm(), 3, L"60"), ExitCode::Ok, false},
                      CheckCase{"FpsTrailingTextIgnored", With(ShortForm(), 3, L"60fps"), ExitCode::Ok, false},
                      CheckCase{"HandleTrailingTextIgnored", With(ShortForm(), 1, std::to_wstring(kWindow) + L"h"),
                                ExitCode::Ok, false},
                      CheckCase{"EndTimeEqualToNow", ShortForm(Seconds(kNow)), ExitCode::BadArguments, false},
                      CheckCase{"EndTimeInThePast", ShortForm(Seconds(kNow - 1)), ExitCode::BadArguments, false},
                      CheckCase{"EndTime64.9Ahead", ShortForm(Seconds(kNow + 64.9)), ExitCode::Ok, false},
                      CheckCase{"EndTime65Ahead", ShortForm(Seconds(kNow + 65)), ExitCode::BadArguments, false},
                      CheckCase{"EndTime90Ahead", ShortForm(Seconds(kNow + 90)), ExitCode::BadArguments, false},
                      CheckCase{"EndTimeNotANumber", ShortForm(L"soon"), ExitCode::BadArguments, false},
                      CheckCase{"EndTimeNaN", ShortForm(L"nan"), ExitCode::BadArguments, false},
                      CheckCase{"EndTimeInfinite", ShortForm(L"inf"), ExitCode::BadArguments, false},
                      CheckCase{"Size1920x720", LongForm(L"1920", L"720"), ExitCode::BadArguments, false},
                      CheckCase{"Size1280x1080", LongForm(L"1280", L"1080"), ExitCode::BadArguments, false},
                      CheckCase{"Size0x0", LongForm(L"0", L"0"), ExitCode::BadArguments, false}),
    [](const ::testing::TestParamInfo<CheckCase>& info) {
      std::string name = info.param.name;
      for (char& ch : name)
        if (ch == '.') ch = '_';
      return name;
    });

TEST(ArgumentChecks, ArgumentListThatCannotBeBuiltGives2AndFreesNothing) {
  Harness harness;
  FakeProcess process(ShortForm());
  process.argumentListFails = true;
  EXPECT_EQ(harness.Run(process), ExitCode::BadArguments);
  EXPECT_EQ(process.journal(), (std::vector<std::string>{"SetProcessDPIAware", "CommandLineToArgvW"}));
}

TEST(ArgumentChecks, TimestampFileThatCannotBeCreatedGives4AfterAllOtherChecks) {
  Harness harness;
  FakeProcess process(LongForm());
  process.fileOpenFails = true;
  EXPECT_EQ(harness.Run(process), ExitCode::FileOpenFailed);
  EXPECT_TRUE(harness.backends.calls.empty());
  EXPECT_EQ(process.journal(), (std::vector<std::string>{"SetProcessDPIAware", "CommandLineToArgvW",
                                                         "OpenForBinaryWriting C:\\out\\times.bin", "LocalFree"}));
}

TEST(ArgumentChecks, EndTimeIsCheckedAgainstTwoSeparateReadings) {
  // First reading: the end time lies ahead. Second reading, 0.2 s later: the
  // end time still lies within 65 s of it, though not of the first.
  Harness harness;
  harness.clock.TickPerReading(0.2);
  FakeProcess process(ShortForm(Seconds(kNow + 65.1)));
  EXPECT_EQ(harness.Run(process), ExitCode::Ok);
}

TEST(ArgumentChecks, SessionCarriesTheConvertedValues) {
  Harness harness;
  FakeProcess process(LongForm(L"1920", L"1080"));
  ASSERT_EQ(harness.Run(process), ExitCode::Ok);
  const ScriptedBackends& b = harness.backends;
  EXPECT_EQ(b.seenWindow, kWindow);
  EXPECT_EQ(b.seenProcessId, kOwner);
  EXPECT_EQ(b.seenFps, 30u);
  EXPECT_EQ(b.seenWidth, 1920u);
  EXPECT_EQ(b.seenHeight, 1080u);
  EXPECT_EQ(b.seenEndTime, kNow + 10);
  EXPECT_TRUE(b.seenTimestampFile);
}

TEST(ArgumentChecks, ShortFormHasNoSizeAndNoTimestampFile) {
  Harness harness;
  FakeProcess process(ShortForm());
  ASSERT_EQ(harness.Run(process), ExitCode::Ok);
  EXPECT_EQ(harness.backends.seenWidth, 0u);
  EXPECT_EQ(harness.backends.seenHeight, 0u);
  EXPECT_FALSE(harness.backends.seenTimestampFile);
}

TEST(ArgumentChecks, StartedRunFollowsTheOrderOfStartUp) {
  Harness harness;
  FakeProcess process(LongForm());
  ASSERT_EQ(harness.Run(process), ExitCode::Ok);
  EXPECT_EQ(
      process.journal(),
      (std::vector<std::string>{"SetProcessDPIAware", "CommandLineToArgvW", "OpenForBinaryWriting C:\\out\\times.bin",
                                "SetStandardOutputBinary", "RoInitialize", "RoUninitialize", "LocalFree"}));
}

// ---- Fallback decision ----------------------------------------------------

struct FallbackCase {
  const char* name;
  bool longForm;
  ExitCode wgcResult;
  std::uint32_t wgcFrames;
  double wgcDuration;  // the end time is 10 s ahead
  bool fallsBack;
};

// Test names carry the case; print only that.
void PrintTo(const FallbackCase& c, std::ostream* os) { *os << c.name; }

class FallbackTest : public ::testing::TestWithParam<FallbackCase> {};

TEST_P(FallbackTest, FallsBackOnlyWithAFileNoFramesAndTimeLeft) {
  const FallbackCase& c = GetParam();
  Harness harness;
  harness.backends.wgcResult = c.wgcResult;
  harness.backends.wgcFrames = c.wgcFrames;
  harness.backends.wgcDuration = c.wgcDuration;
  harness.backends.gdiResult = ExitCode::GdiCopyFailed;  // a code WGC never gives
  FakeProcess process(c.longForm ? LongForm() : ShortForm());

  const ExitCode result = harness.Run(process);

  if (c.fallsBack) {
    EXPECT_EQ(result, ExitCode::GdiCopyFailed) << "the GDI result replaces the WGC one";
    EXPECT_EQ(harness.backends.calls, (std::vector<std::string>{"wgc", "gdi"}));
    EXPECT_EQ(harness.backends.gdiStartFrames, 0u);
    EXPECT_EQ(harness.ErrorText(), "Windows Graphics Capture -> GDI (HWND)\n");
  } else {
    EXPECT_EQ(result, c.wgcResult);
    EXPECT_EQ(harness.backends.calls, (std::vector<std::string>{"wgc"}));
    EXPECT_EQ(harness.ErrorText(), "");
  }
  EXPECT_EQ(process.listsOutstanding(), 0);
  if (process.timestampFile() != nullptr) {
    EXPECT_EQ(process.timestampFile()->closeCalls(), 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FallbackTest,
    ::testing::Values(FallbackCase{"CaptureFailedBeforeAnyFrame", true, ExitCode::CaptureFailed, 0, 0.5, true},
                      FallbackCase{"NoFramesWithTimeLeft", true, ExitCode::NoFrames, 0, 1.0, true},
                      FallbackCase{"CaptureFailedAtTheEndTime", true, ExitCode::CaptureFailed, 0, 10.0, false},
                      FallbackCase{"NoFramesAfterTheEndTime", true, ExitCode::NoFrames, 0, 12.0, false},
                      FallbackCase{"CaptureFailedAfterFrames", true, ExitCode::CaptureFailed, 3, 0.5, false},
                      FallbackCase{"ShortFormCaptureFailed", false, ExitCode::CaptureFailed, 0, 0.5, false},
                      FallbackCase{"ShortFormNoFrames", false, ExitCode::NoFrames, 0, 1.0, false},
                      FallbackCase{"Ok", true, ExitCode::Ok, 5, 10.0, false},
                      FallbackCase{"WindowUnavailable", true, ExitCode::WindowUnavailable, 0, 0.5, false},
                      FallbackCase{"NoContent", true, ExitCode::NoContent, 5, 10.0, false},
                      FallbackCase{"WriteFailed", true, ExitCode::WriteFailed, 0, 0.5, false},
                      FallbackCase{"AccessDenied", true, ExitCode::AccessDenied, 0, 0.5, false}),
    [](const ::testing::TestParamInfo<FallbackCase>& info) { return std::string(info.param.name); });

TEST(Fallback, FailedRuntimeInitialisationGives5AndFallsBackInTheLongForm) {
  Harness harness;
  FakeProcess process(LongForm());
  process.roInitializeResult = kFail;
  harness.backends.gdiResult = ExitCode::Ok;
  EXPECT_EQ(harness.Run(process), ExitCode::Ok);
  EXPECT_EQ(harness.backends.calls, (std::vector<std::string>{"gdi"}));
  for (const std::string& call : process.journal()) EXPECT_NE(call, "RoUninitialize");
  EXPECT_EQ(harness.ErrorText(), "Windows Graphics Capture -> GDI (HWND)\n");
}

TEST(Fallback, FailedRuntimeInitialisationGives5InTheShortForm) {
  Harness harness;
  FakeProcess process(ShortForm());
  process.roInitializeResult = kFail;
  EXPECT_EQ(harness.Run(process), ExitCode::CaptureFailed);
  EXPECT_TRUE(harness.backends.calls.empty());
  EXPECT_EQ(harness.ErrorText(), "");
}

TEST(Fallback, NeverASecondFallbackWhateverGdiGives) {
  for (ExitCode gdi : {ExitCode::CaptureFailed, ExitCode::NoFrames}) {
    Harness harness;
    harness.backends.wgcResult = ExitCode::CaptureFailed;
    harness.backends.gdiResult = gdi;
    FakeProcess process(LongForm());
    EXPECT_EQ(harness.Run(process), gdi);
    EXPECT_EQ(harness.backends.calls, (std::vector<std::string>{"wgc", "gdi"}));
    EXPECT_EQ(harness.ErrorText().size(), 39u);
  }
}

// ---- Closing the timestamp file ------------------------------------------

TEST(TimestampFileClose, FailedCloseTurnsAnyResultInto9) {
  for (ExitCode wgc : {ExitCode::Ok, ExitCode::NoContent, ExitCode::WindowUnavailable, ExitCode::AccessDenied}) {
    Harness harness;
    harness.backends.wgcResult = wgc;
    harness.backends.wgcFrames = 2;
    FakeProcess process(LongForm());
    process.FailTimestampClose();
    EXPECT_EQ(harness.Run(process), ExitCode::WriteFailed) << ExitCodeName(wgc);
    EXPECT_EQ(process.timestampFile()->closeCalls(), 1);
    EXPECT_EQ(process.listsOutstanding(), 0);
  }
}

// The fixture of the next test: a runtime whose fclose hides the failed
// final flush (the Windows runtime's, as measured under Wine), where only an
// explicit fflush finds the loss. Without this, glibc's fclose would report
// the failure itself and a missing fflush would go unnoticed here.
TEST(TimestampFileClose, TheTestRuntimeCloseHidesAFailedFinalFlushAsWindowsDoes) {
  const double times[3] = {1.0, 2.0, 3.0};
  for (bool flushFirst : {false, true}) {
    testing::TestStream file(testing::TestStream::Buffering::Buffered);
    file.AcceptOnly(8);
    file.HideWriteFailuresOnClose();
    ASSERT_EQ(std::fwrite(times, sizeof times, 1, file.file()), 1u) << "the times wait in the buffer";
    if (flushFirst) {
      EXPECT_NE(std::fflush(file.file()), 0) << "an explicit flush reports the loss";
    }
    EXPECT_EQ(std::fclose(file.file()), 0) << "the close reports nothing";
    EXPECT_EQ(file.bytes().size(), 8u);
    EXPECT_EQ(file.bytesLostOnClose(), flushFirst ? 0u : 16u);
  }
}

TEST(TimestampFileClose, TimesLostInTheFinalFlushGive9EvenWhenCloseReportsSuccess) {
  // A device that fills up: the buffered times cannot be written at the end.
  // glibc's fclose reports that; the Windows runtime's does not.
  for (bool closeHidesFailure : {false, true}) {
    SCOPED_TRACE(closeHidesFailure ? "fclose hides the failed flush" : "fclose reports the failed flush");
    Harness harness;
    harness.backends.wgcResult = ExitCode::Ok;
    harness.backends.wgcFrames = 3;
    FakeProcess process(LongForm());
    process.timestampRoom = 8;
    process.timestampCloseHidesFlushFailure = closeHidesFailure;
    EXPECT_EQ(harness.Run(process), ExitCode::WriteFailed);
    EXPECT_EQ(process.timestampFile()->closeCalls(), 1);
    EXPECT_EQ(process.timestampFile()->bytes().size(), 8u);
  }
}

TEST(TimestampFileClose, BufferedTimesReachTheFileOnASuccessfulClose) {
  Harness harness;
  harness.backends.wgcResult = ExitCode::Ok;
  harness.backends.wgcFrames = 3;
  FakeProcess process(LongForm());
  EXPECT_EQ(harness.Run(process), ExitCode::Ok);
  EXPECT_EQ(process.timestampFile()->bytes().size(), 24u);
}

TEST(TimestampFileClose, FailedCloseAfterTheFallbackGives9) {
  Harness harness;
  harness.backends.wgcResult = ExitCode::CaptureFailed;
  harness.backends.gdiResult = ExitCode::Ok;
  FakeProcess process(LongForm());
  process.FailTimestampClose();
  EXPECT_EQ(harness.Run(process), ExitCode::WriteFailed);
  EXPECT_EQ(process.timestampFile()->closeCalls(), 1);
}

}  // namespace
}  // namespace orvel
