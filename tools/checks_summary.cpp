#include "checks_summary.h"

#include <algorithm>

namespace orvel::checks {

std::string DeliverableLine(const DeliverableSearch& search) {
  const std::string head = "deliverable " + search.fileName + ": ";
  if (search.foundIn) {
    return head + (*search.foundIn == 0 ? "found beside the checks" : "found in the folder above the checks");
  }
  std::string folders;
  for (std::size_t i = 0; i < search.folders.size(); ++i) {
    if (i > 0) folders += i + 1 == search.folders.size() ? " and " : ", ";
    folders += search.folders[i];
  }
  return head + "MISSING (looked in " + (folders.empty() ? "no folder" : folders) + "; the checks that use it fail)";
}

std::vector<std::string> CaptureRunLines(const std::optional<std::string>& captureRuns) {
  std::vector<std::string> lines;
  if (captureRuns) {
    std::size_t start = 0;
    while (start <= captureRuns->size()) {
      std::size_t end = captureRuns->find('\n', start);
      if (end == std::string::npos) end = captureRuns->size();
      std::string line = captureRuns->substr(start, end - start);
      while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
      if (!line.empty()) lines.push_back(std::move(line));
      start = end + 1;
    }
  }
  if (lines.empty()) lines.push_back("capture runs: none recorded");
  return lines;
}

bool AllPassed(const std::vector<CheckVerdict>& verdicts) {
  return !verdicts.empty() &&
         std::all_of(verdicts.begin(), verdicts.end(), [](const CheckVerdict& v) { return v.passed; });
}

std::string ResultLine(const std::vector<CheckVerdict>& verdicts) {
  if (AllPassed(verdicts)) return "RESULT: PASS";
  const auto failed = std::count_if(verdicts.begin(), verdicts.end(), [](const CheckVerdict& v) { return !v.passed; });
  return "RESULT: FAIL (" + std::to_string(failed) + " of " + std::to_string(verdicts.size()) + " failed)";
}

std::vector<std::string> SummaryLines(const SummaryParts& parts) {
  std::vector<std::string> lines = parts.platform;
  lines.insert(lines.end(), parts.deliverables.begin(), parts.deliverables.end());
  for (const CheckVerdict& verdict : parts.verdicts) lines.push_back(verdict.line);
  lines.insert(lines.end(), parts.captureRuns.begin(), parts.captureRuns.end());
  lines.push_back(ResultLine(parts.verdicts));
  return lines;
}

std::string SummaryText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace orvel::checks
