#pragma once
// The figures of one capture run as one report line: frames per requested
// slot, the spacing of the frame times against the requested interval, the
// helper's CPU time per frame and peak working set (or why the platform
// gave none), and how long the first frame took. Figures to read, never
// held to a limit. Portable.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvel::expectations {

struct RunFigures {
  std::string backend;  // who wrote the frames (RunExpectation::backend)
  std::uint32_t fps = 0;
  double launched = 0;        // the parent's clock just before the start
  double endTime = 0;         // the end time on the command line
  double ended = 0;           // the parent's clock once the helper had ended
  std::vector<double> times;  // one per written frame
  std::optional<double> cpuSeconds;
  bool cpuTimesUsable = false;  // whether the platform reports other processes' CPU time
  std::optional<std::uint64_t> peakWorkingSetBytes;
};

// "GDI fallback (...); 30 fps for 2.500 s; 74 frames, 0.990 per slot from
// the first frame, 0.912 from the launch; spacing 73 gaps: ...; CPU ...;
// memory ...; first frame 0.171 s after the launch". A run that ended
// before its end time counts its slots up to its end.
std::string DescribeRunFigures(const RunFigures& run);

}  // namespace orvel::expectations
