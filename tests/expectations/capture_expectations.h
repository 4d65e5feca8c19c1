#pragma once
// What one run of ORVELCapture must show on the machine at hand: the lines
// on standard error, the exit code, which backend writes the frames, how
// the picture is placed and which pacing gate holds the times. Decided from
// the platform probe's facts alone, never from which system this is, so
// that one check program holds Wine, machines without a video processor and
// full Windows alike. Portable.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/frame_times.h"
#include "analysis/letterbox_check.h"
#include "support/platform_facts.h"

namespace orvel::expectations {

enum class Form {
  Headed,  // five arguments: records at the window's size, each with its time
  Bare,    // eight arguments: records at the output size, times in a file
};

// What the check does to the window or the stream while the helper runs.
enum class Scenario {
  PatternStays,  // the pattern window stays up until the end time
  DarkWindow,    // the dark pattern: frames, none with visible content
  Resized,       // the window changes size mid-run
  WindowGone,    // the window is minimised or closed mid-run
  ReaderStops,   // the parent stops reading standard output
};

enum class Writer {
  WindowsGraphicsCapture,
  Gdi,
  Nobody,  // the run ends before a frame
};

// The part of the window a frame shows: Windows Graphics Capture takes the
// whole top-level window (GetWindowRect), GDI its client area. The check
// windows have no non-client area, so both are the same picture.
enum class PictureArea { Window, Client };

// One line of standard error, as the helper writes it.
struct ErrorLine {
  enum class Kind {
    HResult,   // "Windows Graphics Capture: 0x%08lX"
    Fallback,  // "Windows Graphics Capture -> GDI (HWND)"
  };
  Kind kind = Kind::HResult;
  // The HRESULT the line must carry; none when any HRESULT will do because
  // the failing call cannot be known beforehand.
  std::optional<std::int32_t> hresult;
};

struct RunExpectation {
  std::vector<ErrorLine> errorLines;  // exactly these, in this order
  std::uint32_t exitCode = 0;
  Writer writer = Writer::Nobody;
  // Eight-argument form. Exact: GDI's nearest-pixel copy, bars black with
  // alpha 0. Filtered: the video processor, colours within a tolerance, bars
  // opaque black (alpha 255). Five-argument form: Filtered, for the
  // tolerance, since composed frames pass the compositor's colour handling.
  analysis::Scaling scaling = analysis::Scaling::Exact;
  analysis::PacingRule pacing = analysis::PacingRule::Gdi;
  PictureArea pictureArea = PictureArea::Client;
  // Five-argument form under Windows Graphics Capture: the first frames may
  // come at another size (a mismatch on the very first frame is common), so
  // only the last record is held to the window's size.
  bool earlyRecordSizesMayDiffer = false;
  // Said, not failed: "GPU scaler unavailable (0x80004002)" where the video
  // device cannot be made and the eight-argument form falls back to GDI.
  std::string notice;
  // Who writes the frames and why, for report lines: "GDI fallback (Windows
  // Graphics Capture unavailable: 0x80040154)".
  std::string backend;
};

RunExpectation ExpectRun(const wintest::PlatformFacts& facts, Form form, Scenario scenario);

}  // namespace orvel::expectations
