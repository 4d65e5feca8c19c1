#include "pattern_window.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace orvel::wintest {

PatternWindow::PatternWindow(std::initializer_list<std::wstring> arguments) {
  std::wstring line = CommandLine({RequireProgram(L"orvel_test_pattern.exe")});
  for (const std::wstring& argument : arguments) line += L" " + CommandLine({argument});
  ChildProcess::Options options;
  options.pipeInput = true;
  program_ = std::make_unique<ChildProcess>(line, options);
  const std::string first = program_->ReadLine(20000);
  unsigned long long window = 0;
  unsigned long processId = 0;
  if (std::sscanf(first.c_str(), "%llu %lu", &window, &processId) != 2) {
    throw std::runtime_error("the test-pattern window did not report itself: '" + first + "'");
  }
  window_ = window;
  processId_ = processId;
  ::Sleep(200);  // let the first paint reach the screen
}

PatternWindow::~PatternWindow() {
  if (!closed_) Send("close");
  program_->CloseInput();
  // A program that does not end is killed, and reported, by ~ChildProcess.
  program_->Wait(8000);
}

void PatternWindow::Send(const std::string& action) {
  if (action == "close") closed_ = true;
  program_->WriteInput(action + "\n");
}

void PatternWindow::Do(const std::string& action) {
  Send(action);
  if (!AwaitDone(action, 10000)) throw std::runtime_error("the test-pattern window did not do " + action);
  ::Sleep(100);
}

bool PatternWindow::AwaitDone(const std::string& action, DWORD milliseconds) {
  const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
  while (::GetTickCount64() < deadline) {
    const DWORD left = static_cast<DWORD>(deadline - ::GetTickCount64());
    if (program_->ReadLine(left) == action + " done") return true;
  }
  return false;
}

std::wstring TemporaryPath(const std::wstring& stem) {
  std::wstring folder(::GetTempPathW(0, nullptr), L'\0');
  folder.resize(::GetTempPathW(static_cast<DWORD>(folder.size()), folder.data()));
  static int serial = 0;
  // Wine reuses small process ids, so a file of an earlier run may be there.
  const std::wstring path = folder + L"orvel-" + stem + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                            std::to_wstring(++serial) + L".bin";
  ::DeleteFileW(path.c_str());
  return path;
}

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadFileBytes(const std::wstring& path) {
  HANDLE file =
      ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  ::CloseHandle(file);
  return bytes;
}

}  // namespace orvel::wintest
