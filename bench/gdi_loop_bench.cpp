// The ceiling for the GDI fallback: the same copy as the helper's loop
// (StretchBlt of the whole client into a letterboxed 32-bit DIB of the output
// size, GdiFlush, one fwrite and fflush of the frame to standard output), with
// no pacing, for a given time. Prints frames per second on standard error.
//
//   gdi_loop_bench <window> <seconds> <width> <height>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "letterbox.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: gdi_loop_bench <window> <seconds> <width> <height>\n");
    return 2;
  }
  HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::wcstoull(argv[1], nullptr, 10)));
  const double seconds = std::wcstod(argv[2], nullptr);
  const int width = static_cast<int>(std::wcstol(argv[3], nullptr, 10));
  const int height = static_cast<int>(std::wcstol(argv[4], nullptr, 10));
  _setmode(_fileno(stdout), _O_BINARY);

  HDC windowDc = ::GetDC(window);
  HDC memoryDc = ::CreateCompatibleDC(windowDc);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = ::CreateDIBSection(memoryDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (windowDc == nullptr || memoryDc == nullptr || dib == nullptr || bits == nullptr) return 5;
  HGDIOBJ previous = ::SelectObject(memoryDc, dib);
  ::SetStretchBltMode(memoryDc, COLORONCOLOR);

  LARGE_INTEGER frequency, start, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  long frames = 0;
  const std::size_t bytes = static_cast<std::size_t>(width) * height * 4;
  do {
    RECT client;
    ::GetClientRect(window, &client);
    const orvel::LetterboxPlacement fit = orvel::LetterboxRect(client.right, client.bottom, width, height);
    if (!::StretchBlt(memoryDc, fit.left, fit.top, fit.width(), fit.height(), windowDc, 0, 0, client.right,
                      client.bottom, SRCCOPY) ||
        !::GdiFlush()) {
      return 7;
    }
    if (std::fwrite(bits, 1, bytes, stdout) != bytes || std::fflush(stdout) != 0) return 9;
    ++frames;
    ::QueryPerformanceCounter(&now);
  } while (static_cast<double>(now.QuadPart - start.QuadPart) / frequency.QuadPart < seconds);

  const double elapsed = static_cast<double>(now.QuadPart - start.QuadPart) / frequency.QuadPart;
  std::fprintf(stderr, "%ld frames in %.3f s: %.2f fps\n", frames, elapsed, frames / elapsed);
  ::SelectObject(memoryDc, previous);
  ::DeleteObject(dib);
  ::DeleteDC(memoryDc);
  ::ReleaseDC(window, windowDc);
  return 0;
}
