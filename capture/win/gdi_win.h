#pragma once
#include "../platform/gdi.h"

namespace orvel {

// The GDI calls of the fallback backend over gdi32 and user32; forwards and
// converts only.
class WinGdi final : public GdiPlatform {
 public:
  Hdc GetDC(std::uint64_t window) override;
  int ReleaseDC(std::uint64_t window, Hdc dc) override;
  Hdc CreateCompatibleDC(Hdc dc) override;
  int DeleteDC(Hdc dc) override;
  Hbitmap CreateDIBSection(Hdc dc, const BitmapInfo& info, std::uint32_t usage, void** bits) override;
  int DeleteObject(Hbitmap bitmap) override;
  Hbitmap SelectObject(Hdc dc, Hbitmap bitmap) override;
  int SetStretchBltMode(Hdc dc, int mode) override;
  int StretchBlt(Hdc destination, int x, int y, int width, int height, Hdc source, int sourceX, int sourceY,
                 int sourceWidth, int sourceHeight, std::uint32_t rop) override;
  int GdiFlush() override;
};

}  // namespace orvel
