#pragma once
// ORVELCapture.exe started the way the parent starts it, in either form,
// against the pattern window: the stream read while the helper runs, then
// the exit code, standard error, the frame times and what the helper cost.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "analysis/bare_stream.h"
#include "analysis/headed_stream.h"
#include "expectations/capture_expectations.h"
#include "support/child_process.h"
#include "support/pattern_window.h"

namespace orvel::wintest {

struct CaptureRunSettings {
  expectations::Form form = expectations::Form::Bare;
  std::uint32_t fps = 30;
  double seconds = 2.5;                      // the end time is this far after the launch
  std::uint32_t width = 1280, height = 720;  // the output size, eight-argument form
  // Eight-argument form: empty for a fresh temporary file, read and deleted
  // after the run; any other path is passed as it is and not read.
  std::wstring timestampPath;
  std::uint64_t closeOutputAfter = 0;  // the parent stops reading after this many bytes
  std::set<std::size_t> keep = {0};    // records kept whole besides the last
};

struct CaptureRun {
  DWORD exitCode = 0;
  bool endedInTime = false;  // the helper ended within the end time and a margin
  std::string errors;
  double launched = 0;  // the parent's clock just before the start
  double endTime = 0;
  double ended = 0;  // the parent's clock once the helper had ended
  std::uint64_t outputBytes = 0;
  // One per written frame: the headers' times, or the timestamp file's.
  std::vector<double> times;
  std::size_t trailingTimestampBytes = 0;  // a torn timestamp file
  ResourceFigures resources;
  // The stream of the run's form; the other is empty.
  std::unique_ptr<analysis::HeadedStreamCollector> headed;
  std::unique_ptr<analysis::BareStreamCollector> bare;

  std::size_t records() const;
  // Why the stream is not a clean run of whole records; empty when it is.
  std::vector<std::string> StreamProblems(bool partialRecordAllowed = false) const;
};

CaptureRun RunCapture(const PatternWindow& window, const CaptureRunSettings& settings);

}  // namespace orvel::wintest
