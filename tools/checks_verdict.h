#pragma once
// The verdict on one check program: PASS only when it exited 0 and left a
// complete GoogleTest report that names no failure and lists some test;
// otherwise FAIL with every reason found. Portable.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvel::checks {

enum class RunEnd {
  kExited,      // the program ran and ended by itself
  kTimedOut,    // it was still running at its time limit and was killed
  kMissing,     // its file is not in the check folder
  kNotStarted,  // the file is there but the system would not start it
};

struct CheckRun {
  RunEnd end = RunEnd::kExited;
  std::uint32_t exitCode = 0;         // when it exited
  std::uint32_t startError = 0;       // the system's error code when it did not start
  int timeLimitSeconds = 0;           // the limit it was given
  std::optional<std::string> report;  // its XML report's bytes; none when there is no file
};

struct CheckVerdict {
  std::string name;
  bool passed = false;
  std::string line;  // "check NAME: PASS (12 tests)" or "check NAME: FAIL (reasons)"
};

CheckVerdict JudgeCheck(std::string_view name, const CheckRun& run);

// "3", or "0xC0000005" for the large codes that crashes and NTSTATUS values use.
std::string ExitCodeText(std::uint32_t code);

// "15 min" for whole minutes, else "40 s".
std::string DurationText(int seconds);

}  // namespace orvel::checks
