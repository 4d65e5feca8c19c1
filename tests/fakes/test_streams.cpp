#include "test_streams.h"

#include <sys/types.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace orvel::testing {
namespace {

constexpr std::size_t kLargeBuffer = 16u << 20;  // holds a whole 1920 x 1080 record

ssize_t WriteCookie(void* cookie, const char* data, std::size_t size) {
  auto* state = static_cast<TestStream::State*>(cookie);
  ++state->writeCalls;
  if (state->limited) {
    if (state->room == 0) {
      ++state->refusedWrites;
      return 0;  // a cookie write reports failure as 0 bytes, never negative
    }
    if (size > state->room) {
      ++state->refusedWrites;  // a short write is a failed one
      size = state->room;
    }
    state->room -= size;
  }
  state->bytes.append(data, size);
  return static_cast<ssize_t>(size);
}

int CloseCookie(void* cookie) {
  auto* state = static_cast<TestStream::State*>(cookie);
  ++state->closeCalls;
  return state->failClose ? -1 : 0;
}

}  // namespace

TestStream::TestStream(Buffering buffering) : state_(std::make_unique<State>()) {
  cookie_io_functions_t functions{};
  functions.write = WriteCookie;
  functions.close = CloseCookie;
  file_ = fopencookie(state_.get(), "wb", functions);
  if (file_ == nullptr) throw std::runtime_error("fopencookie failed");
  if (buffering == Buffering::Unbuffered) {
    std::setvbuf(file_, nullptr, _IONBF, 0);
  } else {
    state_->buffer.resize(kLargeBuffer);
    std::setvbuf(file_, state_->buffer.data(), _IOFBF, kLargeBuffer);
  }
}

TestStream::~TestStream() {
  if (state_->closeCalls == 0) {
    state_->failClose = false;
    state_->limited = false;
    std::fclose(file_);
  }
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
