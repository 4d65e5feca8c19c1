#pragma once
// The command line: the argument list turned into a checked CaptureSession.
//
//   ORVELCapture <window> <processId> <fps> <endTime>
//   ORVELCapture <window> <processId> <fps> <endTime> <width> <height> <timestampFile>

#include <cstdint>
#include <optional>

#include "platform/clock.h"
#include "platform/process.h"
#include "platform/window_manager.h"
#include "session.h"

namespace orvel {

// The runtime library's conversions as the helper uses them: base 10, the end
// pointer ignored, so trailing characters are ignored and a text that does
// not begin with a number gives 0.
std::uint64_t ConvertUnsigned64(const wchar_t* text);  // _wcstoui64
std::uint32_t ConvertUnsigned32(const wchar_t* text);  // wcstoul, 32-bit unsigned long
double ConvertDouble(const wchar_t* text);             // wcstod

// The end time must lie strictly within this many seconds from now.
constexpr double kMaxRunAheadSeconds = 65.0;

// Converts and checks `count` entries (entry 0, the program path, is
// ignored) into `session`, which must be freshly zeroed, and in the
// eight-argument form opens the timestamp file. Returns the exit code of the
// first check that fails, or nothing when the run may start. Writes nothing
// to either standard stream.
std::optional<ExitCode> CheckCommandLine(int count, wchar_t* const* arguments, CaptureSession& session,
                                         WindowManager& windows, Clock& clock, ProcessPlatform& process);

}  // namespace orvel
