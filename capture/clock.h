#pragma once
// NowSeconds over the performance counter.

#include "platform/clock.h"

namespace orvel {

// The process makes one of these: the counter frequency is read from the
// system at the first reading and never again, so every later reading costs
// one counter query and one division.
class CounterClock final : public Clock {
 public:
  explicit CounterClock(PerformanceCounter& counter) : counter_(counter) {}

  double NowSeconds() override;
  void Sleep(std::uint32_t milliseconds) override { counter_.Sleep(milliseconds); }

 private:
  PerformanceCounter& counter_;
  double frequency_ = 0.0;  // counts per second; 0 until the first reading
};

}  // namespace orvel
