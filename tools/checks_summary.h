#pragma once
// The lines of report\summary.txt, in order: the platform probe's lines, where
// the two deliverables were found, one line per check, the capture runs'
// figures as the checks recorded them, and the RESULT line. Portable.

#include <optional>
#include <string>
#include <vector>

#include "checks_verdict.h"

namespace orvel::checks {

// Where a deliverable was found: the index into the folders looked in (0
// beside the checks, 1 the folder above), or none.
struct DeliverableSearch {
  std::string fileName;              // "ORVELCapture.exe"
  std::vector<std::string> folders;  // UTF-8, in the order looked in
  std::optional<std::size_t> foundIn;
};

// "deliverable ORVELCapture.exe: found in the folder above the checks" or
// "deliverable ORVELCapture.exe: MISSING (looked in A and B; the checks that start it fail)".
std::string DeliverableLine(const DeliverableSearch& search);

// The non-empty lines of capture-runs.txt, line ends and trailing blanks
// dropped; one line saying so when the file is missing or holds none.
std::vector<std::string> CaptureRunLines(const std::optional<std::string>& captureRuns);

// Every check passed, and there was at least one.
bool AllPassed(const std::vector<CheckVerdict>& verdicts);

// "RESULT: PASS" when every check passed, else "RESULT: FAIL (k of n failed)".
// No check at all is a failure: nothing was proven.
std::string ResultLine(const std::vector<CheckVerdict>& verdicts);

struct SummaryParts {
  std::vector<std::string> platform;
  std::vector<std::string> deliverables;
  std::vector<CheckVerdict> verdicts;
  std::vector<std::string> captureRuns;
};

std::vector<std::string> SummaryLines(const SummaryParts& parts);

// The lines joined with CRLF, the last one ended too: the file a person
// opens in Notepad.
std::string SummaryText(const std::vector<std::string>& lines);

}  // namespace orvel::checks
