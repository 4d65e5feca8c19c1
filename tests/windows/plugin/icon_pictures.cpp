#include "icon_pictures.h"

#include <cstring>

namespace orvel::plugin::testing {
namespace {

BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// Alpha is dropped: the screen has none, and a mask says what shows.
void KeepColour(Picture& picture) {
  for (std::uint32_t& pixel : picture.pixels) pixel &= 0x00FFFFFFu;
}

Picture PictureOf(HBITMAP bitmap) {
  Picture picture;
  BITMAP described{};
  if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof described, &described) == 0) return picture;
  BITMAPINFO info = TopDown32(described.bmWidth, described.bmHeight);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(described.bmWidth) * described.bmHeight);
  const HDC screen = ::GetDC(nullptr);
  const int lines = ::GetDIBits(screen, bitmap, 0, described.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  if (lines != described.bmHeight) return picture;
  picture = {described.bmWidth, described.bmHeight, std::move(pixels)};
  KeepColour(picture);
  return picture;
}

}  // namespace

MaskedDifference DifferenceWhereDrawn(const Picture& shown, const Picture& drawn, const Picture& blank) {
  MaskedDifference difference;
  const bool sameSize = [&] {
    for (const Picture* other : {&drawn, &blank}) {
      if (other->width != shown.width || other->height != shown.height) return false;
    }
    return true;
  }();
  if (!sameSize) return difference;
  for (std::size_t k = 0; k < shown.pixels.size(); ++k) {
    if (drawn.pixels[k] == blank.pixels[k]) continue;
    ++difference.compared;
    difference.differing += shown.pixels[k] != drawn.pixels[k];
  }
  return difference;
}

IconPicture PictureOf(HICON icon) {
  IconPicture picture;
  ICONINFO info{};
  if (icon == nullptr || !::GetIconInfo(icon, &info)) return picture;
  picture.colour = PictureOf(info.hbmColor);
  picture.mask = PictureOf(info.hbmMask);
  if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
  return picture;
}

Picture ScreenPicture(const RECT& area) {
  Picture picture;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return picture;
  const HDC screen = ::GetDC(nullptr);
  const HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info = TopDown32(width, height);
  void* bits = nullptr;
  const HBITMAP section = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory != nullptr && section != nullptr) {
    const HGDIOBJ previous = ::SelectObject(memory, section);
    if (::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY)) {
      ::GdiFlush();
      picture = {width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
      std::memcpy(picture.pixels.data(), bits, picture.pixels.size() * sizeof(std::uint32_t));
      KeepColour(picture);
    }
    ::SelectObject(memory, previous);
  }
  if (section != nullptr) ::DeleteObject(section);
  if (memory != nullptr) ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return picture;
}

}  // namespace orvel::plugin::testing
