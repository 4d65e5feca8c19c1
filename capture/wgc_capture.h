#pragma once
// The Windows Graphics Capture backend: captures the session's window on a
// Direct3D 11 device, holds the frames to the frame rate, and writes them
// through WriteFrame, at the window's own size (five-argument form) or
// scaled on the adapter into the output size (eight-argument form, when the
// session's timestamp file is open).

#include <cstdio>

#include "platform/clock.h"
#include "platform/wgc_platform.h"
#include "platform/window_manager.h"
#include "session.h"

namespace orvel {

// Called with the Windows Runtime initialised. Returns 0, 3, 5, 6, 8, 9 or
// 10 with everything it obtained released; throws nothing. Records go to
// `frames` (standard output); a failure writes one line to `errors`.
ExitCode RunWgcCapture(CaptureSession& session, WgcPlatform& platform, WindowManager& windows, Clock& clock,
                       std::FILE* frames, std::FILE* errors);

}  // namespace orvel
