#pragma once
// The Windows Graphics Capture seam: the Windows Runtime, Direct3D 11 and
// video-processor calls that the capture backend and its GPU scaler make,
// with the platform's own arguments and results (an HRESULT, out-pointers to
// objects). The Windows adapter forwards each call and converts types; every
// decision about the values lives in the portable code that calls it.

#include <cstdint>

#include "hresult_error.h"
#include "wgc_records.h"

namespace orvel {

// Opaque platform objects. Portable code only hands them back to the
// platform; each stands for the interface named beside it.
struct Unknown;                     // IUnknown
struct GraphicsCaptureItemInterop;  // IGraphicsCaptureItemInterop
struct GraphicsCaptureItem;         // IGraphicsCaptureItem
struct D3D11Device;                 // ID3D11Device
struct D3D11DeviceContext;          // ID3D11DeviceContext (the immediate context)
struct DxgiDevice;                  // IDXGIDevice
struct Inspectable;                 // IInspectable: the WinRT device object
struct Direct3DDevice;              // IDirect3DDevice (WinRT)
struct CaptureFramePoolStatics2;    // IDirect3D11CaptureFramePoolStatics2
struct CaptureFramePool;            // IDirect3D11CaptureFramePool
struct GraphicsCaptureSession;      // IGraphicsCaptureSession
struct GraphicsCaptureSession2;     // IGraphicsCaptureSession2
struct CaptureFrame;                // IDirect3D11CaptureFrame
struct Direct3DSurface;             // IDirect3DSurface
struct DxgiInterfaceAccess;         // IDirect3DDxgiInterfaceAccess
struct D3D11Texture2D;              // ID3D11Texture2D
struct Closable;                    // IClosable
struct D3D11VideoDevice;            // ID3D11VideoDevice
struct D3D11VideoContext;           // ID3D11VideoContext
struct VideoProcessorEnumerator;    // ID3D11VideoProcessorEnumerator
struct VideoProcessor;              // ID3D11VideoProcessor
struct VideoProcessorOutputView;    // ID3D11VideoProcessorOutputView
struct VideoProcessorInputView;     // ID3D11VideoProcessorInputView
struct HStringHeader;
using HString = HStringHeader*;  // HSTRING

// Every object above is a COM object, so any of them can be released or
// queried as IUnknown.
template <class Object>
Unknown* AsUnknown(Object* object) {
  return reinterpret_cast<Unknown*>(object);
}

class WgcPlatform {
 public:
  virtual ~WgcPlatform() = default;

  // Windows Runtime strings and factories.
  virtual HResult WindowsCreateString(const char16_t* text, std::uint32_t length, HString* string) = 0;
  virtual HResult WindowsDeleteString(HString string) = 0;
  virtual HResult RoGetActivationFactory(HString classId, const Guid& iid, GraphicsCaptureItemInterop** factory) = 0;
  virtual HResult RoGetActivationFactory(HString classId, const Guid& iid, CaptureFramePoolStatics2** factory) = 0;

  // The capture item.
  virtual HResult CreateForWindow(GraphicsCaptureItemInterop* interop, std::uint64_t window, const Guid& iid,
                                  GraphicsCaptureItem** item) = 0;
  virtual HResult get_Size(GraphicsCaptureItem* item, SizeInt32* size) = 0;

  // The Direct3D device and its WinRT counterparts. `adapter` is an
  // IDXGIAdapter and `software` an HMODULE; feature levels are
  // D3D_FEATURE_LEVEL values.
  virtual HResult D3D11CreateDevice(Unknown* adapter, std::uint32_t driverType, void* software, std::uint32_t flags,
                                    const std::uint32_t* featureLevels, std::uint32_t featureLevelCount,
                                    std::uint32_t sdkVersion, D3D11Device** device, std::uint32_t* featureLevel,
                                    D3D11DeviceContext** context) = 0;
  virtual HResult QueryInterface(D3D11Device* device, const Guid& iid, DxgiDevice** dxgiDevice) = 0;
  virtual HResult CreateDirect3D11DeviceFromDXGIDevice(DxgiDevice* dxgiDevice, Inspectable** graphicsDevice) = 0;
  virtual HResult QueryInterface(Inspectable* graphicsDevice, const Guid& iid, Direct3DDevice** direct3DDevice) = 0;

  // The frame pool and the capture session.
  virtual HResult CreateFreeThreaded(CaptureFramePoolStatics2* statics, Direct3DDevice* device,
                                     std::int32_t pixelFormat, std::int32_t numberOfBuffers, SizeInt32 size,
                                     CaptureFramePool** pool) = 0;
  virtual HResult CreateCaptureSession(CaptureFramePool* pool, GraphicsCaptureItem* item,
                                       GraphicsCaptureSession** session) = 0;
  virtual HResult QueryInterface(GraphicsCaptureSession* session, const Guid& iid,
                                 GraphicsCaptureSession2** session2) = 0;
  virtual HResult put_IsCursorCaptureEnabled(GraphicsCaptureSession2* session2, std::uint8_t value) = 0;
  virtual HResult StartCapture(GraphicsCaptureSession* session) = 0;
  virtual HResult Recreate(CaptureFramePool* pool, Direct3DDevice* device, std::int32_t pixelFormat,
                           std::int32_t numberOfBuffers, SizeInt32 size) = 0;
  // S_OK with a null frame when the pool holds none.
  virtual HResult TryGetNextFrame(CaptureFramePool* pool, CaptureFrame** frame) = 0;

  // Frames and their surfaces.
  virtual HResult get_SystemRelativeTime(CaptureFrame* frame, TimeSpan* time) = 0;
  virtual HResult get_ContentSize(CaptureFrame* frame, SizeInt32* size) = 0;
  virtual HResult get_Surface(CaptureFrame* frame, Direct3DSurface** surface) = 0;
  virtual HResult QueryInterface(Direct3DSurface* surface, const Guid& iid, DxgiInterfaceAccess** access) = 0;
  virtual HResult GetInterface(DxgiInterfaceAccess* access, const Guid& iid, D3D11Texture2D** texture) = 0;

  // Textures and the read-back. CreateTexture2D is called without initial data.
  virtual void GetDesc(D3D11Texture2D* texture, Texture2DDesc* desc) = 0;
  virtual HResult CreateTexture2D(D3D11Device* device, const Texture2DDesc& desc, D3D11Texture2D** texture) = 0;
  virtual void CopyResource(D3D11DeviceContext* context, D3D11Texture2D* destination, D3D11Texture2D* source) = 0;
  virtual HResult Map(D3D11DeviceContext* context, D3D11Texture2D* texture, std::uint32_t subresource,
                      std::uint32_t mapType, std::uint32_t mapFlags, MappedSubresource* mapped) = 0;
  virtual void Unmap(D3D11DeviceContext* context, D3D11Texture2D* texture, std::uint32_t subresource) = 0;

  // Closing frames, the session and the pool.
  virtual HResult QueryInterface(Unknown* object, const Guid& iid, Closable** closable) = 0;
  virtual HResult Close(Closable* closable) = 0;

  // The video processor.
  virtual HResult QueryInterface(D3D11Device* device, const Guid& iid, D3D11VideoDevice** videoDevice) = 0;
  virtual HResult QueryInterface(D3D11DeviceContext* context, const Guid& iid, D3D11VideoContext** videoContext) = 0;
  virtual HResult CreateVideoProcessorEnumerator(D3D11VideoDevice* videoDevice, const VideoProcessorContentDesc& desc,
                                                 VideoProcessorEnumerator** enumerator) = 0;
  virtual HResult CreateVideoProcessor(D3D11VideoDevice* videoDevice, VideoProcessorEnumerator* enumerator,
                                       std::uint32_t rateConversionIndex, VideoProcessor** processor) = 0;
  virtual HResult CreateVideoProcessorOutputView(D3D11VideoDevice* videoDevice, D3D11Texture2D* resource,
                                                 VideoProcessorEnumerator* enumerator,
                                                 const VideoProcessorOutputViewDesc& desc,
                                                 VideoProcessorOutputView** view) = 0;
  virtual HResult CreateVideoProcessorInputView(D3D11VideoDevice* videoDevice, D3D11Texture2D* resource,
                                                VideoProcessorEnumerator* enumerator,
                                                const VideoProcessorInputViewDesc& desc,
                                                VideoProcessorInputView** view) = 0;
  virtual void VideoProcessorSetStreamSourceRect(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                                 std::uint32_t streamIndex, Bool enable, const Rect& rect) = 0;
  virtual void VideoProcessorSetStreamFrameFormat(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                                  std::uint32_t streamIndex, std::uint32_t frameFormat) = 0;
  virtual void VideoProcessorSetStreamAutoProcessingMode(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                                         std::uint32_t streamIndex, Bool enable) = 0;
  virtual void VideoProcessorSetStreamDestRect(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                               std::uint32_t streamIndex, Bool enable, const Rect& rect) = 0;
  virtual void VideoProcessorSetOutputBackgroundColor(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                                      Bool ycbcr, const VideoColorRgba& color) = 0;
  virtual HResult VideoProcessorBlt(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                    VideoProcessorOutputView* view, std::uint32_t outputFrame,
                                    std::uint32_t streamCount, const VideoProcessorStream* streams) = 0;

  // Drops one reference.
  virtual std::uint32_t Release(Unknown* object) = 0;
};

}  // namespace orvel
