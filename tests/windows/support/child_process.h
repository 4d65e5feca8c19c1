#pragma once
// Starting a program the way the product's parent process does: standard
// input, output and error on pipes, output drained on threads while the
// child runs, the exit code read at the end.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace orvel::wintest {

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
  ~ChildProcess();  // kills a child that still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Waits for the exit and for both streams to end; false on time-out.
  bool Wait(DWORD milliseconds);
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

 private:
  void DrainOutput();
  void DrainErrors();

  Options options_;
  PROCESS_INFORMATION info_{};
  HANDLE outputRead_ = nullptr;
  HANDLE errorRead_ = nullptr;
  HANDLE inputWrite_ = nullptr;
  std::thread outputThread_, errorThread_;
  mutable std::mutex mutex_;
  std::string output_, errors_;
  std::atomic<std::uint64_t> outputBytes_{0};
  DWORD exitCode_ = STILL_ACTIVE;
  double startSeconds_ = 0, endSeconds_ = 0;
  bool waited_ = false;
};

// Seconds on the performance-counter clock, as the helper reads it.
double NowSeconds();

// The full path of a program next to the running test program.
std::wstring SiblingPath(const std::wstring& fileName);

// A command line from parts, each quoted when it needs it.
std::wstring CommandLine(std::initializer_list<std::wstring> parts);

std::wstring Decimal(double seconds);  // enough digits to round-trip

}  // namespace orvel::wintest
