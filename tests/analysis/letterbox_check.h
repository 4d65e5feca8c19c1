#pragma once
// Did the test pattern (tools/test_pattern.h) land where it should? For the
// eight-argument form: scaled into LetterboxRect (capture/letterbox.h) on
// black bars. For the five-argument form: the frame is the window itself.
//
// What is checked:
// - each cell's inside: a 3 x 3 grid of sample points, inset from the cell's
//   edges by a margin that grows with the scale, has the cell's colour;
// - each boundary between cells, and each edge of the picture that meets a
//   bar, lies where the rule puts it, within a position tolerance: found
//   along lines through the middles of the cells, as the first pixel closer
//   to the far side's colour than to the near side's;
// - every bar pixel is black, with the bars' alpha (Filtered leaves out
//   the one-pixel band next to the picture, which a filter may touch);
// - Exact only: every pixel of the picture is one of the pattern's colours
//   (a nearest-neighbour copy never blends).
// The ticker square (TickerRect) and a margin around it are skipped.
//
// Exact suits GDI's COLORONCOLOR copy: colours exact, bars 0,0,0 with
// alpha 0. Filtered suits the GPU video processor: colours within a
// tolerance, bars black within the tolerance with alpha 255 (its background
// is opaque), and a wider margin because a filter blends across boundaries.

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/frame_view.h"

namespace orvel::analysis {

enum class Scaling { Exact, Filtered };

struct PatternCheck {
  Scaling scaling = Scaling::Exact;
  // Filtered: the largest difference allowed in any channel. The colour
  // handling inside the video processor's blit is the platform's; 24 lets a
  // range compression (black to 16, white to 235) pass and still tells
  // apart every two pattern colours, the bars from every cell, and each cell
  // that a red/blue swap changes from its swap.
  int colourTolerance = 24;
  // How far (in output pixels) a boundary may be from its place: an ideal
  // renderer is within half a pixel, and the two usual conventions for
  // pixel centres differ by up to one more.
  double positionTolerance = 2.0;
};

// `sourceWidth` x `sourceHeight` is the captured window's size (the picture
// before scaling).
std::vector<std::string> CheckLetterboxedPattern(const FrameView& frame, std::uint32_t sourceWidth,
                                                 std::uint32_t sourceHeight, const PatternCheck& check);

// The frame is the window at its own size (no scaling, no bars).
std::vector<std::string> CheckUnscaledPattern(const FrameView& frame, const PatternCheck& check);

}  // namespace orvel::analysis
