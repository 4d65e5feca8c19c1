#include "chooser_driver.h"

#include <vector>

namespace orvel::plugin::testing {
namespace {

constexpr wchar_t kCaption[] = L"ORVEL \u00B7 Idioma / Language";
constexpr DWORD kPollMilliseconds = 20;
constexpr int kEndWithinPolls = 5000 / kPollMilliseconds;
constexpr UINT kTimeoutMilliseconds = 2000;

LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kTimeoutMilliseconds, &result))
    return 0;
  return static_cast<LRESULT>(result);
}

BOOL CALLBACK MatchChooser(HWND window, LPARAM found) {
  wchar_t className[16] = {};
  wchar_t caption[64] = {};
  ::GetClassNameW(window, className, 16);
  ::GetWindowTextW(window, caption, 64);
  if (::lstrcmpW(className, L"#32770") == 0 && ::lstrcmpW(caption, kCaption) == 0 && ::IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindChooser(DWORD thread) {
  HWND found = nullptr;
  ::EnumThreadWindows(thread, MatchChooser, reinterpret_cast<LPARAM>(&found));
  return found;
}

ChooserDriver::ChooserDriver(DWORD chooserThread, std::function<void(HWND, HWND)> act)
    : chooserThread_(chooserThread), act_(std::move(act)), thread_([this] { Run(); }) {}

ChooserDriver::~ChooserDriver() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

DialogSeen ChooserDriver::Finish() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  return seen_;
}

void ChooserDriver::Run() {
  HWND dialog = nullptr;
  while (!stop_ && (dialog = FindChooser(chooserThread_)) == nullptr) ::Sleep(kPollMilliseconds);
  if (dialog == nullptr) return;

  seen_.window = dialog;
  // A sent message is answered from the dialog's message loop: after it, the
  // initialisation is surely done.
  const LRESULT defId = SendWithTimeout(dialog, DM_GETDEFID, 0, 0);
  if (HIWORD(defId) == DC_HASDEFID) seen_.defaultId = LOWORD(defId);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (::GetGUIThreadInfo(chooserThread_, &info) && info.hwndFocus != nullptr) {
    seen_.focusId = ::GetDlgCtrlID(info.hwndFocus);
  }
  seen_.owner = ::GetWindow(dialog, GW_OWNER);
  seen_.ownerDisabled = seen_.owner != nullptr && !::IsWindowEnabled(seen_.owner);
  seen_.bigIcon = reinterpret_cast<HICON>(SendWithTimeout(dialog, WM_GETICON, ICON_BIG, 0));
  seen_.smallIcon = reinterpret_cast<HICON>(SendWithTimeout(dialog, WM_GETICON, ICON_SMALL, 0));

  act_(dialog, info.hwndFocus);
  for (int poll = 0; poll < kEndWithinPolls && ::IsWindow(dialog); ++poll) ::Sleep(kPollMilliseconds);
  if (::IsWindow(dialog)) {
    seen_.stuck = true;
    ::PostMessageW(dialog, WM_CLOSE, 0, 0);
  }
}

std::function<void(HWND, HWND)> PostCommand(int id) {
  return [id](HWND dialog, HWND) { ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
}

std::function<void(HWND, HWND)> PostClose() {
  return [](HWND dialog, HWND) { ::PostMessageW(dialog, WM_CLOSE, 0, 0); };
}

std::function<void(HWND, HWND)> PressKeys(std::initializer_list<UINT> virtualKeys) {
  std::vector<UINT> keys(virtualKeys);
  return [keys](HWND dialog, HWND focus) {
    const DWORD thread = ::GetWindowThreadProcessId(dialog, nullptr);
    for (std::size_t k = 0; k < keys.size(); ++k) {
      ::PostMessageW(focus, WM_KEYDOWN, keys[k], 1);
      ::PostMessageW(focus, WM_KEYUP, keys[k], 0xC0000001);
      if (k + 1 == keys.size()) break;
      // Every key but the last moves the focus (Tab): the next key goes to
      // the control that has it then.
      const HWND before = focus;
      for (int poll = 0; poll < kEndWithinPolls && focus == before; ++poll) {
        ::Sleep(kPollMilliseconds);
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (::GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr) focus = info.hwndFocus;
      }
    }
  };
}

std::function<void(HWND, HWND)> TypeCharacter(wchar_t character) {
  return [character](HWND, HWND focus) { ::PostMessageW(focus, WM_CHAR, character, 1); };
}

}  // namespace orvel::plugin::testing
