// The plug-in's one export, in the form of every installer plug-in function.
// On x64 there is one calling convention; __cdecl only says so.

#include <windows.h>

#include "choose.h"
#include "dialog_manager_win.h"
#include "handles_win.h"
#include "kernel_strings_win.h"
#include "nsis_plugin_api.h"
#include "plugin_module.h"

extern "C" void __cdecl Choose(HWND hwndParent, int string_size, wchar_t* /*variables*/, stack_t** stacktop,
                               extra_parameters* /*extra*/) {
  using namespace orvel::plugin;
  WinDialogManager dialogs;
  WinKernelStrings strings;
  Choose(dialogs, strings, PluginModule(), FromHwnd(hwndParent), string_size, stacktop);
}
