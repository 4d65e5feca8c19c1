#pragma once
// Entry points that Wine or older Windows lack, looked up at run time so that
// the program starts everywhere. A missing entry point fails with
// kEntryPointMissing, HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND) = 0x8007007F,
// which leads to the GDI fallback like any other failure.

#include <d3d11.h>
#include <dxgi.h>
#include <inspectable.h>
#include <roapi.h>
#include <winstring.h>

namespace orvel::late_bound {

constexpr HRESULT kEntryPointMissing = HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);

// combase.dll (Windows 8 and later)
HRESULT RoInitialize(RO_INIT_TYPE type);
void RoUninitialize();
HRESULT RoGetActivationFactory(HSTRING classId, REFIID iid, void** factory);
HRESULT WindowsCreateString(PCNZWCH text, UINT32 length, HSTRING* string);
HRESULT WindowsDeleteString(HSTRING string);

// d3d11.dll (Windows 10 and later; absent from Wine 8)
HRESULT CreateDirect3D11DeviceFromDXGIDevice(IDXGIDevice* dxgiDevice, IInspectable** graphicsDevice);

}  // namespace orvel::late_bound
