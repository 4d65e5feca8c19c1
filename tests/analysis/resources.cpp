#include "analysis/resources.h"

#include <cmath>
#include <cstdio>

namespace orvel::analysis {

Figure CpuSecondsPerFrame(std::optional<double> cpuSeconds, bool platformTimesUsable, std::size_t frames) {
  if (!platformTimesUsable) return {std::nullopt, "not measured: this platform does not report the helper's CPU time"};
  if (!cpuSeconds) return {std::nullopt, "not measured: the platform gave no CPU time"};
  if (!std::isfinite(*cpuSeconds) || *cpuSeconds <= 0) {
    return {std::nullopt, "not measured: the platform reported no CPU time for a process that ran"};
  }
  if (frames == 0) return {std::nullopt, "not measured: no frames were written"};
  const double perFrame = *cpuSeconds / static_cast<double>(frames);
  char text[128];
  std::snprintf(text, sizeof text, "%.3f ms CPU per frame (%.3f s over %zu frames)", perFrame * 1000, *cpuSeconds,
                frames);
  return {perFrame, text};
}

Figure PeakWorkingSetMiB(std::optional<std::uint64_t> peakBytes) {
  if (!peakBytes) return {std::nullopt, "not measured: the platform gave no working set"};
  if (*peakBytes == 0) return {std::nullopt, "not measured: the platform reported a working set of 0"};
  const double mib = static_cast<double>(*peakBytes) / (1024.0 * 1024.0);
  char text[64];
  std::snprintf(text, sizeof text, "%.1f MiB peak working set", mib);
  return {mib, text};
}

}  // namespace orvel::analysis
