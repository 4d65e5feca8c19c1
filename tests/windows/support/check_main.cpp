// The entry point of every Windows check program, in place of GoogleTest's
// own: it prints what the platform offers, so that each log says which
// branch the checks held, refuses to run without a desktop (windows would
// never show and the checks would wait for them), then runs GoogleTest with
// its usual flags.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "platform_probe.h"

namespace {

using orvel::wintest::kBurnCpuArgument;

// A check program asked, by the platform probe of another one, to burn CPU.
bool IsBurnRequest() {
  int count = 0;
  wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (arguments == nullptr) return false;
  const bool asked = count >= 2 && std::wcscmp(arguments[1], kBurnCpuArgument) == 0;
  ::LocalFree(arguments);
  return asked;
}

// Exit code of a check program that found no interactive desktop; GoogleTest
// uses 1 for failed tests.
constexpr int kNoDesktop = 2;

}  // namespace

int main(int argc, char** argv) {
  if (IsBurnRequest()) return orvel::wintest::RunCpuBurn();

  const orvel::wintest::PlatformFacts& facts = orvel::wintest::Platform();
  for (const std::string& line : orvel::wintest::DescribePlatform(facts)) std::printf("%s\n", line.c_str());
  std::fflush(stdout);

  testing::InitGoogleTest(&argc, argv);
  if (!facts.interactiveDesktop && !GTEST_FLAG_GET(list_tests)) {
    std::fprintf(stderr,
                 "This check needs an interactive desktop to show its windows, and this session has none (%s). "
                 "Run it from a signed-in, unlocked desktop session, not from a service, a task that runs whether "
                 "the user is signed in or not, or a disconnected remote session.\n",
                 facts.desktopDetail.c_str());
    return kNoDesktop;
  }
  return RUN_ALL_TESTS();
}
