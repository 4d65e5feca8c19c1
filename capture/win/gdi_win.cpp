#include "gdi_win.h"

#include <windows.h>

#include <cstddef>

#include "handle_cast.h"

namespace orvel {
namespace {

static_assert(sizeof(BitmapInfoHeader) == sizeof(BITMAPINFOHEADER));
static_assert(offsetof(BitmapInfoHeader, biClrImportant) == offsetof(BITMAPINFOHEADER, biClrImportant));
static_assert(sizeof(BitmapInfo) == sizeof(BITMAPINFO));
static_assert(kBiRgb == BI_RGB && kDibRgbColors == DIB_RGB_COLORS);
static_assert(kColorOnColor == COLORONCOLOR && kSrcCopy == SRCCOPY);

HDC Native(Hdc dc) { return reinterpret_cast<HDC>(dc); }
Hdc Portable(HDC dc) { return reinterpret_cast<Hdc>(dc); }
HBITMAP Native(Hbitmap bitmap) { return reinterpret_cast<HBITMAP>(bitmap); }
Hbitmap Portable(HGDIOBJ bitmap) { return reinterpret_cast<Hbitmap>(bitmap); }

}  // namespace

Hdc WinGdi::GetDC(std::uint64_t window) { return Portable(::GetDC(ToHwnd(window))); }

int WinGdi::ReleaseDC(std::uint64_t window, Hdc dc) { return ::ReleaseDC(ToHwnd(window), Native(dc)); }

Hdc WinGdi::CreateCompatibleDC(Hdc dc) { return Portable(::CreateCompatibleDC(Native(dc))); }

int WinGdi::DeleteDC(Hdc dc) { return ::DeleteDC(Native(dc)); }

Hbitmap WinGdi::CreateDIBSection(Hdc dc, const BitmapInfo& info, std::uint32_t usage, void** bits) {
  BITMAPINFO native{};
  const BitmapInfoHeader& h = info.bmiHeader;
  native.bmiHeader = BITMAPINFOHEADER{h.biSize,          h.biWidth,       h.biHeight,      h.biPlanes,
                                      h.biBitCount,      h.biCompression, h.biSizeImage,   h.biXPelsPerMeter,
                                      h.biYPelsPerMeter, h.biClrUsed,     h.biClrImportant};
  native.bmiColors[0] = RGBQUAD{};
  return Portable(::CreateDIBSection(Native(dc), &native, usage, bits, nullptr, 0));
}

int WinGdi::DeleteObject(Hbitmap bitmap) { return ::DeleteObject(Native(bitmap)); }

Hbitmap WinGdi::SelectObject(Hdc dc, Hbitmap bitmap) { return Portable(::SelectObject(Native(dc), Native(bitmap))); }

int WinGdi::SetStretchBltMode(Hdc dc, int mode) { return ::SetStretchBltMode(Native(dc), mode); }

int WinGdi::StretchBlt(Hdc destination, int x, int y, int width, int height, Hdc source, int sourceX, int sourceY,
                       int sourceWidth, int sourceHeight, std::uint32_t rop) {
  return ::StretchBlt(Native(destination), x, y, width, height, Native(source), sourceX, sourceY, sourceWidth,
                      sourceHeight, rop);
}

int WinGdi::GdiFlush() { return ::GdiFlush(); }

}  // namespace orvel
