#include "stallable_reader.h"

#include <cstdio>

#include "support/child_process.h"

namespace orvel::wintest {
namespace {

// A test that fails between holding and releasing must not leave the
// reading thread waiting for ever: it reads on by itself after this.
constexpr DWORD kLongestHoldMilliseconds = 60000;

}  // namespace

StallableReader::StallableReader(std::uint32_t width, std::uint32_t height)
    : frames_(width, height, {0}),
      probe_(width, height),
      held_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      released_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

StallableReader::~StallableReader() {
  ::SetEvent(released_);
  ::CloseHandle(held_);
  ::CloseHandle(released_);
}

void StallableReader::Take(const char* data, std::size_t size) {
  frames_.Take(data, size);
  probe_.Take(data, size);
  if (holdDone_ || frames_.records() < holdAfter_) return;
  holdDone_ = true;
  heldAt_ = NowSeconds();
  ::SetEvent(held_);
  if (::WaitForSingleObject(released_, kLongestHoldMilliseconds) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "stallable reader: never released, reading on\n");
  }
}

bool StallableReader::AwaitHeld(DWORD milliseconds) const {
  return ::WaitForSingleObject(held_, milliseconds) == WAIT_OBJECT_0;
}

void StallableReader::Release() {
  if (releasedAt_ == 0) releasedAt_ = NowSeconds();
  ::SetEvent(released_);
}

}  // namespace orvel::wintest
