// ORVELCapture.exe started as a child process, the way the parent starts it,
// with command lines and window states that must be refused: the exit code,
// nothing on either stream, and no timestamp file where none may be made.
// Refusals come before any capture, so they are the same on every platform.
// The helper is found beside this program or one folder up (the release
// package's layout).

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/pattern_window.h"

namespace orvel::wintest {
namespace {

struct Outcome {
  DWORD exitCode;
  std::string output, errors;
};

Outcome RunCapture(const std::vector<std::wstring>& arguments) {
  // FindProgram, with a message naming the folders when it is in neither.
  std::wstring line = CommandLine({RequireProgram(L"ORVELCapture.exe")});
  for (const std::wstring& argument : arguments) line += L" " + CommandLine({argument});
  ChildProcess capture(line);
  EXPECT_TRUE(capture.Wait(30000)) << "the helper did not end";
  return Outcome{capture.exitCode(), capture.output(), capture.errors()};
}

// A handle value that names no window now. Handle values are the system's
// to hand out, so one is looked for rather than assumed.
std::uint64_t NoWindow() {
  for (std::uint64_t value = 12345678;; value += 2) {
    if (!::IsWindow(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value)))) return value;
  }
}

class RefusedCommandLines : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { window_ = new PatternWindow(); }
  static void TearDownTestSuite() {
    delete window_;
    window_ = nullptr;
  }

  // A valid eight-argument command line, with one entry replaced.
  std::vector<std::wstring> Valid(double secondsAhead = 5.0) const {
    return {window_->windowArgument(),
            window_->processArgument(),
            L"30",
            Decimal(NowSeconds() + secondsAhead),
            L"1280",
            L"720",
            timestampPath};
  }

  void ExpectRefused(const std::vector<std::wstring>& arguments, DWORD code) {
    const Outcome outcome = RunCapture(arguments);
    EXPECT_EQ(outcome.exitCode, code);
    EXPECT_EQ(outcome.output, "");
    EXPECT_EQ(outcome.errors, "");
    EXPECT_FALSE(FileExists(timestampPath)) << "no timestamp file for a refused command line";
  }

  static PatternWindow* window_;
  const std::wstring timestampPath = TemporaryPath(L"times");
};

PatternWindow* RefusedCommandLines::window_ = nullptr;

TEST_F(RefusedCommandLines, WrongNumberOfEntriesGives2) {
  auto arguments = Valid();
  for (std::size_t count : {0u, 3u, 5u, 6u}) {
    ExpectRefused(std::vector<std::wstring>(arguments.begin(), arguments.begin() + count), 2);
  }
  arguments.push_back(L"extra");
  ExpectRefused(arguments, 2);
}

TEST_F(RefusedCommandLines, WindowProblemsGive3) {
  auto zeroProcess = Valid();
  zeroProcess[1] = L"0";
  ExpectRefused(zeroProcess, 3);

  auto foreignOwner = Valid();
  foreignOwner[1] = std::to_wstring(::GetCurrentProcessId());
  ExpectRefused(foreignOwner, 3);

  auto notAWindow = Valid();
  notAWindow[0] = std::to_wstring(NoWindow());
  ExpectRefused(notAWindow, 3);

  wchar_t hexadecimal[32];
  std::swprintf(hexadecimal, 32, L"0x%llX", static_cast<unsigned long long>(window_->window()));
  auto hexHandle = Valid();
  hexHandle[0] = hexadecimal;
  ExpectRefused(hexHandle, 3);
}

TEST_F(RefusedCommandLines, FrameRateOtherThan30Or60Gives2UnlessTheWindowIsBad) {
  auto fps25 = Valid();
  fps25[2] = L"25";
  ExpectRefused(fps25, 2);
  fps25[1] = L"0";
  ExpectRefused(fps25, 3);
}

TEST_F(RefusedCommandLines, EndTimeOutsideTheNext65SecondsGives2) {
  // The parent's "now" is older than the helper's by the time it starts, so
  // the exact 65 s limit is held by the native tests; here a clear margin.
  for (double ahead : {-1.0, 0.0, 66.0, 90.0}) ExpectRefused(Valid(ahead), 2);
  for (const wchar_t* text : {L"soon", L"nan", L""}) {
    auto arguments = Valid();
    arguments[3] = text;
    ExpectRefused(arguments, 2);
  }
}

TEST_F(RefusedCommandLines, OutputSizeOtherThanTheTwoAllowedGives2AndCreatesNoFile) {
  for (auto [width, height] : {std::pair{L"1920", L"720"}, std::pair{L"1280", L"1080"}, std::pair{L"640", L"360"}}) {
    auto arguments = Valid();
    arguments[4] = width;
    arguments[5] = height;
    ExpectRefused(arguments, 2);
  }
}

TEST_F(RefusedCommandLines, TimestampFileInAMissingFolderGives4) {
  auto arguments = Valid();
  arguments[6] = TemporaryPath(L"missing-folder") + L"\\times.bin";
  ExpectRefused(arguments, 4);
}

TEST(RefusedWindowStates, MinimisedWindowGives3) {
  PatternWindow window;
  window.Do("minimize");
  const Outcome outcome =
      RunCapture({window.windowArgument(), window.processArgument(), L"30", Decimal(NowSeconds() + 5.0)});
  EXPECT_EQ(outcome.exitCode, 3u);
  EXPECT_EQ(outcome.output, "");
  EXPECT_EQ(outcome.errors, "");
}

TEST(RefusedWindowStates, ClosedWindowGives3) {
  std::wstring handle, process;
  {
    PatternWindow window;
    handle = window.windowArgument();
    process = window.processArgument();
  }
  const Outcome outcome = RunCapture({handle, process, L"60", Decimal(NowSeconds() + 5.0)});
  EXPECT_EQ(outcome.exitCode, 3u);
  EXPECT_EQ(outcome.output, "");
  EXPECT_EQ(outcome.errors, "");
}

}  // namespace
}  // namespace orvel::wintest
