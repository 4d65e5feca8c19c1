#pragma once
// The capture backend's seam over the real platform: the Windows Runtime
// capture interfaces, Direct3D 11, DXGI and the video processor. Each call
// is forwarded as it is, with the portable records copied field by field
// into the platform's; nothing here looks at a result.

#include <windows.h>

#include "../platform/wgc_platform.h"

namespace orvel {

// The portable identifier as the platform's GUID.
inline GUID ToGuid(const Guid& id) {
  GUID guid;
  guid.Data1 = id.Data1;
  guid.Data2 = id.Data2;
  guid.Data3 = id.Data3;
  for (int i = 0; i < 8; ++i) guid.Data4[i] = id.Data4[i];
  return guid;
}

class WinWgcPlatform final : public WgcPlatform {
 public:
  HResult WindowsCreateString(const char16_t* text, std::uint32_t length, HString* string) override;
  HResult WindowsDeleteString(HString string) override;
  HResult RoGetActivationFactory(HString classId, const Guid& iid, GraphicsCaptureItemInterop** factory) override;
  HResult RoGetActivationFactory(HString classId, const Guid& iid, CaptureFramePoolStatics2** factory) override;
  HResult CreateForWindow(GraphicsCaptureItemInterop* interop, std::uint64_t window, const Guid& iid,
                          GraphicsCaptureItem** item) override;
  HResult get_Size(GraphicsCaptureItem* item, SizeInt32* size) override;
  HResult D3D11CreateDevice(Unknown* adapter, std::uint32_t driverType, void* software, std::uint32_t flags,
                            const std::uint32_t* featureLevels, std::uint32_t featureLevelCount,
                            std::uint32_t sdkVersion, D3D11Device** device, std::uint32_t* featureLevel,
                            D3D11DeviceContext** context) override;
  HResult QueryInterface(D3D11Device* device, const Guid& iid, DxgiDevice** dxgiDevice) override;
  HResult CreateDirect3D11DeviceFromDXGIDevice(DxgiDevice* dxgiDevice, Inspectable** graphicsDevice) override;
  HResult QueryInterface(Inspectable* graphicsDevice, const Guid& iid, Direct3DDevice** direct3DDevice) override;
  HResult CreateFreeThreaded(CaptureFramePoolStatics2* statics, Direct3DDevice* device, std::int32_t pixelFormat,
                             std::int32_t numberOfBuffers, SizeInt32 size, CaptureFramePool** pool) override;
  HResult CreateCaptureSession(CaptureFramePool* pool, GraphicsCaptureItem* item,
                               GraphicsCaptureSession** session) override;
  HResult QueryInterface(GraphicsCaptureSession* session, const Guid& iid, GraphicsCaptureSession2** session2) override;
  HResult put_IsCursorCaptureEnabled(GraphicsCaptureSession2* session2, std::uint8_t value) override;
  HResult StartCapture(GraphicsCaptureSession* session) override;
  HResult Recreate(CaptureFramePool* pool, Direct3DDevice* device, std::int32_t pixelFormat,
                   std::int32_t numberOfBuffers, SizeInt32 size) override;
  HResult TryGetNextFrame(CaptureFramePool* pool, CaptureFrame** frame) override;
  HResult get_SystemRelativeTime(CaptureFrame* frame, TimeSpan* time) override;
  HResult get_ContentSize(CaptureFrame* frame, SizeInt32* size) override;
  HResult get_Surface(CaptureFrame* frame, Direct3DSurface** surface) override;
  HResult QueryInterface(Direct3DSurface* surface, const Guid& iid, DxgiInterfaceAccess** access) override;
  HResult GetInterface(DxgiInterfaceAccess* access, const Guid& iid, D3D11Texture2D** texture) override;
  void GetDesc(D3D11Texture2D* texture, Texture2DDesc* desc) override;
  HResult CreateTexture2D(D3D11Device* device, const Texture2DDesc& desc, D3D11Texture2D** texture) override;
  void CopyResource(D3D11DeviceContext* context, D3D11Texture2D* destination, D3D11Texture2D* source) override;
  HResult Map(D3D11DeviceContext* context, D3D11Texture2D* texture, std::uint32_t subresource, std::uint32_t mapType,
              std::uint32_t mapFlags, MappedSubresource* mapped) override;
  void Unmap(D3D11DeviceContext* context, D3D11Texture2D* texture, std::uint32_t subresource) override;
  HResult QueryInterface(Unknown* object, const Guid& iid, Closable** closable) override;
  HResult Close(Closable* closable) override;
  HResult QueryInterface(D3D11Device* device, const Guid& iid, D3D11VideoDevice** videoDevice) override;
  HResult QueryInterface(D3D11DeviceContext* context, const Guid& iid, D3D11VideoContext** videoContext) override;
  HResult CreateVideoProcessorEnumerator(D3D11VideoDevice* videoDevice, const VideoProcessorContentDesc& desc,
                                         VideoProcessorEnumerator** enumerator) override;
  HResult CreateVideoProcessor(D3D11VideoDevice* videoDevice, VideoProcessorEnumerator* enumerator,
                               std::uint32_t rateConversionIndex, VideoProcessor** processor) override;
  HResult CreateVideoProcessorOutputView(D3D11VideoDevice* videoDevice, D3D11Texture2D* resource,
                                         VideoProcessorEnumerator* enumerator, const VideoProcessorOutputViewDesc& desc,
                                         VideoProcessorOutputView** view) override;
  HResult CreateVideoProcessorInputView(D3D11VideoDevice* videoDevice, D3D11Texture2D* resource,
                                        VideoProcessorEnumerator* enumerator, const VideoProcessorInputViewDesc& desc,
                                        VideoProcessorInputView** view) override;
  void VideoProcessorSetStreamSourceRect(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                         std::uint32_t streamIndex, Bool enable, const Rect& rect) override;
  void VideoProcessorSetStreamFrameFormat(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                          std::uint32_t streamIndex, std::uint32_t frameFormat) override;
  void VideoProcessorSetStreamAutoProcessingMode(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                                 std::uint32_t streamIndex, Bool enable) override;
  void VideoProcessorSetStreamDestRect(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                       std::uint32_t streamIndex, Bool enable, const Rect& rect) override;
  void VideoProcessorSetOutputBackgroundColor(D3D11VideoContext* videoContext, VideoProcessor* processor, Bool ycbcr,
                                              const VideoColorRgba& color) override;
  HResult VideoProcessorBlt(D3D11VideoContext* videoContext, VideoProcessor* processor, VideoProcessorOutputView* view,
                            std::uint32_t outputFrame, std::uint32_t streamCount,
                            const VideoProcessorStream* streams) override;
  std::uint32_t Release(Unknown* object) override;
};

}  // namespace orvel
