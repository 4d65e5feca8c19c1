#include "caption_icon.h"

#include <vector>

#include "user_input.h"

namespace orvel::plugin::testing {
namespace {

constexpr DWORD kPollMilliseconds = 50;
constexpr int kSettlePolls = 3000 / kPollMilliseconds;

void PumpMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

// Photographs the caption icon of a window of this thread once two pictures
// in a row agree.
Picture SettledCaptionIcon(HWND window) {
  Picture previous;
  for (int poll = 0; poll < kSettlePolls; ++poll) {
    PumpMessages();
    ::Sleep(kPollMilliseconds);
    const std::optional<RECT> area = CaptionIconArea(window);
    if (!area) return {};
    Picture current = ScreenPicture(*area);
    if (!current.empty() && current == previous) return current;
    previous = std::move(current);
  }
  return {};
}

std::wstring DrawReference(HWND like, bool withCaption, HICON large, HICON small, Picture& picture) {
  RECT rect{};
  ::GetWindowRect(like, &rect);
  wchar_t caption[128] = {};
  if (withCaption) ::GetWindowTextW(like, caption, 128);
  const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(like, GWL_STYLE)) & ~WS_VISIBLE;
  const DWORD extendedStyle = static_cast<DWORD>(::GetWindowLongPtrW(like, GWL_EXSTYLE));
  const HWND window = ::CreateWindowExW(extendedStyle, L"#32770", caption, style, 0, 0, rect.right - rect.left,
                                        rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
  if (window == nullptr) return L"a reference window could not be created";
  ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
  ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  ::ShowWindow(window, SW_SHOW);
  std::wstring error = BringToForeground(window);
  if (error.empty()) {
    picture = SettledCaptionIcon(window);
    if (picture.empty()) error = L"a reference window's caption did not settle";
  }
  ::DestroyWindow(window);
  PumpMessages();
  return error;
}

}  // namespace

std::optional<RECT> CaptionIconArea(HWND window) {
  RECT rect{};
  TITLEBARINFO titleBar{};
  titleBar.cbSize = sizeof titleBar;
  if (!::GetWindowRect(window, &rect) || !::GetTitleBarInfo(window, &titleBar)) return std::nullopt;
  const RECT area{rect.left, titleBar.rcTitleBar.top, titleBar.rcTitleBar.left, titleBar.rcTitleBar.bottom};
  if (area.right <= area.left || area.bottom <= area.top) return std::nullopt;
  return area;
}

ReferenceCaptions DrawReferenceCaptions(HWND like, HICON large, HICON small) {
  ReferenceCaptions references;
  references.error = DrawReference(like, false, nullptr, nullptr, references.blank);
  if (references.error.empty()) references.error = DrawReference(like, true, nullptr, nullptr, references.withoutIcon);
  if (references.error.empty()) references.error = DrawReference(like, true, large, small, references.largeAndSmall);
  if (references.error.empty()) references.error = DrawReference(like, true, large, large, references.largeOnly);
  return references;
}

}  // namespace orvel::plugin::testing
