// The runner's table for its test against fake check programs: one of each
// ending, and one that is not there.

#include "checks_table.h"

namespace orvel::checks {
namespace {

constexpr CheckProgram kChecks[] = {
    {"fake_pass", 120}, {"fake_fail", 120}, {"fake_crash", 120}, {"fake_hang", 4}, {"fake_missing", 120},
};

}  // namespace

std::span<const CheckProgram> CheckPrograms() { return kChecks; }

}  // namespace orvel::checks
