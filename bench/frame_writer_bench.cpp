// WriteFrame's cost: bare 1920 x 1080 records into a pipe that another
// process drains, beside a plain fwrite + fflush of the same bytes, and the
// content test on a frame with nothing to find (the full sample grid).

#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "frame_writer.h"

namespace orvel {
namespace {

constexpr std::uint32_t kWidth = 1920, kHeight = 1080;

// A pipe whose reading end a child process drains and throws away, as the
// parent process of the helper does with the stream.
class DrainedPipe {
 public:
  DrainedPipe() {
    int fds[2];
    if (pipe(fds) != 0) std::abort();
    reader_ = fork();
    if (reader_ == 0) {
      close(fds[1]);
      static char buffer[1 << 20];
      while (read(fds[0], buffer, sizeof buffer) > 0) {
      }
      _exit(0);
    }
    close(fds[0]);
    stream_ = fdopen(fds[1], "wb");
  }
  ~DrainedPipe() {
    std::fclose(stream_);
    waitpid(reader_, nullptr, 0);
  }
  std::FILE* stream() const { return stream_; }

 private:
  pid_t reader_ = -1;
  std::FILE* stream_ = nullptr;
};

std::vector<std::uint8_t> Frame(std::uint8_t fill) {
  return std::vector<std::uint8_t>(std::size_t{kWidth} * kHeight * 4, fill);
}

void BM_WriteFrameBare1080p(benchmark::State& state) {
  DrainedPipe pipe;
  std::FILE* times = std::fopen("/dev/null", "wb");
  const std::vector<std::uint8_t> frame = Frame(0x80);
  CaptureSession session;
  session.timestampFile = times;
  double t = 1000.0;
  for (auto _ : state) {
    if (!WriteFrame(session, frame.data(), kWidth, kHeight, t, pipe.stream())) state.SkipWithError("write failed");
    t += 1.0 / 60;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(frame.size()));
  std::fclose(times);
}

void BM_PlainFwriteFflush1080p(benchmark::State& state) {
  DrainedPipe pipe;
  const std::vector<std::uint8_t> frame = Frame(0x80);
  for (auto _ : state) {
    if (std::fwrite(frame.data(), 1, frame.size(), pipe.stream()) != frame.size() || std::fflush(pipe.stream()) != 0) {
      state.SkipWithError("write failed");
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(frame.size()));
}

void BM_ContentTestAllDark1080p(benchmark::State& state) {
  const std::vector<std::uint8_t> frame = Frame(0);
  for (auto _ : state) benchmark::DoNotOptimize(ShowsContent(frame.data(), kWidth, kHeight));
}

BENCHMARK(BM_WriteFrameBare1080p)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_PlainFwriteFflush1080p)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_ContentTestAllDark1080p)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvel

BENCHMARK_MAIN();
