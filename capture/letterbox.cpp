#include "letterbox.h"

namespace orvel {

LetterboxPlacement LetterboxRect(std::uint32_t inputWidth, std::uint32_t inputHeight, std::uint32_t outputWidth,
                                 std::uint32_t outputHeight) {
  const double vertical = static_cast<double>(outputHeight) / static_cast<double>(inputHeight);
  const double horizontal = static_cast<double>(outputWidth) / static_cast<double>(inputWidth);
  const double scale = vertical < horizontal ? vertical : horizontal;
  // + 0.5 and truncation: halves round up.
  const auto fittedWidth = static_cast<std::int32_t>(static_cast<double>(inputWidth) * scale + 0.5);
  const auto fittedHeight = static_cast<std::int32_t>(static_cast<double>(inputHeight) * scale + 0.5);
  const std::int32_t left = (static_cast<std::int32_t>(outputWidth) - fittedWidth) / 2;
  const std::int32_t top = (static_cast<std::int32_t>(outputHeight) - fittedHeight) / 2;
  return LetterboxPlacement{left, top, left + fittedWidth, top + fittedHeight};
}

}  // namespace orvel
