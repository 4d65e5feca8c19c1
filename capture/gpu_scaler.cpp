#include "gpu_scaler.h"

#include "hresult_error.h"
#include "letterbox.h"
#include "platform/wgc_ids.h"

namespace orvel {
namespace {

constexpr std::uint32_t kStream = 0;

VideoProcessorContentDesc ContentDescription(PixelSize input, PixelSize output, std::uint32_t fps) {
  VideoProcessorContentDesc desc;
  desc.InputFrameFormat = kFrameFormatProgressive;
  desc.InputFrameRate = Rational{fps, 1};
  desc.InputWidth = input.width;
  desc.InputHeight = input.height;
  desc.OutputFrameRate = Rational{fps, 1};
  desc.OutputWidth = output.width;
  desc.OutputHeight = output.height;
  desc.Usage = kVideoUsagePlaybackNormal;
  return desc;
}

// A render target for the video processor, never seen by the CPU.
Texture2DDesc OutputTextureDescription(PixelSize output) {
  Texture2DDesc desc;
  desc.Width = output.width;
  desc.Height = output.height;
  desc.MipLevels = 1;
  desc.ArraySize = 1;
  desc.Format = kFormatB8G8R8A8Unorm;
  desc.SampleDesc = DxgiSampleDesc{1, 0};
  desc.Usage = kUsageDefault;
  desc.BindFlags = kBindRenderTarget;
  desc.CPUAccessFlags = 0;
  desc.MiscFlags = 0;
  return desc;
}

VideoProcessorOutputViewDesc OutputViewDescription() {
  VideoProcessorOutputViewDesc desc;
  desc.ViewDimension = kVpovDimensionTexture2D;
  desc.Texture2D.MipSlice = 0;
  return desc;
}

VideoProcessorInputViewDesc InputViewDescription() {
  VideoProcessorInputViewDesc desc;
  desc.FourCC = 0;
  desc.ViewDimension = kVpivDimensionTexture2D;
  desc.Texture2D.MipSlice = 0;
  desc.Texture2D.ArraySlice = 0;
  return desc;
}

// Picture sizes come from the platform's signed sizes and are at least 1.
Rect TopLeft(PixelSize picture) {
  return Rect{0, 0, static_cast<std::int32_t>(picture.width), static_cast<std::int32_t>(picture.height)};
}

Rect ToRect(const LetterboxPlacement& placement) {
  return Rect{placement.left, placement.top, placement.right, placement.bottom};
}

}  // namespace

GpuScaler::GpuScaler(WgcPlatform& platform, D3D11Device* device, D3D11DeviceContext* context, PixelSize input,
                     PixelSize picture, PixelSize output, std::uint32_t fps)
    : platform_(platform),
      videoDevice_(platform),
      videoContext_(platform),
      enumerator_(platform),
      processor_(platform),
      outputView_(platform),
      outputTexture_(platform) {
  CheckHResult(platform_.QueryInterface(device, kIidD3D11VideoDevice, videoDevice_.Put()));
  CheckHResult(platform_.QueryInterface(context, kIidD3D11VideoContext, videoContext_.Put()));
  CheckHResult(platform_.CreateVideoProcessorEnumerator(videoDevice_.get(), ContentDescription(input, output, fps),
                                                        enumerator_.Put()));
  CheckHResult(platform_.CreateVideoProcessor(videoDevice_.get(), enumerator_.get(), 0, processor_.Put()));
  CheckHResult(platform_.CreateTexture2D(device, OutputTextureDescription(output), outputTexture_.Put()));
  CheckHResult(platform_.CreateVideoProcessorOutputView(videoDevice_.get(), outputTexture_.get(), enumerator_.get(),
                                                        OutputViewDescription(), outputView_.Put()));

  // The picture, not the whole texture, is what must fit the output.
  const Rect destination = ToRect(LetterboxRect(picture.width, picture.height, output.width, output.height));
  // Everything else (target rectangle, colour spaces, alpha fill, rotation,
  // filters) stays at the platform's defaults.
  D3D11VideoContext* const video = videoContext_.get();
  VideoProcessor* const processor = processor_.get();
  platform_.VideoProcessorSetStreamSourceRect(video, processor, kStream, 1, TopLeft(picture));
  platform_.VideoProcessorSetStreamFrameFormat(video, processor, kStream, kFrameFormatProgressive);
  platform_.VideoProcessorSetStreamAutoProcessingMode(video, processor, kStream, 0);
  platform_.VideoProcessorSetStreamDestRect(video, processor, kStream, 1, destination);
  platform_.VideoProcessorSetOutputBackgroundColor(video, processor, 0, VideoColorRgba{0.0f, 0.0f, 0.0f, 1.0f});
}

void GpuScaler::ScaleFrame(D3D11Texture2D* frame) {
  ComRef<VideoProcessorInputView> input(platform_);
  CheckHResult(platform_.CreateVideoProcessorInputView(videoDevice_.get(), frame, enumerator_.get(),
                                                       InputViewDescription(), input.Put()));
  VideoProcessorStream stream;
  stream.Enable = 1;
  stream.pInputSurface = input.get();
  CheckHResult(platform_.VideoProcessorBlt(videoContext_.get(), processor_.get(), outputView_.get(), 0, 1, &stream));
}  // the input view goes here, also when the blit failed

}  // namespace orvel
