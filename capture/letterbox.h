#pragma once
// Where a picture of one size lands inside a frame of another: scaled to fit
// with its aspect ratio kept, centred, the rest left for black bars. Both the
// GPU scaler and the GDI fallback place frames by this rule.

#include <cstdint>

namespace orvel {

// Right and bottom are exclusive, as in the platform's RECT.
struct LetterboxPlacement {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  std::int32_t width() const { return right - left; }
  std::int32_t height() const { return bottom - top; }
  friend bool operator==(const LetterboxPlacement&, const LetterboxPlacement&) = default;
};

// The side with the smaller ratio fills the output exactly; the other is
// rounded half up; an odd spare pixel goes to the right or bottom bar.
// Inputs smaller than the output are enlarged the same way. Input sizes are
// at least 1.
LetterboxPlacement LetterboxRect(std::uint32_t inputWidth, std::uint32_t inputHeight, std::uint32_t outputWidth,
                                 std::uint32_t outputHeight);

}  // namespace orvel
