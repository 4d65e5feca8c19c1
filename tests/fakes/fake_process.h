#pragma once
// The process services for the entry function's tests: a given argument
// list, timestamp files that are test streams, and a journal of the calls.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/process.h"
#include "test_streams.h"

namespace orvel::testing {

class FakeProcess final : public ProcessPlatform {
 public:
  explicit FakeProcess(std::vector<std::wstring> arguments);

  // Knobs.
  bool argumentListFails = false;
  bool fileOpenFails = false;
  HResult roInitializeResult = kOk;
  // When set, the timestamp file takes this many bytes and then refuses writes.
  std::optional<std::size_t> timestampRoom;
  // When set, the timestamp file's fclose hides a failed final flush, as the
  // Windows runtime's does (TestStream::HideWriteFailuresOnClose).
  bool timestampCloseHidesFlushFailure = false;
  // The timestamp file's stdio buffer: times wait in it until the final flush.
  std::size_t timestampBufferBytes = TestStream::kLargeBuffer;

  void SetProcessDPIAware() override;
  wchar_t** CommandLineToArgvW(int* count) override;
  void LocalFree(wchar_t** arguments) override;
  std::FILE* OpenForBinaryWriting(const wchar_t* path) override;
  void SetStandardOutputBinary() override;
  HResult RoInitialize() override;
  void RoUninitialize() override;

  // What happened, in order: "SetProcessDPIAware", "CommandLineToArgvW",
  // "OpenForBinaryWriting <path>", "SetStandardOutputBinary", "RoInitialize",
  // "RoUninitialize", "LocalFree".
  const std::vector<std::string>& journal() const { return journal_; }
  int listsOutstanding() const { return listsOutstanding_; }
  // The timestamp file handed out, if any (a buffered test stream).
  TestStream* timestampFile() const { return timestampFile_.get(); }
  // Set up how the next timestamp file behaves before it is opened.
  void FailTimestampClose() { failTimestampClose_ = true; }

 private:
  std::vector<std::wstring> arguments_;
  std::vector<wchar_t*> pointers_;
  std::vector<std::string> journal_;
  int listsOutstanding_ = 0;
  bool failTimestampClose_ = false;
  std::unique_ptr<TestStream> timestampFile_;
};

}  // namespace orvel::testing
