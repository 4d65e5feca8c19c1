#pragma once
// The platform handles the plug-in passes around, kept opaque: portable code
// only hands them on and compares them. The Windows layer converts them to and
// from HWND, HINSTANCE and HICON; the fakes make them up.

#include <cstdint>

namespace orvel::plugin {

enum class WindowHandle : std::uintptr_t { kNone = 0 };
enum class ModuleHandle : std::uintptr_t { kNone = 0 };
enum class IconHandle : std::uintptr_t { kNone = 0 };

}  // namespace orvel::plugin
