#pragma once
// The Windows Runtime interfaces of Windows Graphics Capture and the
// Direct3D interop that mingw-w64 does not declare, at the binary level:
// each interface is a pointer to a table of functions, declared here as a
// C-style table so that the slot of every method is checked at compile time.
//
// Where the order comes from: the platform's published metadata
// (Windows.Graphics.Capture, Windows.Graphics.DirectX.Direct3D11,
// Windows.Foundation and the interop headers), as the public language
// bindings expose it with slot numbers cross-checked in two independent
// bindings (shared/platform-facts.md, "Interfaces, in vtable order"). Every
// method of each interface is listed, used or not: a missing one shifts the
// slots after it, compiles, and fails only on a real Windows machine.
//
// Slots count from 0. IUnknown holds 0-2 (QueryInterface, AddRef, Release);
// a Windows Runtime interface adds IInspectable's 3-5 (GetIids,
// GetRuntimeClassName, GetTrustLevel), so its first own method is slot 6.

#include <inspectable.h>
#include <windows.h>
#include <winstring.h>

#include <cstddef>
#include <cstdint>

namespace orvel::abi {

// --- Value types (Windows.Graphics, Windows.Foundation, Windows.Graphics.DirectX).

struct SizeInt32 {
  INT32 Width;
  INT32 Height;
};

struct TimeSpan {
  INT64 Duration;  // 100-nanosecond units
};

enum DirectXPixelFormat : INT32 {
  DirectXPixelFormat_B8G8R8A8UIntNormalized = 87,
};

struct EventRegistrationToken {
  INT64 value;
};

using WinRtBoolean = unsigned char;  // the runtime's boolean: one byte

struct Direct3DSurfaceDescription;  // only passed by pointer, never read here

static_assert(sizeof(SizeInt32) == 8 && sizeof(TimeSpan) == 8 && sizeof(DirectXPixelFormat) == 4);
static_assert(sizeof(EventRegistrationToken) == 8 && sizeof(WinRtBoolean) == 1);

// --- The inherited slots.

template <class Self>
struct UnknownSlots {
  HRESULT(STDMETHODCALLTYPE* QueryInterface)(Self* self, REFIID iid, void** object);  // 0
  ULONG(STDMETHODCALLTYPE* AddRef)(Self* self);                                       // 1
  ULONG(STDMETHODCALLTYPE* Release)(Self* self);                                      // 2
};

template <class Self>
struct InspectableSlots {
  UnknownSlots<Self> unknown;                                                       // 0-2
  HRESULT(STDMETHODCALLTYPE* GetIids)(Self* self, ULONG* count, IID** iids);        // 3
  HRESULT(STDMETHODCALLTYPE* GetRuntimeClassName)(Self* self, HSTRING* className);  // 4
  HRESULT(STDMETHODCALLTYPE* GetTrustLevel)(Self* self, TrustLevel* trustLevel);    // 5
};

constexpr std::size_t Slot(std::size_t index) { return index * sizeof(void*); }

#define ORVEL_ABI_SLOT(Table, method, index) \
  static_assert(offsetof(Table, method) == ::orvel::abi::Slot(index), #Table "::" #method " is not slot " #index)

static_assert(sizeof(UnknownSlots<void>) == Slot(3));
static_assert(sizeof(InspectableSlots<void>) == Slot(6));

struct IGraphicsCaptureItemInterop;
struct IGraphicsCaptureItem;
struct IDirect3D11CaptureFramePoolStatics2;
struct IDirect3D11CaptureFramePool;
struct IDirect3D11CaptureFrame;
struct IGraphicsCaptureSession;
struct IGraphicsCaptureSession2;
struct IDirect3DDevice;
struct IDirect3DSurface;
struct IDirect3DDxgiInterfaceAccess;
struct IClosable;

// --- IGraphicsCaptureItemInterop (IUnknown), {3628E81B-3CAC-4C60-B7F4-23CE0E0C3356}.
struct IGraphicsCaptureItemInteropVtbl {
  UnknownSlots<IGraphicsCaptureItemInterop> unknown;
  HRESULT(STDMETHODCALLTYPE* CreateForWindow)
  (IGraphicsCaptureItemInterop* self, HWND window, REFIID iid, void** result);
  HRESULT(STDMETHODCALLTYPE* CreateForMonitor)
  (IGraphicsCaptureItemInterop* self, HMONITOR monitor, REFIID iid, void** result);
};
ORVEL_ABI_SLOT(IGraphicsCaptureItemInteropVtbl, CreateForWindow, 3);
ORVEL_ABI_SLOT(IGraphicsCaptureItemInteropVtbl, CreateForMonitor, 4);
struct IGraphicsCaptureItemInterop {
  const IGraphicsCaptureItemInteropVtbl* lpVtbl;
};

// --- Windows.Graphics.Capture.IGraphicsCaptureItem, {79C3F95B-31F7-4EC2-A464-632EF5D30760}.
struct IGraphicsCaptureItemVtbl {
  InspectableSlots<IGraphicsCaptureItem> inspectable;
  HRESULT(STDMETHODCALLTYPE* get_DisplayName)(IGraphicsCaptureItem* self, HSTRING* value);
  HRESULT(STDMETHODCALLTYPE* get_Size)(IGraphicsCaptureItem* self, SizeInt32* value);
  HRESULT(STDMETHODCALLTYPE* add_Closed)(IGraphicsCaptureItem* self, void* handler, EventRegistrationToken* token);
  HRESULT(STDMETHODCALLTYPE* remove_Closed)(IGraphicsCaptureItem* self, EventRegistrationToken token);
};
ORVEL_ABI_SLOT(IGraphicsCaptureItemVtbl, get_DisplayName, 6);
ORVEL_ABI_SLOT(IGraphicsCaptureItemVtbl, get_Size, 7);
ORVEL_ABI_SLOT(IGraphicsCaptureItemVtbl, add_Closed, 8);
ORVEL_ABI_SLOT(IGraphicsCaptureItemVtbl, remove_Closed, 9);
struct IGraphicsCaptureItem {
  const IGraphicsCaptureItemVtbl* lpVtbl;
};

// --- Windows.Graphics.Capture.IDirect3D11CaptureFramePoolStatics2, {589B103F-6BBC-5DF5-A991-02E28B3B66D5}.
struct IDirect3D11CaptureFramePoolStatics2Vtbl {
  InspectableSlots<IDirect3D11CaptureFramePoolStatics2> inspectable;
  HRESULT(STDMETHODCALLTYPE* CreateFreeThreaded)
  (IDirect3D11CaptureFramePoolStatics2* self, IDirect3DDevice* device, DirectXPixelFormat pixelFormat,
   INT32 numberOfBuffers, SizeInt32 size, IDirect3D11CaptureFramePool** result);
};
ORVEL_ABI_SLOT(IDirect3D11CaptureFramePoolStatics2Vtbl, CreateFreeThreaded, 6);
struct IDirect3D11CaptureFramePoolStatics2 {
  const IDirect3D11CaptureFramePoolStatics2Vtbl* lpVtbl;
};

// --- Windows.Graphics.Capture.IDirect3D11CaptureFramePool, {24EB6D22-1975-422E-82E7-780DBD8DDF24}.
struct IDirect3D11CaptureFramePoolVtbl {
  InspectableSlots<IDirect3D11CaptureFramePool> inspectable;
  HRESULT(STDMETHODCALLTYPE* Recreate)
  (IDirect3D11CaptureFramePool* self, IDirect3DDevice* device, DirectXPixelFormat pixelFormat, INT32 numberOfBuffers,
   SizeInt32 size);
  HRESULT(STDMETHODCALLTYPE* TryGetNextFrame)(IDirect3D11CaptureFramePool* self, IDirect3D11CaptureFrame** result);
  HRESULT(STDMETHODCALLTYPE* add_FrameArrived)
  (IDirect3D11CaptureFramePool* self, void* handler, EventRegistrationToken* token);
  HRESULT(STDMETHODCALLTYPE* remove_FrameArrived)(IDirect3D11CaptureFramePool* self, EventRegistrationToken token);
  HRESULT(STDMETHODCALLTYPE* CreateCaptureSession)
  (IDirect3D11CaptureFramePool* self, IGraphicsCaptureItem* item, IGraphicsCaptureSession** result);
  HRESULT(STDMETHODCALLTYPE* get_DispatcherQueue)(IDirect3D11CaptureFramePool* self, IInspectable** value);
};
ORVEL_ABI_SLOT(IDirect3D11CaptureFramePoolVtbl, Recreate, 6);
ORVEL_ABI_SLOT(IDirect3D11CaptureFramePoolVtbl, TryGetNextFrame, 7);
ORVEL_ABI_SLOT(IDirect3D11CaptureFramePoolVtbl, add_FrameArrived, 8);
ORVEL_ABI_SLOT(IDirect3D11CaptureFramePoolVtbl, remove_FrameArrived, 9);
ORVEL_ABI_SLOT(IDirect3D11CaptureFramePoolVtbl, CreateCaptureSession, 10);
ORVEL_ABI_SLOT(IDirect3D11CaptureFramePoolVtbl, get_DispatcherQueue, 11);
struct IDirect3D11CaptureFramePool {
  const IDirect3D11CaptureFramePoolVtbl* lpVtbl;
};

// --- Windows.Graphics.Capture.IDirect3D11CaptureFrame, {FA50C623-38DA-4B32-ACF3-FA9734AD800E}.
struct IDirect3D11CaptureFrameVtbl {
  InspectableSlots<IDirect3D11CaptureFrame> inspectable;
  HRESULT(STDMETHODCALLTYPE* get_Surface)(IDirect3D11CaptureFrame* self, IDirect3DSurface** value);
  HRESULT(STDMETHODCALLTYPE* get_SystemRelativeTime)(IDirect3D11CaptureFrame* self, TimeSpan* value);
  HRESULT(STDMETHODCALLTYPE* get_ContentSize)(IDirect3D11CaptureFrame* self, SizeInt32* value);
};
ORVEL_ABI_SLOT(IDirect3D11CaptureFrameVtbl, get_Surface, 6);
ORVEL_ABI_SLOT(IDirect3D11CaptureFrameVtbl, get_SystemRelativeTime, 7);
ORVEL_ABI_SLOT(IDirect3D11CaptureFrameVtbl, get_ContentSize, 8);
struct IDirect3D11CaptureFrame {
  const IDirect3D11CaptureFrameVtbl* lpVtbl;
};

// --- Windows.Graphics.Capture.IGraphicsCaptureSession, {814E42A9-F70F-4AD7-939B-FDDCC6EB880D}.
struct IGraphicsCaptureSessionVtbl {
  InspectableSlots<IGraphicsCaptureSession> inspectable;
  HRESULT(STDMETHODCALLTYPE* StartCapture)(IGraphicsCaptureSession* self);
};
ORVEL_ABI_SLOT(IGraphicsCaptureSessionVtbl, StartCapture, 6);
struct IGraphicsCaptureSession {
  const IGraphicsCaptureSessionVtbl* lpVtbl;
};

// --- Windows.Graphics.Capture.IGraphicsCaptureSession2, {2C39AE40-7D2E-5044-804E-8B6799D4CF9E}.
struct IGraphicsCaptureSession2Vtbl {
  InspectableSlots<IGraphicsCaptureSession2> inspectable;
  HRESULT(STDMETHODCALLTYPE* get_IsCursorCaptureEnabled)(IGraphicsCaptureSession2* self, WinRtBoolean* value);
  HRESULT(STDMETHODCALLTYPE* put_IsCursorCaptureEnabled)(IGraphicsCaptureSession2* self, WinRtBoolean value);
};
ORVEL_ABI_SLOT(IGraphicsCaptureSession2Vtbl, get_IsCursorCaptureEnabled, 6);
ORVEL_ABI_SLOT(IGraphicsCaptureSession2Vtbl, put_IsCursorCaptureEnabled, 7);
struct IGraphicsCaptureSession2 {
  const IGraphicsCaptureSession2Vtbl* lpVtbl;
};

// --- Windows.Graphics.DirectX.Direct3D11.IDirect3DDevice, {A37624AB-8D5F-4650-9D3E-9EAE3D9BC670}.
struct IDirect3DDeviceVtbl {
  InspectableSlots<IDirect3DDevice> inspectable;
  HRESULT(STDMETHODCALLTYPE* Trim)(IDirect3DDevice* self);
};
ORVEL_ABI_SLOT(IDirect3DDeviceVtbl, Trim, 6);
struct IDirect3DDevice {
  const IDirect3DDeviceVtbl* lpVtbl;
};

// --- Windows.Graphics.DirectX.Direct3D11.IDirect3DSurface, {0BF4A146-13C1-4694-BEE3-7ABF15EAF586}.
struct IDirect3DSurfaceVtbl {
  InspectableSlots<IDirect3DSurface> inspectable;
  HRESULT(STDMETHODCALLTYPE* get_Description)(IDirect3DSurface* self, Direct3DSurfaceDescription* value);
};
ORVEL_ABI_SLOT(IDirect3DSurfaceVtbl, get_Description, 6);
struct IDirect3DSurface {
  const IDirect3DSurfaceVtbl* lpVtbl;
};

// --- IDirect3DDxgiInterfaceAccess (IUnknown, the interop header), {A9B3D012-3DF2-4EE3-B8D1-8695F457D3C1}.
struct IDirect3DDxgiInterfaceAccessVtbl {
  UnknownSlots<IDirect3DDxgiInterfaceAccess> unknown;
  HRESULT(STDMETHODCALLTYPE* GetInterface)(IDirect3DDxgiInterfaceAccess* self, REFIID iid, void** result);
};
ORVEL_ABI_SLOT(IDirect3DDxgiInterfaceAccessVtbl, GetInterface, 3);
struct IDirect3DDxgiInterfaceAccess {
  const IDirect3DDxgiInterfaceAccessVtbl* lpVtbl;
};

// --- Windows.Foundation.IClosable, {30D5A829-7FA4-4026-83BB-D75BAE4EA99E}.
struct IClosableVtbl {
  InspectableSlots<IClosable> inspectable;
  HRESULT(STDMETHODCALLTYPE* Close)(IClosable* self);
};
ORVEL_ABI_SLOT(IClosableVtbl, Close, 6);
struct IClosable {
  const IClosableVtbl* lpVtbl;
};

#undef ORVEL_ABI_SLOT

// --- Interface identifiers, as published.

inline constexpr GUID IID_IGraphicsCaptureItemInterop = {
    0x3628E81B, 0x3CAC, 0x4C60, {0xB7, 0xF4, 0x23, 0xCE, 0x0E, 0x0C, 0x33, 0x56}};
inline constexpr GUID IID_IGraphicsCaptureItem = {
    0x79C3F95B, 0x31F7, 0x4EC2, {0xA4, 0x64, 0x63, 0x2E, 0xF5, 0xD3, 0x07, 0x60}};
inline constexpr GUID IID_IDirect3D11CaptureFramePoolStatics2 = {
    0x589B103F, 0x6BBC, 0x5DF5, {0xA9, 0x91, 0x02, 0xE2, 0x8B, 0x3B, 0x66, 0xD5}};
inline constexpr GUID IID_IDirect3D11CaptureFramePool = {
    0x24EB6D22, 0x1975, 0x422E, {0x82, 0xE7, 0x78, 0x0D, 0xBD, 0x8D, 0xDF, 0x24}};
inline constexpr GUID IID_IDirect3D11CaptureFrame = {
    0xFA50C623, 0x38DA, 0x4B32, {0xAC, 0xF3, 0xFA, 0x97, 0x34, 0xAD, 0x80, 0x0E}};
inline constexpr GUID IID_IGraphicsCaptureSession = {
    0x814E42A9, 0xF70F, 0x4AD7, {0x93, 0x9B, 0xFD, 0xDC, 0xC6, 0xEB, 0x88, 0x0D}};
inline constexpr GUID IID_IGraphicsCaptureSession2 = {
    0x2C39AE40, 0x7D2E, 0x5044, {0x80, 0x4E, 0x8B, 0x67, 0x99, 0xD4, 0xCF, 0x9E}};
inline constexpr GUID IID_IDirect3DDevice = {
    0xA37624AB, 0x8D5F, 0x4650, {0x9D, 0x3E, 0x9E, 0xAE, 0x3D, 0x9B, 0xC6, 0x70}};
inline constexpr GUID IID_IDirect3DSurface = {
    0x0BF4A146, 0x13C1, 0x4694, {0xBE, 0xE3, 0x7A, 0xBF, 0x15, 0xEA, 0xF5, 0x86}};
inline constexpr GUID IID_IDirect3DDxgiInterfaceAccess = {
    0xA9B3D012, 0x3DF2, 0x4EE3, {0xB8, 0xD1, 0x86, 0x95, 0xF4, 0x57, 0xD3, 0xC1}};
inline constexpr GUID IID_IClosable = {0x30D5A829, 0x7FA4, 0x4026, {0x83, 0xBB, 0xD7, 0x5B, 0xAE, 0x4E, 0xA9, 0x9E}};

}  // namespace orvel::abi
