#pragma once
// The window test made at start-up and on every turn of both capture loops.

#include <cstdint>

#include "platform/window_manager.h"

namespace orvel {

// The window exists, is owned by `processId` and is not minimised.
inline bool WindowIsCapturable(WindowManager& windows, std::uint64_t window, std::uint32_t processId) {
  std::uint32_t owner = 0;
  if (windows.GetWindowThreadProcessId(window, &owner) == 0) return false;
  if (owner != processId) return false;
  return windows.IsIconic(window) == 0;
}

}  // namespace orvel
