#include "wgc_capture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "com_ref.h"
#include "frame_pacer.h"
#include "frame_writer.h"
#include "gpu_scaler.h"
#include "hresult_error.h"
#include "platform/wgc_ids.h"
#include "window_checks.h"

namespace orvel {
namespace {

static_assert(sizeof(std::size_t) >= sizeof(std::uint64_t), "pixel buffer sizes are 64-bit products");

constexpr std::int32_t kPoolBuffers = 2;
constexpr double kFirstFrameTimeout = 1.0;  // seconds after the capture start
constexpr std::uint32_t kEmptyPoolSleepMs = 3;
constexpr double kTicksPerSecond = 10'000'000.0;  // 100-nanosecond units

// An HSTRING for the length of one call.
class ScopedHString {
 public:
  ScopedHString(WgcPlatform& platform, const char16_t* text) : platform_(platform) {
    const auto length = static_cast<std::uint32_t>(std::char_traits<char16_t>::length(text));
    CheckHResult(platform_.WindowsCreateString(text, length, &string_));
  }
  ~ScopedHString() { Reset(); }
  ScopedHString(const ScopedHString&) = delete;
  ScopedHString& operator=(const ScopedHString&) = delete;

  HString get() const { return string_; }
  void Reset() {
    if (string_ == nullptr) return;
    const HString string = string_;
    string_ = nullptr;
    platform_.WindowsDeleteString(string);
  }

 private:
  WgcPlatform& platform_;
  HString string_ = nullptr;
};

template <class Factory>
void GetActivationFactory(WgcPlatform& platform, const char16_t* className, const Guid& iid, ComRef<Factory>& factory) {
  ScopedHString name(platform, className);
  const HResult result = platform.RoGetActivationFactory(name.get(), iid, factory.Put());
  name.Reset();  // the class name is not needed whatever the answer
  CheckHResult(result);
}

double FrameSeconds(const TimeSpan& systemRelativeTime) {
  return static_cast<double>(systemRelativeTime.Duration) / kTicksPerSecond;
}

// The part of a frame texture that shows the window: the top-left corner of
// the content size, clipped to the texture. A capture surface has the size
// the pool was made with, not the content's: after the window shrinks it is
// larger and undefined beyond the content; after it grows (until the pool is
// re-made) it is smaller and holds only what fits. `content` is at least 1x1.
PixelSize PictureIn(SizeInt32 content, const Texture2DDesc& texture) {
  return PixelSize{std::min(static_cast<std::uint32_t>(content.Width), texture.Width),
                   std::min(static_cast<std::uint32_t>(content.Height), texture.Height)};
}

PixelSize SizeOf(const Texture2DDesc& texture) { return PixelSize{texture.Width, texture.Height}; }

// A texture to read back, with its description.
struct Source {
  D3D11Texture2D* texture = nullptr;
  Texture2DDesc desc;
};

// The objects of one capture run. They are declared in the order they are
// obtained, so that destruction releases them in reverse on every way out:
// pixel buffer, scaler, read-back texture, session2, session, pool, statics,
// the three device views, context, device, item, item factory.
class WgcRun {
 public:
  WgcRun(CaptureSession& session, WgcPlatform& platform, WindowManager& windows, Clock& clock, std::FILE* frames)
      : session_(session),
        platform_(platform),
        windows_(windows),
        clock_(clock),
        frames_(frames),
        pacer_(session.fps),
        itemFactory_(platform),
        item_(platform),
        device_(platform),
        context_(platform),
        dxgiDevice_(platform),
        deviceObject_(platform),
        direct3DDevice_(platform),
        poolStatics_(platform),
        pool_(platform),
        captureSession_(platform),
        captureSession2_(platform),
        readback_(platform) {}

  ExitCode Run() {
    if (!StartCapture()) return ExitCode::WindowUnavailable;
    for (;;) {
      if (std::optional<ExitCode> end = Turn()) return *end;
    }
  }

 private:
  bool eightArgumentForm() const { return session_.timestampFile != nullptr; }

  // False when the capture item has no area; nothing else is made then.
  bool StartCapture() {
    GetActivationFactory(platform_, kGraphicsCaptureItemClass, kIidGraphicsCaptureItemInterop, itemFactory_);
    CheckHResult(platform_.CreateForWindow(itemFactory_.get(), session_.window, kIidGraphicsCaptureItem, item_.Put()));
    CheckHResult(platform_.get_Size(item_.get(), &captureSize_));
    if (captureSize_.Width < 1 || captureSize_.Height < 1) return false;

    // Video support only where the scaler will use the video processor.
    const std::uint32_t flags =
        kCreateDeviceBgraSupport | (eightArgumentForm() ? kCreateDeviceVideoSupport : std::uint32_t{0});
    CheckHResult(platform_.D3D11CreateDevice(nullptr, kDriverTypeHardware, nullptr, flags, nullptr, 0, kSdkVersion,
                                             device_.Put(), nullptr, context_.Put()));
    CheckHResult(platform_.QueryInterface(device_.get(), kIidDxgiDevice, dxgiDevice_.Put()));
    CheckHResult(platform_.CreateDirect3D11DeviceFromDXGIDevice(dxgiDevice_.get(), deviceObject_.Put()));
    CheckHResult(platform_.QueryInterface(deviceObject_.get(), kIidDirect3DDevice, direct3DDevice_.Put()));

    GetActivationFactory(platform_, kCaptureFramePoolClass, kIidCaptureFramePoolStatics2, poolStatics_);
    CheckHResult(platform_.CreateFreeThreaded(poolStatics_.get(), direct3DDevice_.get(), kPixelFormatB8G8R8A8,
                                              kPoolBuffers, captureSize_, pool_.Put()));
    CheckHResult(platform_.CreateCaptureSession(pool_.get(), item_.get(), captureSession_.Put()));
    // Leaving the cursor out needs the second session interface, which older
    // systems lack; capture goes on with the cursor there.
    if (platform_.QueryInterface(captureSession_.get(), kIidGraphicsCaptureSession2, captureSession2_.Put()) >= 0 &&
        captureSession2_) {
      platform_.put_IsCursorCaptureEnabled(captureSession2_.get(), 0);
    }
    CheckHResult(platform_.StartCapture(captureSession_.get()));

    startTime_ = clock_.NowSeconds();
    outputWidth_ = session_.width;
    outputHeight_ = session_.height;
    return true;
  }

  // One turn of the capture loop; an exit code ends the run.
  std::optional<ExitCode> Turn() {
    if (!(session_.endTime > clock_.NowSeconds())) return EndOfRunCode(session_);
    if (!WindowIsCapturable(windows_, session_.window, session_.processId)) return ExitCode::WindowUnavailable;

    ClosingRef<CaptureFrame> frame(platform_);
    CheckHResult(platform_.TryGetNextFrame(pool_.get(), frame.Put()));
    if (!frame) {
      // Only an empty pool ends a run that has written nothing yet.
      if (session_.framesWritten == 0 && clock_.NowSeconds() - startTime_ > kFirstFrameTimeout) {
        return ExitCode::NoFrames;
      }
      clock_.Sleep(kEmptyPoolSleepMs);
      return std::nullopt;
    }

    TimeSpan systemRelativeTime;
    CheckHResult(platform_.get_SystemRelativeTime(frame.get(), &systemRelativeTime));
    const double frameTime = FrameSeconds(systemRelativeTime);
    // Dropped frames go back to the pool at once and the next turn polls
    // without sleeping.
    if (startTime_ > frameTime) return std::nullopt;  // taken before the capture started
    if (pacer_.IsTooEarly(frameTime)) return std::nullopt;
    if (frameTime >= session_.endTime) return std::nullopt;

    SizeInt32 contentSize;
    CheckHResult(platform_.get_ContentSize(frame.get(), &contentSize));
    if (contentSize.Width < 1 || contentSize.Height < 1) return ExitCode::WindowUnavailable;
    if (contentSize != captureSize_) {
      frame.Reset();  // the frame that shows the new size is not written
      ChangeCaptureSize(contentSize);
      return std::nullopt;
    }

    ComRef<Direct3DSurface> surface(platform_);
    CheckHResult(platform_.get_Surface(frame.get(), surface.Put()));
    ComRef<DxgiInterfaceAccess> access(platform_);
    CheckHResult(platform_.QueryInterface(surface.get(), kIidDxgiInterfaceAccess, access.Put()));
    ComRef<D3D11Texture2D> texture(platform_);
    CheckHResult(platform_.GetInterface(access.get(), kIidD3D11Texture2D, texture.Put()));

    Texture2DDesc frameDesc;
    platform_.GetDesc(texture.get(), &frameDesc);
    ReadBack(SourceOf(texture.get(), frameDesc, PictureIn(captureSize_, frameDesc)));
    if (!WriteFrame(session_, pixels_.data(), outputWidth_, outputHeight_, frameTime, frames_)) {
      return ExitCode::WriteFailed;
    }
    pacer_.Advance(frameTime);
    return std::nullopt;
  }

  // Everything made for the old size goes; the next kept frame remakes it.
  void ChangeCaptureSize(SizeInt32 size) {
    captureSize_ = size;
    scaler_.reset();
    readback_.Reset();
    CheckHResult(
        platform_.Recreate(pool_.get(), direct3DDevice_.get(), kPixelFormatB8G8R8A8, kPoolBuffers, captureSize_));
  }

  // The texture to read back: the scaler's output in the eight-argument
  // form, the frame itself otherwise. Only the picture goes on: a headed
  // record has the capture size whenever the surface covers the content, and
  // the picture's size when the surface clips it.
  Source SourceOf(D3D11Texture2D* frameTexture, const Texture2DDesc& frameDesc, PixelSize picture) {
    if (!eightArgumentForm()) {
      outputWidth_ = picture.width;
      outputHeight_ = picture.height;
      return Source{frameTexture, frameDesc};
    }
    // A scaler serves the texture size and picture it was made for: its
    // enumerator, input views and source rectangle must match the texture.
    const ScalerMadeFor wanted{SizeOf(frameDesc), picture};
    if (scaler_ && scalerMadeFor_ != wanted) scaler_.reset();
    if (!scaler_) {
      scaler_ = std::make_unique<GpuScaler>(platform_, device_.get(), context_.get(), wanted.input, wanted.picture,
                                            PixelSize{session_.width, session_.height}, session_.fps);
      scalerMadeFor_ = wanted;
    }
    scaler_->ScaleFrame(frameTexture);
    Source output{scaler_->outputTexture(), {}};
    platform_.GetDesc(output.texture, &output.desc);
    return output;
  }

  // Copies the output size from the top-left of `source` to memory as packed
  // rows. The output size never exceeds the source's, so every row read lies
  // inside the mapped texture.
  void ReadBack(const Source& source) {
    // CopyResource needs two textures of one size: a source of another size
    // gets a new read-back texture, or the copy would leave the last picture.
    if (readback_ && readbackSize_ != SizeOf(source.desc)) readback_.Reset();
    if (!readback_) MakeReadback(source.desc);
    pixels_.resize(static_cast<std::size_t>(std::uint64_t{outputWidth_} * outputHeight_ * 4));
    platform_.CopyResource(context_.get(), readback_.get(), source.texture);
    MappedSubresource mapped;
    CheckHResult(platform_.Map(context_.get(), readback_.get(), 0, kMapRead, 0, &mapped));
    const std::size_t rowBytes = std::size_t{outputWidth_} * 4;
    const auto* const data = static_cast<const std::uint8_t*>(mapped.pData);
    for (std::uint32_t row = 0; row < outputHeight_; ++row) {
      std::memcpy(pixels_.data() + row * rowBytes, data + std::size_t{row} * mapped.RowPitch, rowBytes);
    }
    platform_.Unmap(context_.get(), readback_.get(), 0);
  }

  // A staging copy of the source's description.
  void MakeReadback(Texture2DDesc desc) {
    desc.Usage = kUsageStaging;
    desc.BindFlags = 0;
    desc.CPUAccessFlags = kCpuAccessRead;
    desc.MiscFlags = 0;
    CheckHResult(platform_.CreateTexture2D(device_.get(), desc, readback_.Put()));
    readbackSize_ = SizeOf(desc);
  }

  struct ScalerMadeFor {
    PixelSize input, picture;
    friend bool operator==(const ScalerMadeFor&, const ScalerMadeFor&) = default;
  };

  CaptureSession& session_;
  WgcPlatform& platform_;
  WindowManager& windows_;
  Clock& clock_;
  std::FILE* const frames_;

  SizeInt32 captureSize_;  // the size the pool was made or last re-made with
  std::uint32_t outputWidth_ = 0, outputHeight_ = 0;
  PixelSize readbackSize_;
  ScalerMadeFor scalerMadeFor_;
  double startTime_ = 0.0;
  FramePacer pacer_;

  ComRef<GraphicsCaptureItemInterop> itemFactory_;
  ComRef<GraphicsCaptureItem> item_;
  ComRef<D3D11Device> device_;
  ComRef<D3D11DeviceContext> context_;
  ComRef<DxgiDevice> dxgiDevice_;
  ComRef<Inspectable> deviceObject_;
  ComRef<Direct3DDevice> direct3DDevice_;
  ComRef<CaptureFramePoolStatics2> poolStatics_;
  ClosingRef<CaptureFramePool> pool_;
  ClosingRef<GraphicsCaptureSession> captureSession_;
  ComRef<GraphicsCaptureSession2> captureSession2_;
  ComRef<D3D11Texture2D> readback_;
  std::unique_ptr<GpuScaler> scaler_;
  std::vector<std::uint8_t> pixels_;
};

}  // namespace

ExitCode RunWgcCapture(CaptureSession& session, WgcPlatform& platform, WindowManager& windows, Clock& clock,
                       std::FILE* frames, std::FILE* errors) {
  // Each handler runs after the run's objects are gone, so the line is
  // written after the teardown.
  try {
    WgcRun run(session, platform, windows, clock, frames);
    return run.Run();
  } catch (const HResultError& error) {
    const auto code = static_cast<std::uint32_t>(error.hresult());
    std::fprintf(errors, "Windows Graphics Capture: 0x%08lX\n", static_cast<unsigned long>(code));
    return code == static_cast<std::uint32_t>(kAccessDenied) ? ExitCode::AccessDenied : ExitCode::CaptureFailed;
  } catch (const std::exception& error) {
    std::fprintf(errors, "Windows Graphics Capture: %s\n", error.what());
    return ExitCode::CaptureFailed;
  } catch (...) {
    std::fprintf(errors, "Windows Graphics Capture: %s\n", "unknown exception");
    return ExitCode::CaptureFailed;
  }
}

}  // namespace orvel
