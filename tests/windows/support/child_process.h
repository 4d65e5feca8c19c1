#pragma once
// Starting a program the way the product's parent process does: standard
// input, output and error on pipes, output drained on threads while the
// child runs, the exit code and resource figures read at the end. Every wait
// is bounded: a child that does not end is killed, and a stream that stays
// open after the child ended (a grandchild holding it) is cut; both are
// noted in incidents() and printed on standard error.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "program_paths.h"

namespace orvel::wintest {

// What a child cost, or nothing where the platform gave no usable answer
// (never a false zero).
struct ResourceFigures {
  // User + kernel time from GetProcessTimes after the child ended; empty
  // when the call failed or GetProcessTimes on other processes is not usable
  // here (ProcessTimesAreUsable, which starts a probe child on first use).
  std::optional<double> cpuSeconds;
  // The largest PeakWorkingSetSize sampled every 50 ms while the child ran
  // and once after; empty when no sample gave a non-zero size.
  std::optional<std::uint64_t> peakWorkingSetBytes;
};

class ChildProcess {
 public:
  struct Options {
    // Receives standard output as it arrives; by default it is kept whole.
    std::function<void(const char* data, std::size_t size)> onOutput;
    // Close the reading end of standard output after this many bytes, like a
    // parent that stops reading; 0 reads to the end.
    std::uint64_t closeOutputAfter = 0;
    bool pipeInput = false;  // give the child a pipe for standard input
  };

  // Starts the command line; throws std::runtime_error when it cannot.
  ChildProcess(const std::wstring& commandLine, Options options);
  explicit ChildProcess(const std::wstring& commandLine) : ChildProcess(commandLine, Options{}) {}
  // Kills a child that still runs (and says so on standard error), and
  // waits a bounded time for it and its streams.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Waits for the exit and for both streams to end; false on time-out (the
  // child keeps running) or when a stream had to be cut because it stayed
  // open after the child ended.
  bool Wait(DWORD milliseconds);
  bool ended() const { return ended_; }
  DWORD exitCode() const { return exitCode_; }
  // Seconds from start to the end of the process, on the performance counter.
  double runSeconds() const { return endSeconds_ - startSeconds_; }
  double startSeconds() const { return startSeconds_; }

  std::string output() const;  // what was kept of standard output
  std::string errors() const;
  std::uint64_t outputBytes() const { return outputBytes_; }

  // The first line of standard output (without its end), waiting for it.
  std::string ReadLine(DWORD milliseconds);
  void WriteInput(const std::string& text);
  void CloseInput();
  void Kill();
  DWORD processId() const { return info_.dwProcessId; }

  // Figures of an ended child (empty while it runs).
  ResourceFigures resources() const;
  // Raw user + kernel seconds from GetProcessTimes, whether or not the
  // platform's answer is usable (for the platform probe): after the end, and
  // now.
  std::optional<double> reportedCpuSeconds() const;
  std::optional<double> CpuSecondsSoFar() const;
  // What the support code had to do: kills, cut streams. Empty normally.
  std::string incidents() const;

 private:
  void Drain(HANDLE pipe, HANDLE done, bool output);
  void SampleMemory();
  // After the process ended: the streams (bounded), the exit code, the times.
  bool Finish(DWORD streamMilliseconds);
  void Note(const std::string& incident);
  // The parent's ends of the pipes and the drains' events.
  void CloseParentHandles();

  Options options_;
  std::wstring commandLine_;
  PROCESS_INFORMATION info_{};
  HANDLE outputRead_ = nullptr;  // overlapped, so a drain can be cut
  HANDLE errorRead_ = nullptr;
  HANDLE inputWrite_ = nullptr;
  HANDLE stop_ = nullptr;        // cuts the drains and the sampler
  HANDLE outputDone_ = nullptr;  // set when each drain has ended
  HANDLE errorDone_ = nullptr;
  std::thread outputThread_, errorThread_, samplerThread_;
  mutable std::mutex mutex_;
  std::string output_, errors_, incidents_;
  std::atomic<std::uint64_t> outputBytes_{0};
  std::atomic<std::uint64_t> peakWorkingSet_{0};
  DWORD exitCode_ = STILL_ACTIVE;
  double startSeconds_ = 0, endSeconds_ = 0;
  std::optional<double> reportedCpuSeconds_;
  bool ended_ = false;
  bool streamsWhole_ = true;
};

// Seconds on the performance-counter clock, as the helper reads it.
double NowSeconds();

// The running program's full path (no MAX_PATH limit).
std::wstring ModulePath();

// The full path of `fileName` beside the running program, else in its
// parent folder (the release package's layout); empty when in neither.
std::wstring FindProgram(const std::wstring& fileName);
// FindProgram, or std::runtime_error("ORVELCapture.exe is not beside the
// checks (looked in A and B)").
std::wstring RequireProgram(const std::wstring& fileName);
// The same as RequireProgram; kept for existing callers.
std::wstring SiblingPath(const std::wstring& fileName);

// A command line from parts, each quoted when it needs it.
std::wstring CommandLine(std::initializer_list<std::wstring> parts);

std::wstring Decimal(double seconds);  // enough digits to round-trip

}  // namespace orvel::wintest
