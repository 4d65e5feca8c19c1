#pragma once
// GDI for the fallback backend's tests: handles that are only numbers, a DIB
// section in ordinary memory, a StretchBlt that paints the destination
// rectangle in one colour, failures on demand, and a journal of every
// acquisition and release.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/gdi.h"

namespace orvel::testing {

class FakeGdi final : public GdiPlatform {
 public:
  struct StretchCall {
    int x, y, width, height;
    int sourceX, sourceY, sourceWidth, sourceHeight;
    bool intoMemoryDc, fromWindowDc;
    std::uint32_t rop;
  };

  // Knobs.
  bool failGetDc = false;
  bool failCreateCompatibleDc = false;
  bool failCreateDibSection = false;
  bool dibSectionWithoutMemory = false;
  int failStretchBltCall = 0;  // 1-based; 0: never
  int failGdiFlushCall = 0;
  std::uint8_t paint[4] = {40, 80, 200, 255};  // B, G, R, A drawn into the destination rectangle
  // Called at each StretchBlt with the DIB memory, before it paints.
  std::function<void(int call, std::uint8_t* memory)> onStretch;

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

  // Acquisitions and releases in order: "GetDC", "CreateCompatibleDC",
  // "CreateDIBSection", "SelectObject dib", "SetStretchBltMode 3",
  // "SelectObject previous", "DeleteObject", "DeleteDC", "ReleaseDC".
  const std::vector<std::string>& journal() const { return journal_; }
  // Resources acquired and not yet released (a DIB counts while selected too).
  int held() const { return held_; }
  const BitmapInfo& dibInfo() const { return dibInfo_; }
  const std::vector<StretchCall>& stretches() const { return stretches_; }
  int flushes() const { return flushes_; }

 private:
  std::vector<std::string> journal_;
  int held_ = 0;
  BitmapInfo dibInfo_{};
  std::vector<std::uint8_t> memory_;
  bool dibSelected_ = false;
  int stretchMode_ = 0;
  std::vector<StretchCall> stretches_;
  int flushes_ = 0;
};

}  // namespace orvel::testing
