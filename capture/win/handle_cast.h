#pragma once
// The command line carries the window handle as a 64-bit number; Windows
// wants it back as an HWND.

#include <windows.h>

#include <cstdint>

namespace orvel {

inline HWND ToHwnd(std::uint64_t window) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window)); }

}  // namespace orvel
