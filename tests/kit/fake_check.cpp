// A stand-in for a check program, built once per way a check can end
// (FAKE_CHECK_PASS, _FAIL, _CRASH, _HANG), for the runner's test.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/report.h"

namespace {

#if defined(FAKE_CHECK_PASS)
TEST(FakeCheck, RecordsACaptureRun) { orvel::wintest::ReportCaptureRun("fake", "3 frames"); }
TEST(FakeCheck, SkipsItself) { GTEST_SKIP() << "not on this platform"; }
#elif defined(FAKE_CHECK_FAIL)
TEST(FakeCheck, Passes) { SUCCEED(); }
TEST(FakeCheck, Fails) { ADD_FAILURE() << "a failure the runner must name"; }
#elif defined(FAKE_CHECK_CRASH)
TEST(FakeCheck, Crashes) {
  volatile int* nowhere = nullptr;
  *nowhere = 1;
}
#elif defined(FAKE_CHECK_HANG)
// Starts a copy of itself that sleeps, leaves its process id in the report
// folder, and hangs: the runner must kill both.
TEST(FakeCheck, Hangs) {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring line = L"\"" + std::wstring(self) + L"\" --sleep";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(::CreateProcessW(self, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
  const std::wstring pidFile = orvel::wintest::ReportFolder() + L"\\grandchild.pid";
  const HANDLE file = ::CreateFileW(pidFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  const std::string pid = std::to_string(info.dwProcessId);
  DWORD written = 0;
  ::WriteFile(file, pid.data(), static_cast<DWORD>(pid.size()), &written, nullptr);
  ::CloseHandle(file);
  ::Sleep(INFINITE);
}
#else
#error "build with one of FAKE_CHECK_PASS, FAKE_CHECK_FAIL, FAKE_CHECK_CRASH, FAKE_CHECK_HANG"
#endif

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--sleep") == 0) {
    ::Sleep(10 * 60 * 1000);
    return 0;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
