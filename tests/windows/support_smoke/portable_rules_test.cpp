// The support code's portable rules: where programs are looked for, report
// names and lines, text conversions, the platform lines and the process-time
// verdict.
#include <gtest/gtest.h>

#include "support/platform_facts.h"
#include "support/program_paths.h"
#include "support/report_text.h"
#include "support/wide_text.h"

namespace orvel::wintest {
namespace {

TEST(ProgramFolders, OwnFolderThenParentButNeverAboveTheRoot) {
  struct Case {
    std::wstring modulePath;
    std::vector<std::wstring> folders;
  };
  const Case cases[] = {
      {L"C:\\pkg\\check\\support_smoke_test.exe", {L"C:\\pkg\\check\\", L"C:\\pkg\\"}},
      {L"C:\\pkg\\run.exe", {L"C:\\pkg\\", L"C:\\"}},
      {L"C:\\run.exe", {L"C:\\"}},
      {L"\\\\server\\share\\check\\x.exe", {L"\\\\server\\share\\check\\", L"\\\\server\\share\\"}},
      {L"Z:/work/bin/x.exe", {L"Z:/work/bin/", L"Z:/work/"}},
      {L"x.exe", {}},
      {L"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ProgramFolders(c.modulePath), c.folders) << Utf8(c.modulePath);
}

TEST(ProgramFolders, TheMessageNamesTheProgramAndEveryFolder) {
  EXPECT_EQ(NotFoundMessage(L"ORVELCapture.exe", {L"C:\\p\\check\\", L"C:\\p\\"}),
            "ORVELCapture.exe is not beside the checks (looked in C:\\p\\check\\ and C:\\p\\)");
  EXPECT_EQ(NotFoundMessage(L"ORVELIdioma.dll", {L"C:\\"}),
            "ORVELIdioma.dll is not beside the checks (looked in C:\\)");
}

TEST(ReportText, NamesBecomeFileNamesThatWindowsKeepsAsGiven) {
  const std::pair<std::string, std::string> cases[] = {
      {"gdi-1280x720", "gdi-1280x720"},
      {"a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j"},
      {"tab\there\nnewline", "tab_here_newline"},
      {"trailing dots...", "trailing dots"},
      {"trailing space ", "trailing space"},
      {"..", "frame"},
      {"", "frame"},
      {"jan\xC3\xA9la \xE2\x9C\x93", "jan\xC3\xA9la \xE2\x9C\x93"},
  };
  for (const auto& [name, safe] : cases) EXPECT_EQ(FileSafeName(name), safe) << name;
}

TEST(ReportText, EveryRunStaysOneLine) {
  EXPECT_EQ(CaptureRunLine("wgc 1080p", "120 frames, 59.9 fps"), "capture run wgc 1080p: 120 frames, 59.9 fps");
  EXPECT_EQ(CaptureRunLine("a\r\nb", "x\ny"), "capture run a  b: x y");
}

TEST(WideText, RoundTripsEveryPlaneAndReplacesWhatIsMalformed) {
  const std::wstring wide = L"Relat\u00F3rio \u65E5\u672C \U0001F600";
  const std::string utf8 = "Relat\xC3\xB3rio \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80";
  EXPECT_EQ(Utf8(wide), utf8);
  EXPECT_EQ(Wide(utf8), wide);

  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ(Utf8(std::wstring(1, static_cast<wchar_t>(0xD800)) + L"x"), replacement + "x");  // lone surrogate
  EXPECT_EQ(Wide("a\xC3"), L"a\uFFFD");                                                      // cut short
  EXPECT_EQ(Wide("\xC0\xAF"), L"\uFFFD\uFFFD");                                              // overlong '/'
  EXPECT_EQ(Wide("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD");                                    // encoded surrogate
  EXPECT_EQ(Wide("\xFF"), L"\uFFFD");
}

PlatformFacts WineLikeFacts() {
  PlatformFacts facts;
  facts.versionKnown = true;
  facts.majorVersion = 10;
  facts.buildNumber = 19045;
  facts.captureItemFactoryResult = static_cast<std::int32_t>(0x80040154);
  facts.adapterName = "Xvfb adapter";
  facts.adapterVendorId = 0x1AF4;
  facts.adapterDeviceId = 0x1050;
  facts.videoDeviceResult = static_cast<std::int32_t>(0x80004002);
  facts.interactiveDesktop = true;
  facts.desktopDetail = "input desktop Default, window station WinSta0 is interactive";
  return facts;
}

TEST(DescribePlatform, SaysWhatIsMissingWithItsResultAndWhichBranchHolds) {
  EXPECT_EQ(DescribePlatform(WineLikeFacts()),
            (std::vector<std::string>{
                "platform: Windows 10.0 build 19045",
                "platform: capture item factory: unavailable (0x80040154)",
                "platform: graphics adapter: Xvfb adapter (vendor 0x1AF4, device 0x1050)",
                "platform: Direct3D 11 video device: unavailable (0x80004002)",
                "platform: CreateDirect3D11DeviceFromDXGIDevice: not exported",
                "platform: interactive desktop: yes (input desktop Default, window station WinSta0 is interactive)",
                "platform: checks hold: GDI fallback (no Windows Graphics Capture), no GPU scaler",
            }));

  PlatformFacts none;
  none.adapterProblem = "no hardware Direct3D 11 device";
  const std::vector<std::string> lines = DescribePlatform(none);
  EXPECT_EQ(lines[0], "platform: Windows version unknown (RtlGetVersion unavailable)");
  EXPECT_EQ(lines[2], "platform: graphics adapter: none (no hardware Direct3D 11 device)");
  EXPECT_EQ(lines[5], "platform: interactive desktop: no");
}

TEST(DescribePlatform, WindowCaptureNeedsTheClassTheBridgeAndBuild18362) {
  PlatformFacts facts = WineLikeFacts();
  facts.captureItemFactory = true;
  facts.captureItemFactoryResult = 0;
  facts.deviceFromDxgiExported = true;
  facts.videoDevice = true;
  facts.videoDeviceResult = 0;
  EXPECT_TRUE(HasWindowCapture(facts));
  EXPECT_TRUE(HasGpuScaler(facts));
  EXPECT_EQ(DescribePlatform(facts).back(), "platform: checks hold: Windows Graphics Capture, GPU scaler");

  struct Case {
    const char* what;
    void (*change)(PlatformFacts&);
  };
  const Case without[] = {
      {"no capture class", [](PlatformFacts& f) { f.captureItemFactory = false; }},
      {"no Direct3D bridge", [](PlatformFacts& f) { f.deviceFromDxgiExported = false; }},
      {"Server 2019", [](PlatformFacts& f) { f.buildNumber = 17763; }},
      {"version unknown",
       [](PlatformFacts& f) {
         f.versionKnown = false;
         f.majorVersion = f.buildNumber = 0;
       }},
  };
  for (const Case& c : without) {
    PlatformFacts changed = facts;
    c.change(changed);
    EXPECT_FALSE(HasWindowCapture(changed)) << c.what;
  }
  facts.buildNumber = kBuildWindowCapture;
  EXPECT_TRUE(HasWindowCapture(facts));
}

TEST(ProcessTimes, UsableOnlyWhenTheEndedChildShowsAtLeastAThirdOfItsBurn) {
  struct Case {
    ProcessTimesProbe probe;
    bool usable;
  };
  const Case cases[] = {
      {{true, 0.30, 0.31, ""}, true},  // exact
      {{true, 0.30, 0.10, ""}, true},  // a loaded machine
      {{true, 0.30, 0.09, ""}, false},
      {{true, 0.30, 0.01, ""}, false},  // one tick of kernel time, nothing else
      {{true, 0.30, 0.00, ""}, false},
      {{true, 0.00, 0.00, ""}, false},  // no burn: nothing to compare
      {{false, 0.30, 0.30, "no child"}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProcessTimesLookUsable(c.probe), c.usable) << c.probe.burnedSeconds << " " << c.probe.reportedSeconds;
  }
  EXPECT_EQ(DescribeProcessTimes({true, 0.3, 0.01, ""}),
            "platform: CPU times of other processes: not usable (a child that burned 0.300 s showed 0.010 s more)");
  EXPECT_EQ(DescribeProcessTimes({false, 0, 0, "the probe child did not end within 30 s"}),
            "platform: CPU times of other processes: unknown (the probe child did not end within 30 s)");
}

}  // namespace
}  // namespace orvel::wintest
