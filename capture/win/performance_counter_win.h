#pragma once
#include "../platform/clock.h"

namespace orvel {

class WinPerformanceCounter final : public PerformanceCounter {
 public:
  std::int64_t QueryCounter() override;
  std::int64_t QueryFrequency() override;
  void Sleep(std::uint32_t milliseconds) override;
};

}  // namespace orvel
