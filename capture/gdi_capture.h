#pragma once
// The GDI fallback backend: copies the window's client area, letterboxed
// into the output size, at the frame rate until the end time.

#include <cstdio>

#include "platform/clock.h"
#include "platform/gdi.h"
#include "platform/window_manager.h"
#include "session.h"

namespace orvel {

// Runs only in the eight-argument form (a timestamp file and an output size)
// and writes bare records to `frames`. Returns 0, 3, 5, 6, 7, 8 or 9; writes
// nothing to standard error.
ExitCode RunGdiCapture(CaptureSession& session, GdiPlatform& gdi, WindowManager& windows, Clock& clock,
                       std::FILE* frames);

}  // namespace orvel
