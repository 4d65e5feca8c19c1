// The summary's lines: where the deliverables are, the capture runs'
// figures, and the RESULT line that a person and a script read last.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checks_summary.h"

namespace orvel::checks {
namespace {

CheckVerdict Verdict(const std::string& name, bool passed) {
  return {name, passed, "check " + name + (passed ? ": PASS (1 test)" : ": FAIL (exit code 1)")};
}

TEST(Summary, CountsFailedChecksOfAllChecks) {
  const struct {
    std::vector<CheckVerdict> verdicts;
    const char* result;
    bool allPassed;
  } kCases[] = {
      {{Verdict("a", true)}, "RESULT: PASS", true},
      {{Verdict("a", true), Verdict("b", true), Verdict("c", true)}, "RESULT: PASS", true},
      {{Verdict("a", false)}, "RESULT: FAIL (1 of 1 failed)", false},
      {{Verdict("a", true), Verdict("b", false), Verdict("c", true), Verdict("d", false), Verdict("e", true)},
       "RESULT: FAIL (2 of 5 failed)",
       false},
      {{}, "RESULT: FAIL (0 of 0 failed)", false},  // nothing proven
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(ResultLine(c.verdicts), c.result);
    EXPECT_EQ(AllPassed(c.verdicts), c.allPassed) << c.result;
  }
}

TEST(Summary, LinesComeInTheirOrderWithTheResultLast) {
  SummaryParts parts;
  parts.platform = {"platform: Windows 10.0 build 19045", "platform: capture item factory: available (0x00000000)"};
  parts.deliverables = {"deliverable ORVELCapture.exe: found in the folder above the checks"};
  parts.verdicts = {Verdict("a", true), Verdict("b", false)};
  parts.captureRuns = {"capture run gdi 30 fps: 90 frames"};
  EXPECT_EQ(SummaryLines(parts), (std::vector<std::string>{
                                     "platform: Windows 10.0 build 19045",
                                     "platform: capture item factory: available (0x00000000)",
                                     "deliverable ORVELCapture.exe: found in the folder above the checks",
                                     "check a: PASS (1 test)",
                                     "check b: FAIL (exit code 1)",
                                     "capture run gdi 30 fps: 90 frames",
                                     "RESULT: FAIL (1 of 2 failed)",
                                 }));
  EXPECT_EQ(SummaryText({"one", "two"}), "one\r\ntwo\r\n");
}

TEST(Summary, CaptureRunLinesAreCopiedWithoutBlankLinesOrLineEnds) {
  EXPECT_EQ(CaptureRunLines(std::string("capture run a: 1\r\ncapture run b: 2\n\n \r\ncapture run c: 3  ")),
            (std::vector<std::string>{"capture run a: 1", "capture run b: 2", "capture run c: 3"}));
  EXPECT_EQ(CaptureRunLines(std::string("capture run \xC3\xA9: 1\n")),
            (std::vector<std::string>{"capture run \xC3\xA9: 1"}));
  for (const std::optional<std::string>& nothing : {std::optional<std::string>(), std::optional<std::string>("\r\n")}) {
    EXPECT_EQ(CaptureRunLines(nothing), (std::vector<std::string>{"capture runs: none recorded"}));
  }
}

TEST(Summary, DeliverableLinesSayWhereOrWhereNot) {
  const std::vector<std::string> folders = {"C:\\kit \xC3\xA9\\check\\", "C:\\kit \xC3\xA9\\"};
  EXPECT_EQ(DeliverableLine({"ORVELIdioma.dll", folders, 0}), "deliverable ORVELIdioma.dll: found beside the checks");
  EXPECT_EQ(DeliverableLine({"ORVELCapture.exe", folders, 1}),
            "deliverable ORVELCapture.exe: found in the folder above the checks");
  EXPECT_EQ(DeliverableLine({"ORVELCapture.exe", folders, std::nullopt}),
            "deliverable ORVELCapture.exe: MISSING (looked in C:\\kit \xC3\xA9\\check\\ and C:\\kit \xC3\xA9\\; the "
            "checks that use it fail)");
}

}  // namespace
}  // namespace orvel::checks
