// The table of check programs, and the package script's reading of it: the
// package must carry exactly the programs the runner runs.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "checks_table.h"

namespace orvel::checks {
namespace {

TEST(CheckTable, NamesAreUniquePlainFileNamesWithATimeLimit) {
  std::set<std::string_view> seen;
  ASSERT_FALSE(CheckPrograms().empty());
  for (const CheckProgram& check : CheckPrograms()) {
    EXPECT_TRUE(seen.insert(check.name).second) << check.name << " twice";
    EXPECT_FALSE(check.name.empty());
    EXPECT_EQ(check.name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_"),
              std::string_view::npos)
        << check.name;
    EXPECT_GT(check.timeLimitSeconds, 0) << check.name;
  }
}

TEST(CheckTable, ThePackageScriptListsTheSameProgramsInTheSameOrder) {
  const std::string command = "'" ORVEL_SOURCE_DIR "/scripts/package' --list-checks";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  ASSERT_NE(pipe, nullptr);
  std::vector<std::string> listed;
  char line[256];
  while (std::fgets(line, sizeof line, pipe.get()) != nullptr) {
    std::string name(line);
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
    listed.push_back(name);
  }
  std::vector<std::string> table;
  for (const CheckProgram& check : CheckPrograms()) table.emplace_back(check.name);
  EXPECT_EQ(listed, table);
}

}  // namespace
}  // namespace orvel::checks
