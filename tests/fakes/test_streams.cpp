#include "test_streams.h"

#include <sys/types.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace orvel::testing {
namespace {

// glibc keeps every open stream on a list and marks it with _IO_LINKED in
// _flags; fclose takes the stream off the list before it flushes. A write
// that arrives without the mark therefore comes from fclose, not fflush.
constexpr int kGlibcLinked = 0x0080;
bool IsBeingClosed(std::FILE* file) { return (file->_flags & kGlibcLinked) == 0; }

ssize_t WriteCookie(void* cookie, const char* data, std::size_t size) {
  auto* state = static_cast<TestStream::State*>(cookie);
  ++state->writeCalls;
  const std::size_t asked = size;
  if (state->limited) {
    if (size > state->room) {
      ++state->refusedWrites;  // a short write is a failed one
      size = state->room;
    }
    state->room -= size;
  }
  state->bytes.append(data, size);
  if (size < asked && state->hideWriteFailuresOnClose && IsBeingClosed(state->file)) {
    state->bytesLostOnClose += asked - size;
    return static_cast<ssize_t>(asked);  // reported as written: fclose sees no failure
  }
  // A cookie write reports failure as fewer bytes than asked, never negative.
  return static_cast<ssize_t>(size);
}

int CloseCookie(void* cookie) {
  auto* state = static_cast<TestStream::State*>(cookie);
  ++state->closeCalls;
  return state->failClose ? -1 : 0;
}

}  // namespace

TestStream::TestStream(Buffering buffering, std::size_t bufferBytes) : state_(std::make_unique<State>()) {
  cookie_io_functions_t functions{};
  functions.write = WriteCookie;
  functions.close = CloseCookie;
  file_ = fopencookie(state_.get(), "wb", functions);
  if (file_ == nullptr) throw std::runtime_error("fopencookie failed");
  state_->file = file_;
  if (buffering == Buffering::Unbuffered) {
    std::setvbuf(file_, nullptr, _IONBF, 0);
  } else {
    state_->buffer.resize(bufferBytes);
    std::setvbuf(file_, state_->buffer.data(), _IOFBF, bufferBytes);
  }
}

TestStream::~TestStream() {
  if (state_->closeCalls == 0) {
    state_->failClose = false;
    state_->limited = false;
    std::fclose(file_);
  }
}

void TestStream::HideWriteFailuresOnClose() {
  if (IsBeingClosed(file_)) {
    throw std::runtime_error("this C library does not mark open streams as glibc does: fclose cannot be told apart");
  }
  state_->hideWriteFailuresOnClose = true;
}

void TestStream::AcceptOnly(std::size_t bytes) {
  state_->limited = true;
  state_->room = bytes;
}

std::string ReadAll(std::FILE* stream) {
  std::fflush(stream);
  std::rewind(stream);
  std::string text;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, stream)) > 0) text.append(buffer, got);
  return text;
}

}  // namespace orvel::testing
