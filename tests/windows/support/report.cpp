#include "report.h"

#include <windows.h>

#include <cstdio>

#include "report_files.h"
#include "report_text.h"
#include "wide_text.h"

namespace orvel::wintest {

std::wstring ReportFolder() {
  std::wstring value(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetEnvironmentVariableW(L"ORVEL_REPORT_DIR", value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) return {};  // not set, or set to nothing
    if (length < value.size()) {
      value.resize(length);
      return value;
    }
    value.resize(length);  // the size it needs, its terminator included
  }
}

void ReportCaptureRun(const std::string& name, const std::string& figures) {
  const std::string line = CaptureRunLine(name, figures);
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
  const std::wstring folder = ReportFolder();
  if (folder.empty()) return;
  ::CreateDirectoryW(folder.c_str(), nullptr);  // the runner makes it; a missing one costs nothing
  const std::wstring path = ReportPath(folder, L"capture-runs.txt");
  if (!AppendToFile(path, line + "\r\n")) {
    const std::string problem = LastErrorText();
    std::fprintf(stderr, "report: could not append to %s (%s)\n", Utf8(path).c_str(), problem.c_str());
  }
}

}  // namespace orvel::wintest
