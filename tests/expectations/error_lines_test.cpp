// Standard error read as the parent reads it, against the expected lines.

#include "expectations/error_lines.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace orvel::expectations {
namespace {

const ErrorLine kClassNotRegistered{ErrorLine::Kind::HResult, static_cast<std::int32_t>(0x80040154)};
const ErrorLine kAnyHResult{ErrorLine::Kind::HResult, std::nullopt};
const ErrorLine kFallback{ErrorLine::Kind::Fallback, std::nullopt};

struct Case {
  const char* name;
  std::string errors;
  std::vector<ErrorLine> expected;
  const char* problem;  // a part of the problem, or nullptr for none
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ErrorLines : public ::testing::TestWithParam<Case> {};

TEST_P(ErrorLines, AcceptExactlyTheExpectedLines) {
  const Case& c = GetParam();
  const std::optional<std::string> problem = CheckErrorLines(c.errors, c.expected);
  if (c.problem == nullptr) {
    EXPECT_FALSE(problem) << *problem;
  } else {
    ASSERT_TRUE(problem);
    EXPECT_NE(problem->find(c.problem), std::string::npos) << *problem;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Streams, ErrorLines,
    ::testing::Values(
        Case{"NothingExpectedNothingWritten", "", {}, nullptr},
        Case{"FallbackAfterTheHResult",
             "Windows Graphics Capture: 0x80040154\r\nWindows Graphics Capture -> GDI (HWND)\r\n",
             {kClassNotRegistered, kFallback},
             nullptr},
        Case{"AnyHResult", "Windows Graphics Capture: 0x8007007F\r\n", {kAnyHResult}, nullptr},
        Case{"AnotherHResult",
             "Windows Graphics Capture: 0x80004002\r\n",
             {kClassNotRegistered},
             "line 1 of standard error is \"Windows Graphics Capture: 0x80004002\", not "
             "\"Windows Graphics Capture: 0x80040154\""},
        Case{"LowerCaseDigitsAreNotTheFormat",
             "Windows Graphics Capture: 0x8007007f\r\n",
             {kAnyHResult},
             "not \"Windows Graphics Capture: 0x????????\""},
        Case{"SevenDigitsAreNotTheFormat", "Windows Graphics Capture: 0x8007007\r\n", {kAnyHResult}, "line 1"},
        Case{"AMessageLineIsNoHResultLine", "Windows Graphics Capture: bad allocation\r\n", {kAnyHResult}, "line 1"},
        Case{"LinesInTheWrongOrder",
             "Windows Graphics Capture -> GDI (HWND)\r\nWindows Graphics Capture: 0x80040154\r\n",
             {kClassNotRegistered, kFallback},
             "line 1 of standard error is \"Windows Graphics Capture -> GDI (HWND)\""},
        Case{"AnUnexpectedLine",
             "Windows Graphics Capture: 0x80004002\r\n",
             {},
             "1 lines on standard error, not 0; standard error should be empty; it was "},
        Case{"AMissingFallbackLine",
             "Windows Graphics Capture: 0x80040154\r\n",
             {kClassNotRegistered, kFallback},
             "1 lines on standard error, not 2"},
        // Standard error is in text mode: a bare LF means it was not.
        Case{"BareLineFeed",
             "Windows Graphics Capture: 0x80040154\n",
             {kClassNotRegistered},
             "does not end in CR LF; standard error should be \"Windows Graphics Capture: 0x80040154\", each line "
             "ending in CR LF; it was \"Windows Graphics Capture: 0x80040154\\n\""}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(ErrorLineText, IsWhatTheHelperPrints) {
  EXPECT_EQ(LineText(kClassNotRegistered), "Windows Graphics Capture: 0x80040154");
  EXPECT_EQ(LineText(ErrorLine{ErrorLine::Kind::HResult, 5}), "Windows Graphics Capture: 0x00000005");
  EXPECT_EQ(LineText(kFallback), "Windows Graphics Capture -> GDI (HWND)");
}

}  // namespace
}  // namespace orvel::expectations
