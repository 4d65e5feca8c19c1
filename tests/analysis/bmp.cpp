#include "analysis/bmp.h"

#include <cstring>
#include <fstream>
#include <limits>

#include "analysis/little_endian.h"

namespace orvel::analysis {
namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::size_t kPixelOffset = kFileHeaderBytes + kInfoHeaderBytes;
constexpr std::uint32_t kBiRgb = 0;
// 2835 pixels per metre is 72 dots per inch, what most writers put there.
constexpr std::int32_t kPixelsPerMetre = 2835;

template <typename T>
void Put(std::vector<std::uint8_t>& bytes, std::size_t offset, T value) {
  WriteLittleEndian(bytes.data() + offset, value);
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const FrameView& frame, BmpRows rows) {
  constexpr auto kMaxSide = static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max());
  if (!frame.complete() || frame.width > kMaxSide || frame.height > kMaxSide) return {};
  const std::uint64_t imageBytes = frame.expectedBytes();
  const std::uint64_t fileBytes = kPixelOffset + imageBytes;
  if (fileBytes > std::numeric_limits<std::uint32_t>::max()) return {};

  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(fileBytes));
  // BITMAPFILEHEADER
  bytes[0] = 'B';
  bytes[1] = 'M';
  Put<std::uint32_t>(bytes, 2, static_cast<std::uint32_t>(fileBytes));
  Put<std::uint32_t>(bytes, 10, kPixelOffset);
  // BITMAPINFOHEADER
  const auto height = static_cast<std::int32_t>(frame.height);
  Put<std::uint32_t>(bytes, 14, kInfoHeaderBytes);
  Put<std::int32_t>(bytes, 18, static_cast<std::int32_t>(frame.width));
  Put<std::int32_t>(bytes, 22, rows == BmpRows::TopDown ? -height : height);
  Put<std::uint16_t>(bytes, 26, 1);   // planes
  Put<std::uint16_t>(bytes, 28, 32);  // bits per pixel
  Put<std::uint32_t>(bytes, 30, kBiRgb);
  Put<std::uint32_t>(bytes, 34, static_cast<std::uint32_t>(imageBytes));
  Put<std::int32_t>(bytes, 38, kPixelsPerMetre);
  Put<std::int32_t>(bytes, 42, kPixelsPerMetre);
  // 32-bit rows need no padding: the stride is width * 4 either way.
  const std::size_t stride = std::size_t{frame.width} * 4;
  for (std::size_t y = 0; y < frame.height; ++y) {
    const std::size_t target = rows == BmpRows::TopDown ? y : frame.height - 1 - y;
    if (stride > 0) std::memcpy(bytes.data() + kPixelOffset + target * stride, frame.bytes.data() + y * stride, stride);
  }
  return bytes;
}

std::optional<DecodedBmp> DecodeBmp(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kPixelOffset || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const auto fileBytes = ReadLittleEndian<std::uint32_t>(&bytes[2]);
  const auto pixelOffset = ReadLittleEndian<std::uint32_t>(&bytes[10]);
  const auto infoBytes = ReadLittleEndian<std::uint32_t>(&bytes[14]);
  const auto width = ReadLittleEndian<std::int32_t>(&bytes[18]);
  const auto signedHeight = ReadLittleEndian<std::int32_t>(&bytes[22]);
  const auto planes = ReadLittleEndian<std::uint16_t>(&bytes[26]);
  const auto bitCount = ReadLittleEndian<std::uint16_t>(&bytes[28]);
  const auto compression = ReadLittleEndian<std::uint32_t>(&bytes[30]);
  if (fileBytes != bytes.size() || infoBytes < kInfoHeaderBytes || planes != 1 || bitCount != 32 ||
      compression != kBiRgb || width < 0 || signedHeight == std::numeric_limits<std::int32_t>::min()) {
    return std::nullopt;
  }
  const bool topDown = signedHeight < 0;
  DecodedBmp image;
  image.width = static_cast<std::uint32_t>(width);
  image.height = static_cast<std::uint32_t>(topDown ? -signedHeight : signedHeight);
  const std::uint64_t imageBytes = std::uint64_t{image.width} * image.height * 4;
  if (pixelOffset < kFileHeaderBytes + infoBytes || pixelOffset > bytes.size() ||
      bytes.size() - pixelOffset < imageBytes) {
    return std::nullopt;
  }
  image.pixels.resize(static_cast<std::size_t>(imageBytes));
  const std::size_t stride = std::size_t{image.width} * 4;
  for (std::size_t y = 0; y < image.height; ++y) {
    const std::size_t source = topDown ? y : image.height - 1 - y;
    if (stride > 0) std::memcpy(image.pixels.data() + y * stride, bytes.data() + pixelOffset + source * stride, stride);
  }
  return image;
}

bool SaveBmp(const std::filesystem::path& path, const FrameView& frame, BmpRows rows) {
  const std::vector<std::uint8_t> bytes = EncodeBmp(frame, rows);
  if (bytes.empty()) return false;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  file.close();
  return !file.fail();
}

}  // namespace orvel::analysis
