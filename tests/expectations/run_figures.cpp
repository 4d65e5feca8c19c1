#include "expectations/run_figures.h"

#include <algorithm>
#include <cstdio>

#include "analysis/frame_times.h"
#include "analysis/resources.h"
#include "analysis/spacing.h"

namespace orvel::expectations {
namespace {

std::string Fixed(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string SlotFigures(const RunFigures& run) {
  // Slots after the helper had ended were never asked of it.
  const double until = run.ended > run.launched ? std::min(run.endTime, run.ended) : run.endTime;
  const std::size_t frames = run.times.size();
  std::string text = std::to_string(frames) + (frames == 1 ? " frame" : " frames");
  if (frames == 0) return text;
  const std::optional<double> steady = analysis::FramesPerSlot(frames, run.times.front(), until, run.fps);
  const std::optional<double> overall = analysis::FramesPerSlot(frames, run.launched, until, run.fps);
  text += steady ? Fixed(", %.3f per slot from the first frame", *steady) : ", no slots after the first frame";
  if (overall) text += Fixed(", %.3f from the launch", *overall);
  return text;
}

std::string SpacingFigures(const RunFigures& run) {
  const std::optional<analysis::Spacing> spacing = analysis::MeasureSpacing(run.times);
  if (!spacing) return "spacing not measured: fewer than two frames";
  return "spacing " + analysis::DescribeSpacing(*spacing, run.fps);
}

}  // namespace

std::string DescribeRunFigures(const RunFigures& run) {
  const analysis::Figure cpu = analysis::CpuSecondsPerFrame(run.cpuSeconds, run.cpuTimesUsable, run.times.size());
  const analysis::Figure memory = analysis::PeakWorkingSetMiB(run.peakWorkingSetBytes);
  const std::optional<double> first = analysis::FirstFrameDelay(run.times, run.launched);
  std::string text = run.backend + "; " + std::to_string(run.fps) + " fps for " +
                     Fixed("%.3f s", run.endTime - run.launched) + "; " + SlotFigures(run) + "; " +
                     SpacingFigures(run) + "; CPU " + cpu.text + "; memory " + memory.text + "; ";
  text += first ? Fixed("first frame %.3f s after the launch", *first) : "no first frame";
  return text;
}

}  // namespace orvel::expectations
