#pragma once
// The whole run of the capture helper: checks, Windows Graphics Capture, the
// GDI fallback decision, closing the timestamp file.

#include <cstdio>

#include "platform/clock.h"
#include "platform/process.h"
#include "platform/window_manager.h"
#include "session.h"

namespace orvel {

// The two capture backends. Each takes the session by reference, writes its
// frames through WriteFrame and returns the run's exit code.
class CaptureBackends {
 public:
  virtual ~CaptureBackends() = default;
  // Called with the Windows Runtime initialised; returns 0, 3, 5, 6, 8, 9 or 10.
  virtual ExitCode RunWgcCapture(CaptureSession& session) = 0;
  // Returns 0, 3, 5, 6, 7, 8 or 9.
  virtual ExitCode RunGdiCapture(CaptureSession& session) = 0;
};

// The one diagnostic line of the entry function, written just before the GDI
// fallback starts.
inline constexpr char kFallbackLine[] = "Windows Graphics Capture -> GDI (HWND)\n";

// The entry function's logic; wWinMain only wires the real pieces to it.
// `errors` is standard error.
ExitCode CaptureMain(ProcessPlatform& process, WindowManager& windows, Clock& clock, CaptureBackends& backends,
                     std::FILE* errors);

}  // namespace orvel
