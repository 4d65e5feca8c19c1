// The capture backend's Windows adapter (WinWgcPlatform) against the real
// platform, holding what the platform probe found on this machine. Where
// Windows Graphics Capture is available: both activation factories, the
// Direct3D bridge and, where the adapter has one, the video device come
// through the adapter, and a frame of the pattern window taken through the
// adapter alone has the pattern's pixels. Where it is not (Wine, Windows
// Server 2019, older builds): the refusals are exactly the probe's. On
// every machine: the identifiers are the platform headers', textures keep
// their description and read back through the mapped pitch, and every
// object obtained is released exactly once.

#include <d3d11.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/letterbox_check.h"
#include "held_objects.h"
#include "platform/wgc_ids.h"
#include "support/pattern_window.h"
#include "support/platform_probe.h"
#include "win/late_bound.h"
#include "win/wgc_platform_win.h"

namespace orvel::wintest {
namespace {

std::uint32_t Length(const char16_t* text) {
  return static_cast<std::uint32_t>(std::char_traits<char16_t>::length(text));
}

std::string Hex(HResult result) { return HresultText(result); }

TEST(PortableIdentifiers, AreTheOnesThePlatformHeadersDeclare) {
  EXPECT_TRUE(IsEqualGUID(ToGuid(kIidDxgiDevice), __uuidof(IDXGIDevice)));
  EXPECT_TRUE(IsEqualGUID(ToGuid(kIidD3D11Texture2D), __uuidof(ID3D11Texture2D)));
  EXPECT_TRUE(IsEqualGUID(ToGuid(kIidD3D11VideoDevice), __uuidof(ID3D11VideoDevice)));
  EXPECT_TRUE(IsEqualGUID(ToGuid(kIidD3D11VideoContext), __uuidof(ID3D11VideoContext)));
}

class Adapter : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_GE(late_bound::RoInitialize(RO_INIT_MULTITHREADED), 0); }
  static void TearDownTestSuite() { late_bound::RoUninitialize(); }

  // A hardware device and its immediate context, held.
  HResult MakeDevice(std::uint32_t flags) {
    D3D11Device* madeDevice = nullptr;
    D3D11DeviceContext* madeContext = nullptr;
    const HResult result = platform.D3D11CreateDevice(nullptr, kDriverTypeHardware, nullptr, flags, nullptr, 0,
                                                      kSdkVersion, &madeDevice, nullptr, &madeContext);
    device = held.Hold(madeDevice, "device");
    context = held.Hold(madeContext, "immediate context");
    if (result >= 0) {
      EXPECT_NE(device, nullptr);
      EXPECT_NE(context, nullptr);
    }
    return result;
  }

  // RoGetActivationFactory for a class, through the adapter's strings.
  template <class Object>
  HResult Factory(const char16_t* className, const Guid& iid, Object** factory) {
    HString name = nullptr;
    const HResult made = platform.WindowsCreateString(className, Length(className), &name);
    EXPECT_EQ(made, S_OK);
    if (made < 0) return made;
    const HResult result = platform.RoGetActivationFactory(name, iid, factory);
    EXPECT_EQ(platform.WindowsDeleteString(name), S_OK);
    held.Hold(*factory, "activation factory");
    return result;
  }

  const PlatformFacts& facts = Platform();
  WinWgcPlatform platform;
  HeldObjects held{platform};  // after the platform: released before it goes
  D3D11Device* device = nullptr;
  D3D11DeviceContext* context = nullptr;
};

TEST_F(Adapter, CaptureClassesAnswerAsTheProbeFound) {
  GraphicsCaptureItemInterop* interop = nullptr;
  const HResult item = Factory(kGraphicsCaptureItemClass, kIidGraphicsCaptureItemInterop, &interop);
  if (facts.captureItemFactory) {
    EXPECT_EQ(item, S_OK);
    EXPECT_NE(interop, nullptr);
  } else {
    // Wine: REGDB_E_CLASSNOTREG; the helper's run carries the same line.
    EXPECT_EQ(Hex(item), Hex(facts.captureItemFactoryResult));
    EXPECT_EQ(interop, nullptr);
  }

  CaptureFramePoolStatics2* statics = nullptr;
  const HResult pool = Factory(kCaptureFramePoolClass, kIidCaptureFramePoolStatics2, &statics);
  if (HasWindowCapture(facts)) {
    EXPECT_EQ(pool, S_OK);
    EXPECT_NE(statics, nullptr);
  } else {
    // Which refusal a system without window capture gives is its own; the
    // adapter must hand back a factory exactly when the call succeeded.
    EXPECT_EQ(pool >= 0, statics != nullptr) << Hex(pool);
  }
}

TEST_F(Adapter, TheDirect3DBridgeIsThereExactlyWhereTheProbeFoundIt) {
  ASSERT_EQ(MakeDevice(kCreateDeviceBgraSupport), S_OK);
  DxgiDevice* dxgiDevice = nullptr;
  ASSERT_EQ(platform.QueryInterface(device, kIidDxgiDevice, &dxgiDevice), S_OK);
  held.Hold(dxgiDevice, "DXGI device");

  Inspectable* graphicsDevice = nullptr;
  const HResult bridge = platform.CreateDirect3D11DeviceFromDXGIDevice(dxgiDevice, &graphicsDevice);
  held.Hold(graphicsDevice, "WinRT device object");
  if (!facts.deviceFromDxgiExported) {
    // Wine's d3d11.dll lacks the export; the run-time lookup says so.
    EXPECT_EQ(Hex(bridge), Hex(late_bound::kEntryPointMissing));
    EXPECT_EQ(graphicsDevice, nullptr);
    return;
  }
  ASSERT_EQ(bridge, S_OK);
  ASSERT_NE(graphicsDevice, nullptr);
  Direct3DDevice* direct3DDevice = nullptr;
  EXPECT_EQ(platform.QueryInterface(graphicsDevice, kIidDirect3DDevice, &direct3DDevice), S_OK);
  EXPECT_NE(held.Hold(direct3DDevice, "WinRT Direct3D device"), nullptr);
}

TEST_F(Adapter, TheVideoDeviceIsThereExactlyWhereTheProbeFoundIt) {
  const HResult made = MakeDevice(kCreateDeviceBgraSupport | kCreateDeviceVideoSupport);
  if (made < 0) {
    // The probe makes the same device first; its refusal is the probe's result.
    EXPECT_FALSE(facts.videoDevice);
    EXPECT_EQ(Hex(made), Hex(facts.videoDeviceResult));
    return;
  }
  D3D11VideoDevice* videoDevice = nullptr;
  D3D11VideoContext* videoContext = nullptr;
  const HResult deviceQuery = platform.QueryInterface(device, kIidD3D11VideoDevice, &videoDevice);
  const HResult contextQuery = platform.QueryInterface(context, kIidD3D11VideoContext, &videoContext);
  held.Hold(videoDevice, "video device");
  held.Hold(videoContext, "video context");
  if (facts.videoDevice) {
    EXPECT_EQ(deviceQuery, S_OK);
    EXPECT_EQ(contextQuery, S_OK);
    EXPECT_NE(videoDevice, nullptr);
    EXPECT_NE(videoContext, nullptr);
  } else {
    // Wine and the basic display adapter: E_NOINTERFACE, as the probe saw.
    EXPECT_EQ(Hex(deviceQuery), Hex(facts.videoDeviceResult));
    EXPECT_EQ(videoDevice, nullptr);
    EXPECT_LT(contextQuery, 0) << "a video context without a video device";
    EXPECT_EQ(videoContext, nullptr);
  }
}

TEST_F(Adapter, TexturesKeepTheirDescriptionAndReadBackThroughTheMappedPitch) {
  ASSERT_EQ(MakeDevice(kCreateDeviceBgraSupport), S_OK);
  const Texture2DDesc target{1000, 8, 1, 1, kFormatB8G8R8A8Unorm, {1, 0}, kUsageDefault, kBindRenderTarget, 0, 0};
  D3D11Texture2D* picture = nullptr;
  ASSERT_EQ(platform.CreateTexture2D(device, target, &picture), S_OK);
  held.Hold(picture, "picture texture");

  Texture2DDesc desc;
  platform.GetDesc(picture, &desc);
  EXPECT_EQ(desc.Width, 1000u);
  EXPECT_EQ(desc.Height, 8u);
  EXPECT_EQ(desc.MipLevels, 1u);
  EXPECT_EQ(desc.ArraySize, 1u);
  EXPECT_EQ(desc.Format, kFormatB8G8R8A8Unorm);
  EXPECT_EQ(desc.SampleDesc.Count, 1u);
  EXPECT_EQ(desc.SampleDesc.Quality, 0u);
  EXPECT_EQ(desc.Usage, kUsageDefault);
  EXPECT_EQ(desc.BindFlags, kBindRenderTarget);

  // Paint it with the device itself (red 1.0, green 0.2): B, G, R, A = 0, 51, 255, 255.
  ID3D11RenderTargetView* view = nullptr;
  ASSERT_EQ(reinterpret_cast<ID3D11Device*>(device)->CreateRenderTargetView(reinterpret_cast<ID3D11Texture2D*>(picture),
                                                                            nullptr, &view),
            S_OK);
  const float colour[4] = {1.0f, 0.2f, 0.0f, 1.0f};
  reinterpret_cast<ID3D11DeviceContext*>(context)->ClearRenderTargetView(view, colour);
  view->Release();

  desc.Usage = kUsageStaging;
  desc.BindFlags = 0;
  desc.CPUAccessFlags = kCpuAccessRead;
  D3D11Texture2D* readback = nullptr;
  ASSERT_EQ(platform.CreateTexture2D(device, desc, &readback), S_OK);
  held.Hold(readback, "read-back texture");
  platform.CopyResource(context, readback, picture);

  MappedSubresource mapped;
  ASSERT_EQ(platform.Map(context, readback, 0, kMapRead, 0, &mapped), S_OK);
  ASSERT_NE(mapped.pData, nullptr);
  EXPECT_GE(mapped.RowPitch, 4000u);
  const auto* bytes = static_cast<const std::uint8_t*>(mapped.pData);
  for (std::size_t at : {std::size_t{0}, std::size_t{7} * mapped.RowPitch + 999 * 4}) {
    EXPECT_EQ(bytes[at + 0], 0);
    EXPECT_EQ(bytes[at + 1], 51);
    EXPECT_EQ(bytes[at + 2], 255);
    EXPECT_EQ(bytes[at + 3], 255);
  }
  platform.Unmap(context, readback, 0);

  // Nobody else holds the two textures: these are their last references.
  EXPECT_EQ(held.Release(readback), 0u);
  EXPECT_EQ(held.Release(picture), 0u);
}

// The pattern window's size in physical pixels, as the capture item sees a
// window without a non-client area.
SizeInt32 WindowSize(std::uint64_t window) {
  ::SetProcessDPIAware();
  RECT rect{};
  ::GetWindowRect(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window)), &rect);
  return SizeInt32{rect.right - rect.left, rect.bottom - rect.top};
}

TEST_F(Adapter, AFrameOfThePatternWindowThroughTheAdapterAlone) {
  if (!HasWindowCapture(facts)) {
    GTEST_SKIP() << "no Windows Graphics Capture here (capture item factory " << Hex(facts.captureItemFactoryResult)
                 << ", CreateDirect3D11DeviceFromDXGIDevice "
                 << (facts.deviceFromDxgiExported ? "exported" : "not exported") << ", build " << facts.buildNumber
                 << "); the refusals are held above";
  }
  PatternWindow window({L"--popup", L"--tick"});
  const SizeInt32 windowSize = WindowSize(window.window());

  GraphicsCaptureItemInterop* interop = nullptr;
  ASSERT_EQ(Factory(kGraphicsCaptureItemClass, kIidGraphicsCaptureItemInterop, &interop), S_OK);
  GraphicsCaptureItem* item = nullptr;
  ASSERT_EQ(platform.CreateForWindow(interop, window.window(), kIidGraphicsCaptureItem, &item), S_OK);
  held.Hold(item, "capture item");
  SizeInt32 poolSize;
  ASSERT_EQ(platform.get_Size(item, &poolSize), S_OK);
  std::printf("capture item %dx%d for a window of %dx%d\n", poolSize.Width, poolSize.Height, windowSize.Width,
              windowSize.Height);
  ASSERT_GT(poolSize.Width, 0);
  ASSERT_GT(poolSize.Height, 0);

  ASSERT_EQ(MakeDevice(kCreateDeviceBgraSupport), S_OK);
  DxgiDevice* dxgiDevice = nullptr;
  ASSERT_EQ(platform.QueryInterface(device, kIidDxgiDevice, &dxgiDevice), S_OK);
  held.Hold(dxgiDevice, "DXGI device");
  Inspectable* graphicsDevice = nullptr;
  ASSERT_EQ(platform.CreateDirect3D11DeviceFromDXGIDevice(dxgiDevice, &graphicsDevice), S_OK);
  held.Hold(graphicsDevice, "WinRT device object");
  Direct3DDevice* direct3DDevice = nullptr;
  ASSERT_EQ(platform.QueryInterface(graphicsDevice, kIidDirect3DDevice, &direct3DDevice), S_OK);
  held.Hold(direct3DDevice, "WinRT Direct3D device");

  CaptureFramePoolStatics2* statics = nullptr;
  ASSERT_EQ(Factory(kCaptureFramePoolClass, kIidCaptureFramePoolStatics2, &statics), S_OK);
  CaptureFramePool* pool = nullptr;
  ASSERT_EQ(platform.CreateFreeThreaded(statics, direct3DDevice, kPixelFormatB8G8R8A8, 2, poolSize, &pool), S_OK);
  held.Hold(pool, "frame pool", /*closable=*/true);
  GraphicsCaptureSession* session = nullptr;
  ASSERT_EQ(platform.CreateCaptureSession(pool, item, &session), S_OK);
  held.Hold(session, "capture session", /*closable=*/true);
  ASSERT_EQ(platform.StartCapture(session), S_OK);

  // Poll for a frame whose content fills the pool's surface; a frame of
  // another size (common for the first) re-creates the pool at its size.
  CaptureFrame* frame = nullptr;
  SizeInt32 content;
  const ULONGLONG deadline = ::GetTickCount64() + 10000;
  while (frame == nullptr && ::GetTickCount64() < deadline) {
    CaptureFrame* next = nullptr;
    ASSERT_EQ(platform.TryGetNextFrame(pool, &next), S_OK);
    if (next == nullptr) {
      ::Sleep(5);
      continue;
    }
    held.Hold(next, "capture frame", /*closable=*/true);
    ASSERT_EQ(platform.get_ContentSize(next, &content), S_OK);
    if (content.Width == poolSize.Width && content.Height == poolSize.Height) {
      frame = next;
      break;
    }
    held.Release(next);
    ASSERT_GT(content.Width, 0);
    ASSERT_GT(content.Height, 0);
    poolSize = content;
    ASSERT_EQ(platform.Recreate(pool, direct3DDevice, kPixelFormatB8G8R8A8, 2, poolSize), S_OK);
  }
  ASSERT_NE(frame, nullptr) << "no frame of the pool's size within 10 s of StartCapture";
  EXPECT_EQ(content.Width, windowSize.Width);
  EXPECT_EQ(content.Height, windowSize.Height);

  Direct3DSurface* surface = nullptr;
  ASSERT_EQ(platform.get_Surface(frame, &surface), S_OK);
  held.Hold(surface, "surface");
  DxgiInterfaceAccess* access = nullptr;
  ASSERT_EQ(platform.QueryInterface(surface, kIidDxgiInterfaceAccess, &access), S_OK);
  held.Hold(access, "DXGI interface access");
  D3D11Texture2D* texture = nullptr;
  ASSERT_EQ(platform.GetInterface(access, kIidD3D11Texture2D, &texture), S_OK);
  held.Hold(texture, "frame texture");

  Texture2DDesc desc;
  platform.GetDesc(texture, &desc);
  // The surface has the pool's size; the content may be smaller.
  ASSERT_GE(desc.Width, static_cast<std::uint32_t>(content.Width));
  ASSERT_GE(desc.Height, static_cast<std::uint32_t>(content.Height));
  EXPECT_EQ(desc.Format, kFormatB8G8R8A8Unorm);
  desc.Usage = kUsageStaging;
  desc.BindFlags = 0;
  desc.CPUAccessFlags = kCpuAccessRead;
  desc.MiscFlags = 0;
  D3D11Texture2D* readback = nullptr;
  ASSERT_EQ(platform.CreateTexture2D(device, desc, &readback), S_OK);
  held.Hold(readback, "read-back texture");
  platform.CopyResource(context, readback, texture);

  MappedSubresource mapped;
  ASSERT_EQ(platform.Map(context, readback, 0, kMapRead, 0, &mapped), S_OK);
  const auto width = static_cast<std::uint32_t>(content.Width);
  const auto height = static_cast<std::uint32_t>(content.Height);
  std::vector<std::uint8_t> pixels(std::size_t{width} * height * 4);
  for (std::uint32_t row = 0; row < height; ++row) {
    const auto* from = static_cast<const std::uint8_t*>(mapped.pData) + std::size_t{row} * mapped.RowPitch;
    std::copy(from, from + std::size_t{width} * 4, pixels.begin() + std::size_t{row} * width * 4);
  }
  platform.Unmap(context, readback, 0);
  EXPECT_EQ(held.Release(readback), 0u) << "the read-back texture is this check's alone";

  // Composed pixels pass the compositor's colour handling: the tolerance.
  analysis::PatternCheck check;
  check.scaling = analysis::Scaling::Filtered;
  const std::vector<std::string> problems = analysis::CheckUnscaledPattern({pixels, width, height}, check);
  std::string text;
  for (const std::string& problem : problems) text += problem + "\n";
  EXPECT_TRUE(problems.empty()) << text;
}

}  // namespace
}  // namespace orvel::wintest
