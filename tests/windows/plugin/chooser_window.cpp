#include "chooser_window.h"

#include <cwchar>

namespace orvel::plugin::testing {
namespace {

constexpr UINT kAnswerMilliseconds = 2000;

LRESULT HitTest(HWND dialog, int x, int y) {
  DWORD_PTR result = HTNOWHERE;
  if (!::SendMessageTimeoutW(dialog, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, kAnswerMilliseconds,
                             &result)) {
    return HTNOWHERE;
  }
  return static_cast<LRESULT>(result);
}

}  // namespace

std::wstring DescribeWindow(HWND window) {
  if (window == nullptr) return L"no window";
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  wchar_t handle[32] = {};
  wchar_t className[64] = {};
  wchar_t caption[128] = {};
  std::swprintf(handle, 32, L"%p", static_cast<void*>(window));
  ::GetClassNameW(window, className, 64);
  ::GetWindowTextW(window, caption, 128);
  return std::wstring(L"window ") + handle + L" (class \"" + className + L"\", text \"" + caption + L"\", process " +
         std::to_wstring(process) + L")";
}

std::wstring DescribeInputState(HWND dialog) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info)) return L"its thread's state unknown";
  return L"its thread's active one: " + DescribeWindow(info.hwndActive) + L", focus on control " +
         std::to_wstring(info.hwndFocus != nullptr ? ::GetDlgCtrlID(info.hwndFocus) : 0) + L", flags " +
         std::to_wstring(info.flags);
}

HWND FindVisibleChooser(DWORD processId) {
  HWND window = nullptr;
  while ((window = ::FindWindowExW(nullptr, window, L"#32770", kChooserCaption)) != nullptr) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    // Visible: the dialog manager shows it once WM_INITDIALOG has run.
    if (owner == processId && ::IsWindowVisible(window)) return window;
  }
  return nullptr;
}

std::optional<POINT> ControlCentre(HWND dialog, int controlId) {
  RECT rect{};
  const HWND control = ::GetDlgItem(dialog, controlId);
  if (control == nullptr || !::GetWindowRect(control, &rect)) return std::nullopt;
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::optional<POINT> CloseBoxCentre(HWND dialog) {
  TITLEBARINFO titleBar{};
  titleBar.cbSize = sizeof titleBar;
  if (!::GetTitleBarInfo(dialog, &titleBar)) return std::nullopt;
  const RECT& caption = titleBar.rcTitleBar;
  // Along the caption's middle row from the right: the close button is the
  // rightmost caption button.
  const int row = (caption.top + caption.bottom) / 2;
  int right = caption.right;
  while (right > caption.left && HitTest(dialog, right, row) != HTCLOSE) --right;
  if (right == caption.left) return std::nullopt;
  int left = right;
  while (left > caption.left && HitTest(dialog, left - 1, row) == HTCLOSE) --left;
  const int column = (left + right) / 2;
  int top = row;
  while (top > caption.top - 8 && HitTest(dialog, column, top - 1) == HTCLOSE) --top;
  int bottom = row;
  while (bottom < caption.bottom + 8 && HitTest(dialog, column, bottom + 1) == HTCLOSE) ++bottom;
  return POINT{column, (top + bottom) / 2};
}

}  // namespace orvel::plugin::testing
