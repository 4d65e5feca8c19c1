// Reading GoogleTest's XML report: counts, failed test names, and reports
// that are missing parts or are not GoogleTest's at all.

#include <gtest/gtest.h>

#include <string>

#include "checks_test_report.h"

namespace orvel::checks {
namespace {

// The shape GoogleTest 1.12 writes: a passed test, a skipped one, a
// disabled one, and parameterised names with escaped characters.
const std::string kPassing = R"(<?xml version="1.0" encoding="UTF-8"?>
<testsuites tests="4" failures="0" disabled="1" errors="0" time="0.5" timestamp="2026-12-10T10:00:00.000" name="AllTests">
  <testsuite name="Stream" tests="3" failures="0" disabled="1" skipped="1" errors="0" time="0.4" timestamp="2026-12-10T10:00:00.000">
    <testcase name="WritesFrames" file="a.cpp" line="10" status="run" result="completed" time="0.1" timestamp="2026-12-10T10:00:00.000" classname="Stream" />
    <testcase name="NeedsWindowsGraphicsCapture" file="a.cpp" line="20" status="run" result="skipped" time="0" timestamp="2026-12-10T10:00:00.100" classname="Stream">
      <skipped message="a.cpp:21&#x0A;no capture class here"><![CDATA[a.cpp:21
no capture class here]]></skipped>
    </testcase>
    <testcase name="DISABLED_Slow" file="a.cpp" line="30" status="notrun" result="suppressed" time="0" timestamp="2026-12-10T10:00:00.100" classname="Stream" />
  </testsuite>
  <testsuite name="Sizes/Grid" tests="1" failures="0" disabled="0" skipped="0" errors="0" time="0.1" timestamp="2026-12-10T10:00:00.400">
    <testcase name="Fits/1280x720" value_param="&quot;1280x720&quot; &lt;&amp;&gt;" file="b.cpp" line="5" status="run" result="completed" time="0.1" timestamp="2026-12-10T10:00:00.400" classname="Sizes/Grid" />
  </testsuite>
</testsuites>
)";

// Two failures, one inside a test and one outside any (a global set-up);
// the failure text holds markup that must not be read as elements.
const std::string kFailing = R"(<?xml version="1.0" encoding="UTF-8"?>
<testsuites tests="3" failures="1" disabled="0" errors="0" time="1" timestamp="2026-12-10T10:00:00.000" name="AllTests">
  <testsuite name="Chooser" tests="2" failures="1" disabled="0" skipped="0" errors="0" time="1" timestamp="2026-12-10T10:00:00.000">
    <testcase name="EnterPicksTheDefault" file="c.cpp" line="7" status="run" result="completed" time="0.5" timestamp="2026-12-10T10:00:00.000" classname="Chooser">
      <failure message="c.cpp:9&#x0A;Expected equality of &quot;2070&quot;" type=""><![CDATA[c.cpp:9
Expected: <testcase name="fake"> </testsuites> & more]]></failure>
      <failure message="second" type=""><![CDATA[second]]></failure>
    </testcase>
    <testcase name="EscCancels" file="c.cpp" line="20" status="run" result="completed" time="0.5" timestamp="2026-12-10T10:00:00.500" classname="Chooser" />
  </testsuite>
  <testsuite name="NonTestSuiteFailure" tests="1" failures="1" disabled="0" skipped="0" errors="0" time="0" timestamp="2026-12-10T10:00:01.000">
    <testcase name="" status="run" result="completed" classname="" time="0" timestamp="2026-12-10T10:00:01.000">
      <failure message="environment" type=""><![CDATA[environment]]></failure>
    </testcase>
  </testsuite>
</testsuites>
)";

TEST(TestReport, CountsPassedSkippedAndDisabledTests) {
  const TestReport report = ReadTestReport(kPassing);
  ASSERT_TRUE(report.complete) << report.problem;
  EXPECT_EQ(report.tests, 4);
  EXPECT_EQ(report.skipped, 1);
  EXPECT_EQ(report.disabled, 1);
  EXPECT_EQ(report.passed(), 2);
  EXPECT_FALSE(report.failed());
  EXPECT_TRUE(report.failedTests.empty());
}

TEST(TestReport, NamesEveryFailedTestOnceAndAFailureOutsideAnyTest) {
  const TestReport report = ReadTestReport(kFailing);
  ASSERT_TRUE(report.complete) << report.problem;
  EXPECT_EQ(report.tests, 3);
  EXPECT_TRUE(report.failed());
  EXPECT_EQ(report.failedTests, (std::vector<std::string>{"Chooser.EnterPicksTheDefault", "(outside any test)"}));
  EXPECT_EQ(report.passed(), 1);
}

TEST(TestReport, DecodesEscapedCharactersInNames) {
  const std::string xml = R"(<testsuites failures="1"><testsuite name="a">)"
                          R"(<testcase name="x&amp;y &#233;&#x4E2D;" classname="S&lt;int&gt;" status="run">)"
                          R"(<failure message="m"/></testcase></testsuite></testsuites>)";
  const TestReport report = ReadTestReport(xml);
  ASSERT_TRUE(report.complete) << report.problem;
  EXPECT_EQ(report.failedTests, (std::vector<std::string>{"S<int>.x&y \xC3\xA9\xE4\xB8\xAD"}));
}

TEST(TestReport, AFailureCountedAtTheRootButNotListedStillFails) {
  const TestReport report = ReadTestReport(R"(<testsuites tests="0" failures="0" errors="2"></testsuites>)");
  ASSERT_TRUE(report.complete) << report.problem;
  EXPECT_TRUE(report.failed());
  EXPECT_TRUE(report.failedTests.empty());
}

TEST(TestReport, ATestThatSkipsAfterFailingCountsAsFailed) {
  const TestReport report =
      ReadTestReport(R"(<testsuites><testsuite><testcase name="t" classname="S" status="run" result="skipped">)"
                     R"(<failure message="f"/><skipped message="s"/></testcase></testsuite></testsuites>)");
  ASSERT_TRUE(report.complete) << report.problem;
  EXPECT_EQ(report.failedTests, (std::vector<std::string>{"S.t"}));
  EXPECT_EQ(report.skipped, 0);
}

// A program that dies while writing leaves a prefix of its report: no prefix
// may pass for a whole report, whatever byte it stops at.
TEST(TestReport, EveryPrefixOfAReportIsCutShort) {
  for (const std::string* whole : {&kPassing, &kFailing}) {
    const std::size_t rootEnd = whole->rfind("</testsuites>") + std::string("</testsuites>").size();
    for (std::size_t length = 1; length < rootEnd; ++length) {
      const TestReport report = ReadTestReport(whole->substr(0, length));
      ASSERT_FALSE(report.complete) << "a report cut after " << length << " bytes passed as whole";
      ASSERT_EQ(report.problem, "test report cut short") << "cut after " << length << " bytes";
      ASSERT_EQ(report.tests, 0);
    }
    EXPECT_TRUE(ReadTestReport(whole->substr(0, rootEnd)).complete);
  }
}

TEST(TestReport, RejectsEmptyForeignAndHeadOnlyFiles) {
  const struct {
    const char* text;
    const char* problem;
  } kCases[] = {
      {"", "empty test report"},
      {" \r\n\t", "empty test report"},
      {"Segmentation fault", "not a GoogleTest report"},
      {"<html><body>x</body></html>", "not a GoogleTest report"},
      {"<testsuites><testsuite></testcase></testsuites>", "not a GoogleTest report"},
      {"<testsuites></testsuites><testsuites></testsuites>", "not a GoogleTest report"},
      {"<testsuites tests=3></testsuites>", "not a GoogleTest report"},
      {"<?xml version=\"1.0\"?>\n", "test report cut short"},
  };
  for (const auto& c : kCases) {
    const TestReport report = ReadTestReport(c.text);
    EXPECT_FALSE(report.complete) << c.text;
    EXPECT_EQ(report.problem, c.problem) << c.text;
  }
}

TEST(TestReport, AnEmptyRootIsAWholeReportOfNoTests) {
  for (const char* text : {"<testsuites tests=\"0\" name=\"AllTests\">\n</testsuites>\n", "<testsuites/>"}) {
    const TestReport report = ReadTestReport(text);
    EXPECT_TRUE(report.complete) << text;
    EXPECT_EQ(report.tests, 0) << text;
  }
}

}  // namespace
}  // namespace orvel::checks
