#pragma once
// Human-readable problems found by a check, grouped by kind so that a run
// with a thousand bad frames prints a few examples and a count, not a
// thousand lines.

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace orvel::analysis {

class ProblemList {
 public:
  explicit ProblemList(std::size_t examplesPerKind = 5) : examplesPerKind_(examplesPerKind) {}

  // `kind` names the group in the summary line ("frames before their due time").
  void Add(const std::string& kind, std::string text);
  bool empty() const { return order_.empty(); }
  // The examples of each kind in order of first appearance, each kind
  // followed by "... and N more: <kind>" when some were left out.
  std::vector<std::string> Lines() const;

 private:
  struct Group {
    std::vector<std::string> examples;
    std::size_t count = 0;
  };
  std::size_t examplesPerKind_;
  std::vector<std::string> order_;
  std::map<std::string, Group> groups_;
};

}  // namespace orvel::analysis
