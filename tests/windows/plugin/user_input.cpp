#include "user_input.h"

#include <cstdlib>
#include <cwchar>

namespace orvel::plugin::testing {
namespace {

constexpr DWORD kPollMilliseconds = 10;
constexpr int kForegroundPolls = 1000 / kPollMilliseconds;

std::wstring Hex(const void* value) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%p", value);
  return text;
}

std::wstring Describe(HWND window) {
  if (window == nullptr) return L"no window";
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  wchar_t className[64] = {};
  wchar_t caption[128] = {};
  ::GetClassNameW(window, className, 64);
  ::GetWindowTextW(window, caption, 128);
  return L"window " + Hex(window) + L" (class \"" + className + L"\", text \"" + caption + L"\", process " +
         std::to_wstring(process) + L")";
}

bool BecomesForeground(HWND window) {
  for (int poll = 0; poll < kForegroundPolls; ++poll) {
    if (::GetForegroundWindow() == window) return true;
    ::Sleep(kPollMilliseconds);
  }
  return false;
}

INPUT KeyInput(WORD virtualKey, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

INPUT MouseInput(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.dwFlags = flags;
  return input;
}

// Sends the batch; when it is cut short, still sends the releases that did
// not go out, so that no key or button stays down for later input.
bool SendAll(std::vector<INPUT> batch) {
  const UINT sent = ::SendInput(static_cast<UINT>(batch.size()), batch.data(), sizeof(INPUT));
  if (sent == batch.size()) return true;
  std::vector<INPUT> releases;
  for (std::size_t k = sent; k < batch.size(); ++k) {
    const bool keyUp = batch[k].type == INPUT_KEYBOARD && (batch[k].ki.dwFlags & KEYEVENTF_KEYUP) != 0;
    const bool buttonUp = batch[k].type == INPUT_MOUSE && (batch[k].mi.dwFlags & MOUSEEVENTF_LEFTUP) != 0;
    if (keyUp || buttonUp) releases.push_back(batch[k]);
  }
  if (!releases.empty()) ::SendInput(static_cast<UINT>(releases.size()), releases.data(), sizeof(INPUT));
  return false;
}

// Absolute coordinates run from 0 to 65535 over the virtual desktop; the
// pixel reached is the coordinate times the desktop's width over 65536.
LONG Normalised(LONG pixel, int origin, int extent) {
  return static_cast<LONG>((static_cast<long long>(pixel - origin) * 65536 + extent - 1) / extent);
}

}  // namespace

std::wstring BringToForeground(HWND window) {
  // Under Wine on Xvfb the plain call is enough (measured). Windows grants it
  // only to the foreground process or its children; failing that, a process
  // may change the foreground while the Alt key is down.
  ::SetForegroundWindow(window);
  if (BecomesForeground(window)) return L"";
  SendAll({KeyInput(VK_MENU, false)});
  ::SetForegroundWindow(window);
  SendAll({KeyInput(VK_MENU, true)});
  if (BecomesForeground(window)) return L"";
  return L"the dialog is not the foreground window; in front: " + Describe(::GetForegroundWindow());
}

std::wstring PressChord(const std::vector<WORD>& virtualKeys) {
  std::vector<INPUT> batch;
  for (WORD key : virtualKeys) batch.push_back(KeyInput(key, false));
  for (auto key = virtualKeys.rbegin(); key != virtualKeys.rend(); ++key) batch.push_back(KeyInput(*key, true));
  if (SendAll(std::move(batch))) return L"";
  return L"SendInput refused the keys (error " + std::to_wstring(::GetLastError()) + L")";
}

std::wstring ClickAt(POINT point, HWND expected) {
  const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const DWORD move = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
  if (!SendAll({MouseInput(move, Normalised(point.x, left, width), Normalised(point.y, top, height))})) {
    return L"SendInput refused the pointer move (error " + std::to_wstring(::GetLastError()) + L")";
  }
  POINT cursor{};
  ::GetCursorPos(&cursor);
  if (std::abs(cursor.x - point.x) > 1 || std::abs(cursor.y - point.y) > 1) {
    return L"the pointer went to " + std::to_wstring(cursor.x) + L"," + std::to_wstring(cursor.y) + L" instead of " +
           std::to_wstring(point.x) + L"," + std::to_wstring(point.y);
  }
  const HWND under = ::WindowFromPoint(cursor);
  if (under != expected && !::IsChild(expected, under)) {
    return L"the point " + std::to_wstring(cursor.x) + L"," + std::to_wstring(cursor.y) + L" lies on " +
           Describe(under) + L", not on " + Describe(expected);
  }
  if (!SendAll({MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)})) {
    return L"SendInput refused the click (error " + std::to_wstring(::GetLastError()) + L")";
  }
  return L"";
}

}  // namespace orvel::plugin::testing
