#pragma once
// What the library entry routine does: remember the plug-in's own module,
// which Choose needs to find its dialog template.

#include <cstdint>

#include "platform/handles.h"

namespace orvel::plugin {

inline constexpr std::uint32_t kDllProcessAttach = 1;

// Stores `instance` in `pluginModule` at process attach and does nothing for
// any other reason. Always 1 (TRUE): loading never fails on its account.
int LibraryEntry(ModuleHandle& pluginModule, ModuleHandle instance, std::uint32_t reason);

}  // namespace orvel::plugin
