#pragma once
// One small owner per kind of GDI resource, so that every way out of the
// fallback backend releases what it acquired, in reverse order, without a
// release call repeated on each error path.

#include <cstdint>

#include "platform/gdi.h"

namespace orvel {

class ScopedWindowDc {
 public:
  ScopedWindowDc(GdiPlatform& gdi, std::uint64_t window) : gdi_(gdi), window_(window), dc_(gdi.GetDC(window)) {}
  ~ScopedWindowDc() {
    if (dc_ != nullptr) gdi_.ReleaseDC(window_, dc_);
  }
  ScopedWindowDc(const ScopedWindowDc&) = delete;
  ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
  Hdc get() const { return dc_; }

 private:
  GdiPlatform& gdi_;
  std::uint64_t window_;
  Hdc dc_;
};

class ScopedMemoryDc {
 public:
  ScopedMemoryDc(GdiPlatform& gdi, Hdc compatibleWith) : gdi_(gdi), dc_(gdi.CreateCompatibleDC(compatibleWith)) {}
  ~ScopedMemoryDc() {
    if (dc_ != nullptr) gdi_.DeleteDC(dc_);
  }
  ScopedMemoryDc(const ScopedMemoryDc&) = delete;
  ScopedMemoryDc& operator=(const ScopedMemoryDc&) = delete;
  Hdc get() const { return dc_; }

 private:
  GdiPlatform& gdi_;
  Hdc dc_;
};

class ScopedDibSection {
 public:
  ScopedDibSection(GdiPlatform& gdi, Hdc dc, const BitmapInfo& info)
      : gdi_(gdi), bitmap_(gdi.CreateDIBSection(dc, info, kDibRgbColors, &bits_)) {}
  ~ScopedDibSection() {
    if (bitmap_ != nullptr) gdi_.DeleteObject(bitmap_);
  }
  ScopedDibSection(const ScopedDibSection&) = delete;
  ScopedDibSection& operator=(const ScopedDibSection&) = delete;
  Hbitmap get() const { return bitmap_; }
  void* bits() const { return bits_; }

 private:
  GdiPlatform& gdi_;
  void* bits_ = nullptr;
  Hbitmap bitmap_;
};

// Selects a bitmap into a DC and puts the previous one back on the way out.
class ScopedSelectObject {
 public:
  ScopedSelectObject(GdiPlatform& gdi, Hdc dc, Hbitmap bitmap)
      : gdi_(gdi), dc_(dc), previous_(gdi.SelectObject(dc, bitmap)) {}
  ~ScopedSelectObject() { gdi_.SelectObject(dc_, previous_); }
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

 private:
  GdiPlatform& gdi_;
  Hdc dc_;
  Hbitmap previous_;
};

}  // namespace orvel
