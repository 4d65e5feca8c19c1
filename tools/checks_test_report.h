#pragma once
// What a check program's GoogleTest XML report says: how many tests it
// listed, how many were skipped or disabled, and which failed. A report that
// is missing, empty, cut short or not GoogleTest's is not complete, and the
// runner never counts such a check as passed. Portable.

#include <string>
#include <string_view>
#include <vector>

namespace orvel::checks {

struct TestReport {
  // One closed <testsuites> root was read. When false, `problem` says why
  // and the counts are 0.
  bool complete = false;
  std::string problem;

  int tests = 0;     // test cases listed
  int skipped = 0;   // ran and skipped themselves (and did not fail)
  int disabled = 0;  // listed but not run
  // "Suite.Name" of every test case with a failure, in report order; a
  // failure outside any test (a global set-up) is named "(outside any test)".
  std::vector<std::string> failedTests;
  // The root's failures and errors attributes, kept so that a report whose
  // root counts failures it does not list still fails.
  int rootFailures = 0;

  int passed() const { return tests - skipped - disabled - static_cast<int>(failedTests.size()); }
  bool failed() const { return !failedTests.empty() || rootFailures > 0; }
};

TestReport ReadTestReport(std::string_view xml);

}  // namespace orvel::checks
