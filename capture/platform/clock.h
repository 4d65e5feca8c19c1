#pragma once
// The clock seam: every time in the helper is a double count of seconds on
// the performance-counter clock, and waiting is done by short sleeps only.

#include <cstdint>

namespace orvel {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds on the performance-counter clock: the clock of the end time on
  // the command line and of every frame time written out.
  virtual double NowSeconds() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

// What the system offers: QueryPerformanceCounter, QueryPerformanceFrequency
// and Sleep, as they are.
class PerformanceCounter {
 public:
  virtual ~PerformanceCounter() = default;
  virtual std::int64_t QueryCounter() = 0;
  virtual std::int64_t QueryFrequency() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace orvel
