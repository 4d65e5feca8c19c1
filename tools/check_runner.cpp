// orvel_checks.exe, the release package's check runner. It empties the
// report folder beside itself, probes the platform once, runs every check
// program of its table one after the other with a bounded wait, and writes
// report\summary.txt. The verdicts and the summary's wording are decided in
// checks_*.cpp; this file only talks to Windows.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "checks_summary.h"
#include "checks_table.h"
#include "checks_verdict.h"
#include "support/child_process.h"
#include "support/platform_probe.h"
#include "support/program_paths.h"
#include "support/wide_text.h"

namespace {

using namespace orvel::checks;
using orvel::wintest::ModulePath;
using orvel::wintest::Utf8;
using orvel::wintest::Wide;

// The exit code given to a check program killed at its time limit.
constexpr UINT kKilledExitCode = 0xDEAD;
// How long a killed program may take to go.
constexpr DWORD kKillWaitMilliseconds = 10000;

// Closes a kernel handle on every way out.
class Handle {
 public:
  explicit Handle(HANDLE handle = nullptr) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~Handle() {
    if (handle_ != nullptr) ::CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HANDLE handle_;
};

// One line on the console, or UTF-8 bytes when standard output is a file or pipe.
void Say(const std::string& utf8) {
  const std::string text = utf8 + "\r\n";
  const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0, written = 0;
  if (::GetConsoleMode(out, &mode)) {
    const std::wstring wide = Wide(text);
    ::WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    ::WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
}

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

bool IsFile(const std::wstring& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  Handle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  std::vector<char> buffer(1 << 16);
  DWORD got = 0;
  while (::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0) {
    bytes.append(buffer.data(), got);
  }
  return bytes;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  Handle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

// Removes everything inside `folder`. A link (junction, symbolic link) is
// removed itself, never followed, so nothing outside the folder is touched.
bool EmptyFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  const HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  bool emptied = true;
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = folder + L"\\" + name;
    const DWORD attributes = entry.dwFileAttributes;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
      ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) emptied = EmptyFolder(path) && emptied;
      emptied = ::RemoveDirectoryW(path.c_str()) && emptied;
    } else {
      emptied = ::DeleteFileW(path.c_str()) && emptied;
    }
  } while (::FindNextFileW(find, &entry));
  ::FindClose(find);
  return emptied;
}

// An empty report folder: an old one is emptied, a file or link in its place removed.
bool PrepareReportFolder(const std::wstring& folder) {
  const DWORD attributes = Attributes(folder);
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isFolder && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return EmptyFolder(folder);
    if (isFolder) {
      ::RemoveDirectoryW(folder.c_str());
    } else {
      ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileW(folder.c_str());
    }
  }
  return ::CreateDirectoryW(folder.c_str(), nullptr) != 0;
}

// A job that ends every process in it when its last handle closes.
HANDLE CreateKillingJob() {
  const HANDLE job = ::CreateJobObjectW(nullptr, nullptr);
  if (job == nullptr) return nullptr;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  ::SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  return job;
}

// Runs one program in `folder` with its standard output and error going to
// `logPath`, and waits at most its time limit. The program and whatever it
// started run in a job, so a kill reaches them all and nothing outlives the
// check.
CheckRun RunProgram(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder,
                    const std::wstring& logPath, int timeLimitSeconds) {
  CheckRun run;
  run.timeLimitSeconds = timeLimitSeconds;
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  Handle log(::CreateFileW(logPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  Handle input(
      ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0, nullptr));
  Handle job(CreateKillingJob());

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.get();
  startup.hStdOutput = log.get();
  startup.hStdError = log.get();
  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                        folder.c_str(), &startup, &info)) {
    run.end = RunEnd::kNotStarted;
    run.startError = ::GetLastError();
    return run;
  }
  Handle process(info.hProcess), thread(info.hThread);
  // Without a job (a system that refuses nested jobs) only the program itself can be killed.
  const bool inJob = job && ::AssignProcessToJobObject(job.get(), process.get());
  ::ResumeThread(thread.get());

  if (::WaitForSingleObject(process.get(), static_cast<DWORD>(timeLimitSeconds) * 1000) != WAIT_OBJECT_0) {
    if (inJob) {
      ::TerminateJobObject(job.get(), kKilledExitCode);
    } else {
      ::TerminateProcess(process.get(), kKilledExitCode);
    }
    ::WaitForSingleObject(process.get(), kKillWaitMilliseconds);
    run.end = RunEnd::kTimedOut;
    return run;
  }
  DWORD exitCode = 0;
  ::GetExitCodeProcess(process.get(), &exitCode);
  run.end = RunEnd::kExited;
  run.exitCode = exitCode;
  return run;  // closing the job here ends whatever the program left running
}

DeliverableSearch FindDeliverable(const std::wstring& fileName, const std::vector<std::wstring>& folders) {
  DeliverableSearch search;
  search.fileName = Utf8(fileName);
  for (std::size_t i = 0; i < folders.size(); ++i) {
    search.folders.push_back(Utf8(folders[i]));
    if (!search.foundIn && IsFile(folders[i] + fileName)) search.foundIn = i;
  }
  return search;
}

int RunChecks() {
  const std::wstring modulePath = ModulePath();
  const std::vector<std::wstring> folders = orvel::wintest::ProgramFolders(modulePath);
  if (folders.empty()) {
    Say("orvel_checks: cannot tell which folder it runs from");
    return 2;
  }
  const std::wstring& checkFolder = folders[0];  // ends with a separator
  const std::wstring reportFolder = checkFolder + L"report";
  if (!PrepareReportFolder(reportFolder)) {
    Say("orvel_checks: cannot empty or create the report folder " + Utf8(reportFolder) + " (system error " +
        std::to_string(::GetLastError()) + ")");
    return 2;
  }
  ::SetEnvironmentVariableW(L"ORVEL_REPORT_DIR", reportFolder.c_str());

  SummaryParts parts;
  parts.platform = orvel::wintest::DescribePlatform(orvel::wintest::Platform());
  for (const std::string& line : parts.platform) Say(line);
  for (const wchar_t* deliverable : {L"ORVELCapture.exe", L"ORVELIdioma.dll"}) {
    parts.deliverables.push_back(DeliverableLine(FindDeliverable(deliverable, folders)));
    Say(parts.deliverables.back());
  }

  const auto checks = CheckPrograms();
  for (std::size_t i = 0; i < checks.size(); ++i) {
    const std::string name(checks[i].name);
    const std::wstring wideName = Wide(name);
    const std::wstring program = checkFolder + wideName + L".exe";
    Say("running " + name + " (" + std::to_string(i + 1) + " of " + std::to_string(checks.size()) + ")");
    CheckRun run;
    if (!IsFile(program)) {
      run.end = RunEnd::kMissing;
    } else {
      // A relative report path: GoogleTest reads its arguments in the ANSI
      // code page, which may not hold every character of the folder's path.
      run = RunProgram(program, L"--gtest_output=xml:report\\" + wideName + L".xml", checkFolder,
                       reportFolder + L"\\" + wideName + L".log", checks[i].timeLimitSeconds);
      if (run.end == RunEnd::kExited) run.report = ReadWholeFile(reportFolder + L"\\" + wideName + L".xml");
    }
    parts.verdicts.push_back(JudgeCheck(name, run));
    Say(parts.verdicts.back().line);
  }
  parts.captureRuns = CaptureRunLines(ReadWholeFile(reportFolder + L"\\capture-runs.txt"));

  const std::vector<std::string> lines = SummaryLines(parts);
  const std::wstring summaryPath = reportFolder + L"\\summary.txt";
  const bool written = WriteWholeFile(summaryPath, SummaryText(lines));
  Say("");
  Say("summary (" + Utf8(summaryPath) + "):");
  for (const std::string& line : lines) Say(line);
  if (!written) {
    Say("orvel_checks: could not write " + Utf8(summaryPath));
    return 2;
  }
  return AllPassed(parts.verdicts) ? 0 : 1;
}

}  // namespace

int wmain() { return RunChecks(); }
