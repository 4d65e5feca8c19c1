#pragma once
#include "../platform/process.h"

namespace orvel {

// The process services over the real Windows calls; forwards and converts only.
class WinProcess final : public ProcessPlatform {
 public:
  void SetProcessDPIAware() override;
  wchar_t** CommandLineToArgvW(int* count) override;
  void LocalFree(wchar_t** arguments) override;
  std::FILE* OpenForBinaryWriting(const wchar_t* path) override;
  void SetStandardOutputBinary() override;
  HResult RoInitialize() override;
  void RoUninitialize() override;
};

}  // namespace orvel
