// ORVELCapture.exe in the five-argument form under Wine, started the way the
// parent starts it. Wine has no Windows Graphics Capture classes, so the
// backend fails at its first factory request: the run ends with 5, nothing
// on standard output and exactly one diagnostic line carrying Wine's
// HRESULT. That the line comes at all shows the program starts, with no
// import missing.

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "support/child_process.h"
#include "support/pattern_window.h"

namespace orvel::wintest {
namespace {

struct Outcome {
  DWORD exitCode;
  std::string output, errors;
};

Outcome RunFiveArgumentCapture(const PatternWindow& window) {
  ChildProcess capture(CommandLine({SiblingPath(L"ORVELCapture.exe"), window.windowArgument(), window.processArgument(),
                                    L"30", Decimal(NowSeconds() + 5.0)}));
  EXPECT_TRUE(capture.Wait(30000)) << "the helper did not end";
  return Outcome{capture.exitCode(), capture.output(), capture.errors()};
}

// "Windows Graphics Capture: 0x" and eight upper-case hexadecimal digits;
// standard error is in text mode, so the line ends in CR LF for the reader.
bool IsHResultLine(const std::string& text) {
  const std::string prefix = "Windows Graphics Capture: 0x";
  if (text.size() != prefix.size() + 8 + 2 || text.compare(0, prefix.size(), prefix) != 0) return false;
  for (std::size_t i = prefix.size(); i < prefix.size() + 8; ++i) {
    const char c = text[i];
    if (!std::isdigit(static_cast<unsigned char>(c)) && (c < 'A' || c > 'F')) return false;
  }
  return text.compare(text.size() - 2, 2, "\r\n") == 0;
}

TEST(WgcUnderWine, FiveArgumentFormEndsWith5AndOneLineWithWinesHResult) {
  PatternWindow window;
  const Outcome outcome = RunFiveArgumentCapture(window);

  EXPECT_EQ(outcome.exitCode, 5u);
  EXPECT_EQ(outcome.output, "");
  EXPECT_TRUE(IsHResultLine(outcome.errors)) << "'" << outcome.errors << "'";
  // REGDB_E_CLASSNOTREG: Wine registers no capture item class.
  EXPECT_EQ(outcome.errors, "Windows Graphics Capture: 0x80040154\r\n");
}

TEST(WgcUnderWine, MinimisedWindowEndsWith3AndNoLine) {
  PatternWindow window;
  window.Do("minimize");
  const Outcome outcome = RunFiveArgumentCapture(window);

  EXPECT_EQ(outcome.exitCode, 3u);
  EXPECT_EQ(outcome.output, "");
  EXPECT_EQ(outcome.errors, "");
}

}  // namespace
}  // namespace orvel::wintest
