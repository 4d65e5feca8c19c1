// The letterbox rule shared by the GPU scaler and the GDI fallback.

#include "letterbox.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

struct Case {
  std::uint32_t inW, inH, outW, outH;
  LetterboxPlacement expected;
};

TEST(LetterboxRect, PlacesTheScaledPictureCentredOnBars) {
  const Case cases[] = {
      {1920, 1080, 1280, 720, {0, 0, 1280, 720}},  // same aspect, no bars
      {640, 360, 1280, 720, {0, 0, 1280, 720}},    // enlarged twice
      {800, 600, 1280, 720, {160, 0, 1120, 720}},  // bars left and right
      {1024, 768, 1920, 1080, {240, 0, 1680, 1080}},
      {2560, 1080, 1920, 1080, {0, 135, 1920, 945}},  // bars top and bottom
      {1000, 300, 1920, 1080, {0, 252, 1920, 828}},
      {1366, 768, 1280, 720, {0, 0, 1280, 720}},     // 719.65 rounds up to 720
      {1281, 720, 1280, 720, {0, 0, 1280, 719}},     // 719.44 rounds down; spare row at the bottom
      {1919, 1080, 1920, 1080, {0, 0, 1919, 1080}},  // spare column at the right
      {1, 1, 1280, 720, {280, 0, 1000, 720}},
      {1, 10000, 1920, 1080, {960, 0, 960, 1080}},  // fitted width 0: empty rectangle
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LetterboxRect(c.inW, c.inH, c.outW, c.outH), c.expected)
        << c.inW << "x" << c.inH << " into " << c.outW << "x" << c.outH;
  }
}

// The GDI fallback's table, as fitted size and origin.
TEST(LetterboxRect, GivesTheGdiFitOfWindowClientAreas) {
  struct Fit {
    std::uint32_t outW, outH, cw, ch;
    std::int32_t dw, dh, x, y;
  };
  const Fit fits[] = {
      {1280, 720, 800, 600, 960, 720, 160, 0},   {1280, 720, 1024, 768, 960, 720, 160, 0},
      {1280, 720, 800, 500, 1152, 720, 64, 0},   {1280, 720, 1280, 720, 1280, 720, 0, 0},
      {1280, 720, 1279, 720, 1279, 720, 0, 0},   {1920, 1080, 1000, 1000, 1080, 1080, 420, 0},
      {1920, 1080, 1366, 768, 1920, 1079, 0, 0}, {1920, 1080, 2560, 1440, 1920, 1080, 0, 0},
      {1280, 720, 1, 2000, 0, 720, 640, 0},
  };
  for (const Fit& f : fits) {
    const LetterboxPlacement p = LetterboxRect(f.cw, f.ch, f.outW, f.outH);
    EXPECT_EQ(p.width(), f.dw) << f.cw << "x" << f.ch;
    EXPECT_EQ(p.height(), f.dh) << f.cw << "x" << f.ch;
    EXPECT_EQ(p.left, f.x) << f.cw << "x" << f.ch;
    EXPECT_EQ(p.top, f.y) << f.cw << "x" << f.ch;
  }
}

TEST(LetterboxRect, NeverLeavesTheOutput) {
  for (std::uint32_t w = 1; w <= 4000; w += 37) {
    for (std::uint32_t h = 1; h <= 3000; h += 41) {
      for (auto [outW, outH] : {std::pair{1280u, 720u}, std::pair{1920u, 1080u}}) {
        const LetterboxPlacement p = LetterboxRect(w, h, outW, outH);
        ASSERT_GE(p.left, 0);
        ASSERT_GE(p.top, 0);
        ASSERT_LE(p.right, static_cast<std::int32_t>(outW));
        ASSERT_LE(p.bottom, static_cast<std::int32_t>(outH));
        ASSERT_TRUE(p.width() == static_cast<std::int32_t>(outW) || p.height() == static_cast<std::int32_t>(outH));
      }
    }
  }
}

}  // namespace
}  // namespace orvel
