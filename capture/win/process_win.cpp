#include "process_win.h"

// windows.h first: the other platform headers build on it.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

#include "late_bound.h"

namespace orvel {

void WinProcess::SetProcessDPIAware() { ::SetProcessDPIAware(); }

wchar_t** WinProcess::CommandLineToArgvW(int* count) { return ::CommandLineToArgvW(::GetCommandLineW(), count); }

void WinProcess::LocalFree(wchar_t** arguments) { ::LocalFree(arguments); }

std::FILE* WinProcess::OpenForBinaryWriting(const wchar_t* path) { return ::_wfopen(path, L"wb"); }

void WinProcess::SetStandardOutputBinary() { ::_setmode(::_fileno(stdout), _O_BINARY); }

HResult WinProcess::RoInitialize() { return late_bound::RoInitialize(RO_INIT_MULTITHREADED); }

void WinProcess::RoUninitialize() { late_bound::RoUninitialize(); }

}  // namespace orvel
