#include "late_bound.h"

namespace orvel::late_bound {
namespace {

// The address of `name` in `module`, or null. The module stays loaded for the
// life of the process, as a static import would.
template <class Function>
Function* Find(const wchar_t* module, const char* name) {
  HMODULE handle = ::LoadLibraryW(module);
  if (handle == nullptr) return nullptr;
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(handle, name)));
}

template <class Function>
Function* Combase(const char* name) {
  return Find<Function>(L"combase.dll", name);
}

}  // namespace

HRESULT RoInitialize(RO_INIT_TYPE type) {
  static auto* const function = Combase<HRESULT WINAPI(RO_INIT_TYPE)>("RoInitialize");
  return function != nullptr ? function(type) : kEntryPointMissing;
}

void RoUninitialize() {
  static auto* const function = Combase<void WINAPI()>("RoUninitialize");
  if (function != nullptr) function();
}

HRESULT RoGetActivationFactory(HSTRING classId, REFIID iid, void** factory) {
  static auto* const function = Combase<HRESULT WINAPI(HSTRING, REFIID, void**)>("RoGetActivationFactory");
  return function != nullptr ? function(classId, iid, factory) : kEntryPointMissing;
}

HRESULT WindowsCreateString(PCNZWCH text, UINT32 length, HSTRING* string) {
  static auto* const function = Combase<HRESULT WINAPI(PCNZWCH, UINT32, HSTRING*)>("WindowsCreateString");
  return function != nullptr ? function(text, length, string) : kEntryPointMissing;
}

HRESULT WindowsDeleteString(HSTRING string) {
  static auto* const function = Combase<HRESULT WINAPI(HSTRING)>("WindowsDeleteString");
  return function != nullptr ? function(string) : kEntryPointMissing;
}

HRESULT CreateDirect3D11DeviceFromDXGIDevice(IDXGIDevice* dxgiDevice, IInspectable** graphicsDevice) {
  static auto* const function =
      Find<HRESULT WINAPI(IDXGIDevice*, IInspectable**)>(L"d3d11.dll", "CreateDirect3D11DeviceFromDXGIDevice");
  return function != nullptr ? function(dxgiDevice, graphicsDevice) : kEntryPointMissing;
}

}  // namespace orvel::late_bound
