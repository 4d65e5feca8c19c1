#include "fake_clock.h"

namespace orvel::testing {

double FakeClock::NowSeconds() {
  ++readings_;
  const double reading = now_;
  now_ += tick_;
  return reading;
}

void FakeClock::Sleep(std::uint32_t milliseconds) {
  sleeps_.push_back(milliseconds);
  now_ += milliseconds / 1000.0;
}

}  // namespace orvel::testing
