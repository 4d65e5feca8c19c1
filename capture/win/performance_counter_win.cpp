#include "performance_counter_win.h"

#include <windows.h>

namespace orvel {

std::int64_t WinPerformanceCounter::QueryCounter() {
  LARGE_INTEGER counter{};
  ::QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

std::int64_t WinPerformanceCounter::QueryFrequency() {
  LARGE_INTEGER frequency{};
  ::QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

void WinPerformanceCounter::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

}  // namespace orvel
