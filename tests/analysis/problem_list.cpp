#include "analysis/problem_list.h"

#include <utility>

namespace orvel::analysis {

void ProblemList::Add(const std::string& kind, std::string text) {
  auto [it, inserted] = groups_.try_emplace(kind);
  if (inserted) order_.push_back(kind);
  Group& group = it->second;
  ++group.count;
  if (group.examples.size() < examplesPerKind_) group.examples.push_back(std::move(text));
}

std::vector<std::string> ProblemList::Lines() const {
  std::vector<std::string> lines;
  for (const std::string& kind : order_) {
    const Group& group = groups_.at(kind);
    lines.insert(lines.end(), group.examples.begin(), group.examples.end());
    if (group.count > group.examples.size()) {
      lines.push_back("... and " + std::to_string(group.count - group.examples.size()) + " more: " + kind);
    }
  }
  return lines;
}

}  // namespace orvel::analysis
