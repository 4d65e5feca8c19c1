#pragma once
// CPU time per frame and peak working set of the helper, as the platform
// reported them. A platform may give nothing, or zeros (Wine reports next to
// no CPU time for another process, and a working set of 0 once it has
// ended): then the figure is absent and the text says so, never a false 0.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace orvel::analysis {

struct Figure {
  std::optional<double> value;  // absent when the platform gave no usable answer
  std::string text;             // the value with its unit, or why there is none
};

// CPU seconds (user + kernel) divided by frames written.
// `platformTimesUsable` is false where the platform is known to report
// another process's times wrongly (under Wine). Zero seconds is no answer:
// a process that wrote frames used some CPU.
Figure CpuSecondsPerFrame(std::optional<double> cpuSeconds, bool platformTimesUsable, std::size_t frames);

// Peak working set in MiB; zero is no answer (a running process always
// holds some memory).
Figure PeakWorkingSetMiB(std::optional<std::uint64_t> peakBytes);

}  // namespace orvel::analysis
