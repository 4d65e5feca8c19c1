#include "picture_size.h"

#include <windows.h>

namespace orvel::wintest {

PictureSize PictureSizeOf(std::uint64_t window, expectations::PictureArea area) {
  // Once is enough; again costs nothing.
  ::SetProcessDPIAware();
  const HWND handle = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
  RECT rect{};
  const BOOL read =
      area == expectations::PictureArea::Window ? ::GetWindowRect(handle, &rect) : ::GetClientRect(handle, &rect);
  if (!read || rect.right <= rect.left || rect.bottom <= rect.top) return {};
  return PictureSize{static_cast<std::uint32_t>(rect.right - rect.left),
                     static_cast<std::uint32_t>(rect.bottom - rect.top)};
}

}  // namespace orvel::wintest
