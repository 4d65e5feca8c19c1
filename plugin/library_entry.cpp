#include "library_entry.h"

namespace orvel::plugin {

int LibraryEntry(ModuleHandle& pluginModule, ModuleHandle instance, std::uint32_t reason) {
  if (reason == kDllProcessAttach) pluginModule = instance;
  return 1;
}

}  // namespace orvel::plugin
