// NowSeconds over the performance counter.

#include "clock.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

class ScriptedCounter final : public PerformanceCounter {
 public:
  std::int64_t counter = 0;
  std::int64_t frequency = 10'000'000;
  int frequencyQueries = 0;
  std::uint32_t slept = 0;

  std::int64_t QueryCounter() override { return counter; }
  std::int64_t QueryFrequency() override {
    ++frequencyQueries;
    return frequency;
  }
  void Sleep(std::uint32_t milliseconds) override { slept += milliseconds; }
};

TEST(CounterClock, DividesTheCounterByTheFrequency) {
  ScriptedCounter counter;
  counter.counter = 123'456'789'012;
  CounterClock clock(counter);
  EXPECT_EQ(clock.NowSeconds(), 123'456'789'012.0 / 10'000'000.0);
}

TEST(CounterClock, ReadsTheFrequencyOnceOnly) {
  ScriptedCounter counter;
  CounterClock clock(counter);
  counter.counter = 30'000'000;
  EXPECT_EQ(clock.NowSeconds(), 3.0);
  counter.frequency = 1;  // the system is not asked again
  counter.counter = 50'000'000;
  EXPECT_EQ(clock.NowSeconds(), 5.0);
  EXPECT_EQ(counter.frequencyQueries, 1);
}

TEST(CounterClock, ConvertsTheSignedCountToDouble) {
  ScriptedCounter counter;
  counter.frequency = 3;
  counter.counter = -7;
  CounterClock clock(counter);
  EXPECT_EQ(clock.NowSeconds(), -7.0 / 3.0);
}

TEST(CounterClock, SleepGoesToTheSystem) {
  ScriptedCounter counter;
  CounterClock clock(counter);
  clock.Sleep(3);
  clock.Sleep(2);
  EXPECT_EQ(counter.slept, 5u);
}

}  // namespace
}  // namespace orvel
