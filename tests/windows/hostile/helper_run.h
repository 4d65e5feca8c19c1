#pragma once
// ORVELCapture.exe started in the eight-argument form the way the parent
// starts it (pipes, quoted command line), reading through a StallableReader,
// so that a test can act while the helper runs.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "stallable_reader.h"
#include "support/child_process.h"
#include "support/pattern_window.h"

namespace orvel::wintest {

struct RunSettings {
  double seconds = 2.0;  // the end time is this far after the launch
  std::wstring timestampPath;
  std::uint32_t fps = 30;
};

class HelperRun {
 public:
  HelperRun(const PatternWindow& window, StallableReader& reader, const RunSettings& settings);
  ~HelperRun();  // releases the reader first, so that the child can be ended
  HelperRun(const HelperRun&) = delete;
  HelperRun& operator=(const HelperRun&) = delete;

  // The process has not ended yet (its streams are not looked at).
  bool StillRunning() const;
  // Waits for the end; false on time-out.
  bool Finish(DWORD milliseconds);
  // Finish with a limit of the time left to the end time plus `spare`.
  bool FinishByEndTime(double spareSeconds);

  double launched() const { return launched_; }  // the parent's clock just before the start
  double endTime() const { return endTime_; }
  double exited() const { return exited_; }  // when Finish saw the end
  DWORD exitCode() const { return child_->exitCode(); }
  std::string errors() const { return child_->errors(); }
  std::uint64_t outputBytes() const { return child_->outputBytes(); }

 private:
  StallableReader& reader_;
  double launched_ = 0, endTime_ = 0, exited_ = 0;
  std::unique_ptr<ChildProcess> child_;
  HANDLE process_ = nullptr;  // a handle of our own, to look without waiting
};

// The frame times of a finished run.
std::vector<double> ReadTimesFile(const std::wstring& path);

}  // namespace orvel::wintest
