#include "checks_verdict.h"

#include <cstdio>
#include <vector>

#include "checks_test_report.h"

namespace orvel::checks {
namespace {

// Enough names to act on; the rest are in the XML and the log.
constexpr std::size_t kNamesShown = 10;

std::string Tests(int count) { return std::to_string(count) + (count == 1 ? " test" : " tests"); }

std::string FailedTestsText(const TestReport& report) {
  const std::vector<std::string>& names = report.failedTests;
  if (names.empty()) {
    return "the report counts " + std::to_string(report.rootFailures) + " failures but names no failed test";
  }
  std::string text = std::to_string(names.size()) + " of " + Tests(report.tests) + " failed: ";
  for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i) {
    if (i > 0) text += ", ";
    text += names[i];
  }
  if (names.size() > kNamesShown) text += " and " + std::to_string(names.size() - kNamesShown) + " more";
  return text;
}

std::string PassText(const TestReport& report) {
  std::string text = Tests(report.passed());
  if (report.skipped > 0) text += ", " + std::to_string(report.skipped) + " skipped";
  if (report.disabled > 0) text += ", " + std::to_string(report.disabled) + " disabled";
  return text;
}

// Why a program that ran is not a pass; empty when it passed.
std::vector<std::string> ReasonsAfterExit(const CheckRun& run, const TestReport& report) {
  std::vector<std::string> reasons;
  if (run.exitCode != 0) reasons.push_back("exit code " + ExitCodeText(run.exitCode));
  if (!run.report) {
    reasons.push_back("no test report");
  } else if (!report.complete) {
    reasons.push_back(report.problem);
  } else if (report.failed()) {
    reasons.push_back(FailedTestsText(report));
  } else if (report.tests == 0) {
    // A filter or build that left no test proves nothing.
    reasons.push_back("the report lists no test");
  }
  return reasons;
}

std::string Join(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) {
    if (!text.empty()) text += "; ";
    text += part;
  }
  return text;
}

}  // namespace

std::string ExitCodeText(std::uint32_t code) {
  if (code < 0x10000) return std::to_string(code);
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(code));
  return text;
}

std::string DurationText(int seconds) {
  if (seconds > 0 && seconds % 60 == 0) return std::to_string(seconds / 60) + " min";
  return std::to_string(seconds) + " s";
}

CheckVerdict JudgeCheck(std::string_view name, const CheckRun& run) {
  CheckVerdict verdict;
  verdict.name = std::string(name);
  const std::string head = "check " + verdict.name + ": ";
  std::vector<std::string> reasons;
  const TestReport report = run.end == RunEnd::kExited && run.report ? ReadTestReport(*run.report) : TestReport{};
  switch (run.end) {
    case RunEnd::kMissing:
      reasons.push_back("missing: " + verdict.name + ".exe is not in the check folder");
      break;
    case RunEnd::kNotStarted:
      reasons.push_back("could not be started: system error " + std::to_string(run.startError));
      break;
    case RunEnd::kTimedOut:
      reasons.push_back("did not end within " + DurationText(run.timeLimitSeconds) + " and was killed");
      break;
    case RunEnd::kExited:
      reasons = ReasonsAfterExit(run, report);
      break;
  }
  verdict.passed = reasons.empty();
  verdict.line = head + (verdict.passed ? "PASS (" + PassText(report) + ")" : "FAIL (" + Join(reasons) + ")");
  return verdict;
}

}  // namespace orvel::checks
