#include "wgc_platform_win.h"

#include <d3d11.h>
#include <dxgi.h>
#include <inspectable.h>

#include <cstdint>
#include <vector>

#include "../platform/wgc_ids.h"
#include "handle_cast.h"
#include "late_bound.h"
#include "winrt_capture_abi.h"

namespace orvel {
namespace {

// --- The portable numbers are the platform's.

constexpr std::uint32_t U(int value) { return static_cast<std::uint32_t>(value); }

static_assert(kFormatB8G8R8A8Unorm == U(DXGI_FORMAT_B8G8R8A8_UNORM));
static_assert(kPixelFormatB8G8R8A8 == abi::DirectXPixelFormat_B8G8R8A8UIntNormalized);
static_assert(kDriverTypeHardware == U(D3D_DRIVER_TYPE_HARDWARE));
static_assert(kCreateDeviceBgraSupport == U(D3D11_CREATE_DEVICE_BGRA_SUPPORT));
static_assert(kCreateDeviceVideoSupport == U(D3D11_CREATE_DEVICE_VIDEO_SUPPORT));
static_assert(kSdkVersion == D3D11_SDK_VERSION);
static_assert(kUsageDefault == U(D3D11_USAGE_DEFAULT));
static_assert(kUsageStaging == U(D3D11_USAGE_STAGING));
static_assert(kBindRenderTarget == U(D3D11_BIND_RENDER_TARGET));
static_assert(kCpuAccessRead == U(D3D11_CPU_ACCESS_READ));
static_assert(kMapRead == U(D3D11_MAP_READ));
static_assert(kFrameFormatProgressive == U(D3D11_VIDEO_FRAME_FORMAT_PROGRESSIVE));
static_assert(kVideoUsagePlaybackNormal == U(D3D11_VIDEO_USAGE_PLAYBACK_NORMAL));
static_assert(kVpovDimensionTexture2D == U(D3D11_VPOV_DIMENSION_TEXTURE2D));
static_assert(kVpivDimensionTexture2D == U(D3D11_VPIV_DIMENSION_TEXTURE2D));
static_assert(sizeof(D3D_FEATURE_LEVEL) == sizeof(std::uint32_t));
static_assert(sizeof(wchar_t) == sizeof(char16_t));

// The identifiers the portable code passes are the ones the interface
// declarations carry.
constexpr bool Same(const GUID& platform, const Guid& portable) {
  if (platform.Data1 != portable.Data1 || platform.Data2 != portable.Data2 || platform.Data3 != portable.Data3) {
    return false;
  }
  for (int i = 0; i < 8; ++i) {
    if (platform.Data4[i] != portable.Data4[i]) return false;
  }
  return true;
}
static_assert(Same(abi::IID_IGraphicsCaptureItemInterop, kIidGraphicsCaptureItemInterop));
static_assert(Same(abi::IID_IGraphicsCaptureItem, kIidGraphicsCaptureItem));
static_assert(Same(abi::IID_IDirect3D11CaptureFramePoolStatics2, kIidCaptureFramePoolStatics2));
static_assert(Same(abi::IID_IGraphicsCaptureSession2, kIidGraphicsCaptureSession2));
static_assert(Same(abi::IID_IDirect3DDevice, kIidDirect3DDevice));
static_assert(Same(abi::IID_IDirect3DDxgiInterfaceAccess, kIidDxgiInterfaceAccess));
static_assert(Same(abi::IID_IClosable, kIidClosable));

// --- Each opaque portable object is the platform interface beside it.

template <class Portable>
struct Real;
template <class Portable, class Platform>
struct RealIs {
  using type = Platform;
};
template <>
struct Real<Unknown> : RealIs<Unknown, IUnknown> {};
template <>
struct Real<GraphicsCaptureItemInterop> : RealIs<GraphicsCaptureItemInterop, abi::IGraphicsCaptureItemInterop> {};
template <>
struct Real<GraphicsCaptureItem> : RealIs<GraphicsCaptureItem, abi::IGraphicsCaptureItem> {};
template <>
struct Real<D3D11Device> : RealIs<D3D11Device, ID3D11Device> {};
template <>
struct Real<D3D11DeviceContext> : RealIs<D3D11DeviceContext, ID3D11DeviceContext> {};
template <>
struct Real<DxgiDevice> : RealIs<DxgiDevice, IDXGIDevice> {};
template <>
struct Real<Inspectable> : RealIs<Inspectable, IInspectable> {};
template <>
struct Real<Direct3DDevice> : RealIs<Direct3DDevice, abi::IDirect3DDevice> {};
template <>
struct Real<CaptureFramePoolStatics2> : RealIs<CaptureFramePoolStatics2, abi::IDirect3D11CaptureFramePoolStatics2> {};
template <>
struct Real<CaptureFramePool> : RealIs<CaptureFramePool, abi::IDirect3D11CaptureFramePool> {};
template <>
struct Real<GraphicsCaptureSession> : RealIs<GraphicsCaptureSession, abi::IGraphicsCaptureSession> {};
template <>
struct Real<GraphicsCaptureSession2> : RealIs<GraphicsCaptureSession2, abi::IGraphicsCaptureSession2> {};
template <>
struct Real<CaptureFrame> : RealIs<CaptureFrame, abi::IDirect3D11CaptureFrame> {};
template <>
struct Real<Direct3DSurface> : RealIs<Direct3DSurface, abi::IDirect3DSurface> {};
template <>
struct Real<DxgiInterfaceAccess> : RealIs<DxgiInterfaceAccess, abi::IDirect3DDxgiInterfaceAccess> {};
template <>
struct Real<D3D11Texture2D> : RealIs<D3D11Texture2D, ID3D11Texture2D> {};
template <>
struct Real<Closable> : RealIs<Closable, abi::IClosable> {};
template <>
struct Real<D3D11VideoDevice> : RealIs<D3D11VideoDevice, ID3D11VideoDevice> {};
template <>
struct Real<D3D11VideoContext> : RealIs<D3D11VideoContext, ID3D11VideoContext> {};
template <>
struct Real<VideoProcessorEnumerator> : RealIs<VideoProcessorEnumerator, ID3D11VideoProcessorEnumerator> {};
template <>
struct Real<VideoProcessor> : RealIs<VideoProcessor, ID3D11VideoProcessor> {};
template <>
struct Real<VideoProcessorOutputView> : RealIs<VideoProcessorOutputView, ID3D11VideoProcessorOutputView> {};
template <>
struct Real<VideoProcessorInputView> : RealIs<VideoProcessorInputView, ID3D11VideoProcessorInputView> {};

template <class Portable>
typename Real<Portable>::type* R(Portable* object) {
  return reinterpret_cast<typename Real<Portable>::type*>(object);
}

template <class Portable>
typename Real<Portable>::type** Out(Portable** object) {
  return reinterpret_cast<typename Real<Portable>::type**>(object);
}

// A COM out-parameter of type void**.
template <class Portable>
void** VoidOut(Portable** object) {
  return reinterpret_cast<void**>(object);
}

// Every object is a COM object: queried and released as IUnknown.
template <class Portable>
IUnknown* AsIUnknown(Portable* object) {
  return reinterpret_cast<IUnknown*>(object);
}

// --- Records, field by field.

abi::SizeInt32 ToAbi(SizeInt32 size) {
  abi::SizeInt32 real;
  real.Width = size.Width;
  real.Height = size.Height;
  return real;
}

SizeInt32 FromAbi(const abi::SizeInt32& real) {
  SizeInt32 size;
  size.Width = real.Width;
  size.Height = real.Height;
  return size;
}

D3D11_TEXTURE2D_DESC ToD3D(const Texture2DDesc& desc) {
  D3D11_TEXTURE2D_DESC real{};
  real.Width = desc.Width;
  real.Height = desc.Height;
  real.MipLevels = desc.MipLevels;
  real.ArraySize = desc.ArraySize;
  real.Format = static_cast<DXGI_FORMAT>(desc.Format);
  real.SampleDesc.Count = desc.SampleDesc.Count;
  real.SampleDesc.Quality = desc.SampleDesc.Quality;
  real.Usage = static_cast<D3D11_USAGE>(desc.Usage);
  real.BindFlags = desc.BindFlags;
  real.CPUAccessFlags = desc.CPUAccessFlags;
  real.MiscFlags = desc.MiscFlags;
  return real;
}

Texture2DDesc FromD3D(const D3D11_TEXTURE2D_DESC& real) {
  Texture2DDesc desc;
  desc.Width = real.Width;
  desc.Height = real.Height;
  desc.MipLevels = real.MipLevels;
  desc.ArraySize = real.ArraySize;
  desc.Format = static_cast<std::uint32_t>(real.Format);
  desc.SampleDesc.Count = real.SampleDesc.Count;
  desc.SampleDesc.Quality = real.SampleDesc.Quality;
  desc.Usage = static_cast<std::uint32_t>(real.Usage);
  desc.BindFlags = real.BindFlags;
  desc.CPUAccessFlags = real.CPUAccessFlags;
  desc.MiscFlags = real.MiscFlags;
  return desc;
}

D3D11_VIDEO_PROCESSOR_CONTENT_DESC ToD3D(const VideoProcessorContentDesc& desc) {
  D3D11_VIDEO_PROCESSOR_CONTENT_DESC real{};
  real.InputFrameFormat = static_cast<D3D11_VIDEO_FRAME_FORMAT>(desc.InputFrameFormat);
  real.InputFrameRate.Numerator = desc.InputFrameRate.Numerator;
  real.InputFrameRate.Denominator = desc.InputFrameRate.Denominator;
  real.InputWidth = desc.InputWidth;
  real.InputHeight = desc.InputHeight;
  real.OutputFrameRate.Numerator = desc.OutputFrameRate.Numerator;
  real.OutputFrameRate.Denominator = desc.OutputFrameRate.Denominator;
  real.OutputWidth = desc.OutputWidth;
  real.OutputHeight = desc.OutputHeight;
  real.Usage = static_cast<D3D11_VIDEO_USAGE>(desc.Usage);
  return real;
}

D3D11_VIDEO_PROCESSOR_OUTPUT_VIEW_DESC ToD3D(const VideoProcessorOutputViewDesc& desc) {
  D3D11_VIDEO_PROCESSOR_OUTPUT_VIEW_DESC real{};
  real.ViewDimension = static_cast<D3D11_VPOV_DIMENSION>(desc.ViewDimension);
  real.Texture2D.MipSlice = desc.Texture2D.MipSlice;
  return real;
}

D3D11_VIDEO_PROCESSOR_INPUT_VIEW_DESC ToD3D(const VideoProcessorInputViewDesc& desc) {
  D3D11_VIDEO_PROCESSOR_INPUT_VIEW_DESC real{};
  real.FourCC = desc.FourCC;
  real.ViewDimension = static_cast<D3D11_VPIV_DIMENSION>(desc.ViewDimension);
  real.Texture2D.MipSlice = desc.Texture2D.MipSlice;
  real.Texture2D.ArraySlice = desc.Texture2D.ArraySlice;
  return real;
}

RECT ToD3D(const Rect& rect) {
  RECT real;
  real.left = rect.left;
  real.top = rect.top;
  real.right = rect.right;
  real.bottom = rect.bottom;
  return real;
}

D3D11_VIDEO_COLOR ToD3D(const VideoColorRgba& color) {
  D3D11_VIDEO_COLOR real{};
  real.RGBA.R = color.R;
  real.RGBA.G = color.G;
  real.RGBA.B = color.B;
  real.RGBA.A = color.A;
  return real;
}

D3D11_VIDEO_PROCESSOR_STREAM ToD3D(const VideoProcessorStream& stream) {
  D3D11_VIDEO_PROCESSOR_STREAM real{};
  real.Enable = stream.Enable;
  real.OutputIndex = stream.OutputIndex;
  real.InputFrameOrField = stream.InputFrameOrField;
  real.PastFrames = stream.PastFrames;
  real.FutureFrames = stream.FutureFrames;
  real.ppPastSurfaces = Out(stream.ppPastSurfaces);
  real.pInputSurface = R(stream.pInputSurface);
  real.ppFutureSurfaces = Out(stream.ppFutureSurfaces);
  real.ppPastSurfacesRight = Out(stream.ppPastSurfacesRight);
  real.pInputSurfaceRight = R(stream.pInputSurfaceRight);
  real.ppFutureSurfacesRight = Out(stream.ppFutureSurfacesRight);
  return real;
}

}  // namespace

// --- Strings and factories.

HResult WinWgcPlatform::WindowsCreateString(const char16_t* text, std::uint32_t length, HString* string) {
  return late_bound::WindowsCreateString(reinterpret_cast<PCNZWCH>(text), length, reinterpret_cast<HSTRING*>(string));
}

HResult WinWgcPlatform::WindowsDeleteString(HString string) {
  return late_bound::WindowsDeleteString(reinterpret_cast<HSTRING>(string));
}

HResult WinWgcPlatform::RoGetActivationFactory(HString classId, const Guid& iid, GraphicsCaptureItemInterop** factory) {
  return late_bound::RoGetActivationFactory(reinterpret_cast<HSTRING>(classId), ToGuid(iid), VoidOut(factory));
}

HResult WinWgcPlatform::RoGetActivationFactory(HString classId, const Guid& iid, CaptureFramePoolStatics2** factory) {
  return late_bound::RoGetActivationFactory(reinterpret_cast<HSTRING>(classId), ToGuid(iid), VoidOut(factory));
}

// --- The capture item.

HResult WinWgcPlatform::CreateForWindow(GraphicsCaptureItemInterop* interop, std::uint64_t window, const Guid& iid,
                                        GraphicsCaptureItem** item) {
  return R(interop)->lpVtbl->CreateForWindow(R(interop), ToHwnd(window), ToGuid(iid), VoidOut(item));
}

HResult WinWgcPlatform::get_Size(GraphicsCaptureItem* item, SizeInt32* size) {
  abi::SizeInt32 real{};
  const HRESULT hr = R(item)->lpVtbl->get_Size(R(item), &real);
  *size = FromAbi(real);
  return hr;
}

// --- Devices.

HResult WinWgcPlatform::D3D11CreateDevice(Unknown* adapter, std::uint32_t driverType, void* software,
                                          std::uint32_t flags, const std::uint32_t* featureLevels,
                                          std::uint32_t featureLevelCount, std::uint32_t sdkVersion,
                                          D3D11Device** device, std::uint32_t* featureLevel,
                                          D3D11DeviceContext** context) {
  return ::D3D11CreateDevice(reinterpret_cast<IDXGIAdapter*>(adapter), static_cast<D3D_DRIVER_TYPE>(driverType),
                             static_cast<HMODULE>(software), flags,
                             reinterpret_cast<const D3D_FEATURE_LEVEL*>(featureLevels), featureLevelCount, sdkVersion,
                             Out(device), reinterpret_cast<D3D_FEATURE_LEVEL*>(featureLevel), Out(context));
}

HResult WinWgcPlatform::QueryInterface(D3D11Device* device, const Guid& iid, DxgiDevice** dxgiDevice) {
  return AsIUnknown(device)->QueryInterface(ToGuid(iid), VoidOut(dxgiDevice));
}

HResult WinWgcPlatform::CreateDirect3D11DeviceFromDXGIDevice(DxgiDevice* dxgiDevice, Inspectable** graphicsDevice) {
  return late_bound::CreateDirect3D11DeviceFromDXGIDevice(R(dxgiDevice), Out(graphicsDevice));
}

HResult WinWgcPlatform::QueryInterface(Inspectable* graphicsDevice, const Guid& iid, Direct3DDevice** direct3DDevice) {
  return AsIUnknown(graphicsDevice)->QueryInterface(ToGuid(iid), VoidOut(direct3DDevice));
}

// --- Pool and session.

HResult WinWgcPlatform::CreateFreeThreaded(CaptureFramePoolStatics2* statics, Direct3DDevice* device,
                                           std::int32_t pixelFormat, std::int32_t numberOfBuffers, SizeInt32 size,
                                           CaptureFramePool** pool) {
  return R(statics)->lpVtbl->CreateFreeThreaded(R(statics), R(device),
                                                static_cast<abi::DirectXPixelFormat>(pixelFormat), numberOfBuffers,
                                                ToAbi(size), Out(pool));
}

HResult WinWgcPlatform::CreateCaptureSession(CaptureFramePool* pool, GraphicsCaptureItem* item,
                                             GraphicsCaptureSession** session) {
  return R(pool)->lpVtbl->CreateCaptureSession(R(pool), R(item), Out(session));
}

HResult WinWgcPlatform::QueryInterface(GraphicsCaptureSession* session, const Guid& iid,
                                       GraphicsCaptureSession2** session2) {
  return AsIUnknown(session)->QueryInterface(ToGuid(iid), VoidOut(session2));
}

HResult WinWgcPlatform::put_IsCursorCaptureEnabled(GraphicsCaptureSession2* session2, std::uint8_t value) {
  return R(session2)->lpVtbl->put_IsCursorCaptureEnabled(R(session2), value);
}

HResult WinWgcPlatform::StartCapture(GraphicsCaptureSession* session) {
  return R(session)->lpVtbl->StartCapture(R(session));
}

HResult WinWgcPlatform::Recreate(CaptureFramePool* pool, Direct3DDevice* device, std::int32_t pixelFormat,
                                 std::int32_t numberOfBuffers, SizeInt32 size) {
  return R(pool)->lpVtbl->Recreate(R(pool), R(device), static_cast<abi::DirectXPixelFormat>(pixelFormat),
                                   numberOfBuffers, ToAbi(size));
}

HResult WinWgcPlatform::TryGetNextFrame(CaptureFramePool* pool, CaptureFrame** frame) {
  return R(pool)->lpVtbl->TryGetNextFrame(R(pool), Out(frame));
}

// --- Frames.

HResult WinWgcPlatform::get_SystemRelativeTime(CaptureFrame* frame, TimeSpan* time) {
  abi::TimeSpan real{};
  const HRESULT hr = R(frame)->lpVtbl->get_SystemRelativeTime(R(frame), &real);
  time->Duration = real.Duration;
  return hr;
}

HResult WinWgcPlatform::get_ContentSize(CaptureFrame* frame, SizeInt32* size) {
  abi::SizeInt32 real{};
  const HRESULT hr = R(frame)->lpVtbl->get_ContentSize(R(frame), &real);
  *size = FromAbi(real);
  return hr;
}

HResult WinWgcPlatform::get_Surface(CaptureFrame* frame, Direct3DSurface** surface) {
  return R(frame)->lpVtbl->get_Surface(R(frame), Out(surface));
}

HResult WinWgcPlatform::QueryInterface(Direct3DSurface* surface, const Guid& iid, DxgiInterfaceAccess** access) {
  return AsIUnknown(surface)->QueryInterface(ToGuid(iid), VoidOut(access));
}

HResult WinWgcPlatform::GetInterface(DxgiInterfaceAccess* access, const Guid& iid, D3D11Texture2D** texture) {
  return R(access)->lpVtbl->GetInterface(R(access), ToGuid(iid), VoidOut(texture));
}

// --- Textures.

void WinWgcPlatform::GetDesc(D3D11Texture2D* texture, Texture2DDesc* desc) {
  D3D11_TEXTURE2D_DESC real{};
  R(texture)->GetDesc(&real);
  *desc = FromD3D(real);
}

HResult WinWgcPlatform::CreateTexture2D(D3D11Device* device, const Texture2DDesc& desc, D3D11Texture2D** texture) {
  const D3D11_TEXTURE2D_DESC real = ToD3D(desc);
  return R(device)->CreateTexture2D(&real, nullptr, Out(texture));
}

void WinWgcPlatform::CopyResource(D3D11DeviceContext* context, D3D11Texture2D* destination, D3D11Texture2D* source) {
  R(context)->CopyResource(R(destination), R(source));
}

HResult WinWgcPlatform::Map(D3D11DeviceContext* context, D3D11Texture2D* texture, std::uint32_t subresource,
                            std::uint32_t mapType, std::uint32_t mapFlags, MappedSubresource* mapped) {
  D3D11_MAPPED_SUBRESOURCE real{};
  const HRESULT hr = R(context)->Map(R(texture), subresource, static_cast<D3D11_MAP>(mapType), mapFlags, &real);
  mapped->pData = real.pData;
  mapped->RowPitch = real.RowPitch;
  mapped->DepthPitch = real.DepthPitch;
  return hr;
}

void WinWgcPlatform::Unmap(D3D11DeviceContext* context, D3D11Texture2D* texture, std::uint32_t subresource) {
  R(context)->Unmap(R(texture), subresource);
}

// --- Closing.

HResult WinWgcPlatform::QueryInterface(Unknown* object, const Guid& iid, Closable** closable) {
  return AsIUnknown(object)->QueryInterface(ToGuid(iid), VoidOut(closable));
}

HResult WinWgcPlatform::Close(Closable* closable) { return R(closable)->lpVtbl->Close(R(closable)); }

// --- The video processor.

HResult WinWgcPlatform::QueryInterface(D3D11Device* device, const Guid& iid, D3D11VideoDevice** videoDevice) {
  return AsIUnknown(device)->QueryInterface(ToGuid(iid), VoidOut(videoDevice));
}

HResult WinWgcPlatform::QueryInterface(D3D11DeviceContext* context, const Guid& iid, D3D11VideoContext** videoContext) {
  return AsIUnknown(context)->QueryInterface(ToGuid(iid), VoidOut(videoContext));
}

HResult WinWgcPlatform::CreateVideoProcessorEnumerator(D3D11VideoDevice* videoDevice,
                                                       const VideoProcessorContentDesc& desc,
                                                       VideoProcessorEnumerator** enumerator) {
  const D3D11_VIDEO_PROCESSOR_CONTENT_DESC real = ToD3D(desc);
  return R(videoDevice)->CreateVideoProcessorEnumerator(&real, Out(enumerator));
}

HResult WinWgcPlatform::CreateVideoProcessor(D3D11VideoDevice* videoDevice, VideoProcessorEnumerator* enumerator,
                                             std::uint32_t rateConversionIndex, VideoProcessor** processor) {
  return R(videoDevice)->CreateVideoProcessor(R(enumerator), rateConversionIndex, Out(processor));
}

HResult WinWgcPlatform::CreateVideoProcessorOutputView(D3D11VideoDevice* videoDevice, D3D11Texture2D* resource,
                                                       VideoProcessorEnumerator* enumerator,
                                                       const VideoProcessorOutputViewDesc& desc,
                                                       VideoProcessorOutputView** view) {
  const D3D11_VIDEO_PROCESSOR_OUTPUT_VIEW_DESC real = ToD3D(desc);
  return R(videoDevice)->CreateVideoProcessorOutputView(R(resource), R(enumerator), &real, Out(view));
}

HResult WinWgcPlatform::CreateVideoProcessorInputView(D3D11VideoDevice* videoDevice, D3D11Texture2D* resource,
                                                      VideoProcessorEnumerator* enumerator,
                                                      const VideoProcessorInputViewDesc& desc,
                                                      VideoProcessorInputView** view) {
  const D3D11_VIDEO_PROCESSOR_INPUT_VIEW_DESC real = ToD3D(desc);
  return R(videoDevice)->CreateVideoProcessorInputView(R(resource), R(enumerator), &real, Out(view));
}

void WinWgcPlatform::VideoProcessorSetStreamSourceRect(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                                       std::uint32_t streamIndex, Bool enable, const Rect& rect) {
  const RECT real = ToD3D(rect);
  R(videoContext)->VideoProcessorSetStreamSourceRect(R(processor), streamIndex, enable, &real);
}

void WinWgcPlatform::VideoProcessorSetStreamFrameFormat(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                                        std::uint32_t streamIndex, std::uint32_t frameFormat) {
  R(videoContext)
      ->VideoProcessorSetStreamFrameFormat(R(processor), streamIndex,
                                           static_cast<D3D11_VIDEO_FRAME_FORMAT>(frameFormat));
}

void WinWgcPlatform::VideoProcessorSetStreamAutoProcessingMode(D3D11VideoContext* videoContext,
                                                               VideoProcessor* processor, std::uint32_t streamIndex,
                                                               Bool enable) {
  R(videoContext)->VideoProcessorSetStreamAutoProcessingMode(R(processor), streamIndex, enable);
}

void WinWgcPlatform::VideoProcessorSetStreamDestRect(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                                     std::uint32_t streamIndex, Bool enable, const Rect& rect) {
  const RECT real = ToD3D(rect);
  R(videoContext)->VideoProcessorSetStreamDestRect(R(processor), streamIndex, enable, &real);
}

void WinWgcPlatform::VideoProcessorSetOutputBackgroundColor(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                                            Bool ycbcr, const VideoColorRgba& color) {
  const D3D11_VIDEO_COLOR real = ToD3D(color);
  R(videoContext)->VideoProcessorSetOutputBackgroundColor(R(processor), ycbcr, &real);
}

HResult WinWgcPlatform::VideoProcessorBlt(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                          VideoProcessorOutputView* view, std::uint32_t outputFrame,
                                          std::uint32_t streamCount, const VideoProcessorStream* streams) {
  std::vector<D3D11_VIDEO_PROCESSOR_STREAM> real;
  real.reserve(streamCount);
  for (std::uint32_t i = 0; i < streamCount; ++i) real.push_back(ToD3D(streams[i]));
  return R(videoContext)->VideoProcessorBlt(R(processor), R(view), outputFrame, streamCount, real.data());
}

std::uint32_t WinWgcPlatform::Release(Unknown* object) { return AsIUnknown(object)->Release(); }

}  // namespace orvel
