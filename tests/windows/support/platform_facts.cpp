#include "platform_facts.h"

#include <cstdio>

namespace orvel::wintest {

bool HasWindowCapture(const PlatformFacts& facts) {
  return facts.captureItemFactory && facts.deviceFromDxgiExported && facts.buildNumber >= kBuildWindowCapture;
}

bool HasGpuScaler(const PlatformFacts& facts) { return facts.videoDevice; }

std::string HresultText(std::int32_t result) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(result));
  return text;
}

namespace {

std::string VersionLine(const PlatformFacts& facts) {
  if (!facts.versionKnown) return "platform: Windows version unknown (RtlGetVersion unavailable)";
  return "platform: Windows " + std::to_string(facts.majorVersion) + "." + std::to_string(facts.minorVersion) +
         " build " + std::to_string(facts.buildNumber);
}

std::string Hex4(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(value));
  return text;
}

std::string AdapterLine(const PlatformFacts& facts) {
  if (facts.adapterName.empty()) return "platform: graphics adapter: none (" + facts.adapterProblem + ")";
  return "platform: graphics adapter: " + facts.adapterName + " (vendor " + Hex4(facts.adapterVendorId) + ", device " +
         Hex4(facts.adapterDeviceId) + ")";
}

std::string Outcome(bool ok, std::int32_t result) {
  return (ok ? "available (" : "unavailable (") + HresultText(result) + ")";
}

}  // namespace

std::vector<std::string> DescribePlatform(const PlatformFacts& facts) {
  return {
      VersionLine(facts),
      "platform: capture item factory: " + Outcome(facts.captureItemFactory, facts.captureItemFactoryResult),
      AdapterLine(facts),
      "platform: Direct3D 11 video device: " + Outcome(facts.videoDevice, facts.videoDeviceResult),
      std::string("platform: CreateDirect3D11DeviceFromDXGIDevice: ") +
          (facts.deviceFromDxgiExported ? "exported" : "not exported"),
      std::string("platform: interactive desktop: ") + (facts.interactiveDesktop ? "yes" : "no") +
          (facts.desktopDetail.empty() ? "" : " (" + facts.desktopDetail + ")"),
      std::string("platform: checks hold: ") +
          (HasWindowCapture(facts) ? "Windows Graphics Capture" : "GDI fallback (no Windows Graphics Capture)") +
          (HasGpuScaler(facts) ? ", GPU scaler" : ", no GPU scaler"),
  };
}

bool ProcessTimesLookUsable(const ProcessTimesProbe& probe) {
  return probe.childAnswered && probe.burnedSeconds > 0 && probe.reportedSeconds * 3 >= probe.burnedSeconds;
}

std::string DescribeProcessTimes(const ProcessTimesProbe& probe) {
  if (!probe.childAnswered) return "platform: CPU times of other processes: unknown (" + probe.problem + ")";
  char figures[96];
  std::snprintf(figures, sizeof figures, "a child that burned %.3f s showed %.3f s more", probe.burnedSeconds,
                probe.reportedSeconds);
  return std::string("platform: CPU times of other processes: ") +
         (ProcessTimesLookUsable(probe) ? "usable (" : "not usable (") + figures + ")";
}

}  // namespace orvel::wintest
