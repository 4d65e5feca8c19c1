#pragma once
// The process-level services the entry function needs: the command line,
// the timestamp file, binary standard output and the Windows Runtime.

#include <cstdio>

#include "../hresult_error.h"

namespace orvel {

class ProcessPlatform {
 public:
  virtual ~ProcessPlatform() = default;
  virtual void SetProcessDPIAware() = 0;
  // CommandLineToArgvW(GetCommandLineW(), count): the argument list, or null
  // when it cannot be built. A list that was built is freed with LocalFree.
  virtual wchar_t** CommandLineToArgvW(int* count) = 0;
  virtual void LocalFree(wchar_t** arguments) = 0;
  // _wfopen(path, L"wb"): create or truncate for binary writing; null on failure.
  virtual std::FILE* OpenForBinaryWriting(const wchar_t* path) = 0;
  // _setmode(_fileno(stdout), _O_BINARY); its result is not examined.
  virtual void SetStandardOutputBinary() = 0;
  // RoInitialize(RO_INIT_MULTITHREADED) and its counterpart.
  virtual HResult RoInitialize() = 0;
  virtual void RoUninitialize() = 0;
};

}  // namespace orvel
