#include "helper_run.h"

#include <algorithm>

#include "analysis/timestamp_file.h"

namespace orvel::wintest {

HelperRun::HelperRun(const PatternWindow& window, StallableReader& reader, const RunSettings& settings)
    : reader_(reader) {
  launched_ = NowSeconds();
  endTime_ = launched_ + settings.seconds;
  ChildProcess::Options options;
  options.onOutput = [&reader](const char* data, std::size_t size) { reader.Take(data, size); };
  const analysis::BareStreamCollector& frames = reader.frames();
  child_ = std::make_unique<ChildProcess>(
      CommandLine({RequireProgram(L"ORVELCapture.exe"), window.windowArgument(), window.processArgument(),
                   std::to_wstring(settings.fps), Decimal(endTime_), std::to_wstring(frames.width()),
                   std::to_wstring(frames.height()), settings.timestampPath}),
      options);
  process_ = ::OpenProcess(SYNCHRONIZE, FALSE, child_->processId());
}

HelperRun::~HelperRun() {
  reader_.Release();
  if (process_ != nullptr) ::CloseHandle(process_);
}

bool HelperRun::StillRunning() const {
  return process_ != nullptr && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool HelperRun::Finish(DWORD milliseconds) {
  if (!child_->Wait(milliseconds)) return false;
  exited_ = NowSeconds();
  return true;
}

bool HelperRun::FinishByEndTime(double spareSeconds) {
  const double left = std::max(0.0, endTime_ - NowSeconds()) + spareSeconds;
  return Finish(static_cast<DWORD>(left * 1000));
}

std::vector<double> ReadTimesFile(const std::wstring& path) {
  return analysis::ParseTimestampFile(ReadFileBytes(path)).times;
}

}  // namespace orvel::wintest
