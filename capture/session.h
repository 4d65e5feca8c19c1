#pragma once
// The record of one capture run and the exit codes through which the parent
// process learns how the run ended.

#include <cstdint>
#include <cstdio>

namespace orvel {

// The process exit status. The numbers are the parent's contract: never
// renumber or reuse one. 1 is never returned.
enum class ExitCode : int {
  Ok = 0,                 // end time reached, frames written, some showed content
  BadArguments = 2,       // argument list, frame rate, end time or output size
  WindowUnavailable = 3,  // no window, foreign owner, minimised, no area
  FileOpenFailed = 4,     // the timestamp file cannot be created
  CaptureFailed = 5,      // runtime, capture or GDI set-up failed
  NoFrames = 6,           // no frame was written
  GdiCopyFailed = 7,      // StretchBlt or GdiFlush failed
  NoContent = 8,          // frames written, none showed visible content
  WriteFailed = 9,        // a frame, its time, or closing the timestamp file failed
  AccessDenied = 10,      // capture refused with E_ACCESSDENIED
};

// "Ok", "BadArguments", ...; "unknown" for a value outside the table.
const char* ExitCodeName(ExitCode code);

// The parameters and running counters of one run. It lives in the entry
// function for the whole run and is passed by reference; nobody copies it.
struct CaptureSession {
  CaptureSession() = default;
  CaptureSession(const CaptureSession&) = delete;
  CaptureSession& operator=(const CaptureSession&) = delete;

  std::uint64_t window = 0;     // window handle value, as converted
  std::uint32_t processId = 0;  // process that must own the window
  std::uint32_t fps = 0;        // 30 or 60 once validated
  std::uint32_t width = 0;      // output size; 0 x 0 in the five-argument form
  std::uint32_t height = 0;
  double endTime = 0.0;                // seconds on the performance-counter clock
  std::FILE* timestampFile = nullptr;  // open exactly in the eight-argument form
  std::uint32_t framesWritten = 0;     // only WriteFrame increments it
  bool contentSeen = false;            // only WriteFrame sets it; never cleared
};

// How a run that reached its end time ended: no frame written gives NoFrames,
// frames without visible content NoContent, otherwise Ok.
ExitCode EndOfRunCode(const CaptureSession& session);

}  // namespace orvel
