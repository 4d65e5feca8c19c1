#include "analysis/frame_times.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "analysis/problem_list.h"
#include "frame_pacer.h"

namespace orvel::analysis {
namespace {

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char text[256];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

}  // namespace

std::vector<std::string> CheckFrameTimes(std::span<const double> times, std::size_t records, const RunClock& run,
                                         PacingRule rule) {
  ProblemList problems;
  if (times.size() != records) {
    problems.Add("count", Format("%zu frame times for %zu records", times.size(), records));
  }
  if (run.fps == 0) {
    problems.Add("frame rate", "no frame rate to pace against");
    return problems.Lines();
  }
  FramePacer pacer(run.fps);
  for (std::size_t i = 0; i < times.size(); ++i) {
    const double t = times[i];
    // Written as negations so that a NaN time fails every test.
    if (!(t > run.launched)) {
      problems.Add("frames not after the launch",
                   Format("frame %zu at %.6f is not after the launch at %.6f", i, t, run.launched));
    }
    if (!(t < run.endTime)) {
      problems.Add("frames not before the end time",
                   Format("frame %zu at %.6f is not before the end time %.6f", i, t, run.endTime));
    }
    if (i > 0 && !(t > times[i - 1])) {
      problems.Add("frames not later than the one before",
                   Format("frame %zu at %.6f is not later than frame %zu at %.6f", i, t, i - 1, times[i - 1]));
    }
    const bool early = rule == PacingRule::Gdi ? !pacer.IsDue(t) : pacer.IsTooEarly(t);
    if (early) {
      problems.Add("frames ahead of the pacing grid",
                   Format("frame %zu at %.6f came %.6f s before its due time %.6f%s", i, t, pacer.nextDue() - t,
                          pacer.nextDue(), rule == PacingRule::Wgc ? " (0.0005 s allowed)" : ""));
    }
    // A time that is no number is reported above; it must not become the grid.
    if (std::isfinite(t)) pacer.Advance(t);
  }
  return problems.Lines();
}

std::optional<double> FirstFrameDelay(std::span<const double> times, double launched) {
  if (times.empty()) return std::nullopt;
  return times.front() - launched;
}

}  // namespace orvel::analysis
