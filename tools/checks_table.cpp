#include "checks_table.h"

namespace orvel::checks {
namespace {

// Far above any check's run time on a slow machine, so that only a hung
// program reaches it.
constexpr int kLimit = 15 * 60;

// scripts/package takes the quoted names between the two marker lines: keep
// one entry per line.
// clang-format off
constexpr CheckProgram kChecks[] = {
    // check-programs-begin
    {"capture_command_line_test", kLimit},
    {"capture_adapter_test", kLimit},
    {"capture_runs_test", kLimit},
    {"capture_hostile_test", kLimit},
    {"plugin_host_tests", kLimit},
    {"installer_test", kLimit},
    // check-programs-end
};
// clang-format on

}  // namespace

std::span<const CheckProgram> CheckPrograms() { return kChecks; }

}  // namespace orvel::checks
