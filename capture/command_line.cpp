#include "command_line.h"

#include <cerrno>
#include <climits>
#include <cwchar>
#include <cwctype>

#include "window_checks.h"

namespace orvel {
namespace {

constexpr int kShortForm = 5;  // program path and four values
constexpr int kLongForm = 8;   // program path and seven values

bool IsAllowedOutputSize(std::uint32_t width, std::uint32_t height) {
  return (width == 1280 && height == 720) || (width == 1920 && height == 1080);
}

}  // namespace

std::uint64_t ConvertUnsigned64(const wchar_t* text) { return std::wcstoull(text, nullptr, 10); }

std::uint32_t ConvertUnsigned32(const wchar_t* text) {
  if constexpr (sizeof(unsigned long) == 4) {
    return std::wcstoul(text, nullptr, 10);
  } else {
    // Where unsigned long is 64 bits wide (the native test build), give what
    // the 32-bit wcstoul gives: the maximum when out of range, and a minus
    // sign negating in 32 bits.
    const wchar_t* p = text;
    while (std::iswspace(static_cast<std::wint_t>(*p))) ++p;
    const bool negative = *p == L'-';
    if (*p == L'-' || *p == L'+') ++p;
    if (*p < L'0' || *p > L'9') return 0;
    errno = 0;
    const unsigned long long magnitude = std::wcstoull(p, nullptr, 10);
    if (errno == ERANGE || magnitude > UINT32_MAX) return UINT32_MAX;
    const auto value = static_cast<std::uint32_t>(magnitude);
    return negative ? 0u - value : value;
  }
}

double ConvertDouble(const wchar_t* text) { return std::wcstod(text, nullptr); }

std::optional<ExitCode> CheckCommandLine(int count, wchar_t* const* arguments, CaptureSession& session,
                                         WindowManager& windows, Clock& clock, ProcessPlatform& process) {
  if (count != kShortForm && count != kLongForm) return ExitCode::BadArguments;

  // Entries 1 to 4 are all converted before anything is checked.
  session.window = ConvertUnsigned64(arguments[1]);
  session.processId = ConvertUnsigned32(arguments[2]);
  session.fps = ConvertUnsigned32(arguments[3]);
  session.endTime = ConvertDouble(arguments[4]);

  // The window checks come before the frame rate: a bad rate with a bad
  // window is reported as the window.
  if (session.processId == 0) return ExitCode::WindowUnavailable;
  if (!WindowIsCapturable(windows, session.window, session.processId)) return ExitCode::WindowUnavailable;
  if (session.fps != 30 && session.fps != 60) return ExitCode::BadArguments;

  // Written as "unless ... greater" so that an end time that is not a number
  // fails too.
  if (!(session.endTime > clock.NowSeconds())) return ExitCode::BadArguments;
  if (!(clock.NowSeconds() + kMaxRunAheadSeconds > session.endTime)) return ExitCode::BadArguments;

  if (count == kLongForm) {
    const std::uint32_t width = ConvertUnsigned32(arguments[5]);
    const std::uint32_t height = ConvertUnsigned32(arguments[6]);
    // Checked before the file is opened, so a bad size creates no file.
    if (!IsAllowedOutputSize(width, height)) return ExitCode::BadArguments;
    session.width = width;
    session.height = height;
    session.timestampFile = process.OpenForBinaryWriting(arguments[7]);
    if (session.timestampFile == nullptr) return ExitCode::FileOpenFailed;
  }
  return std::nullopt;
}

}  // namespace orvel
