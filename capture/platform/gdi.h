#pragma once
// The GDI seam: the calls the fallback backend makes, with the platform's
// arguments and results (a handle or null, a non-zero BOOL or int).

#include <cstdint>

namespace orvel {

// Opaque GDI handles; only the platform knows what lies behind them.
struct GdiDeviceContext;
struct GdiBitmap;
using Hdc = GdiDeviceContext*;
using Hbitmap = GdiBitmap*;

// BITMAPINFOHEADER, field for field.
struct BitmapInfoHeader {
  std::uint32_t biSize = 0;
  std::int32_t biWidth = 0;
  std::int32_t biHeight = 0;
  std::uint16_t biPlanes = 0;
  std::uint16_t biBitCount = 0;
  std::uint32_t biCompression = 0;
  std::uint32_t biSizeImage = 0;
  std::int32_t biXPelsPerMeter = 0;
  std::int32_t biYPelsPerMeter = 0;
  std::uint32_t biClrUsed = 0;
  std::uint32_t biClrImportant = 0;
};

// BITMAPINFO: the header and one colour-table entry.
struct BitmapInfo {
  BitmapInfoHeader bmiHeader;
  std::uint32_t bmiColors[1] = {0};
};

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kDibRgbColors = 0;
constexpr int kColorOnColor = 3;
constexpr std::uint32_t kSrcCopy = 0x00CC0020;

class GdiPlatform {
 public:
  virtual ~GdiPlatform() = default;
  virtual Hdc GetDC(std::uint64_t window) = 0;
  virtual int ReleaseDC(std::uint64_t window, Hdc dc) = 0;
  virtual Hdc CreateCompatibleDC(Hdc dc) = 0;
  virtual int DeleteDC(Hdc dc) = 0;
  // No file mapping, offset 0. *bits receives the pixel memory, or null.
  virtual Hbitmap CreateDIBSection(Hdc dc, const BitmapInfo& info, std::uint32_t usage, void** bits) = 0;
  virtual int DeleteObject(Hbitmap bitmap) = 0;
  // Returns the bitmap that the DC held before.
  virtual Hbitmap SelectObject(Hdc dc, Hbitmap bitmap) = 0;
  virtual int SetStretchBltMode(Hdc dc, int mode) = 0;
  virtual int StretchBlt(Hdc destination, int x, int y, int width, int height, Hdc source, int sourceX, int sourceY,
                         int sourceWidth, int sourceHeight, std::uint32_t rop) = 0;
  virtual int GdiFlush() = 0;
};

}  // namespace orvel
