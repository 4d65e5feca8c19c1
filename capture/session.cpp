#include "session.h"

namespace orvel {

const char* ExitCodeName(ExitCode code) {
  switch (code) {
    case ExitCode::Ok:
      return "Ok";
    case ExitCode::BadArguments:
      return "BadArguments";
    case ExitCode::WindowUnavailable:
      return "WindowUnavailable";
    case ExitCode::FileOpenFailed:
      return "FileOpenFailed";
    case ExitCode::CaptureFailed:
      return "CaptureFailed";
    case ExitCode::NoFrames:
      return "NoFrames";
    case ExitCode::GdiCopyFailed:
      return "GdiCopyFailed";
    case ExitCode::NoContent:
      return "NoContent";
    case ExitCode::WriteFailed:
      return "WriteFailed";
    case ExitCode::AccessDenied:
      return "AccessDenied";
  }
  return "unknown";
}

ExitCode EndOfRunCode(const CaptureSession& session) {
  if (session.framesWritten == 0) return ExitCode::NoFrames;
  return session.contentSeen ? ExitCode::Ok : ExitCode::NoContent;
}

}  // namespace orvel
