// The verdict on one check program, for every way a run can end.

#include <gtest/gtest.h>

#include <string>

#include "checks_verdict.h"

namespace orvel::checks {
namespace {

const std::string kPassingXml =
    R"(<?xml version="1.0" encoding="UTF-8"?>)"
    "\n"
    R"(<testsuites tests="3" failures="0" disabled="0" errors="0" name="AllTests">)"
    R"(<testsuite name="S" tests="3"><testcase name="a" status="run" result="completed" classname="S" />)"
    R"(<testcase name="b" status="run" result="completed" classname="S" />)"
    R"(<testcase name="c" status="run" result="skipped" classname="S"><skipped message="no capture"/></testcase>)"
    "</testsuite></testsuites>\n";

const std::string kFailingXml = R"(<testsuites tests="3" failures="1"><testsuite name="S" tests="3">)"
                                R"(<testcase name="a" status="run" classname="S" />)"
                                R"(<testcase name="b" status="run" classname="S"><failure message="x"/></testcase>)"
                                R"(<testcase name="c" status="run" classname="S" /></testsuite></testsuites>)";

const std::string kNoTestsXml = R"(<testsuites tests="0" failures="0" name="AllTests"></testsuites>)";

CheckRun Exited(std::uint32_t code, std::optional<std::string> report) {
  CheckRun run;
  run.end = RunEnd::kExited;
  run.exitCode = code;
  run.report = std::move(report);
  return run;
}

CheckRun Ended(RunEnd end) {
  CheckRun run;
  run.end = end;
  run.timeLimitSeconds = 900;
  run.startError = 193;
  run.report = kPassingXml;  // whatever is lying there does not count
  return run;
}

TEST(CheckVerdict, EachWayARunEndsGivesItsLine) {
  const struct {
    const char* what;
    CheckRun run;
    bool passed;
    const char* line;
  } kCases[] = {
      {"passed", Exited(0, kPassingXml), true, "check c: PASS (2 tests, 1 skipped)"},
      {"failed tests", Exited(1, kFailingXml), false, "check c: FAIL (exit code 1; 1 of 3 tests failed: S.b)"},
      {"crashed: a code and no report", Exited(0xC0000005, std::nullopt), false,
       "check c: FAIL (exit code 0xC0000005; no test report)"},
      {"ended 0 without a report", Exited(0, std::nullopt), false, "check c: FAIL (no test report)"},
      {"died while writing its report", Exited(3, kPassingXml.substr(0, 200)), false,
       "check c: FAIL (exit code 3; test report cut short)"},
      {"left an empty report", Exited(0, ""), false, "check c: FAIL (empty test report)"},
      {"report names failures, exit code 0", Exited(0, kFailingXml), false, "check c: FAIL (1 of 3 tests failed: S.b)"},
      {"clean report, exit code 1", Exited(1, kPassingXml), false, "check c: FAIL (exit code 1)"},
      {"ran no test", Exited(0, kNoTestsXml), false, "check c: FAIL (the report lists no test)"},
      {"missing", Ended(RunEnd::kMissing), false, "check c: FAIL (missing: c.exe is not in the check folder)"},
      {"not started", Ended(RunEnd::kNotStarted), false, "check c: FAIL (could not be started: system error 193)"},
      {"hung", Ended(RunEnd::kTimedOut), false, "check c: FAIL (did not end within 15 min and was killed)"},
  };
  for (const auto& c : kCases) {
    const CheckVerdict verdict = JudgeCheck("c", c.run);
    EXPECT_EQ(verdict.name, "c");
    EXPECT_EQ(verdict.passed, c.passed) << c.what;
    EXPECT_EQ(verdict.line, c.line) << c.what;
  }
}

TEST(CheckVerdict, ManyFailuresNameTheFirstTenAndCountTheRest) {
  std::string xml = R"(<testsuites failures="12"><testsuite name="S">)";
  for (int i = 0; i < 12; ++i) {
    xml += R"(<testcase name="t)" + std::to_string(i) + R"(" classname="S"><failure message="x"/></testcase>)";
  }
  xml += "</testsuite></testsuites>";
  EXPECT_EQ(JudgeCheck("c", Exited(1, xml)).line,
            "check c: FAIL (exit code 1; 12 of 12 tests failed: S.t0, S.t1, S.t2, S.t3, S.t4, S.t5, S.t6, S.t7, S.t8, "
            "S.t9 and 2 more)");
}

TEST(CheckVerdict, CodesAndDurationsReadNaturally) {
  EXPECT_EQ(ExitCodeText(0), "0");
  EXPECT_EQ(ExitCodeText(9009), "9009");
  EXPECT_EQ(ExitCodeText(0xC0000409), "0xC0000409");
  EXPECT_EQ(ExitCodeText(0xFFFFFFFF), "0xFFFFFFFF");
  EXPECT_EQ(DurationText(900), "15 min");
  EXPECT_EQ(DurationText(60), "1 min");
  EXPECT_EQ(DurationText(4), "4 s");
  EXPECT_EQ(DurationText(90), "90 s");
}

}  // namespace
}  // namespace orvel::checks
