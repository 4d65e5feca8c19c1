#include "installer_run.h"

#include <stdexcept>

#include "chooser_window.h"
#include "support/program_paths.h"
#include "support/wide_text.h"

namespace orvel::plugin::testing {
namespace {

constexpr DWORD kPollMilliseconds = 20;
constexpr DWORD kKilledEndsWithinMilliseconds = 10000;
constexpr wchar_t kInstallerName[] = L"chooser-installer.exe";

// GetOptions ends a bare value at the next "/" and takes one pair of quotes
// off, so each value goes in quotes, inside the option.
std::wstring Option(const wchar_t* name, const std::wstring& value) { return name + (L"\"" + value + L"\""); }

bool ReadAll(const std::wstring& path, std::string& text) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  ::CloseHandle(file);
  return true;
}

}  // namespace

std::wstring FindChooserInstaller(std::wstring& error) {
  const std::wstring path = wintest::FindProgram(kInstallerName);
  if (path.empty()) {
    error = wintest::Wide(wintest::NotFoundMessage(kInstallerName, wintest::ProgramFolders(wintest::ModulePath())));
  }
  return path;
}

AnswerFolder::AnswerFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) return;
  path_ =
      std::wstring(temp, length) + L"ORVEL chooser a\u00E7\u00E3o \u00B7 " + std::to_wstring(::GetCurrentProcessId());
  ready_ = ::CreateDirectoryW(path_.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

AnswerFolder::~AnswerFolder() {
  if (!ready_) return;
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW((path_ + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        ::DeleteFileW((path_ + L"\\" + found.cFileName).c_str());
      }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryW(path_.c_str());
}

InstallerRun::InstallerRun(const std::wstring& installer, const std::wstring& preference, std::wstring answerFile)
    : answerFile_(std::move(answerFile)) {
  ::DeleteFileW(answerFile_.c_str());
  const std::wstring commandLine =
      L"\"" + installer + L"\" " + Option(L"/PREF=", preference) + L" " + Option(L"/ANSWER=", answerFile_);
  try {
    process_ = std::make_unique<wintest::ChildProcess>(commandLine);
  } catch (const std::exception& failure) {
    startError_ = L"the installer did not start: " + wintest::Wide(failure.what());
  }
}

DWORD InstallerRun::processId() const { return process_ ? process_->processId() : 0; }

HWND InstallerRun::WaitForDialog(DWORD milliseconds, std::wstring& error) {
  const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
  while (process_) {
    if (const HWND dialog = FindVisibleChooser(process_->processId())) return dialog;
    if (process_->Wait(0)) {
      error = L"the installer ended with exit code " + std::to_wstring(process_->exitCode()) +
              L" without showing the chooser";
      return nullptr;
    }
    if (::GetTickCount64() >= deadline) break;
    ::Sleep(kPollMilliseconds);
  }
  error = L"no chooser dialog of the installer within " + std::to_wstring(milliseconds) + L" ms";
  if (process_) process_->Kill();
  return nullptr;
}

bool InstallerRun::WaitForEnd(DWORD milliseconds) { return process_ && process_->Wait(milliseconds); }

void InstallerRun::Kill() {
  if (!process_) return;
  process_->Kill();
  process_->Wait(kKilledEndsWithinMilliseconds);
}

DWORD InstallerRun::exitCode() const { return process_ ? process_->exitCode() : STILL_ACTIVE; }

InstallerAnswer InstallerRun::ReadAnswer() const {
  InstallerAnswer answer;
  std::string text;
  if (!ReadAll(answerFile_, text)) {
    answer.error = L"no answer file at " + answerFile_;
    return answer;
  }
  std::string* lines[] = {&answer.answer, &answer.below, &answer.rest};
  std::size_t start = 0;
  for (std::string* line : lines) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      answer.error = L"the answer file has fewer than three lines: \"" + wintest::Wide(text) + L"\"";
      return answer;
    }
    *line = text.substr(start, end - start);
    start = end + 2;
  }
  return answer;
}

}  // namespace orvel::plugin::testing
