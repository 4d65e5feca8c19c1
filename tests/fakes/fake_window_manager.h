#pragma once
// Windows that a test sets up, and that can close, minimise, change owner or
// change size when the fake clock reaches a given time.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "fake_clock.h"
#include "platform/window_manager.h"

namespace orvel::testing {

class FakeWindowManager final : public WindowManager {
 public:
  struct Window {
    std::uint32_t processId = 0;
    bool iconic = false;
    std::int32_t clientWidth = 800;
    std::int32_t clientHeight = 600;
    bool clientRectFails = false;  // GetClientRect returns 0 but still fills in the size
  };

  explicit FakeWindowManager(const FakeClock* clock = nullptr) : clock_(clock) {}

  Window& Add(std::uint64_t handle, std::uint32_t processId, std::int32_t width = 800, std::int32_t height = 600);

  void Remove(std::uint64_t handle) { windows_.erase(handle); }

  // Changes that take effect once the fake clock has reached `time`.
  void CloseAt(double time, std::uint64_t handle);
  void MinimiseAt(double time, std::uint64_t handle);
  void ReownAt(double time, std::uint64_t handle, std::uint32_t processId);
  void ResizeAt(double time, std::uint64_t handle, std::int32_t width, std::int32_t height);

  std::uint32_t GetWindowThreadProcessId(std::uint64_t window, std::uint32_t* processId) override;
  int IsIconic(std::uint64_t window) override;
  int GetClientRect(std::uint64_t window, ClientRect* rect) override;

  int queries() const { return static_cast<int>(calls_.size()); }
  // "GetWindowThreadProcessId", "IsIconic", "GetClientRect", in call order.
  const std::vector<std::string>& calls() const { return calls_; }

 private:
  struct Change {
    double time;
    std::uint64_t handle;
    enum Kind { Close, Minimise, Reown, Resize } kind;
    std::uint32_t processId;
    std::int32_t width, height;
  };
  void ApplyDueChanges();

  const FakeClock* clock_;  // changes apply by its time; null: no changes
  std::map<std::uint64_t, Window> windows_;
  std::vector<Change> changes_;
  std::vector<std::string> calls_;
};

}  // namespace orvel::testing
