// ChildProcess against real children: waits that end, kills that are
// reported, streams that a grandchild holds, and figures that are never a
// false zero. FindProgram in the release package's layout.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/child_process.h"
#include "support/pattern_window.h"
#include "support/platform_probe.h"
#include "support/wide_text.h"

namespace orvel::wintest {
namespace {

std::wstring Child(std::initializer_list<std::wstring> arguments) {
  std::wstring line = CommandLine({RequireProgram(L"support_child.exe")});
  for (const std::wstring& argument : arguments) line += L" " + CommandLine({argument});
  return line;
}

bool ProcessIsGone(DWORD processId) {
  const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
  if (process == nullptr) return true;
  const bool gone = ::WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
  ::CloseHandle(process);
  return gone;
}

void KillProcess(DWORD processId) {
  const HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
  if (process == nullptr) return;
  ::TerminateProcess(process, 255);
  ::WaitForSingleObject(process, 5000);
  ::CloseHandle(process);
}

TEST(ChildProcess, AWaitThatTimesOutLeavesTheChildToTheDestructorWhichKillsIt) {
  DWORD processId = 0;
  const double start = NowSeconds();
  {
    ChildProcess child(Child({L"sleep", L"600000"}));
    processId = child.processId();
    EXPECT_FALSE(child.Wait(300));
    EXPECT_FALSE(child.ended());
  }
  EXPECT_LT(NowSeconds() - start, 20.0) << "the destructor must not wait for the child's own end";
  EXPECT_TRUE(ProcessIsGone(processId));
}

TEST(ChildProcess, AStreamHeldByAGrandchildIsCutAndTheWaitSaysSo) {
  ChildProcess child(Child({L"hold-stream", L"120000"}));
  const std::string grandchild = child.ReadLine(20000);
  ASSERT_FALSE(grandchild.empty()) << child.errors();
  const bool whole = child.Wait(1000);
  KillProcess(std::strtoul(grandchild.c_str(), nullptr, 10));

  EXPECT_FALSE(whole);
  EXPECT_TRUE(child.ended());
  EXPECT_EQ(child.exitCode(), 0u);
  EXPECT_NE(child.incidents().find("still open"), std::string::npos) << child.incidents();
}

TEST(ChildProcess, AnEndedChildGivesItsExitCodeWholeStreamsAndNoIncident) {
  ChildProcess child(Child({L"find", L"support_child.exe"}));
  ASSERT_TRUE(child.Wait(30000));
  EXPECT_EQ(child.exitCode(), 0u);
  EXPECT_EQ(child.output(), Utf8(RequireProgram(L"support_child.exe")) + "\r\n");
  EXPECT_EQ(child.incidents(), "");
  EXPECT_TRUE(child.Wait(0)) << "a second wait answers as the first";
}

TEST(ChildProcess, FiguresAreThePlatformsAnswersOrNothing) {
  ChildProcess running(Child({L"hold-memory", L"64", L"800"}));
  EXPECT_FALSE(running.resources().peakWorkingSetBytes.has_value()) << "no figures before the end";
  ASSERT_TRUE(running.Wait(30000));
  const ResourceFigures memory = running.resources();
  ASSERT_TRUE(memory.peakWorkingSetBytes.has_value()) << "sampled while the child ran";
  EXPECT_GE(*memory.peakWorkingSetBytes, 64u << 20);
  EXPECT_LT(*memory.peakWorkingSetBytes, 1024u << 20);

  ChildProcess burner(Child({L"burn", L"500"}));
  ASSERT_TRUE(burner.Wait(30000));
  const ResourceFigures cpu = burner.resources();
  ASSERT_EQ(cpu.cpuSeconds.has_value(), ProcessTimesAreUsable())
      << DescribeProcessTimes(ProcessTimes()) << ", reported " << burner.reportedCpuSeconds().value_or(-1);
  if (cpu.cpuSeconds) {
    EXPECT_GE(*cpu.cpuSeconds, 0.1);
    EXPECT_LE(*cpu.cpuSeconds, burner.runSeconds() * 2 + 0.1);
  }
}

TEST(FindProgram, LooksBesideTheProgramThenOneFolderUp) {
  EXPECT_EQ(FolderOf(FindProgram(L"support_child.exe")), FolderOf(ModulePath()));
  EXPECT_EQ(FindProgram(L"no-such-program.exe"), L"");
  try {
    RequireProgram(L"no-such-program.exe");
    ADD_FAILURE() << "RequireProgram found a program that is not there";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()).rfind("no-such-program.exe is not beside the checks (looked in ", 0), 0u)
        << error.what();
  }
}

// The release package: the deliverables at the top, the checks in check\, in
// a folder whose name has spaces and non-ASCII characters.
TEST(FindProgram, FindsTheDeliverablesAtThePackagesTopFromItsCheckFolder) {
  const std::wstring top = TemporaryPath(L"pacote de verifica\u00E7\u00E3o \u2713");
  const std::wstring check = top + L"\\check";
  ASSERT_TRUE(::CreateDirectoryW(top.c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryW(check.c_str(), nullptr));
  const std::wstring checkProgram = check + L"\\support_child.exe";
  const std::wstring deliverable = top + L"\\ORVELCapture.exe";
  ASSERT_TRUE(::CopyFileW(RequireProgram(L"support_child.exe").c_str(), checkProgram.c_str(), TRUE));
  ASSERT_TRUE(::CopyFileW(RequireProgram(L"support_child.exe").c_str(), deliverable.c_str(), TRUE));

  std::string foundAtTop, foundBeside, foundNowhere;
  {
    ChildProcess top1(CommandLine({checkProgram, L"find", L"ORVELCapture.exe"}));
    ChildProcess beside(CommandLine({checkProgram, L"find", L"support_child.exe"}));
    ChildProcess nowhere(CommandLine({checkProgram, L"find", L"ORVELIdioma.dll"}));
    EXPECT_TRUE(top1.Wait(30000) && beside.Wait(30000) && nowhere.Wait(30000));
    foundAtTop = top1.output();
    foundBeside = beside.output();
    foundNowhere = nowhere.output();
  }
  ::DeleteFileW(checkProgram.c_str());
  ::DeleteFileW(deliverable.c_str());
  ::RemoveDirectoryW(check.c_str());
  ::RemoveDirectoryW(top.c_str());

  EXPECT_EQ(foundAtTop, Utf8(deliverable) + "\r\n");
  EXPECT_EQ(foundBeside, Utf8(checkProgram) + "\r\n");
  EXPECT_EQ(foundNowhere, "\r\n");
}

}  // namespace
}  // namespace orvel::wintest
