#pragma once
// Checks of one run's frame times against the rules the helper keeps: one
// time per record, each strictly inside (launched, endTime), strictly
// increasing, and on the pacing grid of FramePacer (capture/frame_pacer.h).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvel::analysis {

// Which gate let the frames through.
enum class PacingRule {
  Gdi,  // IsDue: never before the due time
  Wgc,  // IsTooEarly: never more than FramePacer::kEarlyTolerance (0.0005 s) before it
};

struct RunClock {
  double launched = 0;  // the parent's clock just before it started the helper
  double endTime = 0;   // the end time on the command line
  std::uint32_t fps = 0;
};

// Problems in human-readable form; empty when every rule holds. `records`
// is the number of whole records on standard output (each needs one time).
std::vector<std::string> CheckFrameTimes(std::span<const double> times, std::size_t records, const RunClock& run,
                                         PacingRule rule);

// How long after the launch the first frame was taken; none without frames.
std::optional<double> FirstFrameDelay(std::span<const double> times, double launched);

}  // namespace orvel::analysis
