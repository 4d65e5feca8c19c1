#include "gdi_capture.h"

#include <cstdint>
#include <cstring>

#include "frame_pacer.h"
#include "frame_writer.h"
#include "gdi_scopers.h"
#include "letterbox.h"
#include "window_checks.h"

namespace orvel {
namespace {

constexpr std::uint32_t kWaitMilliseconds = 2;

// A 32-bit top-down DIB of the output size: its memory is exactly the
// packed BGRA frame that WriteFrame takes, so frames go out uncopied.
BitmapInfo OutputBitmapInfo(std::uint32_t width, std::uint32_t height) {
  BitmapInfo info;
  info.bmiHeader.biSize = sizeof(BitmapInfoHeader);
  info.bmiHeader.biWidth = static_cast<std::int32_t>(width);
  info.bmiHeader.biHeight = -static_cast<std::int32_t>(height);  // negative: rows run top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = kBiRgb;
  return info;
}

// The window exists, belongs to the process, is not minimised, and has a
// client area to copy.
bool ReadClientSize(WindowManager& windows, const CaptureSession& session, std::int32_t* width, std::int32_t* height) {
  if (!WindowIsCapturable(windows, session.window, session.processId)) return false;
  ClientRect client;
  if (windows.GetClientRect(session.window, &client) == 0) return false;
  *width = client.right;
  *height = client.bottom;
  return *width > 0 && *height > 0;
}

// A GDI call on the window that fails because the window went away after it
// was last checked (it closed between the check and the copy, or while the
// fallback was starting) tells the parent that the window is gone, not that
// GDI failed: the failure counts as the window's only when the window is
// still there.
ExitCode WindowOrGdiFailure(WindowManager& windows, const CaptureSession& session, ExitCode gdiFailure) {
  return WindowIsCapturable(windows, session.window, session.processId) ? gdiFailure : ExitCode::WindowUnavailable;
}

}  // namespace

ExitCode RunGdiCapture(CaptureSession& session, GdiPlatform& gdi, WindowManager& windows, Clock& clock,
                       std::FILE* frames) {
  const std::uint32_t width = session.width, height = session.height;

  ScopedWindowDc windowDc(gdi, session.window);
  if (windowDc.get() == nullptr) return WindowOrGdiFailure(windows, session, ExitCode::CaptureFailed);
  ScopedMemoryDc memoryDc(gdi, windowDc.get());
  if (memoryDc.get() == nullptr) return ExitCode::CaptureFailed;
  ScopedDibSection dib(gdi, memoryDc.get(), OutputBitmapInfo(width, height));
  if (dib.get() == nullptr || dib.bits() == nullptr) return ExitCode::CaptureFailed;
  ScopedSelectObject selected(gdi, memoryDc.get(), dib.get());
  gdi.SetStretchBltMode(memoryDc.get(), kColorOnColor);  // no filtering: cheap and exact colours

  auto* const pixels = static_cast<std::uint8_t*>(dib.bits());
  const std::size_t frameBytes = static_cast<std::size_t>(width) * height * 4;
  std::int32_t lastFittedWidth = 0, lastFittedHeight = 0;
  FramePacer pacer(session.fps);

  while (true) {
    const double now = clock.NowSeconds();
    if (now >= session.endTime) return EndOfRunCode(session);
    if (!pacer.IsDue(now)) {
      clock.Sleep(kWaitMilliseconds);
      continue;
    }

    std::int32_t clientWidth = 0, clientHeight = 0;
    if (!ReadClientSize(windows, session, &clientWidth, &clientHeight)) return ExitCode::WindowUnavailable;

    const LetterboxPlacement fit =
        LetterboxRect(static_cast<std::uint32_t>(clientWidth), static_cast<std::uint32_t>(clientHeight), width, height);
    // The bars are only ever drawn by this clear; the picture's place depends
    // on its size alone, so the memory is cleared only when that changes.
    if (fit.width() != lastFittedWidth || fit.height() != lastFittedHeight) {
      std::memset(pixels, 0, frameBytes);
      lastFittedWidth = fit.width();
      lastFittedHeight = fit.height();
    }

    if (gdi.StretchBlt(memoryDc.get(), fit.left, fit.top, fit.width(), fit.height(), windowDc.get(), 0, 0, clientWidth,
                       clientHeight, kSrcCopy) == 0) {
      return WindowOrGdiFailure(windows, session, ExitCode::GdiCopyFailed);
    }
    // The drawing must reach the memory before it is written.
    if (gdi.GdiFlush() == 0) return WindowOrGdiFailure(windows, session, ExitCode::GdiCopyFailed);
    if (!WriteFrame(session, pixels, width, height, now, frames)) return ExitCode::WriteFailed;
    pacer.Advance(now);
  }
}

}  // namespace orvel
