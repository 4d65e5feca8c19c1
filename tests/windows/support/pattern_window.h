#pragma once
// The test-pattern window program, started for a test and closed after it.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "child_process.h"

namespace orvel::wintest {

class PatternWindow {
 public:
  // Starts orvel_test_pattern.exe with `arguments` and waits for its window.
  explicit PatternWindow(std::initializer_list<std::wstring> arguments = {});
  ~PatternWindow();  // closes the window and ends the program

  std::uint64_t window() const { return window_; }
  DWORD processId() const { return processId_; }
  std::wstring windowArgument() const { return std::to_wstring(window_); }
  std::wstring processArgument() const { return std::to_wstring(processId_); }

  // Sends an action ("minimize", "restore", "resize=WxH", "close") and waits
  // until the window reports it done.
  void Do(const std::string& action);
  // Sends an action without waiting.
  void Send(const std::string& action);
  // Waits for "<action> done" from an action given with --at.
  bool AwaitDone(const std::string& action, DWORD milliseconds);

 private:
  std::unique_ptr<ChildProcess> program_;
  std::uint64_t window_ = 0;
  DWORD processId_ = 0;
  bool closed_ = false;
};

// A path in the temporary folder where no file is.
std::wstring TemporaryPath(const std::wstring& stem);
bool FileExists(const std::wstring& path);
std::string ReadFileBytes(const std::wstring& path);

}  // namespace orvel::wintest
