#pragma once
// One run of chooser-installer.exe: started with a preference and the path
// of its answer file, watched for its dialog and for its end, every wait
// bounded; a run that is still going when the object dies is killed.

#include <windows.h>

#include <memory>
#include <string>

#include "support/child_process.h"

namespace orvel::plugin::testing {

// What the installer wrote: the chooser's answer, the stack entry that lay
// below it, and "empty" when nothing else was left on the stack.
struct InstallerAnswer {
  std::string answer;
  std::string below;
  std::string rest;
  std::wstring error;  // empty when the file was read and had three lines
};

// chooser-installer.exe beside the test program or one folder up (the
// release package's layout), or empty with `error` naming both folders.
std::wstring FindChooserInstaller(std::wstring& error);

// A folder for answer files under %TEMP% whose name has blanks and
// characters outside ASCII, as a user's profile may; removed at the end.
class AnswerFolder {
 public:
  AnswerFolder();
  ~AnswerFolder();
  AnswerFolder(const AnswerFolder&) = delete;
  AnswerFolder& operator=(const AnswerFolder&) = delete;
  const std::wstring& path() const { return path_; }
  bool ready() const { return ready_; }

 private:
  std::wstring path_;
  bool ready_ = false;
};

class InstallerRun {
 public:
  // Starts the installer; `error` says why when it could not.
  InstallerRun(const std::wstring& installer, const std::wstring& preference, std::wstring answerFile);
  const std::wstring& startError() const { return startError_; }
  DWORD processId() const;

  // The visible chooser of this installer; null with `error` set when none
  // showed in time or the installer ended first.
  HWND WaitForDialog(DWORD milliseconds, std::wstring& error);
  // True when the installer ended in time; otherwise it keeps running.
  bool WaitForEnd(DWORD milliseconds);
  void Kill();
  DWORD exitCode() const;
  InstallerAnswer ReadAnswer() const;

 private:
  std::wstring answerFile_;
  std::wstring startError_;
  std::unique_ptr<wintest::ChildProcess> process_;
};

}  // namespace orvel::plugin::testing
