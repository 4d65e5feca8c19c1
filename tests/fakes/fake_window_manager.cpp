#include "fake_window_manager.h"

namespace orvel::testing {

FakeWindowManager::Window& FakeWindowManager::Add(std::uint64_t handle, std::uint32_t processId, std::int32_t width,
                                                  std::int32_t height) {
  Window& window = windows_[handle];
  window = Window{processId, false, width, height, false};
  return window;
}

void FakeWindowManager::CloseAt(double time, std::uint64_t handle) {
  changes_.push_back({time, handle, Change::Close, 0, 0, 0});
}
void FakeWindowManager::MinimiseAt(double time, std::uint64_t handle) {
  changes_.push_back({time, handle, Change::Minimise, 0, 0, 0});
}
void FakeWindowManager::ReownAt(double time, std::uint64_t handle, std::uint32_t processId) {
  changes_.push_back({time, handle, Change::Reown, processId, 0, 0});
}
void FakeWindowManager::ResizeAt(double time, std::uint64_t handle, std::int32_t width, std::int32_t height) {
  changes_.push_back({time, handle, Change::Resize, 0, width, height});
}

void FakeWindowManager::ApplyDueChanges() {
  if (clock_ == nullptr) return;
  const double now = clock_->now();  // a peek: a reading would count and tick
  for (auto it = changes_.begin(); it != changes_.end();) {
    if (it->time > now) {
      ++it;
      continue;
    }
    switch (it->kind) {
      case Change::Close:
        windows_.erase(it->handle);
        break;
      case Change::Minimise:
        windows_[it->handle].iconic = true;
        break;
      case Change::Reown:
        windows_[it->handle].processId = it->processId;
        break;
      case Change::Resize:
        windows_[it->handle].clientWidth = it->width;
        windows_[it->handle].clientHeight = it->height;
        break;
    }
    it = changes_.erase(it);
  }
}

std::uint32_t FakeWindowManager::GetWindowThreadProcessId(std::uint64_t window, std::uint32_t* processId) {
  calls_.push_back("GetWindowThreadProcessId");
  ApplyDueChanges();
  auto it = windows_.find(window);
  if (it == windows_.end()) return 0;
  *processId = it->second.processId;
  return 4242;  // any non-zero thread id
}

int FakeWindowManager::IsIconic(std::uint64_t window) {
  calls_.push_back("IsIconic");
  ApplyDueChanges();
  auto it = windows_.find(window);
  return it != windows_.end() && it->second.iconic ? 1 : 0;
}

int FakeWindowManager::GetClientRect(std::uint64_t window, ClientRect* rect) {
  calls_.push_back("GetClientRect");
  ApplyDueChanges();
  auto it = windows_.find(window);
  if (it == windows_.end()) return 0;
  if (it->second.clientRectFails) {
    // A failure that leaves a usable-looking rectangle behind: only the
    // result may tell the caller that the call failed.
    *rect = ClientRect{0, 0, it->second.clientWidth, it->second.clientHeight};
    return 0;
  }
  if (it->second.iconic) {
    *rect = ClientRect{0, 0, 0, 0};  // a minimised window has no client area
  } else {
    *rect = ClientRect{0, 0, it->second.clientWidth, it->second.clientHeight};
  }
  return 1;
}

}  // namespace orvel::testing
