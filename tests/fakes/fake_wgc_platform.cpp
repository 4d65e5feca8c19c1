#include "fake_wgc_platform.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <sstream>

#include "platform/wgc_ids.h"

namespace orvel::testing {
namespace {

constexpr HResult kNoInterfaceResult = kNoInterface;
constexpr std::uint8_t kPadding = 0xEE;  // what lies between mapped rows

std::string Utf8(const std::u16string& text) { return std::string(text.begin(), text.end()); }

std::string SizeText(SizeInt32 size) { return std::to_string(size.Width) + "x" + std::to_string(size.Height); }

std::string RectText(const Rect& rect) {
  std::ostringstream text;
  text << "(" << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom << ")";
  return text.str();
}

bool Inside(std::uint32_t x, std::uint32_t y, SizeInt32 size) {
  return std::int64_t{x} < size.Width && std::int64_t{y} < size.Height;
}

// Whether `rect` is a non-empty rectangle within (0, 0) and `size`.
bool RectWithin(const Rect& rect, std::int64_t width, std::int64_t height) {
  return rect.left >= 0 && rect.top >= 0 && rect.left < rect.right && rect.top < rect.bottom && rect.right <= width &&
         rect.bottom <= height;
}

std::string Hex(std::uint32_t value) {
  std::ostringstream text;
  text << "0x" << std::hex << value;
  return text.str();
}

std::string DescText(const Texture2DDesc& desc) {
  std::ostringstream text;
  text << desc.Width << "x" << desc.Height << " mips=" << desc.MipLevels << " array=" << desc.ArraySize
       << " format=" << desc.Format << " samples=" << desc.SampleDesc.Count << "/" << desc.SampleDesc.Quality
       << " usage=" << desc.Usage << " bind=" << Hex(desc.BindFlags) << " cpu=" << Hex(desc.CPUAccessFlags)
       << " misc=" << Hex(desc.MiscFlags);
  return text.str();
}

}  // namespace

struct FakeWgcPlatform::Object {
  int id = 0;
  std::string role;
  int of = 0;  // the object it was made from
  bool alive = true;
  std::u16string text;  // strings
  // Frames.
  int serial = -1;
  std::int64_t time = 0;
  SizeInt32 contentSize, surfaceSize;
  bool dark = false;
  // Textures: a frame's pattern, black, or bytes copied in (rows packed). A
  // frame texture holds its picture only within the frame's contentSize.
  Texture2DDesc desc;
  int patternSerial = -1;
  std::vector<std::uint8_t> bytes;
  bool mapped = false;
  std::vector<std::uint8_t> mappedBytes;
  // Views: the texture they show.
  Object* texture = nullptr;
  // Enumerators: the input size they were made for. Processors: their
  // enumerator and stream 0's source rectangle.
  std::uint32_t inputWidth = 0, inputHeight = 0;
  Object* enumerator = nullptr;
  std::optional<Rect> sourceRect;
};

std::int64_t Ticks(double seconds) { return std::llround(seconds * 10'000'000.0); }

std::uint8_t PatternByte(int serial, std::uint32_t x, std::uint32_t y, int channel) {
  return static_cast<std::uint8_t>(serial * 37 + x * 7 + y * 13 + channel * 71 + 50);
}

std::string PatternPixels(int serial, std::uint32_t width, std::uint32_t height) {
  std::string pixels(std::size_t{width} * height * 4, '\0');
  std::size_t at = 0;
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      for (int channel = 0; channel < 4; ++channel) {
        pixels[at++] = static_cast<char>(PatternByte(serial, x, y, channel));
      }
    }
  }
  return pixels;
}

FakeWgcPlatform::FakeWgcPlatform(FakeClock& clock) : clock_(clock) {}
FakeWgcPlatform::~FakeWgcPlatform() = default;

void FakeWgcPlatform::Deliver(const ScriptedFrame& frame) { script_.push_back(frame); }

void FakeWgcPlatform::FailCheckedCall(int n, HResult hr) {
  fault_ = Fault{};
  fault_.index = n;
  fault_.hr = hr;
  fault_.armed = true;
}

void FakeWgcPlatform::ThrowOnCheckedCall(int n) {
  fault_ = Fault{};
  fault_.index = n;
  fault_.throws = true;
  fault_.armed = true;
}

void FakeWgcPlatform::ThrowForeignOnCheckedCall(int n) {
  fault_ = Fault{};
  fault_.index = n;
  fault_.throwsForeign = true;
  fault_.armed = true;
}

void FakeWgcPlatform::FailNamedCall(const std::string& name, HResult hr) {
  fault_ = Fault{};
  fault_.name = name;
  fault_.hr = hr;
  fault_.armed = true;
}

HResult FakeWgcPlatform::Checked(const std::string& name) {
  checkedCalls_.push_back(name);
  const int n = static_cast<int>(checkedCalls_.size());
  if (fault_.armed && !fault_.triggered && (fault_.index == n || fault_.name == name)) {
    fault_.triggered = true;
    Call(name + " fails");
    if (fault_.throws) throw std::bad_alloc();
    if (fault_.throwsForeign) throw 42;
    return fault_.hr;
  }
  return successCode;
}

std::vector<std::string> FakeWgcPlatform::CallsStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : calls_) {
    if (call.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
  }
  return found;
}

std::vector<std::string> FakeWgcPlatform::Held() const {
  std::vector<std::string> held;
  for (const auto& object : objects_) {
    if (object->alive) held.push_back(object->role + "#" + std::to_string(object->id));
  }
  return held;
}

FakeWgcPlatform::Object& FakeWgcPlatform::Make(const std::string& role, int of) {
  objects_.push_back(std::make_unique<Object>());
  Object& object = *objects_.back();
  object.id = static_cast<int>(objects_.size());
  object.role = role;
  object.of = of;
  byHandle_[&object] = &object;
  if (role != "HString") journal_.push_back({JournalEntry::Acquire, object.id, role, of});
  return object;
}

FakeWgcPlatform::Object& FakeWgcPlatform::MakeFrameView(const std::string& role, const Object& frame) {
  Object& view = Make(role, frame.id);
  view.serial = frame.serial;
  view.contentSize = frame.contentSize;
  view.surfaceSize = frame.surfaceSize;
  view.dark = frame.dark;
  return view;
}

template <class Handle>
Handle* FakeWgcPlatform::Acquire(const std::string& role, int of) {
  return reinterpret_cast<Handle*>(&Make(role, of));
}

FakeWgcPlatform::Object* FakeWgcPlatform::Use(const void* handle, const std::string& role, const char* operation) {
  auto it = byHandle_.find(handle);
  if (it == byHandle_.end()) {
    Violation(std::string(operation) + ": not an object of this platform");
    return nullptr;
  }
  Object* object = it->second;
  if (!object->alive) {
    Violation(std::string(operation) + ": " + object->role + "#" + std::to_string(object->id) + " used after release");
    return nullptr;
  }
  if (!role.empty() && object->role != role) {
    Violation(std::string(operation) + ": given a " + object->role + ", wants a " + role);
    return nullptr;
  }
  return object;
}

bool FakeWgcPlatform::ExpectIid(const Guid& iid, const Guid& expected, const char* operation) {
  if (iid == expected) return true;
  Violation(std::string(operation) + ": wrong interface identifier");
  return false;
}

std::uint8_t FakeWgcPlatform::TextureByte(const Object& texture, std::uint32_t x, std::uint32_t y, int channel) const {
  if (!texture.bytes.empty()) return texture.bytes[(std::size_t{y} * texture.desc.Width + x) * 4 + channel];
  if (texture.role == "FrameTexture" && !Inside(x, y, texture.contentSize)) return kUndefinedByte;
  if (texture.patternSerial < 0) return 0;
  return PatternByte(texture.patternSerial, x, y, channel);
}

D3D11Texture2D* FakeWgcPlatform::MakeFrameTexture(std::uint32_t width, std::uint32_t height, int serial) {
  Object& texture = Make("FrameTexture");
  texture.desc = Texture2DDesc{width, height, 1, 1, kFormatB8G8R8A8Unorm, {1, 0}, kUsageDefault, 0x28, 0, 0x2};
  texture.contentSize = SizeInt32{static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)};
  texture.patternSerial = serial;
  return reinterpret_cast<D3D11Texture2D*>(&texture);
}

int FakeWgcPlatform::PatternSerialOf(D3D11Texture2D* texture) {
  Object* object = Use(texture, "", "PatternSerialOf");
  return object != nullptr ? object->patternSerial : -1;
}

// --- Strings and factories.

HResult FakeWgcPlatform::WindowsCreateString(const char16_t* text, std::uint32_t length, HString* string) {
  *string = nullptr;
  const std::u16string value(text, length);
  Call("WindowsCreateString " + Utf8(value));
  if (HResult hr = Checked("WindowsCreateString"); hr < 0) return hr;
  Object& object = Make("HString");
  object.text = value;
  *string = reinterpret_cast<HString>(&object);
  return successCode;
}

HResult FakeWgcPlatform::WindowsDeleteString(HString string) {
  Object* object = Use(string, "HString", "WindowsDeleteString");
  if (object == nullptr) return kFail;
  Call("WindowsDeleteString " + Utf8(object->text));
  object->alive = false;
  return kOk;
}

HResult FakeWgcPlatform::RoGetActivationFactory(HString classId, const Guid& iid,
                                                GraphicsCaptureItemInterop** factory) {
  *factory = nullptr;
  Object* name = Use(classId, "HString", "RoGetActivationFactory");
  Call("RoGetActivationFactory " + (name ? Utf8(name->text) : std::string("?")) + " as IGraphicsCaptureItemInterop");
  if (HResult hr = Checked("RoGetActivationFactory(GraphicsCaptureItem)"); hr < 0) return hr;
  if (name == nullptr || name->text != kGraphicsCaptureItemClass) Violation("RoGetActivationFactory: wrong class");
  if (!ExpectIid(iid, kIidGraphicsCaptureItemInterop, "RoGetActivationFactory")) return kNoInterfaceResult;
  *factory = Acquire<GraphicsCaptureItemInterop>("ItemInterop");
  return successCode;
}

HResult FakeWgcPlatform::RoGetActivationFactory(HString classId, const Guid& iid, CaptureFramePoolStatics2** factory) {
  *factory = nullptr;
  Object* name = Use(classId, "HString", "RoGetActivationFactory");
  Call("RoGetActivationFactory " + (name ? Utf8(name->text) : std::string("?")) +
       " as IDirect3D11CaptureFramePoolStatics2");
  if (HResult hr = Checked("RoGetActivationFactory(Direct3D11CaptureFramePool)"); hr < 0) return hr;
  if (name == nullptr || name->text != kCaptureFramePoolClass) Violation("RoGetActivationFactory: wrong class");
  if (!ExpectIid(iid, kIidCaptureFramePoolStatics2, "RoGetActivationFactory")) return kNoInterfaceResult;
  *factory = Acquire<CaptureFramePoolStatics2>("PoolStatics");
  return successCode;
}

// --- The capture item.

HResult FakeWgcPlatform::CreateForWindow(GraphicsCaptureItemInterop* interop, std::uint64_t window, const Guid& iid,
                                         GraphicsCaptureItem** item) {
  *item = nullptr;
  Use(interop, "ItemInterop", "CreateForWindow");
  Call("CreateForWindow " + std::to_string(window));
  if (HResult hr = Checked("CreateForWindow"); hr < 0) return hr;
  if (!ExpectIid(iid, kIidGraphicsCaptureItem, "CreateForWindow")) return kNoInterfaceResult;
  if (window != capturableWindow) return kInvalidArg;
  *item = Acquire<GraphicsCaptureItem>("Item");
  return successCode;
}

HResult FakeWgcPlatform::get_Size(GraphicsCaptureItem* item, SizeInt32* size) {
  Use(item, "Item", "get_Size");
  Call("get_Size");
  if (HResult hr = Checked("get_Size"); hr < 0) return hr;
  *size = itemSize;
  return successCode;
}

// --- Devices.

HResult FakeWgcPlatform::D3D11CreateDevice(Unknown* adapter, std::uint32_t driverType, void* software,
                                           std::uint32_t flags, const std::uint32_t* featureLevels,
                                           std::uint32_t featureLevelCount, std::uint32_t sdkVersion,
                                           D3D11Device** device, std::uint32_t* featureLevel,
                                           D3D11DeviceContext** context) {
  *device = nullptr;
  *context = nullptr;
  std::ostringstream text;
  text << "D3D11CreateDevice adapter=" << (adapter ? "set" : "null") << " driver=" << driverType
       << " software=" << (software ? "set" : "null") << " flags=" << Hex(flags)
       << " levels=" << (featureLevels ? "set" : "null") << "/" << featureLevelCount << " sdk=" << sdkVersion
       << " level=" << (featureLevel ? "wanted" : "null");
  Call(text.str());
  if (HResult hr = Checked("D3D11CreateDevice"); hr < 0) return hr;
  deviceFlags_ = flags;
  *device = Acquire<D3D11Device>("Device");
  *context = Acquire<D3D11DeviceContext>("Context");
  return successCode;
}

HResult FakeWgcPlatform::QueryInterface(D3D11Device* device, const Guid& iid, DxgiDevice** dxgiDevice) {
  *dxgiDevice = nullptr;
  Object* of = Use(device, "Device", "QueryInterface(IDXGIDevice)");
  Call("QueryInterface IDXGIDevice");
  if (HResult hr = Checked("QueryInterface(IDXGIDevice)"); hr < 0) return hr;
  if (!ExpectIid(iid, kIidDxgiDevice, "QueryInterface(IDXGIDevice)")) return kNoInterfaceResult;
  *dxgiDevice = Acquire<DxgiDevice>("DxgiDevice", of ? of->id : 0);
  return successCode;
}

HResult FakeWgcPlatform::CreateDirect3D11DeviceFromDXGIDevice(DxgiDevice* dxgiDevice, Inspectable** graphicsDevice) {
  *graphicsDevice = nullptr;
  Use(dxgiDevice, "DxgiDevice", "CreateDirect3D11DeviceFromDXGIDevice");
  Call("CreateDirect3D11DeviceFromDXGIDevice");
  if (HResult hr = Checked("CreateDirect3D11DeviceFromDXGIDevice"); hr < 0) return hr;
  *graphicsDevice = Acquire<Inspectable>("DeviceObject");
  return successCode;
}

HResult FakeWgcPlatform::QueryInterface(Inspectable* graphicsDevice, const Guid& iid, Direct3DDevice** direct3DDevice) {
  *direct3DDevice = nullptr;
  Use(graphicsDevice, "DeviceObject", "QueryInterface(IDirect3DDevice)");
  Call("QueryInterface IDirect3DDevice");
  if (HResult hr = Checked("QueryInterface(IDirect3DDevice)"); hr < 0) return hr;
  if (!ExpectIid(iid, kIidDirect3DDevice, "QueryInterface(IDirect3DDevice)")) return kNoInterfaceResult;
  *direct3DDevice = Acquire<Direct3DDevice>("Direct3DDevice");
  return successCode;
}

// --- Pool and session.

HResult FakeWgcPlatform::CreateFreeThreaded(CaptureFramePoolStatics2* statics, Direct3DDevice* device,
                                            std::int32_t pixelFormat, std::int32_t numberOfBuffers, SizeInt32 size,
                                            CaptureFramePool** pool) {
  *pool = nullptr;
  Use(statics, "PoolStatics", "CreateFreeThreaded");
  Use(device, "Direct3DDevice", "CreateFreeThreaded");
  Call("CreateFreeThreaded format=" + std::to_string(pixelFormat) + " buffers=" + std::to_string(numberOfBuffers) +
       " size=" + SizeText(size));
  if (HResult hr = Checked("CreateFreeThreaded"); hr < 0) return hr;
  poolSize_ = size;
  *pool = Acquire<CaptureFramePool>("Pool");
  return successCode;
}

HResult FakeWgcPlatform::CreateCaptureSession(CaptureFramePool* pool, GraphicsCaptureItem* item,
                                              GraphicsCaptureSession** session) {
  *session = nullptr;
  Use(pool, "Pool", "CreateCaptureSession");
  Use(item, "Item", "CreateCaptureSession");
  Call("CreateCaptureSession");
  if (HResult hr = Checked("CreateCaptureSession"); hr < 0) return hr;
  *session = Acquire<GraphicsCaptureSession>("Session");
  return successCode;
}

HResult FakeWgcPlatform::QueryInterface(GraphicsCaptureSession* session, const Guid& iid,
                                        GraphicsCaptureSession2** session2) {
  *session2 = nullptr;
  Use(session, "Session", "QueryInterface(IGraphicsCaptureSession2)");
  Call("QueryInterface IGraphicsCaptureSession2");
  if (!ExpectIid(iid, kIidGraphicsCaptureSession2, "QueryInterface(IGraphicsCaptureSession2)")) {
    return kNoInterfaceResult;
  }
  if (session2Missing) return kNoInterfaceResult;
  *session2 = Acquire<GraphicsCaptureSession2>("Session2");
  return kOk;
}

HResult FakeWgcPlatform::put_IsCursorCaptureEnabled(GraphicsCaptureSession2* session2, std::uint8_t value) {
  Object* object = Use(session2, "Session2", "put_IsCursorCaptureEnabled");
  Call("put_IsCursorCaptureEnabled " + std::to_string(value));
  if (object != nullptr && cursorResult >= 0) cursorEnabled_ = value != 0;
  return cursorResult;
}

HResult FakeWgcPlatform::StartCapture(GraphicsCaptureSession* session) {
  Use(session, "Session", "StartCapture");
  Call("StartCapture");
  clock_.Advance(startCaptureSeconds);
  if (HResult hr = Checked("StartCapture"); hr < 0) return hr;
  cursorAtStart_ = cursorEnabled_;
  return successCode;
}

HResult FakeWgcPlatform::Recreate(CaptureFramePool* pool, Direct3DDevice* device, std::int32_t pixelFormat,
                                  std::int32_t numberOfBuffers, SizeInt32 size) {
  Use(pool, "Pool", "Recreate");
  Use(device, "Direct3DDevice", "Recreate");
  Call("Recreate format=" + std::to_string(pixelFormat) + " buffers=" + std::to_string(numberOfBuffers) +
       " size=" + SizeText(size));
  if (HResult hr = Checked("Recreate"); hr < 0) return hr;
  poolSize_ = size;
  return successCode;
}

HResult FakeWgcPlatform::TryGetNextFrame(CaptureFramePool* pool, CaptureFrame** frame) {
  *frame = nullptr;
  Use(pool, "Pool", "TryGetNextFrame");
  if (HResult hr = Checked("TryGetNextFrame"); hr < 0) {
    Call("TryGetNextFrame");
    return hr;
  }
  if (nextFrame_ >= script_.size() || script_[nextFrame_].arrival > clock_.now()) {
    Call("TryGetNextFrame -> none");
    return successCode;
  }
  const ScriptedFrame& scripted = script_[nextFrame_];
  Object& object = Make("Frame");
  object.serial = static_cast<int>(nextFrame_++);
  object.time = scripted.time;
  object.contentSize = scripted.contentSize;
  object.surfaceSize = scripted.surfaceSize.value_or(poolSize_);
  object.dark = scripted.dark;
  Call("TryGetNextFrame -> frame " + std::to_string(object.serial));
  *frame = reinterpret_cast<CaptureFrame*>(&object);
  return successCode;
}

// --- Frames.

HResult FakeWgcPlatform::get_SystemRelativeTime(CaptureFrame* frame, TimeSpan* time) {
  Object* object = Use(frame, "Frame", "get_SystemRelativeTime");
  Call("get_SystemRelativeTime");
  if (HResult hr = Checked("get_SystemRelativeTime"); hr < 0) return hr;
  time->Duration = object ? object->time : 0;
  return successCode;
}

HResult FakeWgcPlatform::get_ContentSize(CaptureFrame* frame, SizeInt32* size) {
  Object* object = Use(frame, "Frame", "get_ContentSize");
  Call("get_ContentSize");
  if (HResult hr = Checked("get_ContentSize"); hr < 0) return hr;
  if (object) *size = object->contentSize;
  return successCode;
}

HResult FakeWgcPlatform::get_Surface(CaptureFrame* frame, Direct3DSurface** surface) {
  *surface = nullptr;
  Object* object = Use(frame, "Frame", "get_Surface");
  Call("get_Surface");
  if (HResult hr = Checked("get_Surface"); hr < 0) return hr;
  if (object == nullptr) return kFail;
  Object& made = MakeFrameView("Surface", *object);
  *surface = reinterpret_cast<Direct3DSurface*>(&made);
  return successCode;
}

HResult FakeWgcPlatform::QueryInterface(Direct3DSurface* surface, const Guid& iid, DxgiInterfaceAccess** access) {
  *access = nullptr;
  Object* object = Use(surface, "Surface", "QueryInterface(IDirect3DDxgiInterfaceAccess)");
  Call("QueryInterface IDirect3DDxgiInterfaceAccess");
  if (HResult hr = Checked("QueryInterface(IDirect3DDxgiInterfaceAccess)"); hr < 0) return hr;
  if (!ExpectIid(iid, kIidDxgiInterfaceAccess, "QueryInterface(IDirect3DDxgiInterfaceAccess)")) {
    return kNoInterfaceResult;
  }
  if (object == nullptr) return kFail;
  Object& made = MakeFrameView("Access", *object);
  *access = reinterpret_cast<DxgiInterfaceAccess*>(&made);
  return successCode;
}

HResult FakeWgcPlatform::GetInterface(DxgiInterfaceAccess* access, const Guid& iid, D3D11Texture2D** texture) {
  *texture = nullptr;
  Object* object = Use(access, "Access", "GetInterface");
  Call("GetInterface ID3D11Texture2D");
  if (HResult hr = Checked("GetInterface(ID3D11Texture2D)"); hr < 0) return hr;
  if (!ExpectIid(iid, kIidD3D11Texture2D, "GetInterface")) return kNoInterfaceResult;
  if (object == nullptr) return kFail;
  Object& made = Make("FrameTexture", object->id);
  // A capture surface: shader resource and render target, shared.
  made.desc = Texture2DDesc{static_cast<std::uint32_t>(object->surfaceSize.Width),
                            static_cast<std::uint32_t>(object->surfaceSize.Height),
                            1,
                            1,
                            kFormatB8G8R8A8Unorm,
                            {1, 0},
                            kUsageDefault,
                            0x28,
                            0,
                            0x2};
  made.contentSize = object->contentSize;
  made.patternSerial = object->dark ? -1 : object->serial;
  *texture = reinterpret_cast<D3D11Texture2D*>(&made);
  return successCode;
}

// --- Textures.

void FakeWgcPlatform::GetDesc(D3D11Texture2D* texture, Texture2DDesc* desc) {
  Object* object = Use(texture, "", "GetDesc");
  Call("GetDesc " + (object ? object->role : std::string("?")));
  if (object) *desc = object->desc;
}

HResult FakeWgcPlatform::CreateTexture2D(D3D11Device* device, const Texture2DDesc& desc, D3D11Texture2D** texture) {
  *texture = nullptr;
  Use(device, "Device", "CreateTexture2D");
  Call("CreateTexture2D " + DescText(desc));
  if (HResult hr = Checked("CreateTexture2D"); hr < 0) return hr;
  Object& made = Make(desc.Usage == kUsageStaging ? "ReadbackTexture" : "OutputTexture");
  made.desc = desc;
  *texture = reinterpret_cast<D3D11Texture2D*>(&made);
  return successCode;
}

void FakeWgcPlatform::CopyResource(D3D11DeviceContext* context, D3D11Texture2D* destination, D3D11Texture2D* source) {
  Use(context, "Context", "CopyResource");
  Object* to = Use(destination, "", "CopyResource");
  Object* from = Use(source, "", "CopyResource");
  Call("CopyResource " + (to ? to->role : std::string("?")) + " <- " + (from ? from->role : std::string("?")));
  if (to == nullptr || from == nullptr) return;
  if (to->desc.Width != from->desc.Width || to->desc.Height != from->desc.Height) {
    Violation("CopyResource: textures of different sizes");
    return;
  }
  if (to->mapped) Violation("CopyResource: destination is mapped");
  std::vector<std::uint8_t> bytes(std::size_t{to->desc.Width} * to->desc.Height * 4);
  std::size_t at = 0;
  for (std::uint32_t y = 0; y < to->desc.Height; ++y) {
    for (std::uint32_t x = 0; x < to->desc.Width; ++x) {
      for (int channel = 0; channel < 4; ++channel) bytes[at++] = TextureByte(*from, x, y, channel);
    }
  }
  to->bytes = std::move(bytes);
}

HResult FakeWgcPlatform::Map(D3D11DeviceContext* context, D3D11Texture2D* texture, std::uint32_t subresource,
                             std::uint32_t mapType, std::uint32_t mapFlags, MappedSubresource* mapped) {
  Use(context, "Context", "Map");
  Object* object = Use(texture, "", "Map");
  Call("Map " + (object ? object->role : std::string("?")) + " sub=" + std::to_string(subresource) +
       " type=" + std::to_string(mapType) + " flags=" + std::to_string(mapFlags));
  if (HResult hr = Checked("Map"); hr < 0) return hr;
  if (object == nullptr) return kFail;
  if (object->desc.Usage != kUsageStaging || (object->desc.CPUAccessFlags & kCpuAccessRead) == 0) {
    Violation("Map: not a texture the CPU may read");
  }
  if (object->mapped) Violation("Map: already mapped");
  const std::uint32_t width = object->desc.Width, height = object->desc.Height;
  const std::size_t pitch = std::size_t{width} * 4 + extraRowPitch;
  object->mappedBytes.assign(pitch * height, kPadding);
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      for (int channel = 0; channel < 4; ++channel) {
        object->mappedBytes[y * pitch + std::size_t{x} * 4 + channel] = TextureByte(*object, x, y, channel);
      }
    }
  }
  object->mapped = true;
  mapped->pData = object->mappedBytes.data();
  mapped->RowPitch = static_cast<std::uint32_t>(pitch);
  mapped->DepthPitch = static_cast<std::uint32_t>(pitch * height);
  return successCode;
}

void FakeWgcPlatform::Unmap(D3D11DeviceContext* context, D3D11Texture2D* texture, std::uint32_t subresource) {
  Use(context, "Context", "Unmap");
  Object* object = Use(texture, "", "Unmap");
  Call("Unmap " + (object ? object->role : std::string("?")) + " sub=" + std::to_string(subresource));
  if (object == nullptr) return;
  if (!object->mapped) Violation("Unmap: not mapped");
  object->mapped = false;
  std::vector<std::uint8_t>().swap(object->mappedBytes);  // a read after Unmap is a read of freed memory
}

// --- Closing.

HResult FakeWgcPlatform::QueryInterface(Unknown* object, const Guid& iid, Closable** closable) {
  *closable = nullptr;
  Object* of = Use(object, "", "QueryInterface(IClosable)");
  Call("QueryInterface IClosable");
  if (!ExpectIid(iid, kIidClosable, "QueryInterface(IClosable)")) return kNoInterfaceResult;
  if (closableMissing || of == nullptr) return kNoInterfaceResult;
  *closable = Acquire<Closable>("Closable", of->id);
  return kOk;
}

HResult FakeWgcPlatform::Close(Closable* closable) {
  Object* object = Use(closable, "Closable", "Close");
  Call("Close");
  if (object != nullptr) {
    const Object& closed = *objects_[object->of - 1];
    journal_.push_back({JournalEntry::Close, closed.id, closed.role, closed.id});
  }
  return closeResult;
}

// --- The video processor.

HResult FakeWgcPlatform::QueryInterface(D3D11Device* device, const Guid& iid, D3D11VideoDevice** videoDevice) {
  *videoDevice = nullptr;
  Use(device, "Device", "QueryInterface(ID3D11VideoDevice)");
  Call("QueryInterface ID3D11VideoDevice");
  if (HResult hr = Checked("QueryInterface(ID3D11VideoDevice)"); hr < 0) return hr;
  if (!ExpectIid(iid, kIidD3D11VideoDevice, "QueryInterface(ID3D11VideoDevice)")) return kNoInterfaceResult;
  if ((deviceFlags_ & kCreateDeviceVideoSupport) == 0) return kNoInterfaceResult;
  *videoDevice = Acquire<D3D11VideoDevice>("VideoDevice");
  return successCode;
}

HResult FakeWgcPlatform::QueryInterface(D3D11DeviceContext* context, const Guid& iid,
                                        D3D11VideoContext** videoContext) {
  *videoContext = nullptr;
  Use(context, "Context", "QueryInterface(ID3D11VideoContext)");
  Call("QueryInterface ID3D11VideoContext");
  if (HResult hr = Checked("QueryInterface(ID3D11VideoContext)"); hr < 0) return hr;
  if (!ExpectIid(iid, kIidD3D11VideoContext, "QueryInterface(ID3D11VideoContext)")) return kNoInterfaceResult;
  *videoContext = Acquire<D3D11VideoContext>("VideoContext");
  return successCode;
}

HResult FakeWgcPlatform::CreateVideoProcessorEnumerator(D3D11VideoDevice* videoDevice,
                                                        const VideoProcessorContentDesc& desc,
                                                        VideoProcessorEnumerator** enumerator) {
  *enumerator = nullptr;
  Use(videoDevice, "VideoDevice", "CreateVideoProcessorEnumerator");
  std::ostringstream text;
  text << "CreateVideoProcessorEnumerator format=" << desc.InputFrameFormat << " in=" << desc.InputWidth << "x"
       << desc.InputHeight << "@" << desc.InputFrameRate.Numerator << "/" << desc.InputFrameRate.Denominator
       << " out=" << desc.OutputWidth << "x" << desc.OutputHeight << "@" << desc.OutputFrameRate.Numerator << "/"
       << desc.OutputFrameRate.Denominator << " usage=" << desc.Usage;
  Call(text.str());
  if (HResult hr = Checked("CreateVideoProcessorEnumerator"); hr < 0) return hr;
  Object& made = Make("Enumerator");
  made.inputWidth = desc.InputWidth;
  made.inputHeight = desc.InputHeight;
  *enumerator = reinterpret_cast<VideoProcessorEnumerator*>(&made);
  return successCode;
}

HResult FakeWgcPlatform::CreateVideoProcessor(D3D11VideoDevice* videoDevice, VideoProcessorEnumerator* enumerator,
                                              std::uint32_t rateConversionIndex, VideoProcessor** processor) {
  *processor = nullptr;
  Use(videoDevice, "VideoDevice", "CreateVideoProcessor");
  Object* madeFrom = Use(enumerator, "Enumerator", "CreateVideoProcessor");
  Call("CreateVideoProcessor rate=" + std::to_string(rateConversionIndex));
  if (HResult hr = Checked("CreateVideoProcessor"); hr < 0) return hr;
  Object& made = Make("Processor");
  made.enumerator = madeFrom;
  *processor = reinterpret_cast<VideoProcessor*>(&made);
  return successCode;
}

HResult FakeWgcPlatform::CreateVideoProcessorOutputView(D3D11VideoDevice* videoDevice, D3D11Texture2D* resource,
                                                        VideoProcessorEnumerator* enumerator,
                                                        const VideoProcessorOutputViewDesc& desc,
                                                        VideoProcessorOutputView** view) {
  *view = nullptr;
  Use(videoDevice, "VideoDevice", "CreateVideoProcessorOutputView");
  Object* texture = Use(resource, "OutputTexture", "CreateVideoProcessorOutputView");
  Use(enumerator, "Enumerator", "CreateVideoProcessorOutputView");
  Call("CreateVideoProcessorOutputView dimension=" + std::to_string(desc.ViewDimension) +
       " mip=" + std::to_string(desc.Texture2D.MipSlice));
  if (HResult hr = Checked("CreateVideoProcessorOutputView"); hr < 0) return hr;
  Object& made = Make("OutputView", texture ? texture->id : 0);
  made.texture = texture;
  *view = reinterpret_cast<VideoProcessorOutputView*>(&made);
  return successCode;
}

HResult FakeWgcPlatform::CreateVideoProcessorInputView(D3D11VideoDevice* videoDevice, D3D11Texture2D* resource,
                                                       VideoProcessorEnumerator* enumerator,
                                                       const VideoProcessorInputViewDesc& desc,
                                                       VideoProcessorInputView** view) {
  *view = nullptr;
  Use(videoDevice, "VideoDevice", "CreateVideoProcessorInputView");
  Object* texture = Use(resource, "FrameTexture", "CreateVideoProcessorInputView");
  Object* madeFor = Use(enumerator, "Enumerator", "CreateVideoProcessorInputView");
  if (texture != nullptr && madeFor != nullptr &&
      (texture->desc.Width != madeFor->inputWidth || texture->desc.Height != madeFor->inputHeight)) {
    Violation("CreateVideoProcessorInputView: a texture of another size than the enumerator's input");
  }
  Call("CreateVideoProcessorInputView fourcc=" + std::to_string(desc.FourCC) +
       " dimension=" + std::to_string(desc.ViewDimension) + " mip=" + std::to_string(desc.Texture2D.MipSlice) +
       " slice=" + std::to_string(desc.Texture2D.ArraySlice));
  if (HResult hr = Checked("CreateVideoProcessorInputView"); hr < 0) return hr;
  Object& made = Make("InputView", texture ? texture->id : 0);
  made.texture = texture;
  *view = reinterpret_cast<VideoProcessorInputView*>(&made);
  return successCode;
}

void FakeWgcPlatform::VideoProcessorSetStreamSourceRect(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                                        std::uint32_t streamIndex, Bool enable, const Rect& rect) {
  Use(videoContext, "VideoContext", "VideoProcessorSetStreamSourceRect");
  if (Object* object = Use(processor, "Processor", "VideoProcessorSetStreamSourceRect")) object->sourceRect = rect;
  Call("VideoProcessorSetStreamSourceRect stream=" + std::to_string(streamIndex) + " enable=" + std::to_string(enable) +
       " " + RectText(rect));
}

void FakeWgcPlatform::VideoProcessorSetStreamFrameFormat(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                                         std::uint32_t streamIndex, std::uint32_t frameFormat) {
  Use(videoContext, "VideoContext", "VideoProcessorSetStreamFrameFormat");
  Use(processor, "Processor", "VideoProcessorSetStreamFrameFormat");
  Call("VideoProcessorSetStreamFrameFormat stream=" + std::to_string(streamIndex) +
       " format=" + std::to_string(frameFormat));
}

void FakeWgcPlatform::VideoProcessorSetStreamAutoProcessingMode(D3D11VideoContext* videoContext,
                                                                VideoProcessor* processor, std::uint32_t streamIndex,
                                                                Bool enable) {
  Use(videoContext, "VideoContext", "VideoProcessorSetStreamAutoProcessingMode");
  Use(processor, "Processor", "VideoProcessorSetStreamAutoProcessingMode");
  Call("VideoProcessorSetStreamAutoProcessingMode stream=" + std::to_string(streamIndex) +
       " enable=" + std::to_string(enable));
}

void FakeWgcPlatform::VideoProcessorSetStreamDestRect(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                                      std::uint32_t streamIndex, Bool enable, const Rect& rect) {
  Use(videoContext, "VideoContext", "VideoProcessorSetStreamDestRect");
  Use(processor, "Processor", "VideoProcessorSetStreamDestRect");
  Call("VideoProcessorSetStreamDestRect stream=" + std::to_string(streamIndex) + " enable=" + std::to_string(enable) +
       " " + RectText(rect));
}

void FakeWgcPlatform::VideoProcessorSetOutputBackgroundColor(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                                             Bool ycbcr, const VideoColorRgba& color) {
  Use(videoContext, "VideoContext", "VideoProcessorSetOutputBackgroundColor");
  Use(processor, "Processor", "VideoProcessorSetOutputBackgroundColor");
  std::ostringstream text;
  text << "VideoProcessorSetOutputBackgroundColor ycbcr=" << ycbcr << " rgba=(" << color.R << "," << color.G << ","
       << color.B << "," << color.A << ")";
  Call(text.str());
}

HResult FakeWgcPlatform::VideoProcessorBlt(D3D11VideoContext* videoContext, VideoProcessor* processor,
                                           VideoProcessorOutputView* view, std::uint32_t outputFrame,
                                           std::uint32_t streamCount, const VideoProcessorStream* streams) {
  Use(videoContext, "VideoContext", "VideoProcessorBlt");
  Object* blitter = Use(processor, "Processor", "VideoProcessorBlt");
  Object* output = Use(view, "OutputView", "VideoProcessorBlt");
  const VideoProcessorStream& stream = streams[0];
  Object* input = Use(stream.pInputSurface, "InputView", "VideoProcessorBlt");
  const bool pointersNull = stream.ppPastSurfaces == nullptr && stream.ppFutureSurfaces == nullptr &&
                            stream.ppPastSurfacesRight == nullptr && stream.pInputSurfaceRight == nullptr &&
                            stream.ppFutureSurfacesRight == nullptr;
  std::ostringstream text;
  text << "VideoProcessorBlt frame=" << outputFrame << " streams=" << streamCount << " enable=" << stream.Enable
       << " output=" << stream.OutputIndex << " field=" << stream.InputFrameOrField << " past=" << stream.PastFrames
       << " future=" << stream.FutureFrames << " others=" << (pointersNull ? "null" : "set");
  Call(text.str());
  if (HResult hr = Checked("VideoProcessorBlt"); hr < 0) return hr;
  // The output shows the frame that was blitted (placement is the state
  // calls'), or undefined bytes when the source rectangle takes any.
  if (output != nullptr && output->texture != nullptr && input != nullptr && input->texture != nullptr) {
    const Object& frame = *input->texture;
    Object& target = *output->texture;
    target.patternSerial = frame.patternSerial;
    target.bytes.clear();
    const Rect source = blitter != nullptr ? blitter->sourceRect.value_or(Rect{}) : Rect{};
    if (!RectWithin(source, frame.desc.Width, frame.desc.Height)) {
      Violation("VideoProcessorBlt: source rectangle " + RectText(source) + " beyond the input texture");
      target.bytes.assign(std::size_t{target.desc.Width} * target.desc.Height * 4, kUndefinedByte);
    } else if (!RectWithin(source, frame.contentSize.Width, frame.contentSize.Height)) {
      Violation("VideoProcessorBlt: source rectangle " + RectText(source) + " beyond the frame's content");
      target.bytes.assign(std::size_t{target.desc.Width} * target.desc.Height * 4, kUndefinedByte);
    }
  }
  return successCode;
}

std::uint32_t FakeWgcPlatform::Release(Unknown* object) {
  Object* released = Use(object, "", "Release");
  if (released == nullptr) return 0;
  if (released->mapped) Violation("Release: " + released->role + " still mapped");
  if (errorsWatched != nullptr && std::ftell(errorsWatched) > 0) {
    Violation("Release: " + released->role + " released after the diagnostic line");
  }
  released->alive = false;
  journal_.push_back({JournalEntry::Release, released->id, released->role, released->of});
  return 0;
}

}  // namespace orvel::testing
