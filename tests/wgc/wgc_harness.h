#pragma once
// One capture run against the fakes: a window that the fake window manager
// knows, a session, the fake platform with its scripted frames, the frame
// stream, the timestamp file of the eight-argument form, standard error.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/fake_wgc_platform.h"
#include "fakes/fake_window_manager.h"
#include "fakes/test_streams.h"
#include "wgc_capture.h"

namespace orvel::testing {

constexpr std::uint64_t kWindow = 655370;
constexpr std::uint32_t kOwner = 4321;
constexpr double kStart = 1000.0;  // the fake clock at the start, and so the capture start

struct HeadedRecord {
  double time;
  std::uint32_t width, height;
  std::string pixels;
};

struct WgcHarness {
  explicit WgcHarness(std::uint32_t fps = 30, double secondsToEnd = 0.5) {
    windows.Add(kWindow, kOwner);
    session.window = kWindow;
    session.processId = kOwner;
    session.fps = fps;
    session.endTime = kStart + secondsToEnd;
    platform.errorsWatched = errors;
    platform.capturableWindow = kWindow;
  }
  ~WgcHarness() { std::fclose(errors); }

  void EightArgumentForm(std::uint32_t width, std::uint32_t height) {
    times = std::make_unique<TestStream>();
    session.timestampFile = times->file();
    session.width = width;
    session.height = height;
  }

  ExitCode Run() { return RunWgcCapture(session, platform, windows, clock, frames.file(), errors); }

  // Frames at the frame rate from `first` on: frame k has the time
  // start + k / fps and is in the pool from then on.
  void DeliverSteady(int first, int count, SizeInt32 size, bool dark = false) {
    for (int k = first; k < first + count; ++k) {
      const double at = SteadyTime(k);
      platform.Deliver({at, Ticks(at), size, dark, {}});
    }
  }
  double SteadyTime(int k) const { return kStart + k / static_cast<double>(session.fps); }

  std::string Errors() { return ReadAll(errors); }

  // The frame stream cut into headed records; a partial record fails.
  std::vector<HeadedRecord> HeadedRecords() const {
    std::vector<HeadedRecord> records;
    const std::string& bytes = frames.bytes();
    std::size_t at = 0;
    while (at < bytes.size()) {
      HeadedRecord record{};
      EXPECT_GE(bytes.size() - at, 16u) << "partial header";
      if (bytes.size() - at < 16) break;
      std::memcpy(&record.time, bytes.data() + at, 8);
      std::memcpy(&record.width, bytes.data() + at + 8, 4);
      std::memcpy(&record.height, bytes.data() + at + 12, 4);
      const std::size_t size = std::size_t{record.width} * record.height * 4;
      EXPECT_GE(bytes.size() - at - 16, size) << "partial pixels";
      if (bytes.size() - at - 16 < size) break;
      record.pixels = bytes.substr(at + 16, size);
      records.push_back(std::move(record));
      at += 16 + size;
    }
    return records;
  }

  std::vector<double> TimestampFileTimes() const {
    std::vector<double> values(times->bytes().size() / 8);
    std::memcpy(values.data(), times->bytes().data(), values.size() * 8);
    return values;
  }

  FakeClock clock{kStart};
  FakeWindowManager windows{&clock};
  FakeWgcPlatform platform{clock};
  CaptureSession session;
  TestStream frames;
  std::unique_ptr<TestStream> times;
  std::FILE* errors = std::tmpfile();
};

// The time written for a frame delivered at `seconds`.
inline double WrittenTime(double seconds) { return static_cast<double>(Ticks(seconds)) / 10'000'000.0; }

}  // namespace orvel::testing
