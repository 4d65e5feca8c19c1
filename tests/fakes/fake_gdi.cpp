#include "fake_gdi.h"

#include <stdexcept>

namespace orvel::testing {
namespace {

// Handles are distinct numbers that are never dereferenced.
template <class Handle>
Handle Make(std::uintptr_t value) {
  return reinterpret_cast<Handle>(value);
}
const Hdc kWindowDc = Make<Hdc>(0x1100);
const Hdc kMemoryDc = Make<Hdc>(0x2200);
const Hbitmap kDib = Make<Hbitmap>(0x3300);
const Hbitmap kStockBitmap = Make<Hbitmap>(0x4400);

}  // namespace

Hdc FakeGdi::GetDC(std::uint64_t) {
  if (failGetDc) return nullptr;
  journal_.push_back("GetDC");
  ++held_;
  return kWindowDc;
}

int FakeGdi::ReleaseDC(std::uint64_t, Hdc dc) {
  if (dc != kWindowDc) throw std::logic_error("ReleaseDC of a DC that GetDC did not give");
  journal_.push_back("ReleaseDC");
  --held_;
  return 1;
}

Hdc FakeGdi::CreateCompatibleDC(Hdc dc) {
  if (dc != kWindowDc) throw std::logic_error("memory DC not made from the window DC");
  if (failCreateCompatibleDc) return nullptr;
  journal_.push_back("CreateCompatibleDC");
  ++held_;
  return kMemoryDc;
}

int FakeGdi::DeleteDC(Hdc dc) {
  if (dc != kMemoryDc) throw std::logic_error("DeleteDC of a DC that was not created");
  journal_.push_back("DeleteDC");
  --held_;
  return 1;
}

Hbitmap FakeGdi::CreateDIBSection(Hdc dc, const BitmapInfo& info, std::uint32_t usage, void** bits) {
  if (dc != kMemoryDc || usage != kDibRgbColors) throw std::logic_error("unexpected CreateDIBSection");
  dibInfo_ = info;
  *bits = nullptr;
  if (failCreateDibSection) return nullptr;
  journal_.push_back("CreateDIBSection");
  ++held_;
  if (!dibSectionWithoutMemory) {
    const auto height =
        static_cast<std::size_t>(info.bmiHeader.biHeight < 0 ? -info.bmiHeader.biHeight : info.bmiHeader.biHeight);
    // Fresh GDI memory is not promised to be zero: fill it with noise.
    memory_.assign(static_cast<std::size_t>(info.bmiHeader.biWidth) * height * 4, 0xA5);
    *bits = memory_.data();
  }
  return kDib;
}

int FakeGdi::DeleteObject(Hbitmap bitmap) {
  if (bitmap != kDib) throw std::logic_error("DeleteObject of an unknown bitmap");
  if (dibSelected_) throw std::logic_error("DeleteObject of a bitmap still selected into a DC");
  journal_.push_back("DeleteObject");
  --held_;
  return 1;
}

Hbitmap FakeGdi::SelectObject(Hdc dc, Hbitmap bitmap) {
  if (dc != kMemoryDc) throw std::logic_error("SelectObject into an unknown DC");
  if (bitmap == kDib) {
    journal_.push_back("SelectObject dib");
    dibSelected_ = true;
    ++held_;
    return kStockBitmap;
  }
  if (bitmap != kStockBitmap) throw std::logic_error("SelectObject of an unknown bitmap");
  journal_.push_back("SelectObject previous");
  dibSelected_ = false;
  --held_;
  return kDib;
}

int FakeGdi::SetStretchBltMode(Hdc dc, int mode) {
  if (dc != kMemoryDc) throw std::logic_error("stretch mode on an unknown DC");
  journal_.push_back("SetStretchBltMode " + std::to_string(mode));
  stretchMode_ = mode;
  return 1;
}

int FakeGdi::StretchBlt(Hdc destination, int x, int y, int width, int height, Hdc source, int sourceX, int sourceY,
                        int sourceWidth, int sourceHeight, std::uint32_t rop) {
  stretches_.push_back(StretchCall{x, y, width, height, sourceX, sourceY, sourceWidth, sourceHeight,
                                   destination == kMemoryDc && dibSelected_, source == kWindowDc, rop});
  const int call = static_cast<int>(stretches_.size());
  if (onStretch) onStretch(call, memory_.data());
  if (call == failStretchBltCall) return 0;
  const int dibWidth = dibInfo_.bmiHeader.biWidth;
  for (int row = y; row < y + height; ++row) {
    for (int column = x; column < x + width; ++column) {
      std::uint8_t* pixel = &memory_[(static_cast<std::size_t>(row) * dibWidth + column) * 4];
      for (int k = 0; k < 4; ++k) pixel[k] = paint[k];
    }
  }
  return 1;
}

int FakeGdi::GdiFlush() {
  ++flushes_;
  return flushes_ == failGdiFlushCall ? 0 : 1;
}

}  // namespace orvel::testing
