#pragma once
// What a machine offers the checks, as plain values, and the lines that show
// it. Portable: the probe fills it on Windows, tests build it by hand. The
// checks pick the behaviour they hold from these facts alone, so the same
// program serves Wine and every real Windows machine.

#include <cstdint>
#include <string>
#include <vector>

namespace orvel::wintest {

// Builds from which the platform offers a capture feature.
constexpr std::uint32_t kBuildWindowCapture = 18362;  // CreateForWindow (1903)
constexpr std::uint32_t kBuildCursorSetting = 19041;  // IGraphicsCaptureSession2 (2004)
constexpr std::uint32_t kBuildBorderSetting = 20348;  // Windows 11 / Server 2022

struct PlatformFacts {
  // RtlGetVersion; all 0 when it could not be read.
  bool versionKnown = false;
  std::uint32_t majorVersion = 0, minorVersion = 0, buildNumber = 0;

  // RoGetActivationFactory("Windows.Graphics.Capture.GraphicsCaptureItem",
  // IGraphicsCaptureItemInterop). The HRESULT is RoInitialize's when that
  // failed, or the lookup's.
  bool captureItemFactory = false;
  std::int32_t captureItemFactoryResult = 0;

  // The DXGI adapter of a hardware Direct3D 11 device, else adapter 0 of
  // CreateDXGIFactory1. Name in UTF-8; empty with a reason when none.
  std::string adapterName;
  std::uint32_t adapterVendorId = 0, adapterDeviceId = 0;
  std::string adapterProblem;

  // D3D11CreateDevice(hardware, BGRA | VIDEO_SUPPORT), then ID3D11VideoDevice.
  // The HRESULT is the device creation's when that failed, else the query's.
  bool videoDevice = false;
  std::int32_t videoDeviceResult = 0;

  // d3d11.dll exports CreateDirect3D11DeviceFromDXGIDevice.
  bool deviceFromDxgiExported = false;

  // OpenInputDesktop succeeds and the window station is interactive: windows
  // can be shown. The detail says what failed.
  bool interactiveDesktop = false;
  std::string desktopDetail;
};

// Windows Graphics Capture of a window can start here: the capture class, the
// Direct3D bridge and a build with CreateForWindow.
bool HasWindowCapture(const PlatformFacts& facts);
// The eight-argument form can scale on the graphics adapter.
bool HasGpuScaler(const PlatformFacts& facts);

// The lines a check program prints first, each starting with "platform: ".
std::vector<std::string> DescribePlatform(const PlatformFacts& facts);

// What GetProcessTimes on another process showed while that process burned
// CPU for a known time: the probe reads the child's times when it is about
// to burn and again after it ended. (A platform may report a process's
// start-up time and nothing after it, so a single reading proves nothing.)
struct ProcessTimesProbe {
  bool childAnswered = false;  // the child started, burned and ended
  double burnedSeconds = 0;    // how long the child kept one core busy
  double reportedSeconds = 0;  // growth of user + kernel time over the burn
  std::string problem;         // why there is no answer
};

// Usable when the growth is at least a third of the burn: a loaded machine
// may steal some of the child's time, a platform that does not account for
// other processes shows next to nothing.
bool ProcessTimesLookUsable(const ProcessTimesProbe& probe);
std::string DescribeProcessTimes(const ProcessTimesProbe& probe);

// "0x80040154"
std::string HresultText(std::int32_t result);

}  // namespace orvel::wintest
