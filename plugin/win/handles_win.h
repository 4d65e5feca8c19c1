#pragma once
// Conversions between the portable handles and the platform's own.

#include <windows.h>

#include <cstdint>

#include "platform/handles.h"

namespace orvel::plugin {

inline HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window)); }
inline WindowHandle FromHwnd(HWND window) {
  return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
}

inline HINSTANCE ToHinstance(ModuleHandle module) {
  return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(module));
}
inline ModuleHandle FromHinstance(HINSTANCE module) {
  return static_cast<ModuleHandle>(reinterpret_cast<std::uintptr_t>(module));
}

inline IconHandle FromHandle(HANDLE icon) { return static_cast<IconHandle>(reinterpret_cast<std::uintptr_t>(icon)); }

// UTF-16 either way: wchar_t is 16 bits wide on Windows.
static_assert(sizeof(wchar_t) == sizeof(char16_t));
inline const wchar_t* ToWide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
inline wchar_t* ToWide(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }

}  // namespace orvel::plugin
