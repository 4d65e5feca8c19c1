// A child for the support tests, one behaviour per first argument:
//   sleep MS                 sleeps, then exits 0
//   hold-stream MS           starts "sleep MS" with this process's standard
//                            handles, prints its process id, exits 0
//   hold-memory MB MS        touches MB mebibytes, sleeps MS, exits 0
//   burn MS                  keeps one core busy for MS, exits 0
//   find NAME                prints FindProgram(NAME) in UTF-8
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/wide_text.h"

namespace {

using namespace orvel::wintest;

int HoldStream(const std::wstring& milliseconds) {
  std::wstring line = CommandLine({ModulePath(), L"sleep", milliseconds});
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
    ::SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  }
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &info)) {
    return 3;
  }
  std::printf("%lu\n", info.dwProcessId);
  std::fflush(stdout);
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  return 0;
}

int HoldMemory(std::size_t mebibytes, DWORD milliseconds) {
  std::vector<char> block(mebibytes << 20);
  for (std::size_t i = 0; i < block.size(); i += 4096) block[i] = static_cast<char>(i);
  ::Sleep(milliseconds);
  volatile char kept = block[4096];  // the block must live through the sleep
  (void)kept;
  return 0;
}

int Burn(DWORD milliseconds) {
  const double end = NowSeconds() + milliseconds / 1000.0;
  volatile unsigned sink = 0;
  while (NowSeconds() < end) sink = sink + 1;
  return 0;
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (arguments == nullptr || count < 3) return 2;
  const std::wstring mode = arguments[1];
  const std::wstring value = arguments[2];
  if (mode == L"sleep") {
    ::Sleep(std::wcstoul(value.c_str(), nullptr, 10));
    return 0;
  }
  if (mode == L"hold-stream") return HoldStream(value);
  if (mode == L"hold-memory" && count >= 4) {
    return HoldMemory(std::wcstoul(value.c_str(), nullptr, 10), std::wcstoul(arguments[3], nullptr, 10));
  }
  if (mode == L"burn") return Burn(std::wcstoul(value.c_str(), nullptr, 10));
  if (mode == L"find") {
    std::printf("%s\n", Utf8(FindProgram(value)).c_str());
    return 0;
  }
  return 2;
}
