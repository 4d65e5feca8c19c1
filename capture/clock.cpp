#include "clock.h"

namespace orvel {

double CounterClock::NowSeconds() {
  // The helper runs on one thread, so a plain member serves as the cache.
  if (frequency_ == 0.0) frequency_ = static_cast<double>(counter_.QueryFrequency());
  return static_cast<double>(counter_.QueryCounter()) / frequency_;
}

}  // namespace orvel
