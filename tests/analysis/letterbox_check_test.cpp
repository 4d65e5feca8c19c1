// The pattern checks on frames made the way each backend makes them, and on
// frames gone wrong in the usual ways.

#include "analysis/letterbox_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "test_frames.h"

namespace orvel::analysis {
namespace {

using testing::Frame;
using testing::LetterboxBilinear;
using testing::LetterboxNearest;
using testing::RenderPattern;

const PatternCheck kExact{Scaling::Exact};
const PatternCheck kFiltered{Scaling::Filtered};

struct Placement {
  std::uint32_t sourceWidth, sourceHeight, width, height;
};

void PrintTo(const Placement& p, std::ostream* os) {
  *os << p.sourceWidth << "x" << p.sourceHeight << " in " << p.width << "x" << p.height;
}

bool Mentions(const std::vector<std::string>& problems, const std::string& text) {
  for (const std::string& problem : problems) {
    if (problem.find(text) != std::string::npos) return true;
  }
  return false;
}

class Letterboxed : public ::testing::TestWithParam<Placement> {
 protected:
  Frame Source() const { return RenderPattern(GetParam().sourceWidth, GetParam().sourceHeight, 255); }
  std::vector<std::string> Check(const Frame& frame, const PatternCheck& check) const {
    return CheckLetterboxedPattern(frame.view(), GetParam().sourceWidth, GetParam().sourceHeight, check);
  }
};

// The exact check fails it for its blended pixels, its opaque bars, or both.
TEST_P(Letterboxed, FilteredFramePassesOnlyTheFilteredCheck) {
  const Frame frame = LetterboxBilinear(Source(), GetParam().width, GetParam().height);
  const std::vector<std::string> filtered = Check(frame, kFiltered);
  EXPECT_TRUE(filtered.empty()) << ::testing::PrintToString(filtered);
  EXPECT_FALSE(Check(frame, kExact).empty());
}

TEST_P(Letterboxed, NearestNeighbourFramePassesTheExactCheck) {
  const Frame frame = LetterboxNearest(Source(), GetParam().width, GetParam().height);
  const std::vector<std::string> exact = Check(frame, kExact);
  EXPECT_TRUE(exact.empty()) << ::testing::PrintToString(exact);
}

TEST_P(Letterboxed, FrameShiftedByThreePixelsFails) {
  const Frame placed = LetterboxBilinear(Source(), GetParam().width, GetParam().height);
  for (auto [dx, dy] : {std::pair{3, 0}, std::pair{-3, 0}, std::pair{0, 3}, std::pair{0, -3}}) {
    SCOPED_TRACE("shifted by " + std::to_string(dx) + ", " + std::to_string(dy));
    const Frame shifted = testing::Shifted(placed, dx, dy, Bgra{0, 0, 0, 255});
    const std::vector<std::string> problems = Check(shifted, kFiltered);
    EXPECT_TRUE(Mentions(problems, "boundary before")) << ::testing::PrintToString(problems);
  }
}

TEST_P(Letterboxed, MirroredOrSwappedFrameFailsAndIsNamed) {
  const Frame placed = LetterboxBilinear(Source(), GetParam().width, GetParam().height);
  const std::vector<std::string> mirrored = Check(testing::MirroredLeftToRight(placed), kFiltered);
  EXPECT_TRUE(Mentions(mirrored, "is rgb(")) << "cells fail";
  EXPECT_TRUE(Mentions(mirrored, "the cells match the pattern mirrored left to right"))
      << ::testing::PrintToString(mirrored);
  const std::vector<std::string> swapped = Check(testing::RedBlueSwapped(placed), kFiltered);
  EXPECT_TRUE(Mentions(swapped, "is rgb(")) << "cells fail";
  EXPECT_TRUE(Mentions(swapped, "the cells match the pattern red and blue swapped"))
      << ::testing::PrintToString(swapped);
}

// A frame of the window at another size (say, before a resize) lands
// elsewhere.
TEST_P(Letterboxed, FrameOfAnotherSourceSizeFails) {
  const Placement p = GetParam();
  const Frame other = LetterboxNearest(RenderPattern(p.sourceWidth * 2 / 3, p.sourceHeight, 0), p.width, p.height);
  EXPECT_FALSE(Check(other, kExact).empty());
}

INSTANTIATE_TEST_SUITE_P(Placements, Letterboxed,
                         ::testing::Values(Placement{800, 600, 1280, 720},     // bars left and right, enlarged
                                           Placement{400, 400, 1280, 720},     // square, enlarged 1.8 times
                                           Placement{1700, 956, 1280, 720},    // reduced, no bars
                                           Placement{2560, 1080, 1920, 1080},  // bars top and bottom
                                           Placement{1366, 768, 1920, 1080},   // one spare bottom row
                                           Placement{640, 360, 1920, 1080}),   // enlarged three times
                         [](const ::testing::TestParamInfo<Placement>& info) {
                           const Placement& p = info.param;
                           return std::to_string(p.sourceWidth) + "x" + std::to_string(p.sourceHeight) + "In" +
                                  std::to_string(p.width) + "x" + std::to_string(p.height);
                         });

TEST(LetterboxBars, EachBackendsBarsFailTheOtherCheck) {
  const Frame source = RenderPattern(800, 600, 255);
  // GDI's bars have alpha 0; the video processor's are opaque.
  const std::vector<std::string> gdiAsFiltered =
      CheckLetterboxedPattern(LetterboxNearest(source, 1280, 720).view(), 800, 600, kFiltered);
  EXPECT_TRUE(Mentions(gdiAsFiltered, "left bar: 114480 of 114480 pixels are not black with alpha 255"))
      << ::testing::PrintToString(gdiAsFiltered);
  const std::vector<std::string> gpuAsExact =
      CheckLetterboxedPattern(LetterboxBilinear(source, 1280, 720).view(), 800, 600, kExact);
  EXPECT_TRUE(Mentions(gpuAsExact,
                       "left bar: 115200 of 115200 pixels are not black with alpha 0; the first at (0, 0) "
                       "is rgb(0,0,0) alpha 255"))
      << ::testing::PrintToString(gpuAsExact);
}

// Without bars, what tells a filtered frame from a copy is its blends.
TEST(ExactCheck, FindsBlendedPixels) {
  const Frame frame = LetterboxBilinear(RenderPattern(1700, 956, 255), 1280, 720);
  const std::vector<std::string> exact = CheckLetterboxedPattern(frame.view(), 1700, 956, kExact);
  ASSERT_EQ(exact.size(), 1u) << ::testing::PrintToString(exact);
  EXPECT_TRUE(Mentions(exact, "picture pixels are no colour of the pattern (blended, not a nearest-neighbour copy)"))
      << exact[0];
}

TEST(LetterboxBars, GreyBarFails) {
  Frame frame = LetterboxNearest(RenderPattern(800, 600, 0), 1280, 720);
  frame.Set(1279, 719, Bgra{40, 40, 40, 0});
  EXPECT_EQ(CheckLetterboxedPattern(frame.view(), 800, 600, kExact),
            std::vector<std::string>{
                "right bar: 1 of 115200 pixels are not black with alpha 0; the first at (1279, 719) is rgb(40,40,40) "
                "alpha 0"});
}

// The ticker keeps changing; the checks look past it, and only past it.
TEST(LetterboxTicker, IsSkippedButNothingElseIs) {
  for (const test_pattern::Rgb& tick : test_pattern::kTickerColours) {
    const Frame source = RenderPattern(800, 600, 255, tick);
    EXPECT_TRUE(CheckLetterboxedPattern(LetterboxNearest(source, 1280, 720).view(), 800, 600, kExact).empty());
    EXPECT_TRUE(CheckLetterboxedPattern(LetterboxBilinear(source, 1920, 1080).view(), 800, 600, kFiltered).empty());
    EXPECT_TRUE(CheckUnscaledPattern(source.view(), kExact).empty());
  }
  // The same square at the top-left cell's centre is caught.
  Frame stray = RenderPattern(800, 600, 255);
  for (std::uint32_t y = 90; y < 110; ++y) {
    for (std::uint32_t x = 90; x < 110; ++x) stray.Set(x, y, Bgra{255, 255, 255, 255});
  }
  const std::vector<std::string> problems = CheckUnscaledPattern(stray.view(), kExact);
  EXPECT_TRUE(Mentions(problems,
                       "cell (row 0, column 0) at (100, 100) is rgb(255,255,255) alpha 255, expected "
                       "rgb(220,20,60)"))
      << ::testing::PrintToString(problems);
}

TEST(UnscaledPattern, WindowAtItsOwnSize) {
  const Frame window = RenderPattern(813, 577, 255);
  EXPECT_TRUE(CheckUnscaledPattern(window.view(), kExact).empty());
  EXPECT_TRUE(CheckUnscaledPattern(window.view(), kFiltered).empty());
  // Slightly off colours, as a composed frame may have them.
  Frame composed = window;
  for (std::size_t i = 0; i < composed.pixels.size(); i += 4) composed.pixels[i] ^= 3;
  EXPECT_TRUE(CheckUnscaledPattern(composed.view(), kFiltered).empty());
  EXPECT_FALSE(CheckUnscaledPattern(composed.view(), kExact).empty());
  EXPECT_TRUE(Mentions(CheckUnscaledPattern(testing::RedBlueSwapped(window).view(), kExact), "red and blue swapped"));
  EXPECT_TRUE(
      Mentions(CheckUnscaledPattern(testing::Shifted(window, 0, 3, Bgra{}).view(), kExact), "boundary before row"));
}

// The default tolerance must not let one colour pass for another: two
// colours within it of one pixel would have to differ by at most twice it.
TEST(PatternCheckTolerance, KeepsThePatternsColoursApart) {
  const int tolerance = PatternCheck{}.colourTolerance;
  auto largestDifference = [](const test_pattern::Rgb& a, const test_pattern::Rgb& b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
  };
  const test_pattern::Rgb* cells = &test_pattern::kCells[0][0];
  const int count = test_pattern::kRows * test_pattern::kColumns;
  for (int i = 0; i < count; ++i) {
    EXPECT_GT(largestDifference(cells[i], {0, 0, 0}), 2 * tolerance) << "cell " << i << " and the bars";
    for (int j = i + 1; j < count; ++j) {
      EXPECT_GT(largestDifference(cells[i], cells[j]), 2 * tolerance) << i << ", " << j;
    }
    const test_pattern::Rgb swapped{cells[i].b, cells[i].g, cells[i].r};
    if (!(swapped == cells[i])) {
      EXPECT_GT(largestDifference(cells[i], swapped), tolerance) << "cell " << i;
    }
  }
}

TEST(PatternCheckInput, WrongSizesAreProblems) {
  const Frame frame = RenderPattern(8, 6, 255);
  const FrameView shortView{std::span(frame.pixels).first(100), 8, 6};
  EXPECT_EQ(CheckUnscaledPattern(shortView, kExact),
            std::vector<std::string>{"the frame has 100 bytes; 8 x 6 pixels need 192"});
  EXPECT_EQ(CheckLetterboxedPattern(frame.view(), 0, 5, kExact),
            std::vector<std::string>{"the source size 0 x 5 has no area"});
  // A window far too small to show its cells cannot pass.
  EXPECT_TRUE(Mentions(CheckUnscaledPattern(frame.view(), kFiltered), "too small to sample"));
}

}  // namespace
}  // namespace orvel::analysis
