#pragma once
// GpuScaler: scales each captured frame into the output size on the graphics
// adapter with the Direct3D 11 video processor, letterboxed on opaque black.
// One scaler serves one input texture size and one picture inside it; the
// backend makes a new one when either changes.

#include <cstdint>

#include "com_ref.h"
#include "platform/wgc_platform.h"

namespace orvel {

// Width and height in pixels.
struct PixelSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

class GpuScaler {
 public:
  // `input` is the size of the frame textures it will be given; `picture`,
  // at least 1x1 and within `input`, is their top-left part that is scaled
  // and letterboxed (the rest of a capture surface may be undefined).
  // The device must have been made with video support. Throws HResultError;
  // what was obtained before the failing call is released on the way out.
  GpuScaler(WgcPlatform& platform, D3D11Device* device, D3D11DeviceContext* context, PixelSize input, PixelSize picture,
            PixelSize output, std::uint32_t fps);
  GpuScaler(const GpuScaler&) = delete;
  GpuScaler& operator=(const GpuScaler&) = delete;

  // Queues the blit of `frame` (the input size, B8G8R8A8) into outputTexture
  // on the immediate context. Keeps no reference to the frame. Throws
  // HResultError.
  void ScaleFrame(D3D11Texture2D* frame);

  // Output size, B8G8R8A8, for the adapter only: the caller copies it to its
  // read-back texture. The scaler keeps its own reference.
  D3D11Texture2D* outputTexture() const { return outputTexture_.get(); }

 private:
  WgcPlatform& platform_;
  // Obtained videoDevice, videoContext, enumerator, processor, outputTexture,
  // outputView; released last-declared first: the output texture, its view,
  // the processor, the enumerator, then the two video interfaces.
  ComRef<D3D11VideoDevice> videoDevice_;
  ComRef<D3D11VideoContext> videoContext_;
  ComRef<VideoProcessorEnumerator> enumerator_;
  ComRef<VideoProcessor> processor_;
  ComRef<VideoProcessorOutputView> outputView_;
  ComRef<D3D11Texture2D> outputTexture_;
};

}  // namespace orvel
