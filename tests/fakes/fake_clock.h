#pragma once
// A clock that stands still until the code under test sleeps: a sleep of n
// milliseconds moves it on by n / 1000 s. Readings can also be made to tick.

#include <cstdint>
#include <vector>

#include "platform/clock.h"

namespace orvel::testing {

class FakeClock final : public Clock {
 public:
  explicit FakeClock(double start = 1000.0) : now_(start) {}

  double NowSeconds() override;
  void Sleep(std::uint32_t milliseconds) override;

  double now() const { return now_; }
  void Set(double now) { now_ = now; }
  void Advance(double seconds) { now_ += seconds; }
  // Every reading returns the current time and then moves the clock on.
  void TickPerReading(double seconds) { tick_ = seconds; }

  int readings() const { return readings_; }
  const std::vector<std::uint32_t>& sleeps() const { return sleeps_; }

 private:
  double now_;
  double tick_ = 0.0;
  int readings_ = 0;
  std::vector<std::uint32_t> sleeps_;
};

}  // namespace orvel::testing
