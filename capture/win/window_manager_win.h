#pragma once
#include "../platform/window_manager.h"

namespace orvel {

// The window-manager queries over user32; the 64-bit value is the handle.
class WinWindowManager final : public WindowManager {
 public:
  std::uint32_t GetWindowThreadProcessId(std::uint64_t window, std::uint32_t* processId) override;
  int IsIconic(std::uint64_t window) override;
  int GetClientRect(std::uint64_t window, ClientRect* rect) override;
};

}  // namespace orvel
