#pragma once
// The real platform's facts, probed once per process (see platform_facts.h).

#include "platform_facts.h"

namespace orvel::wintest {

// Probed on first use, on a thread of its own so that the Windows Runtime
// initialisation leaves the caller's apartment alone.
const PlatformFacts& Platform();

// Whether GetProcessTimes on another process gives its CPU time: measured on
// first use by starting this program again with kBurnCpuArgument (a process
// start plus about 0.3 s of CPU) and comparing its times before the burn
// with those after it ended.
bool ProcessTimesAreUsable();
const ProcessTimesProbe& ProcessTimes();

// The argument that makes a check program burn CPU and exit; check_main.cpp
// hands it to RunCpuBurn before GoogleTest sees the command line.
inline constexpr wchar_t kBurnCpuArgument[] = L"--orvel-burn-cpu";
// Prints "ready", waits for a line on standard input (or its end), keeps one
// core busy for about 0.3 s, prints "burned SECONDS" and returns 0.
int RunCpuBurn();

}  // namespace orvel::wintest
