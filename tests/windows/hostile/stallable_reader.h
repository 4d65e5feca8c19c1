#pragma once
// The parent's reader of the bare stream, with one twist: it can stop
// reading. While it is held, the pipe's reading thread waits inside the
// output sink, the pipe fills, and the helper blocks in its write. A 1280x720
// record (3.6 MB) is larger than the pipe (1 MiB), so the helper blocks
// within the record it is writing.

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "analysis/bare_stream.h"
#include "record_probe.h"

namespace orvel::wintest {

class StallableReader {
 public:
  StallableReader(std::uint32_t width, std::uint32_t height);
  ~StallableReader();  // releases a reader still held
  StallableReader(const StallableReader&) = delete;
  StallableReader& operator=(const StallableReader&) = delete;

  // The sink for ChildProcess::Options::onOutput.
  void Take(const char* data, std::size_t size);

  // Stop reading once this many whole records have arrived (once per run).
  void HoldAfter(std::size_t records) { holdAfter_ = records; }
  // Waits until the reader has stopped; false on time-out.
  bool AwaitHeld(DWORD milliseconds) const;
  // Reading goes on.
  void Release();

  // Seconds on the performance counter; 0 until it happened.
  double heldAt() const { return heldAt_; }
  double releasedAt() const { return releasedAt_; }

  const analysis::BareStreamCollector& frames() const { return frames_; }
  const RecordProbe& probe() const { return probe_; }

 private:
  analysis::BareStreamCollector frames_;
  RecordProbe probe_;
  std::atomic<std::size_t> holdAfter_{std::numeric_limits<std::size_t>::max()};
  bool holdDone_ = false;  // only the reading thread touches it
  HANDLE held_;
  HANDLE released_;
  std::atomic<double> heldAt_{0}, releasedAt_{0};
};

}  // namespace orvel::wintest
