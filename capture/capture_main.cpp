#include "capture_main.h"

#include <optional>

#include "command_line.h"

namespace orvel {
namespace {

// The fallback needs a timestamp file (eight-argument form), a Windows
// Graphics Capture run that failed or found nothing before its first frame,
// and time left. It is never tried twice.
bool ShouldFallBackToGdi(ExitCode result, const CaptureSession& session, Clock& clock) {
  if (result != ExitCode::CaptureFailed && result != ExitCode::NoFrames) return false;
  if (session.framesWritten != 0 || session.timestampFile == nullptr) return false;
  return session.endTime > clock.NowSeconds();
}

ExitCode RunBackends(CaptureSession& session, ProcessPlatform& process, Clock& clock, CaptureBackends& backends,
                     std::FILE* errors) {
  ExitCode result = ExitCode::CaptureFailed;
  if (process.RoInitialize() >= 0) {
    result = backends.RunWgcCapture(session);
    process.RoUninitialize();
  }
  if (ShouldFallBackToGdi(result, session, clock)) {
    std::fwrite(kFallbackLine, 1, sizeof kFallbackLine - 1, errors);
    result = backends.RunGdiCapture(session);
  }
  return result;
}

// The file is closed exactly once, on every path that opened it. The times
// still buffered are flushed and checked first: some runtimes' fclose drops a
// failed final flush silently, and the parent must not trust a file that
// lost its last times.
bool CloseTimestampFile(std::FILE* file) {
  const bool flushed = std::fflush(file) == 0;
  const bool closed = std::fclose(file) == 0;
  return flushed && closed;
}

}  // namespace

ExitCode CaptureMain(ProcessPlatform& process, WindowManager& windows, Clock& clock, CaptureBackends& backends,
                     std::FILE* errors) {
  process.SetProcessDPIAware();  // before any window is queried

  int count = 0;
  wchar_t** arguments = process.CommandLineToArgvW(&count);
  if (arguments == nullptr) return ExitCode::BadArguments;

  CaptureSession session;
  ExitCode result;
  if (std::optional<ExitCode> refused = CheckCommandLine(count, arguments, session, windows, clock, process)) {
    result = *refused;
  } else {
    process.SetStandardOutputBinary();
    result = RunBackends(session, process, clock, backends, errors);
  }

  if (session.timestampFile != nullptr && !CloseTimestampFile(session.timestampFile)) result = ExitCode::WriteFailed;
  session.timestampFile = nullptr;

  process.LocalFree(arguments);
  return result;
}

}  // namespace orvel
