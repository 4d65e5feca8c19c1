#pragma once
// How evenly a run's frames are spaced, and how many of the requested slots
// got a frame. Figures to report, not to assert.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace orvel::analysis {

// Statistics of the gaps between successive frame times, in seconds.
// Percentiles use the nearest-rank method: the p-th percentile of n sorted
// values is the value at 1-based rank ceil(p / 100 * n). The median is the
// 50th percentile by that method, so for an even count it is the lower of
// the two middle values (always one of the gaps, never an average).
struct Spacing {
  std::size_t gaps = 0;
  double min = 0, median = 0, p99 = 0, max = 0, mean = 0;
};

// None with fewer than two times.
std::optional<Spacing> MeasureSpacing(std::span<const double> times);

// Nearest-rank percentile of `values` (unsorted is fine); none when empty.
// `percent` in (0, 100].
std::optional<double> NearestRankPercentile(std::span<const double> values, double percent);

// Frames delivered per requested slot: frames / ((endTime - from) * fps),
// where the slots are the requested intervals of 1 / fps between `from` and
// the end time, counted as a real number (no rounding). With `from` = the
// launch, the start-up counts as missed slots; with `from` = the first
// frame's time it measures the steady rate, and a run that filled every
// slot gives between 1 and 1 + 1 / slots (the first slot starts at the
// first frame). None when endTime is not after `from` or fps is 0.
std::optional<double> FramesPerSlot(std::size_t frames, double from, double endTime, std::uint32_t fps);

// One line: "n gaps: min ... ms, median ... ms, p99 ... ms, max ... ms,
// mean ... ms; requested 33.333 ms".
std::string DescribeSpacing(const Spacing& spacing, std::uint32_t fps);

}  // namespace orvel::analysis
