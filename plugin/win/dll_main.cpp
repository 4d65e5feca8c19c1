// The library entry routine. The DLL has no C runtime: this is its entry
// point, and nothing else runs when it loads.

#include <windows.h>

#include "handles_win.h"
#include "library_entry.h"
#include "plugin_module.h"

namespace orvel::plugin {
namespace {

ModuleHandle g_pluginModule = ModuleHandle::kNone;

}  // namespace

ModuleHandle PluginModule() { return g_pluginModule; }

}  // namespace orvel::plugin

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  using namespace orvel::plugin;
  return LibraryEntry(g_pluginModule, FromHinstance(instance), reason);
}
