#pragma once
// The check programs that orvel_checks.exe runs, in order. The release
// package carries exactly these (scripts/package reads the table in
// checks_table.cpp), so this is the one list of them.

#include <span>
#include <string_view>

namespace orvel::checks {

struct CheckProgram {
  std::string_view name;  // the file name without ".exe"
  int timeLimitSeconds;   // killed and failed after this long
};

std::span<const CheckProgram> CheckPrograms();

}  // namespace orvel::checks
