#include "frame_writer.h"

#include <bit>

namespace orvel {
namespace {

// Times and sizes go out as the bytes held in memory, which the stream
// defines as little-endian.
static_assert(std::endian::native == std::endian::little);

constexpr std::uint32_t kFirstSample = 3;
constexpr std::uint32_t kSampleStep = 13;

bool WriteOne(const void* item, std::size_t size, std::FILE* stream) { return std::fwrite(item, size, 1, stream) == 1; }

}  // namespace

bool ShowsContent(const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height) {
  if (width <= kFirstSample || height <= kFirstSample) return false;
  for (std::uint32_t y = kFirstSample; y < height; y += kSampleStep) {
    const std::uint8_t* row = pixels + static_cast<std::uint64_t>(y) * width * 4;
    for (std::uint32_t x = kFirstSample; x < width; x += kSampleStep) {
      const std::uint8_t* pixel = row + static_cast<std::uint64_t>(x) * 4;
      if ((pixel[0] | pixel[1] | pixel[2]) > 3) return true;  // alpha plays no part
    }
  }
  return false;
}

bool WriteFrame(CaptureSession& session, const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height,
                double frameTime, std::FILE* out) {
  if (!session.contentSeen && ShowsContent(pixels, width, height)) session.contentSeen = true;

  // The record form follows the timestamp file, so it never changes in a run.
  const bool headed = session.timestampFile == nullptr;
  if (headed) {
    if (!WriteOne(&frameTime, sizeof frameTime, out)) return false;
    if (!WriteOne(&width, sizeof width, out)) return false;
    if (!WriteOne(&height, sizeof height, out)) return false;
  }
  // One write for the whole block: no row-by-row writing, no copy.
  const std::uint64_t pixelCount = static_cast<std::uint64_t>(width) * height;
  if (std::fwrite(pixels, 4, pixelCount, out) != pixelCount) return false;
  if (std::fflush(out) != 0) return false;
  if (!headed && !WriteOne(&frameTime, sizeof frameTime, session.timestampFile)) return false;

  ++session.framesWritten;
  return true;
}

}  // namespace orvel
