#include "platform_probe.h"

#include <d3d11.h>
#include <dxgi.h>
#include <windows.h>

#include <cstdio>
#include <exception>
#include <thread>

#include "child_process.h"
#include "late_bound.h"
#include "wide_text.h"
#include "winrt_capture_abi.h"

namespace orvel::wintest {
namespace {

template <class Interface>
void Release(Interface*& object) {
  if (object == nullptr) return;
  Interface* held = object;
  object = nullptr;
  held->Release();
}

void ProbeVersion(PlatformFacts& facts) {
  // RtlGetVersion tells the truth where GetVersionEx answers what the
  // program's manifest claims.
  using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  if (ntdll == nullptr) return;
  const auto rtlGetVersion =
      reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")));
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (rtlGetVersion == nullptr || rtlGetVersion(&info) != 0) return;
  facts.versionKnown = true;
  facts.majorVersion = info.dwMajorVersion;
  facts.minorVersion = info.dwMinorVersion;
  facts.buildNumber = info.dwBuildNumber;
}

void ProbeCaptureFactory(PlatformFacts& facts) {
  HRESULT result = late_bound::RoInitialize(RO_INIT_MULTITHREADED);
  if (FAILED(result)) {
    facts.captureItemFactoryResult = result;
    return;
  }
  static constexpr wchar_t kClass[] = L"Windows.Graphics.Capture.GraphicsCaptureItem";
  HSTRING className = nullptr;
  result = late_bound::WindowsCreateString(kClass, static_cast<UINT32>(std::size(kClass) - 1), &className);
  if (SUCCEEDED(result)) {
    IUnknown* factory = nullptr;
    result = late_bound::RoGetActivationFactory(className, abi::IID_IGraphicsCaptureItemInterop,
                                                reinterpret_cast<void**>(&factory));
    facts.captureItemFactory = SUCCEEDED(result) && factory != nullptr;
    Release(factory);
    late_bound::WindowsDeleteString(className);
  }
  facts.captureItemFactoryResult = result;
  late_bound::RoUninitialize();
}

void DescribeAdapter(IDXGIAdapter* adapter, PlatformFacts& facts) {
  DXGI_ADAPTER_DESC description{};
  const HRESULT result = adapter->GetDesc(&description);
  if (FAILED(result)) {
    facts.adapterProblem = "IDXGIAdapter::GetDesc failed (" + HresultText(result) + ")";
    return;
  }
  facts.adapterName = Utf8(description.Description);
  facts.adapterVendorId = description.VendorId;
  facts.adapterDeviceId = description.DeviceId;
  if (facts.adapterName.empty()) facts.adapterName = "(no name)";
}

// The adapter behind a device, as the capture helper's device would use it.
HRESULT AdapterOfDevice(ID3D11Device* device, PlatformFacts& facts) {
  IDXGIDevice* dxgiDevice = nullptr;
  IDXGIAdapter* adapter = nullptr;
  HRESULT result = device->QueryInterface(__uuidof(IDXGIDevice), reinterpret_cast<void**>(&dxgiDevice));
  if (SUCCEEDED(result)) result = dxgiDevice->GetAdapter(&adapter);
  if (SUCCEEDED(result)) DescribeAdapter(adapter, facts);
  Release(adapter);
  Release(dxgiDevice);
  return result;
}

HRESULT FirstAdapter(PlatformFacts& facts) {
  IDXGIFactory1* factory = nullptr;
  IDXGIAdapter1* adapter = nullptr;
  HRESULT result = ::CreateDXGIFactory1(__uuidof(IDXGIFactory1), reinterpret_cast<void**>(&factory));
  if (SUCCEEDED(result)) result = factory->EnumAdapters1(0, &adapter);
  if (SUCCEEDED(result)) DescribeAdapter(adapter, facts);
  Release(adapter);
  Release(factory);
  return result;
}

HRESULT HardwareDevice(UINT flags, ID3D11Device** device) {
  return ::D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, flags, nullptr, 0, D3D11_SDK_VERSION, device,
                             nullptr, nullptr);
}

void ProbeGraphics(PlatformFacts& facts) {
  // The capture helper's device: BGRA and video support.
  constexpr UINT kVideoDeviceFlags = D3D11_CREATE_DEVICE_BGRA_SUPPORT | D3D11_CREATE_DEVICE_VIDEO_SUPPORT;
  ID3D11Device* device = nullptr;
  HRESULT result = HardwareDevice(kVideoDeviceFlags, &device);
  if (SUCCEEDED(result)) {
    ID3D11VideoDevice* video = nullptr;
    result = device->QueryInterface(__uuidof(ID3D11VideoDevice), reinterpret_cast<void**>(&video));
    facts.videoDevice = SUCCEEDED(result) && video != nullptr;
    Release(video);
  }
  facts.videoDeviceResult = result;

  // The adapter: of that device, else of a device without video support,
  // else the system's first.
  const HRESULT videoDeviceResult = result;
  HRESULT plainDeviceResult = S_OK;
  if (device == nullptr) plainDeviceResult = HardwareDevice(D3D11_CREATE_DEVICE_BGRA_SUPPORT, &device);
  HRESULT adapterResult = E_FAIL;
  if (device != nullptr) adapterResult = AdapterOfDevice(device, facts);
  Release(device);
  if (SUCCEEDED(adapterResult)) return;
  const HRESULT factoryResult = FirstAdapter(facts);
  if (SUCCEEDED(factoryResult)) return;
  facts.adapterProblem = "no hardware Direct3D 11 device (" + HresultText(videoDeviceResult) + ", " +
                         HresultText(plainDeviceResult) + "), no DXGI adapter 0 (" + HresultText(factoryResult) + ")";
}

void ProbeDeviceBridge(PlatformFacts& facts) {
  const HMODULE d3d11 = ::LoadLibraryW(L"d3d11.dll");
  facts.deviceFromDxgiExported =
      d3d11 != nullptr && ::GetProcAddress(d3d11, "CreateDirect3D11DeviceFromDXGIDevice") != nullptr;
  if (d3d11 != nullptr) ::FreeLibrary(d3d11);
}

std::wstring ObjectName(HANDLE object) {
  DWORD needed = 0;
  ::GetUserObjectInformationW(object, UOI_NAME, nullptr, 0, &needed);
  std::wstring name(needed / sizeof(wchar_t) + 1, L'\0');
  if (!::GetUserObjectInformationW(object, UOI_NAME, name.data(), static_cast<DWORD>(name.size() * sizeof(wchar_t)),
                                   &needed)) {
    return L"?";
  }
  name.resize(std::wcslen(name.c_str()));
  return name;
}

void ProbeDesktop(PlatformFacts& facts) {
  // Services, session 0, a locked or disconnected session: no input desktop
  // that this program may use, and windows shown there are never seen.
  bool inputDesktop = false;
  const HDESK desktop = ::OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
  if (desktop != nullptr) {
    inputDesktop = true;
    facts.desktopDetail = "input desktop " + Utf8(ObjectName(desktop));
    ::CloseDesktop(desktop);
  } else {
    facts.desktopDetail = "OpenInputDesktop failed (error " + std::to_string(::GetLastError()) + ")";
  }
  bool visibleStation = false;
  const HWINSTA station = ::GetProcessWindowStation();
  USEROBJECTFLAGS flags{};
  DWORD needed = 0;
  if (station != nullptr && ::GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, &needed)) {
    visibleStation = (flags.dwFlags & WSF_VISIBLE) != 0;
    facts.desktopDetail +=
        ", window station " + Utf8(ObjectName(station)) + (visibleStation ? " is interactive" : " is not interactive");
  } else {
    facts.desktopDetail += ", window station unknown (error " + std::to_string(::GetLastError()) + ")";
  }
  facts.interactiveDesktop = inputDesktop && visibleStation;
}

PlatformFacts Probe() {
  PlatformFacts facts;
  ProbeVersion(facts);
  ProbeGraphics(facts);
  ProbeDeviceBridge(facts);
  ProbeDesktop(facts);
  ProbeCaptureFactory(facts);
  return facts;
}

ProcessTimesProbe MeasureProcessTimes() {
  ProcessTimesProbe probe;
  try {
    // The filter keeps GoogleTest's own main, should a program have it, from
    // running its tests in the child.
    ChildProcess::Options options;
    options.pipeInput = true;
    ChildProcess child(CommandLine({ModulePath(), kBurnCpuArgument, L"--gtest_filter=-*"}), options);
    if (child.ReadLine(30000) != "ready") {
      probe.problem = "the probe child did not start to burn CPU (a check program without check_main?)";
      return probe;
    }
    const std::optional<double> before = child.CpuSecondsSoFar();
    child.WriteInput("go\n");
    child.CloseInput();
    if (!child.Wait(30000)) {
      probe.problem = "the probe child did not end within 30 s";
      return probe;
    }
    double burned = 0;
    if (child.exitCode() != 0 || std::sscanf(child.ReadLine(0).c_str(), "burned %lf", &burned) != 1) {
      probe.problem = "the probe child did not say how long it burned";
      return probe;
    }
    const std::optional<double> after = child.reportedCpuSeconds();
    if (!before || !after) {
      probe.problem = "GetProcessTimes on the child failed";
      return probe;
    }
    probe.childAnswered = true;
    probe.burnedSeconds = burned;
    probe.reportedSeconds = *after - *before;
  } catch (const std::exception& error) {
    probe.problem = error.what();
  }
  return probe;
}

}  // namespace

const PlatformFacts& Platform() {
  static const PlatformFacts facts = [] {
    // A thread of its own: RoInitialize there leaves the caller's apartment
    // as it was.
    PlatformFacts probed;
    std::thread([&probed] { probed = Probe(); }).join();
    return probed;
  }();
  return facts;
}

const ProcessTimesProbe& ProcessTimes() {
  static const ProcessTimesProbe probe = MeasureProcessTimes();
  return probe;
}

bool ProcessTimesAreUsable() { return ProcessTimesLookUsable(ProcessTimes()); }

int RunCpuBurn() {
  std::printf("ready\n");
  std::fflush(stdout);
  for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar()) {
  }
  constexpr double kBurnSeconds = 0.3;
  const double start = NowSeconds();
  volatile std::uint64_t sink = 0;
  while (NowSeconds() - start < kBurnSeconds) {
    for (std::uint32_t i = 0; i < 10000; ++i) sink = sink + i;
  }
  std::printf("burned %.6f\n", NowSeconds() - start);
  std::fflush(stdout);
  return 0;
}

}  // namespace orvel::wintest
