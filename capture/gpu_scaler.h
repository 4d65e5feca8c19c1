#pragma once
// GpuScaler: scales each captured frame into the output size on the graphics
// adapter with the Direct3D 11 video processor, letterboxed on opaque black.
// One scaler serves one input size; the backend makes a new one when the
// capture size changes.

#include <cstdint>

#include "com_ref.h"
#include "platform/wgc_platform.h"

namespace orvel {

class GpuScaler {
 public:
  // The device must have been made with video support. Throws HResultError;
  // what was obtained before the failing call is released on the way out.
  GpuScaler(WgcPlatform& platform, D3D11Device* device, D3D11DeviceContext* context, std::uint32_t inputWidth,
            std::uint32_t inputHeight, std::uint32_t outputWidth, std::uint32_t outputHeight, std::uint32_t fps);
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
