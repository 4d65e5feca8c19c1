#include "child_process.h"

#include <cwchar>
#include <stdexcept>

namespace orvel::wintest {
namespace {

void MakePipe(HANDLE* read, HANDLE* write, bool childReads) {
  SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
  if (!::CreatePipe(read, write, &security, 1 << 20)) throw std::runtime_error("CreatePipe failed");
  // Only the child's end is inherited.
  ::SetHandleInformation(childReads ? *write : *read, HANDLE_FLAG_INHERIT, 0);
}

void CloseIf(HANDLE& handle) {
  if (handle != nullptr) ::CloseHandle(handle);
  handle = nullptr;
}

}  // namespace

double NowSeconds() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / frequency;
}

std::wstring SiblingPath(const std::wstring& fileName) {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  return folder + fileName;
}

std::wstring CommandLine(std::initializer_list<std::wstring> parts) {
  std::wstring line;
  for (const std::wstring& part : parts) {
    if (!line.empty()) line += L' ';
    if (part.empty() || part.find_first_of(L" \t\"") != std::wstring::npos) {
      line += L'"' + part + L'"';
    } else {
      line += part;
    }
  }
  return line;
}

std::wstring Decimal(double seconds) {
  wchar_t text[64];
  std::swprintf(text, 64, L"%.17g", seconds);
  return text;
}

ChildProcess::ChildProcess(const std::wstring& commandLine, Options options) : options_(std::move(options)) {
  HANDLE outputWrite = nullptr, errorWrite = nullptr, inputRead = nullptr;
  MakePipe(&outputRead_, &outputWrite, false);
  MakePipe(&errorRead_, &errorWrite, false);
  if (options_.pipeInput) {
    MakePipe(&inputRead, &inputWrite_, true);
  } else {
    SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
    inputRead =
        ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &security, OPEN_EXISTING, 0, nullptr);
  }

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inputRead;
  startup.hStdOutput = outputWrite;
  startup.hStdError = errorWrite;
  std::wstring mutableLine = commandLine;
  startSeconds_ = NowSeconds();
  const BOOL started = ::CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &info_);
  // The parent keeps only its own ends, so the streams end with the child.
  CloseIf(outputWrite);
  CloseIf(errorWrite);
  CloseIf(inputRead);
  if (!started) {
    CloseIf(outputRead_);
    CloseIf(errorRead_);
    CloseIf(inputWrite_);
    throw std::runtime_error("CreateProcessW failed");
  }
  outputThread_ = std::thread(&ChildProcess::DrainOutput, this);
  errorThread_ = std::thread(&ChildProcess::DrainErrors, this);
}

ChildProcess::~ChildProcess() {
  if (!waited_) {
    Kill();
    Wait(10000);
  }
  if (outputThread_.joinable()) outputThread_.join();
  if (errorThread_.joinable()) errorThread_.join();
  CloseIf(inputWrite_);
  CloseIf(info_.hProcess);
  CloseIf(info_.hThread);
}

void ChildProcess::DrainOutput() {
  static thread_local char buffer[1 << 20];
  DWORD got = 0;
  while (::ReadFile(outputRead_, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    std::size_t take = got;
    if (options_.closeOutputAfter != 0 && outputBytes_ + take > options_.closeOutputAfter) {
      take = static_cast<std::size_t>(options_.closeOutputAfter - outputBytes_);
    }
    if (options_.onOutput) {
      options_.onOutput(buffer, take);
    } else {
      std::lock_guard lock(mutex_);
      output_.append(buffer, take);
    }
    outputBytes_ += take;
    if (options_.closeOutputAfter != 0 && outputBytes_ >= options_.closeOutputAfter) break;
  }
  std::lock_guard lock(mutex_);
  CloseIf(outputRead_);  // a parent that stops reading closes its end
}

void ChildProcess::DrainErrors() {
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(errorRead_, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    std::lock_guard lock(mutex_);
    errors_.append(buffer, got);
  }
  std::lock_guard lock(mutex_);
  CloseIf(errorRead_);
}

bool ChildProcess::Wait(DWORD milliseconds) {
  if (::WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return false;
  endSeconds_ = NowSeconds();
  ::GetExitCodeProcess(info_.hProcess, &exitCode_);
  if (outputThread_.joinable()) outputThread_.join();
  if (errorThread_.joinable()) errorThread_.join();
  waited_ = true;
  return true;
}

std::string ChildProcess::output() const {
  std::lock_guard lock(mutex_);
  return output_;
}

std::string ChildProcess::errors() const {
  std::lock_guard lock(mutex_);
  return errors_;
}

std::string ChildProcess::ReadLine(DWORD milliseconds) {
  const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
  while (::GetTickCount64() < deadline) {
    {
      std::lock_guard lock(mutex_);
      const std::size_t end = output_.find('\n');
      if (end != std::string::npos) {
        std::string line = output_.substr(0, end);
        output_.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return line;
      }
    }
    ::Sleep(10);
  }
  return {};
}

void ChildProcess::WriteInput(const std::string& text) {
  DWORD written = 0;
  if (inputWrite_ != nullptr) ::WriteFile(inputWrite_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void ChildProcess::CloseInput() { CloseIf(inputWrite_); }

void ChildProcess::Kill() {
  if (info_.hProcess != nullptr) ::TerminateProcess(info_.hProcess, 255);
}

}  // namespace orvel::wintest
