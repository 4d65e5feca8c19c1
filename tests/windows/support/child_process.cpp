#include "child_process.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <stdexcept>
#include <vector>

#include "platform_probe.h"
#include "wide_text.h"

namespace orvel::wintest {
namespace {

// How long a stream may stay open after the child ended before it is cut;
// long enough for the drain to pass on what is still in the pipe.
constexpr DWORD kStreamGraceMilliseconds = 5000;
// How long a killed child may take to go.
constexpr DWORD kKillMilliseconds = 10000;
constexpr DWORD kSampleMilliseconds = 50;

std::string LastErrorText(const char* what) {
  return std::string(what) + " failed (error " + std::to_string(::GetLastError()) + ")";
}

void CloseIf(HANDLE& handle) {
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
  handle = nullptr;
}

HANDLE Inheritable(HANDLE handle) {
  ::SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  return handle;
}

// A pipe for the child to write into, read here with overlapped reads so that
// a drain can be cut when a stream never ends. Anonymous pipes cannot be read
// that way, so it is a named pipe with a name of its own.
void MakeOutputPipe(HANDLE* read, HANDLE* write) {
  static std::atomic<unsigned> serial{0};
  const std::wstring name = L"\\\\.\\pipe\\orvel-child-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                            std::to_wstring(++serial) + L"-" + std::to_wstring(::GetTickCount64());
  *read = ::CreateNamedPipeW(name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                             PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0,
                             1 << 20, 0, nullptr);
  if (*read == INVALID_HANDLE_VALUE) {
    *read = nullptr;
    throw std::runtime_error(LastErrorText("CreateNamedPipeW"));
  }
  // The rights of an anonymous pipe's writing end, which some runtimes query.
  *write = ::CreateFileW(name.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (*write == INVALID_HANDLE_VALUE) {
    *write = nullptr;
    const std::string problem = LastErrorText("opening the pipe's writing end");
    CloseIf(*read);
    throw std::runtime_error(problem);
  }
}

void MakeInputPipe(HANDLE* read, HANDLE* write) {
  if (!::CreatePipe(read, write, nullptr, 1 << 20)) throw std::runtime_error(LastErrorText("CreatePipe"));
}

HANDLE NewEvent(bool manualReset) {
  HANDLE event = ::CreateEventW(nullptr, manualReset, FALSE, nullptr);
  if (event == nullptr) throw std::runtime_error(LastErrorText("CreateEventW"));
  return event;
}

double Seconds(const FILETIME& time) {
  return static_cast<double>((std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime) * 1e-7;
}

// Only the child's three standard handles are inherited, not whatever else
// this process holds as inheritable (another child's pipe, say), so that a
// stream ends when the child whose stream it is ends.
class InheritList {
 public:
  explicit InheritList(std::vector<HANDLE> handles) : handles_(std::move(handles)) {
    SIZE_T size = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage_.resize(size);
    list_ = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
    if (!::InitializeProcThreadAttributeList(list_, 1, 0, &size)) {
      list_ = nullptr;
      return;
    }
    if (!::UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_.data(),
                                     handles_.size() * sizeof(HANDLE), nullptr, nullptr)) {
      ::DeleteProcThreadAttributeList(list_);
      list_ = nullptr;
    }
  }
  ~InheritList() {
    if (list_ != nullptr) ::DeleteProcThreadAttributeList(list_);
  }
  InheritList(const InheritList&) = delete;
  InheritList& operator=(const InheritList&) = delete;
  LPPROC_THREAD_ATTRIBUTE_LIST list() const { return list_; }

 private:
  std::vector<HANDLE> handles_;
  std::vector<char> storage_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

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

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  // Paths may be longer than MAX_PATH: grow until the name fits.
  while (path.size() <= 32768 * 2) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
  return {};
}

std::wstring FindProgram(const std::wstring& fileName) {
  for (const std::wstring& folder : ProgramFolders(ModulePath())) {
    const std::wstring path = folder + fileName;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return path;
  }
  return {};
}

std::wstring RequireProgram(const std::wstring& fileName) {
  std::wstring path = FindProgram(fileName);
  if (path.empty()) throw std::runtime_error(NotFoundMessage(fileName, ProgramFolders(ModulePath())));
  return path;
}

std::wstring SiblingPath(const std::wstring& fileName) { return RequireProgram(fileName); }

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

ChildProcess::ChildProcess(const std::wstring& commandLine, Options options)
    : options_(std::move(options)), commandLine_(commandLine) {
  HANDLE outputWrite = nullptr, errorWrite = nullptr, inputRead = nullptr;
  try {
    stop_ = NewEvent(true);
    outputDone_ = NewEvent(true);
    errorDone_ = NewEvent(true);
    MakeOutputPipe(&outputRead_, &outputWrite);
    MakeOutputPipe(&errorRead_, &errorWrite);
    if (options_.pipeInput) {
      MakeInputPipe(&inputRead, &inputWrite_);
    } else {
      inputRead =
          ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
      if (inputRead == INVALID_HANDLE_VALUE) throw std::runtime_error(LastErrorText("opening NUL"));
    }
  } catch (...) {
    CloseIf(outputWrite);
    CloseIf(errorWrite);
    CloseIf(inputRead);
    CloseParentHandles();
    throw;
  }

  InheritList inherit({Inheritable(inputRead), Inheritable(outputWrite), Inheritable(errorWrite)});
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = inputRead;
  startup.StartupInfo.hStdOutput = outputWrite;
  startup.StartupInfo.hStdError = errorWrite;
  startup.lpAttributeList = inherit.list();
  DWORD flags = CREATE_NO_WINDOW;
  if (inherit.list() != nullptr) flags |= EXTENDED_STARTUPINFO_PRESENT;
  std::wstring mutableLine = commandLine;
  startSeconds_ = NowSeconds();
  const BOOL started = ::CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr,
                                        &startup.StartupInfo, &info_);
  const std::string problem = started ? std::string() : LastErrorText("CreateProcessW");
  // The parent keeps only its own ends, so the streams end with the child.
  CloseIf(outputWrite);
  CloseIf(errorWrite);
  CloseIf(inputRead);
  if (!started) {
    CloseParentHandles();
    throw std::runtime_error(problem + " for: " + Utf8(commandLine));
  }
  outputThread_ = std::thread(&ChildProcess::Drain, this, outputRead_, outputDone_, true);
  errorThread_ = std::thread(&ChildProcess::Drain, this, errorRead_, errorDone_, false);
  samplerThread_ = std::thread(&ChildProcess::SampleMemory, this);
}

ChildProcess::~ChildProcess() {
  if (!ended_) {
    if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
      Note("still running when its test let go of it: killed");
      Kill();
    }
    if (::WaitForSingleObject(info_.hProcess, kKillMilliseconds) != WAIT_OBJECT_0) {
      Note("did not end within " + std::to_string(kKillMilliseconds / 1000) + " s of being killed: left behind");
      ::SetEvent(stop_);
    }
    Finish(kStreamGraceMilliseconds);
  }
  CloseParentHandles();
  CloseIf(info_.hProcess);
  CloseIf(info_.hThread);
}

void ChildProcess::CloseParentHandles() {
  CloseIf(outputRead_);
  CloseIf(errorRead_);
  CloseIf(inputWrite_);
  CloseIf(stop_);
  CloseIf(outputDone_);
  CloseIf(errorDone_);
}

void ChildProcess::Drain(HANDLE pipe, HANDLE done, bool output) {
  std::vector<char> buffer(output ? 1 << 20 : 4096);
  HANDLE readDone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  while (readDone != nullptr) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = readDone;
    ::ResetEvent(readDone);
    if (!::ReadFile(pipe, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr, &overlapped)) {
      if (::GetLastError() != ERROR_IO_PENDING) break;  // the writers are gone
      const HANDLE events[] = {readDone, stop_};
      if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
        ::CancelIoEx(pipe, &overlapped);
        DWORD ignored = 0;
        ::GetOverlappedResult(pipe, &overlapped, &ignored, TRUE);  // the read must end before its buffer goes
        break;
      }
    }
    DWORD got = 0;
    if (!::GetOverlappedResult(pipe, &overlapped, &got, FALSE) || got == 0) break;
    std::size_t take = got;
    if (output && options_.closeOutputAfter != 0 && outputBytes_ + take > options_.closeOutputAfter) {
      take = static_cast<std::size_t>(options_.closeOutputAfter - outputBytes_);
    }
    if (output && options_.onOutput) {
      options_.onOutput(buffer.data(), take);
    } else {
      std::lock_guard lock(mutex_);
      (output ? output_ : errors_).append(buffer.data(), take);
    }
    if (output) outputBytes_ += take;
    if (output && options_.closeOutputAfter != 0 && outputBytes_ >= options_.closeOutputAfter) break;
  }
  if (readDone != nullptr) ::CloseHandle(readDone);
  {
    // A parent that stops reading closes its end; the child's writes fail.
    std::lock_guard lock(mutex_);
    CloseIf(output ? outputRead_ : errorRead_);
  }
  ::SetEvent(done);
}

void ChildProcess::SampleMemory() {
  const auto sample = [this] {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (::K32GetProcessMemoryInfo(info_.hProcess, &counters, sizeof counters)) {
      const std::uint64_t peak = counters.PeakWorkingSetSize;
      if (peak > peakWorkingSet_) peakWorkingSet_ = peak;
    }
  };
  const HANDLE events[] = {info_.hProcess, stop_};
  do {
    sample();
  } while (::WaitForMultipleObjects(2, events, FALSE, kSampleMilliseconds) == WAIT_TIMEOUT);
  // Exact on Windows after the end; 0 under some platforms, which max ignores.
  sample();
}

bool ChildProcess::Finish(DWORD streamMilliseconds) {
  endSeconds_ = NowSeconds();
  ::GetExitCodeProcess(info_.hProcess, &exitCode_);
  const HANDLE done[] = {outputDone_, errorDone_};
  if (::WaitForMultipleObjects(2, done, TRUE, streamMilliseconds) >= WAIT_OBJECT_0 + 2) {
    streamsWhole_ = false;
    Note("standard output or error still open " + std::to_string(streamMilliseconds) +
         " ms after the child ended (held by a process it started?): cut");
    ::SetEvent(stop_);
  }
  ::SetEvent(stop_);  // the sampler, should the process still run
  if (outputThread_.joinable()) outputThread_.join();
  if (errorThread_.joinable()) errorThread_.join();
  if (samplerThread_.joinable()) samplerThread_.join();
  reportedCpuSeconds_ = CpuSecondsSoFar();
  ended_ = true;
  return streamsWhole_;
}

bool ChildProcess::Wait(DWORD milliseconds) {
  if (ended_) return streamsWhole_;
  const ULONGLONG start = ::GetTickCount64();
  if (::WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return false;
  const ULONGLONG spent = ::GetTickCount64() - start;
  const DWORD left = milliseconds > spent ? static_cast<DWORD>(milliseconds - spent) : 0;
  return Finish(std::max(left, kStreamGraceMilliseconds));
}

void ChildProcess::Note(const std::string& incident) {
  const std::string line =
      "child process " + std::to_string(info_.dwProcessId) + " (" + Utf8(commandLine_) + "): " + incident;
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
  std::lock_guard lock(mutex_);
  incidents_ += line + "\n";
}

std::string ChildProcess::incidents() const {
  std::lock_guard lock(mutex_);
  return incidents_;
}

ResourceFigures ChildProcess::resources() const {
  ResourceFigures figures;
  if (!ended_) return figures;
  if (reportedCpuSeconds_ && ProcessTimesAreUsable()) figures.cpuSeconds = reportedCpuSeconds_;
  if (peakWorkingSet_ > 0) figures.peakWorkingSetBytes = peakWorkingSet_.load();
  return figures;
}

std::optional<double> ChildProcess::reportedCpuSeconds() const { return reportedCpuSeconds_; }

std::optional<double> ChildProcess::CpuSecondsSoFar() const {
  FILETIME created, exited, kernel, user;
  if (!::GetProcessTimes(info_.hProcess, &created, &exited, &kernel, &user)) return std::nullopt;
  return Seconds(kernel) + Seconds(user);
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
  for (;;) {
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
    if (::GetTickCount64() >= deadline) return {};
    ::Sleep(10);
  }
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
