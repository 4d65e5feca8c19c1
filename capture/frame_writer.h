#pragma once
// WriteFrame: the only way a frame leaves the helper.
//
// Headed record (no timestamp file): time as 8 bytes of binary64, width and
// height as 4 bytes each, little-endian, then the pixels. Bare record
// (timestamp file open): the pixels alone, with the time appended to the
// timestamp file instead. Pixels are BGRA, rows top-down, stride width * 4.

#include <cstdint>
#include <cstdio>

#include "session.h"

namespace orvel {

// True when a frame shows visible content: one pixel in each 13 x 13 cell,
// starting at (3, 3), is sampled, and a sample counts when blue, green or red
// is 4 or more. Frames 3 pixels wide or high or less never count.
bool ShowsContent(const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height);

// Writes one record to `out` (standard output, already in binary mode),
// flushes it, appends the time to the session's timestamp file when there is
// one, counts the frame and notes visible content. Returns false at the first
// write or flush that fails; the frame is then not counted.
bool WriteFrame(CaptureSession& session, const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height,
                double frameTime, std::FILE* out);

}  // namespace orvel
