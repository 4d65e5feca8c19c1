#pragma once
// The window-manager seam: the three queries the helper makes of a window,
// with the platform's own arguments and results.

#include <cstdint>

namespace orvel {

struct ClientRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

class WindowManager {
 public:
  virtual ~WindowManager() = default;
  // 0 when the handle is not a window; otherwise the creating thread's id,
  // with the owning process id stored in *processId.
  virtual std::uint32_t GetWindowThreadProcessId(std::uint64_t window, std::uint32_t* processId) = 0;
  // Non-zero when the window is minimised.
  virtual int IsIconic(std::uint64_t window) = 0;
  // Non-zero on success; left and top are 0, right and bottom the client size.
  virtual int GetClientRect(std::uint64_t window, ClientRect* rect) = 0;
};

}  // namespace orvel
