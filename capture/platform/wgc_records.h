#pragma once
// The platform records that the capture backend and the GPU scaler fill in,
// field for field as Direct3D 11, DXGI and the Windows Runtime declare them,
// and the numeric constants they use. The Windows adapter copies each record
// into the real one and checks every constant against the platform's.

#include <cstdint>

namespace orvel {

struct VideoProcessorInputView;

using Bool = std::int32_t;  // BOOL

// GUID
struct Guid {
  std::uint32_t Data1 = 0;
  std::uint16_t Data2 = 0;
  std::uint16_t Data3 = 0;
  std::uint8_t Data4[8] = {};
  friend bool operator==(const Guid&, const Guid&) = default;
};

// Windows.Graphics.SizeInt32
struct SizeInt32 {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  friend bool operator==(const SizeInt32&, const SizeInt32&) = default;
};

// Windows.Foundation.TimeSpan: 100-nanosecond units.
struct TimeSpan {
  std::int64_t Duration = 0;
};

// DXGI_SAMPLE_DESC
struct DxgiSampleDesc {
  std::uint32_t Count = 0;
  std::uint32_t Quality = 0;
};

// D3D11_TEXTURE2D_DESC
struct Texture2DDesc {
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  std::uint32_t MipLevels = 0;
  std::uint32_t ArraySize = 0;
  std::uint32_t Format = 0;  // DXGI_FORMAT
  DxgiSampleDesc SampleDesc;
  std::uint32_t Usage = 0;  // D3D11_USAGE
  std::uint32_t BindFlags = 0;
  std::uint32_t CPUAccessFlags = 0;
  std::uint32_t MiscFlags = 0;
};

// D3D11_MAPPED_SUBRESOURCE
struct MappedSubresource {
  void* pData = nullptr;
  std::uint32_t RowPitch = 0;
  std::uint32_t DepthPitch = 0;
};

// DXGI_RATIONAL
struct Rational {
  std::uint32_t Numerator = 0;
  std::uint32_t Denominator = 0;
};

// D3D11_VIDEO_PROCESSOR_CONTENT_DESC
struct VideoProcessorContentDesc {
  std::uint32_t InputFrameFormat = 0;  // D3D11_VIDEO_FRAME_FORMAT
  Rational InputFrameRate;
  std::uint32_t InputWidth = 0;
  std::uint32_t InputHeight = 0;
  Rational OutputFrameRate;
  std::uint32_t OutputWidth = 0;
  std::uint32_t OutputHeight = 0;
  std::uint32_t Usage = 0;  // D3D11_VIDEO_USAGE
};

// D3D11_VIDEO_PROCESSOR_OUTPUT_VIEW_DESC with its Texture2D member.
struct VideoProcessorOutputViewDesc {
  std::uint32_t ViewDimension = 0;  // D3D11_VPOV_DIMENSION
  struct {
    std::uint32_t MipSlice = 0;
  } Texture2D;
};

// D3D11_VIDEO_PROCESSOR_INPUT_VIEW_DESC with its Texture2D member.
struct VideoProcessorInputViewDesc {
  std::uint32_t FourCC = 0;
  std::uint32_t ViewDimension = 0;  // D3D11_VPIV_DIMENSION
  struct {
    std::uint32_t MipSlice = 0;
    std::uint32_t ArraySlice = 0;
  } Texture2D;
};

// RECT: right and bottom exclusive.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// D3D11_VIDEO_COLOR, its RGBA member.
struct VideoColorRgba {
  float R = 0.0f;
  float G = 0.0f;
  float B = 0.0f;
  float A = 0.0f;
};

// D3D11_VIDEO_PROCESSOR_STREAM
struct VideoProcessorStream {
  Bool Enable = 0;
  std::uint32_t OutputIndex = 0;
  std::uint32_t InputFrameOrField = 0;
  std::uint32_t PastFrames = 0;
  std::uint32_t FutureFrames = 0;
  VideoProcessorInputView** ppPastSurfaces = nullptr;
  VideoProcessorInputView* pInputSurface = nullptr;
  VideoProcessorInputView** ppFutureSurfaces = nullptr;
  VideoProcessorInputView** ppPastSurfacesRight = nullptr;
  VideoProcessorInputView* pInputSurfaceRight = nullptr;
  VideoProcessorInputView** ppFutureSurfacesRight = nullptr;
};

// The platform's numbers, each checked against its header in the adapter.
constexpr std::uint32_t kFormatB8G8R8A8Unorm = 87;  // DXGI_FORMAT_B8G8R8A8_UNORM
constexpr std::int32_t kPixelFormatB8G8R8A8 = 87;   // DirectXPixelFormat::B8G8R8A8UIntNormalized
constexpr std::uint32_t kDriverTypeHardware = 1;    // D3D_DRIVER_TYPE_HARDWARE
constexpr std::uint32_t kCreateDeviceBgraSupport = 0x20;
constexpr std::uint32_t kCreateDeviceVideoSupport = 0x800;
constexpr std::uint32_t kSdkVersion = 7;                // D3D11_SDK_VERSION
constexpr std::uint32_t kUsageDefault = 0;              // D3D11_USAGE_DEFAULT
constexpr std::uint32_t kUsageStaging = 3;              // D3D11_USAGE_STAGING
constexpr std::uint32_t kBindRenderTarget = 0x20;       // D3D11_BIND_RENDER_TARGET
constexpr std::uint32_t kCpuAccessRead = 0x20000;       // D3D11_CPU_ACCESS_READ
constexpr std::uint32_t kMapRead = 1;                   // D3D11_MAP_READ
constexpr std::uint32_t kFrameFormatProgressive = 0;    // D3D11_VIDEO_FRAME_FORMAT_PROGRESSIVE
constexpr std::uint32_t kVideoUsagePlaybackNormal = 0;  // D3D11_VIDEO_USAGE_PLAYBACK_NORMAL
constexpr std::uint32_t kVpovDimensionTexture2D = 1;    // D3D11_VPOV_DIMENSION_TEXTURE2D
constexpr std::uint32_t kVpivDimensionTexture2D = 1;    // D3D11_VPIV_DIMENSION_TEXTURE2D

}  // namespace orvel
