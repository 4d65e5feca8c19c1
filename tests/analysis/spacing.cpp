#include "analysis/spacing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <vector>

namespace orvel::analysis {
namespace {

// The 1-based nearest rank of `percent` among n sorted values, as an index.
std::size_t NearestRankIndex(std::size_t n, double percent) {
  const double rank = std::ceil(percent / 100.0 * static_cast<double>(n));
  return static_cast<std::size_t>(std::clamp(rank, 1.0, static_cast<double>(n))) - 1;
}

}  // namespace

std::optional<double> NearestRankPercentile(std::span<const double> values, double percent) {
  if (values.empty()) return std::nullopt;
  std::vector<double> sorted(values.begin(), values.end());
  std::sort(sorted.begin(), sorted.end());
  return sorted[NearestRankIndex(sorted.size(), percent)];
}

std::optional<Spacing> MeasureSpacing(std::span<const double> times) {
  if (times.size() < 2) return std::nullopt;
  std::vector<double> gaps(times.size() - 1);
  for (std::size_t i = 1; i < times.size(); ++i) gaps[i - 1] = times[i] - times[i - 1];
  std::sort(gaps.begin(), gaps.end());
  Spacing spacing;
  spacing.gaps = gaps.size();
  spacing.min = gaps.front();
  spacing.max = gaps.back();
  spacing.median = gaps[NearestRankIndex(gaps.size(), 50)];
  spacing.p99 = gaps[NearestRankIndex(gaps.size(), 99)];
  // The sum of the gaps is the span of the run; taken directly, it does not
  // collect the rounding of every difference.
  spacing.mean = (times.back() - times.front()) / static_cast<double>(gaps.size());
  return spacing;
}

std::optional<double> FramesPerSlot(std::size_t frames, double from, double endTime, std::uint32_t fps) {
  if (fps == 0 || !(endTime > from)) return std::nullopt;
  return static_cast<double>(frames) / ((endTime - from) * fps);
}

std::string DescribeSpacing(const Spacing& spacing, std::uint32_t fps) {
  char text[256];
  std::snprintf(text, sizeof text,
                "%zu gaps: min %.3f ms, median %.3f ms, p99 %.3f ms, max %.3f ms, mean %.3f ms; requested %.3f ms",
                spacing.gaps, spacing.min * 1000, spacing.median * 1000, spacing.p99 * 1000, spacing.max * 1000,
                spacing.mean * 1000, fps == 0 ? 0.0 : 1000.0 / fps);
  return text;
}

}  // namespace orvel::analysis
