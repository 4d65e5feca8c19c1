// The capture backend's Windows adapter against what Wine really has: the
// interface identifiers the portable code passes are the platform headers',
// the Windows Runtime refuses both capture classes, the interop entry point
// is missing from Wine's d3d11.dll, the device has no video processor, and
// textures keep their description and read back through the mapped pitch.

#include <d3d11.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/wgc_ids.h"
#include "win/late_bound.h"
#include "win/wgc_platform_win.h"

namespace orvel {
namespace {

std::uint32_t Length(const char16_t* text) {
  return static_cast<std::uint32_t>(std::char_traits<char16_t>::length(text));
}

TEST(PortableIdentifiers, AreTheOnesThePlatformHeadersDeclare) {
  EXPECT_TRUE(IsEqualGUID(ToGuid(kIidDxgiDevice), __uuidof(IDXGIDevice)));
  EXPECT_TRUE(IsEqualGUID(ToGuid(kIidD3D11Texture2D), __uuidof(ID3D11Texture2D)));
  EXPECT_TRUE(IsEqualGUID(ToGuid(kIidD3D11VideoDevice), __uuidof(ID3D11VideoDevice)));
  EXPECT_TRUE(IsEqualGUID(ToGuid(kIidD3D11VideoContext), __uuidof(ID3D11VideoContext)));
}

class WinAdapter : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_GE(late_bound::RoInitialize(RO_INIT_MULTITHREADED), 0); }
  static void TearDownTestSuite() { late_bound::RoUninitialize(); }

  void MakeDevice(std::uint32_t flags) {
    ASSERT_EQ(platform.D3D11CreateDevice(nullptr, kDriverTypeHardware, nullptr, flags, nullptr, 0, kSdkVersion, &device,
                                         nullptr, &context),
              S_OK);
    ASSERT_NE(device, nullptr);
    ASSERT_NE(context, nullptr);
  }

  void TearDown() override {
    if (context != nullptr) platform.Release(AsUnknown(context));
    if (device != nullptr) platform.Release(AsUnknown(device));
  }

  WinWgcPlatform platform;
  D3D11Device* device = nullptr;
  D3D11DeviceContext* context = nullptr;
};

TEST_F(WinAdapter, WineRegistersNeitherCaptureClass) {
  HString itemClass = nullptr, poolClass = nullptr;
  ASSERT_EQ(platform.WindowsCreateString(kGraphicsCaptureItemClass, Length(kGraphicsCaptureItemClass), &itemClass),
            S_OK);
  ASSERT_EQ(platform.WindowsCreateString(kCaptureFramePoolClass, Length(kCaptureFramePoolClass), &poolClass), S_OK);

  GraphicsCaptureItemInterop* interop = nullptr;
  CaptureFramePoolStatics2* statics = nullptr;
  EXPECT_EQ(
      static_cast<std::uint32_t>(platform.RoGetActivationFactory(itemClass, kIidGraphicsCaptureItemInterop, &interop)),
      0x80040154u);
  EXPECT_EQ(
      static_cast<std::uint32_t>(platform.RoGetActivationFactory(poolClass, kIidCaptureFramePoolStatics2, &statics)),
      0x80040154u);
  EXPECT_EQ(interop, nullptr);
  EXPECT_EQ(statics, nullptr);

  EXPECT_EQ(platform.WindowsDeleteString(itemClass), S_OK);
  EXPECT_EQ(platform.WindowsDeleteString(poolClass), S_OK);
}

TEST_F(WinAdapter, TheDeviceHasADxgiViewButWinesD3D11LacksTheInteropEntryPoint) {
  MakeDevice(kCreateDeviceBgraSupport);
  DxgiDevice* dxgiDevice = nullptr;
  ASSERT_EQ(platform.QueryInterface(device, kIidDxgiDevice, &dxgiDevice), S_OK);

  Inspectable* graphicsDevice = nullptr;
  EXPECT_EQ(platform.CreateDirect3D11DeviceFromDXGIDevice(dxgiDevice, &graphicsDevice), late_bound::kEntryPointMissing);
  EXPECT_EQ(graphicsDevice, nullptr);
  platform.Release(AsUnknown(dxgiDevice));
}

TEST_F(WinAdapter, WinesDeviceHasNoVideoProcessor) {
  MakeDevice(kCreateDeviceBgraSupport | kCreateDeviceVideoSupport);
  D3D11VideoDevice* videoDevice = nullptr;
  D3D11VideoContext* videoContext = nullptr;
  EXPECT_EQ(platform.QueryInterface(device, kIidD3D11VideoDevice, &videoDevice), E_NOINTERFACE);
  EXPECT_EQ(platform.QueryInterface(context, kIidD3D11VideoContext, &videoContext), E_NOINTERFACE);
}

TEST_F(WinAdapter, TexturesKeepTheirDescriptionAndReadBackThroughTheMappedPitch) {
  MakeDevice(kCreateDeviceBgraSupport);
  const Texture2DDesc target{1000, 8, 1, 1, kFormatB8G8R8A8Unorm, {1, 0}, kUsageDefault, kBindRenderTarget, 0, 0};
  D3D11Texture2D* picture = nullptr;
  ASSERT_EQ(platform.CreateTexture2D(device, target, &picture), S_OK);

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

  platform.Release(AsUnknown(readback));
  platform.Release(AsUnknown(picture));
}

}  // namespace
}  // namespace orvel
