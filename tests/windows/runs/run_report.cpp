#include "run_report.h"

#include <cstdio>
#include <set>

#include "expectations/run_figures.h"
#include "support/platform_probe.h"
#include "support/report.h"

namespace orvel::wintest {
namespace {

void SaveFrame(const std::string& name, const analysis::FrameView& frame) {
  if (frame.complete() && !frame.bytes.empty()) SaveFrameImage(name, frame.bytes.data(), frame.width, frame.height);
}

void SaveFirstAndLast(const std::string& name, const CaptureRun& run) {
  if (run.headed) {
    if (const auto first = run.headed->Record(0)) SaveFrame(name + "-first", first->view());
    if (const auto last = run.headed->LastRecord()) SaveFrame(name + "-last", last->view());
  } else if (run.bare) {
    const std::vector<std::uint8_t> first = run.bare->Record(0);
    const std::vector<std::uint8_t> last = run.bare->LastRecord();
    SaveFrame(name + "-first", analysis::FrameView{first, run.bare->width(), run.bare->height()});
    SaveFrame(name + "-last", analysis::FrameView{last, run.bare->width(), run.bare->height()});
  }
}

}  // namespace

void ReportRun(const std::string& name, const CaptureRun& run, std::uint32_t fps,
               const expectations::RunExpectation& expectation) {
  if (run.times.empty() && run.records() == 0) return;
  expectations::RunFigures figures;
  figures.backend = expectation.backend;
  figures.fps = fps;
  figures.launched = run.launched;
  figures.endTime = run.endTime;
  figures.ended = run.ended;
  figures.times = run.times;
  figures.cpuSeconds = run.resources.cpuSeconds;
  figures.cpuTimesUsable = ProcessTimesAreUsable();
  figures.peakWorkingSetBytes = run.resources.peakWorkingSetBytes;
  ReportCaptureRun(name, expectations::DescribeRunFigures(figures));
  SaveFirstAndLast(name, run);
}

void SayNotice(const expectations::RunExpectation& expectation) {
  static std::set<std::string> said;
  if (expectation.notice.empty() || !said.insert(expectation.notice).second) return;
  std::printf("note: %s; the eight-argument form falls back to GDI here, which is not a failure\n",
              expectation.notice.c_str());
  std::fflush(stdout);
}

}  // namespace orvel::wintest
