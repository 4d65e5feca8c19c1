#include "capture_run.h"

#include "analysis/timestamp_file.h"

namespace orvel::wintest {

std::size_t CaptureRun::records() const { return headed ? headed->records() : bare ? bare->records() : 0; }

std::vector<std::string> CaptureRun::StreamProblems(bool partialRecordAllowed) const {
  if (headed) return headed->Problems(partialRecordAllowed);
  if (bare) return bare->Problems(partialRecordAllowed);
  return {};
}

CaptureRun RunCapture(const PatternWindow& window, const CaptureRunSettings& settings) {
  const bool bareForm = settings.form == expectations::Form::Bare;
  const std::wstring timestamps = !bareForm                        ? std::wstring()
                                  : settings.timestampPath.empty() ? TemporaryPath(L"runs")
                                                                   : settings.timestampPath;

  CaptureRun run;
  ChildProcess::Options options;
  if (bareForm) {
    run.bare = std::make_unique<analysis::BareStreamCollector>(settings.width, settings.height, settings.keep);
    options.onOutput = [sink = run.bare.get()](const char* data, std::size_t size) { sink->Take(data, size); };
  } else {
    run.headed = std::make_unique<analysis::HeadedStreamCollector>(settings.keep);
    options.onOutput = [sink = run.headed.get()](const char* data, std::size_t size) { sink->Take(data, size); };
  }
  options.closeOutputAfter = settings.closeOutputAfter;

  run.launched = NowSeconds();
  run.endTime = run.launched + settings.seconds;
  std::wstring line = CommandLine({RequireProgram(L"ORVELCapture.exe"), window.windowArgument(),
                                   window.processArgument(), std::to_wstring(settings.fps), Decimal(run.endTime)});
  if (bareForm) {
    line += L" " + CommandLine({std::to_wstring(settings.width), std::to_wstring(settings.height), timestamps});
  }
  {
    ChildProcess helper(line, options);
    // The helper ends by its end time; the margin covers a slow start and teardown.
    run.endedInTime = helper.Wait(static_cast<DWORD>(settings.seconds * 1000) + 20000);
    run.ended = NowSeconds();
    run.exitCode = helper.exitCode();
    run.errors = helper.errors();
    run.outputBytes = helper.outputBytes();
    run.resources = helper.resources();
  }

  if (run.headed) run.times = run.headed->times();
  if (bareForm && settings.timestampPath.empty()) {
    const analysis::TimestampFile file = analysis::ParseTimestampFile(ReadFileBytes(timestamps));
    run.times = file.times;
    run.trailingTimestampBytes = file.trailingBytes;
    ::DeleteFileW(timestamps.c_str());
  }
  return run;
}

}  // namespace orvel::wintest
