#include "fake_process.h"

#include <stdexcept>

namespace orvel::testing {

FakeProcess::FakeProcess(std::vector<std::wstring> arguments) : arguments_(std::move(arguments)) {}

void FakeProcess::SetProcessDPIAware() { journal_.push_back("SetProcessDPIAware"); }

wchar_t** FakeProcess::CommandLineToArgvW(int* count) {
  journal_.push_back("CommandLineToArgvW");
  if (argumentListFails) return nullptr;
  pointers_.clear();
  for (std::wstring& argument : arguments_) pointers_.push_back(argument.data());
  pointers_.push_back(nullptr);
  *count = static_cast<int>(arguments_.size());
  ++listsOutstanding_;
  return pointers_.data();
}

void FakeProcess::LocalFree(wchar_t** arguments) {
  journal_.push_back("LocalFree");
  if (arguments != pointers_.data()) throw std::logic_error("LocalFree of a list that was not handed out");
  --listsOutstanding_;
}

std::FILE* FakeProcess::OpenForBinaryWriting(const wchar_t* path) {
  std::string narrow;
  for (const wchar_t* p = path; *p != 0; ++p) narrow.push_back(static_cast<char>(*p));
  journal_.push_back("OpenForBinaryWriting " + narrow);
  if (fileOpenFails) return nullptr;
  timestampFile_ = std::make_unique<TestStream>(TestStream::Buffering::Buffered, timestampBufferBytes);
  if (failTimestampClose_) timestampFile_->FailClose();
  if (timestampRoom) timestampFile_->AcceptOnly(*timestampRoom);
  if (timestampCloseHidesFlushFailure) timestampFile_->HideWriteFailuresOnClose();
  return timestampFile_->file();
}

void FakeProcess::SetStandardOutputBinary() { journal_.push_back("SetStandardOutputBinary"); }

HResult FakeProcess::RoInitialize() {
  journal_.push_back("RoInitialize");
  return roInitializeResult;
}

void FakeProcess::RoUninitialize() { journal_.push_back("RoUninitialize"); }

}  // namespace orvel::testing
