#include "user_input.h"

#include "chooser_window.h"

#include <cstdlib>

namespace orvel::plugin::testing {
namespace {

constexpr DWORD kPollMilliseconds = 10;
constexpr int kForegroundPolls = 1000 / kPollMilliseconds;
constexpr int kPointerPolls = 1000 / kPollMilliseconds;
constexpr DWORD kAbsoluteMove = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;

bool BecomesForeground(HWND window) {
  for (int poll = 0; poll < kForegroundPolls; ++poll) {
    if (::GetForegroundWindow() == window) return true;
    ::Sleep(kPollMilliseconds);
  }
  return false;
}

bool Near(POINT a, POINT b) { return std::abs(a.x - b.x) <= 1 && std::abs(a.y - b.y) <= 1; }

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

LONG NormalisedX(LONG x) {
  return Normalised(x, ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
}
LONG NormalisedY(LONG y) {
  return Normalised(y, ::GetSystemMetrics(SM_YVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

// Moves the pointer and waits until it is there: the move is carried out
// asynchronously (under Wine GetCursorPos can still give the old position
// right after SendInput).
std::wstring MovePointer(POINT point, POINT& cursor) {
  if (!SendAll({MouseInput(kAbsoluteMove, NormalisedX(point.x), NormalisedY(point.y))})) {
    return L"SendInput refused the pointer move (error " + std::to_wstring(::GetLastError()) + L")";
  }
  for (int poll = 0; poll < kPointerPolls && !(::GetCursorPos(&cursor) && Near(cursor, point)); ++poll) {
    ::Sleep(kPollMilliseconds);
  }
  if (Near(cursor, point)) return L"";
  return L"the pointer went to " + std::to_wstring(cursor.x) + L"," + std::to_wstring(cursor.y) + L" instead of " +
         std::to_wstring(point.x) + L"," + std::to_wstring(point.y);
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
  return L"the dialog is not the foreground window; in front: " + DescribeWindow(::GetForegroundWindow());
}

std::wstring PressChord(const std::vector<WORD>& virtualKeys) {
  std::vector<INPUT> batch;
  for (WORD key : virtualKeys) batch.push_back(KeyInput(key, false));
  for (auto key = virtualKeys.rbegin(); key != virtualKeys.rend(); ++key) batch.push_back(KeyInput(*key, true));
  if (SendAll(std::move(batch))) return L"";
  return L"SendInput refused the keys (error " + std::to_wstring(::GetLastError()) + L")";
}

std::wstring ParkPointer() {
  const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  POINT cursor{};
  return MovePointer(POINT{left + 1, top + height / 2}, cursor);
}

std::wstring ClickAt(POINT point, HWND expected) {
  POINT cursor{};
  std::wstring error = MovePointer(point, cursor);
  if (!error.empty()) return error;
  const HWND under = ::WindowFromPoint(cursor);
  if (under != expected && !::IsChild(expected, under)) {
    return L"the point " + std::to_wstring(cursor.x) + L"," + std::to_wstring(cursor.y) + L" lies on " +
           DescribeWindow(under) + L", not on " + DescribeWindow(expected);
  }
  // The button events carry the position too, so the click lands there even
  // if the cursor moves after the check above: under Wine, once in 240 runs,
  // a click sent after a passing check did not reach the Cancel button.
  const LONG dx = NormalisedX(point.x);
  const LONG dy = NormalisedY(point.y);
  if (!SendAll({MouseInput(kAbsoluteMove | MOUSEEVENTF_LEFTDOWN, dx, dy),
                MouseInput(kAbsoluteMove | MOUSEEVENTF_LEFTUP, dx, dy)})) {
    return L"SendInput refused the click (error " + std::to_wstring(::GetLastError()) + L")";
  }
  return L"";
}

}  // namespace orvel::plugin::testing
