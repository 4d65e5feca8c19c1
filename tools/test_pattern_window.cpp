// A window for capture tests: paints the test pattern, prints its window
// handle and process id, and on request resizes, minimises, restores or
// closes itself.
//
//   orvel_test_pattern [--client WIDTHxHEIGHT] [--popup] [--dark] [--tick] [--animate]
//                      [--report-origin] [--at MILLISECONDS ACTION]...
//
// The default window is a framed overlapped window (title bar and borders)
// with an 800x600 client area.
// --popup makes a popup window with no non-client area that still shows in
// the task switcher, so that its window rectangle is its client rectangle
// and a capture of the whole window (Windows Graphics Capture) sees the same
// picture as a copy of the client area (GDI).
// --dark paints every pixel below the content threshold.
// --tick flips the ticker square (TickerRect in test_pattern.h) between two
// colours every 16 ms, so that a capture that sends frames only when the
// window changes keeps sending them; checks skip that square. With --dark
// its colours stay below the content threshold too.
// --animate moves a white square across the middle row, so that successive
// frames differ (for demos; tests use the still pattern).
// ACTION is resize=WIDTHxHEIGHT (client size), minimize, restore or close.
// --at times count from the moment the window is shown. Lines on standard
// input carry further actions, done at once. Standard output gets
// "<hwnd> <pid>" in decimal once the window is shown and painted, then
// "<action> done" after each action. With --report-origin a second line,
// "origin X Y", gives the client area's top-left corner on the screen.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

#include "test_pattern.h"

namespace {

using orvel::test_pattern::Rgb;

constexpr UINT kActionMessage = WM_APP + 1;
constexpr DWORD kFramedStyle = WS_OVERLAPPEDWINDOW;
// No caption and no border: the window is its client area. WS_EX_APPWINDOW
// keeps it in the task switcher, which window capture requires. Topmost,
// because Windows may refuse the foreground to a program that a check
// started from a console, and GDI reads the parts of a covered window black.
constexpr DWORD kPopupStyle = WS_POPUP;
constexpr DWORD kPopupExStyle = WS_EX_APPWINDOW | WS_EX_TOPMOST;

struct Action {
  enum Kind { Resize, Minimize, Restore, Close } kind;
  int width = 0;
  int height = 0;
  std::string text;
};

DWORD g_style = kFramedStyle;
DWORD g_exStyle = 0;
bool g_dark = false;
bool g_animate = false;
bool g_tick = false;
int g_tickPhase = 0;
bool g_reportOrigin = false;
constexpr UINT_PTR kAnimationTimer = 1000;
constexpr UINT_PTR kTickTimer = 1001;
constexpr UINT kTickMilliseconds = 16;
std::vector<Action> g_scheduled;

bool ParseSize(const char* text, int* width, int* height) {
  return std::sscanf(text, "%dx%d", width, height) == 2 && *width > 0 && *height > 0;
}

bool ParseAction(const std::string& text, Action* action) {
  action->text = text;
  if (text == "minimize")
    action->kind = Action::Minimize;
  else if (text == "restore")
    action->kind = Action::Restore;
  else if (text == "close")
    action->kind = Action::Close;
  else if (text.rfind("resize=", 0) == 0 && ParseSize(text.c_str() + 7, &action->width, &action->height))
    action->kind = Action::Resize;
  else
    return false;
  return true;
}

SIZE OuterSize(int clientWidth, int clientHeight) {
  RECT rect{0, 0, clientWidth, clientHeight};
  ::AdjustWindowRectEx(&rect, g_style, FALSE, g_exStyle);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void Perform(HWND window, const Action& action) {
  switch (action.kind) {
    case Action::Resize: {
      const SIZE outer = OuterSize(action.width, action.height);
      ::SetWindowPos(window, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER);
      ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      break;
    }
    case Action::Minimize:
      ::ShowWindow(window, SW_MINIMIZE);
      break;
    case Action::Restore:
      ::ShowWindow(window, SW_RESTORE);
      ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      break;
    case Action::Close:
      ::DestroyWindow(window);
      break;
  }
  std::printf("%s done\n", action.text.c_str());
  std::fflush(stdout);
}

void FillWith(HDC dc, const RECT& rect, const Rgb& colour) {
  HBRUSH brush = ::CreateSolidBrush(RGB(colour.r, colour.g, colour.b));
  ::FillRect(dc, &rect, brush);
  ::DeleteObject(brush);
}

RECT TickerOf(HWND window) {
  RECT client;
  ::GetClientRect(window, &client);
  const orvel::test_pattern::Rect ticker = orvel::test_pattern::TickerRect(client.right, client.bottom);
  return RECT{ticker.left, ticker.top, ticker.right, ticker.bottom};
}

void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(window, &paint);
  RECT client;
  ::GetClientRect(window, &client);
  const int width = client.right, height = client.bottom;
  using namespace orvel::test_pattern;
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      RECT cell{CellStart(column, kColumns, width), CellStart(row, kRows, height),
                CellStart(column + 1, kColumns, width), CellStart(row + 1, kRows, height)};
      FillWith(dc, cell, g_dark ? kDark : kCells[row][column]);
    }
  }
  if (g_tick) {
    FillWith(dc, TickerOf(window), (g_dark ? kDarkTickerColours : kTickerColours)[g_tickPhase]);
  }
  if (g_animate) {
    // One pass across the client every four seconds.
    const int side = height / 6;
    const ULONGLONG period = 4000;
    const int x = static_cast<int>((::GetTickCount64() % period) * static_cast<ULONGLONG>(width - side) / period);
    RECT square{x, (height - side) / 2, x + side, (height + side) / 2};
    ::FillRect(dc, &square, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  }
  ::EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the pattern covers every pixel
    case WM_TIMER:
      if (wParam == kAnimationTimer) {
        ::InvalidateRect(window, nullptr, FALSE);
        return 0;
      }
      if (wParam == kTickTimer) {
        g_tickPhase ^= 1;
        const RECT ticker = TickerOf(window);
        ::InvalidateRect(window, &ticker, FALSE);
        return 0;
      }
      ::KillTimer(window, wParam);
      Perform(window, g_scheduled[wParam - 1]);
      return 0;
    case kActionMessage: {
      Action* action = reinterpret_cast<Action*>(lParam);
      Perform(window, *action);
      delete action;
      return 0;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void ReadActions(HWND window) {
  char line[256];
  while (std::fgets(line, sizeof line, stdin) != nullptr) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    auto* action = new Action;
    if (!ParseAction(text, action) || !::PostMessageW(window, kActionMessage, 0, reinterpret_cast<LPARAM>(action))) {
      delete action;
    }
  }
}

int Usage() {
  std::fprintf(stderr,
               "usage: orvel_test_pattern [--client WxH] [--popup] [--dark] [--tick] [--animate] [--report-origin] "
               "[--at MS ACTION]...\n");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int clientWidth = 800, clientHeight = 600;
  std::vector<UINT> delays;
  for (int i = 1; i < argc; ++i) {
    char text[256];
    std::snprintf(text, sizeof text, "%ls", argv[i]);
    const std::string argument(text);
    char next[256] = "";
    if (i + 1 < argc) std::snprintf(next, sizeof next, "%ls", argv[i + 1]);
    if (argument == "--client" && i + 1 < argc) {
      if (!ParseSize(next, &clientWidth, &clientHeight)) return Usage();
      ++i;
    } else if (argument == "--popup") {
      g_style = kPopupStyle;
      g_exStyle = kPopupExStyle;
    } else if (argument == "--dark") {
      g_dark = true;
    } else if (argument == "--tick") {
      g_tick = true;
    } else if (argument == "--animate") {
      g_animate = true;
    } else if (argument == "--report-origin") {
      g_reportOrigin = true;
    } else if (argument == "--at" && i + 2 < argc) {
      Action action;
      char actionText[256];
      std::snprintf(actionText, sizeof actionText, "%ls", argv[i + 2]);
      if (!ParseAction(actionText, &action)) return Usage();
      delays.push_back(static_cast<UINT>(std::strtoul(next, nullptr, 10)));
      g_scheduled.push_back(action);
      i += 2;
    } else {
      return Usage();
    }
  }

  ::SetProcessDPIAware();
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.lpszClassName = L"OrvelTestPattern";
  ::RegisterClassW(&windowClass);

  const SIZE outer = OuterSize(clientWidth, clientHeight);
  HWND window = ::CreateWindowExW(g_exStyle, windowClass.lpszClassName, L"ORVEL test pattern", g_style, 0, 0, outer.cx,
                                  outer.cy, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ::ShowWindow(window, SW_SHOWNORMAL);
  ::UpdateWindow(window);
  ::SetForegroundWindow(window);
  ::GdiFlush();

  std::printf("%llu %lu\n", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window)),
              ::GetCurrentProcessId());
  if (g_reportOrigin) {
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    std::printf("origin %ld %ld\n", origin.x, origin.y);
  }
  std::fflush(stdout);

  for (std::size_t k = 0; k < delays.size(); ++k) ::SetTimer(window, k + 1, delays[k], nullptr);
  if (g_animate) ::SetTimer(window, kAnimationTimer, 15, nullptr);
  if (g_tick) ::SetTimer(window, kTickTimer, kTickMilliseconds, nullptr);
  std::thread(ReadActions, window).detach();

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  std::fflush(stdout);
  std::_Exit(0);  // do not wait for the stdin reader
}
