#include "window_manager_win.h"

#include <windows.h>

#include "handle_cast.h"

namespace orvel {

std::uint32_t WinWindowManager::GetWindowThreadProcessId(std::uint64_t window, std::uint32_t* processId) {
  DWORD owner = 0;
  const DWORD thread = ::GetWindowThreadProcessId(ToHwnd(window), &owner);
  *processId = owner;
  return thread;
}

int WinWindowManager::IsIconic(std::uint64_t window) { return ::IsIconic(ToHwnd(window)); }

int WinWindowManager::GetClientRect(std::uint64_t window, ClientRect* rect) {
  RECT client{rect->left, rect->top, rect->right, rect->bottom};
  const BOOL ok = ::GetClientRect(ToHwnd(window), &client);
  *rect = ClientRect{client.left, client.top, client.right, client.bottom};
  return ok;
}

}  // namespace orvel
