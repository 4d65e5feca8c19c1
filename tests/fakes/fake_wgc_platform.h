#pragma once
// A Windows Graphics Capture platform for tests: a capture item of a chosen
// size for one chosen window, a frame pool that hands out scripted frames
// (chosen times, content sizes, surface sizes, pixels) once the fake clock
// reaches them, textures whose pixels can be read back through a chosen row
// pitch, and a video processor that marks its output with the frame it was
// given.
//
// As on real Windows, a frame's surface has the pool's size unless the script
// says otherwise, and only its top-left part of the frame's content size
// holds the picture: beyond it every byte is kUndefinedByte.
//
// Knobs make the optional calls fail and fail (or throw from) any one call
// whose HRESULT the backend checks. Recorders keep every call as text, a
// journal of acquisitions, closes and releases, and any misuse: an object
// used after its release or of the wrong kind, a wrong interface identifier,
// a texture released while mapped, textures of different sizes copied, a
// video-processor source rectangle beyond its input texture or its content,
// an input texture of another size than the enumerator was made for.

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "fake_clock.h"
#include "platform/wgc_platform.h"

namespace orvel {
// For test names and failure messages.
inline void PrintTo(const SizeInt32& size, std::ostream* out) { *out << size.Width << "x" << size.Height; }
}  // namespace orvel

namespace orvel::testing {

// What a capture surface holds beyond the frame's content.
inline constexpr std::uint8_t kUndefinedByte = 0xCD;
// CreateForWindow's answer for a handle that is not the capturable window.
inline constexpr HResult kInvalidArg = static_cast<HResult>(0x80070057u);  // E_INVALIDARG

struct ScriptedFrame {
  double arrival = 0.0;   // the pool holds the frame from this fake-clock time on
  std::int64_t time = 0;  // SystemRelativeTime, 100-nanosecond units
  SizeInt32 contentSize;
  bool dark = false;  // all pixels 0 instead of the frame's pattern
  // The surface's size; by default the pool's size when the frame is taken.
  // It may differ from the content size both ways.
  std::optional<SizeInt32> surfaceSize;
};

// Seconds to 100-nanosecond units, rounded to the nearest.
std::int64_t Ticks(double seconds);

// Byte `channel` of pixel (x, y) in the picture of frame `serial` (the index
// of its Deliver call): different for every frame and pixel, and showing
// content in the sense of the frame writer.
std::uint8_t PatternByte(int serial, std::uint32_t x, std::uint32_t y, int channel);
// The whole picture, rows packed.
std::string PatternPixels(int serial, std::uint32_t width, std::uint32_t height);

struct JournalEntry {
  enum Kind { Acquire, Close, Release };
  Kind kind;
  int id;
  std::string role;  // "Item", "Device", "Frame", "ReadbackTexture", "Closable", ...
  int of = 0;        // a Closable's object (for Close: the object closed)
};

class FakeWgcPlatform final : public WgcPlatform {
 public:
  // StartCapture moves `clock` on by startCaptureSeconds.
  explicit FakeWgcPlatform(FakeClock& clock);
  ~FakeWgcPlatform() override;

  // --- Knobs.
  SizeInt32 itemSize{800, 600};
  std::uint64_t capturableWindow = 0;  // CreateForWindow refuses every other handle
  double startCaptureSeconds = 0.0;    // how long StartCapture takes by the fake clock
  bool session2Missing = false;        // the system lacks IGraphicsCaptureSession2
  HResult cursorResult = kOk;          // put_IsCursorCaptureEnabled
  bool closableMissing = false;        // IClosable queries fail
  HResult closeResult = kOk;
  HResult successCode = kOk;        // returned by every checked call that succeeds
  std::uint32_t extraRowPitch = 0;  // bytes after each row of a mapped texture
  // Standard error of the run: a release after something was written there
  // is a misuse (the diagnostic line comes after the teardown).
  std::FILE* errorsWatched = nullptr;

  // Frames the pool hands out, in order; the serial of each is its index.
  void Deliver(const ScriptedFrame& frame);

  // One checked call (a call whose HRESULT the backend tests) fails: the nth,
  // counting from 1, or the first with the given name. ThrowOnCheckedCall
  // makes it throw std::bad_alloc instead.
  void FailCheckedCall(int n, HResult hr);
  void ThrowOnCheckedCall(int n);
  // Throws something that is no standard exception (an int).
  void ThrowForeignOnCheckedCall(int n);
  void FailNamedCall(const std::string& name, HResult hr);
  bool faultTriggered() const { return fault_.triggered; }

  // --- Recorders.
  const std::vector<std::string>& checkedCalls() const { return checkedCalls_; }
  const std::vector<std::string>& calls() const { return calls_; }
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
  const std::vector<JournalEntry>& journal() const { return journal_; }
  const std::vector<std::string>& violations() const { return violations_; }
  // Objects and strings not yet released, described.
  std::vector<std::string> Held() const;
  std::uint32_t deviceFlags() const { return deviceFlags_; }
  // Whether the session drew the cursor when capture started (true, the
  // platform's default, unless turned off before StartCapture); empty until
  // then.
  std::optional<bool> cursorCapturedAtStart() const { return cursorAtStart_; }

  // --- For tests that drive the scaler alone.
  D3D11Texture2D* MakeFrameTexture(std::uint32_t width, std::uint32_t height, int serial);
  // The serial whose pattern a texture shows, -1 when black.
  int PatternSerialOf(D3D11Texture2D* texture);

  // --- WgcPlatform.
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

 private:
  struct Object;

  HResult Checked(const std::string& name);
  void Call(std::string text) { calls_.push_back(std::move(text)); }
  void Violation(std::string text) { violations_.push_back(std::move(text)); }
  Object& Make(const std::string& role, int of = 0);
  // A view of a frame (its surface, the surface's access interface) that
  // carries the frame's picture along.
  Object& MakeFrameView(const std::string& role, const Object& frame);
  template <class Handle>
  Handle* Acquire(const std::string& role, int of = 0);
  // The live object behind `handle`, of the given role ("" for any); null
  // (and a violation) when it is not one.
  Object* Use(const void* handle, const std::string& role, const char* operation);
  bool ExpectIid(const Guid& iid, const Guid& expected, const char* operation);
  std::uint8_t TextureByte(const Object& texture, std::uint32_t x, std::uint32_t y, int channel) const;

  FakeClock& clock_;
  std::vector<std::unique_ptr<Object>> objects_;
  std::map<const void*, Object*> byHandle_;
  std::vector<ScriptedFrame> script_;
  std::size_t nextFrame_ = 0;
  SizeInt32 poolSize_;
  std::uint32_t deviceFlags_ = 0;
  bool cursorEnabled_ = true;
  std::optional<bool> cursorAtStart_;

  struct Fault {
    int index = 0;
    std::string name;
    HResult hr = kOk;
    bool throws = false;
    bool throwsForeign = false;
    bool armed = false;
    bool triggered = false;
  } fault_;

  std::vector<std::string> checkedCalls_;
  std::vector<std::string> calls_;
  std::vector<JournalEntry> journal_;
  std::vector<std::string> violations_;
};

}  // namespace orvel::testing
