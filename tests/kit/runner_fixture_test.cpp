// orvel_checks.exe started the way a double-click starts run-checks.cmd (cmd
// with the script's full path, from another folder), in a package folder
// whose path has a space and a non-ASCII character, against fake check
// programs that pass, fail, crash, hang and are missing.

#include <windows.h>

#include <gtest/gtest.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/wide_text.h"

namespace orvel::wintest {
namespace {

std::string ReadText(const std::wstring& path) {
  const HANDLE file =
      ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  ::CloseHandle(file);
  return text;
}

void WriteText(const std::wstring& path, const std::string& text) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << Utf8(path);
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0, end = 0;
  while ((end = text.find("\r\n", start)) != std::string::npos) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  EXPECT_EQ(start, text.size()) << "text after the last CRLF";
  return lines;
}

std::wstring TempFolder() {
  wchar_t path[MAX_PATH + 1];
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, path);
  return std::wstring(path, length);
}

class RunnerWithFakeChecks : public testing::Test {
 protected:
  void SetUp() override {
    top_ = TempFolder() + L"orvel kit-\u00e9 " + std::to_wstring(::GetCurrentProcessId()) + L"\\";
    check_ = top_ + L"check\\";
    ASSERT_TRUE(::CreateDirectoryW(top_.c_str(), nullptr)) << Utf8(top_);
    ASSERT_TRUE(::CreateDirectoryW(check_.c_str(), nullptr));
    const std::wstring fixture = FolderOf(ModulePath()) + L"kit-fixture\\";
    for (const wchar_t* name : {L"orvel_checks.exe", L"run-checks.cmd", L"fake_pass.exe", L"fake_fail.exe",
                                L"fake_crash.exe", L"fake_hang.exe"}) {
      ASSERT_TRUE(::CopyFileW((fixture + name).c_str(), (check_ + name).c_str(), FALSE)) << Utf8(fixture + name);
    }
    // An old report, with a folder in it, that the run must replace.
    ASSERT_TRUE(::CreateDirectoryW((check_ + L"report").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((check_ + L"report\\old").c_str(), nullptr));
    WriteText(check_ + L"report\\old\\stale.txt", "old");
    WriteText(check_ + L"report\\summary.txt", "RESULT: PASS\r\n");
    // The plug-in at the package's top; the helper nowhere.
    WriteText(top_ + L"ORVELIdioma.dll", "stands in for the plug-in");
  }

  void TearDown() override {
    if (HasFailure()) {
      std::printf("kept the package folder %s\n", Utf8(top_).c_str());
      return;
    }
    std::wstring from = top_.substr(0, top_.size() - 1) + L'\0';  // double-terminated list of one
    SHFILEOPSTRUCTW remove{};
    remove.wFunc = FO_DELETE;
    remove.pFrom = from.c_str();
    remove.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    EXPECT_EQ(::SHFileOperationW(&remove), 0) << "could not remove " << Utf8(top_);
  }

  std::wstring top_, check_;
};

TEST_F(RunnerWithFakeChecks, ReportsEveryEndingAndFailsTheRun) {
  ::SetCurrentDirectoryW(TempFolder().c_str());
  ChildProcess run(L"cmd.exe /c \"\"" + check_ + L"run-checks.cmd\"\"");
  ASSERT_TRUE(run.Wait(120000)) << "the runner did not end";
  EXPECT_EQ(run.exitCode(), 1u);

  const std::wstring report = check_ + L"report\\";
  const std::vector<std::string> lines = Lines(ReadText(report + L"summary.txt"));
  ASSERT_GE(lines.size(), 10u);
  std::size_t i = 0;
  while (i < lines.size() && lines[i].starts_with("platform: ")) ++i;
  EXPECT_GT(i, 0u) << "the platform probe's lines come first";
  const std::vector<std::string> expected = {
      "deliverable ORVELCapture.exe: MISSING (looked in " + Utf8(check_) + " and " + Utf8(top_) +
          "; the checks that use it fail)",
      "deliverable ORVELIdioma.dll: found in the folder above the checks",
      "check fake_pass: PASS (1 test, 1 skipped)",
      "check fake_fail: FAIL (exit code 1; 1 of 2 tests failed: FakeCheck.Fails)",
      "check fake_crash: FAIL (exit code 0xC0000005; no test report)",
      "check fake_hang: FAIL (did not end within 4 s and was killed)",
      "check fake_missing: FAIL (missing: fake_missing.exe is not in the check folder)",
      "capture run fake: 3 frames",
      "RESULT: FAIL (4 of 5 failed)",
  };
  EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(i), lines.end()), expected);
  // The console shows the same summary.
  EXPECT_NE(run.output().find("check fake_hang: FAIL (did not end within 4 s and was killed)\r\n"), std::string::npos)
      << run.output();

  // Each program that ran has its log; those that ended have their XML.
  EXPECT_NE(ReadText(report + L"fake_fail.log").find("a failure the runner must name"), std::string::npos);
  for (const wchar_t* file : {L"fake_pass.xml", L"fake_fail.xml", L"fake_crash.log", L"fake_hang.log"}) {
    EXPECT_TRUE(Exists(report + file)) << Utf8(file);
  }
  EXPECT_FALSE(Exists(report + L"old")) << "the old report was not emptied";

  // The hung check's own child went with it: the runner killed the whole job.
  const std::string pid = ReadText(report + L"grandchild.pid");
  ASSERT_FALSE(pid.empty()) << "the hanging check did not see ORVEL_REPORT_DIR";
  const HANDLE grandchild = ::OpenProcess(SYNCHRONIZE, FALSE, std::stoul(pid));
  if (grandchild != nullptr) {
    EXPECT_EQ(::WaitForSingleObject(grandchild, 5000), WAIT_OBJECT_0) << "the hanging check's child still runs";
    ::CloseHandle(grandchild);
  }
}

}  // namespace
}  // namespace orvel::wintest
