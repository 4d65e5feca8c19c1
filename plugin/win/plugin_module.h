#pragma once
// The plug-in's one piece of state: its own module, where Choose finds its
// dialog template. Written by DllMain at process attach, only read after.

#include "platform/handles.h"

namespace orvel::plugin {

ModuleHandle PluginModule();

}  // namespace orvel::plugin
