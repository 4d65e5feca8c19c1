#include "test_frames.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "letterbox.h"

namespace orvel::analysis::testing {

// The loops below work on raw rows: the tests run unoptimised under the
// sanitizers, where a call per pixel costs seconds per frame.

void Frame::Set(std::uint32_t x, std::uint32_t y, Bgra pixel) {
  std::uint8_t* p = &pixels[(std::size_t{y} * width + x) * 4];
  p[0] = pixel.b;
  p[1] = pixel.g;
  p[2] = pixel.r;
  p[3] = pixel.a;
}

namespace {

Frame Blank(std::uint32_t width, std::uint32_t height, Bgra fill) {
  Frame frame{width, height, std::vector<std::uint8_t>(std::size_t{width} * height * 4)};
  const std::uint8_t bytes[4] = {fill.b, fill.g, fill.r, fill.a};
  std::uint8_t* p = frame.pixels.data();
  for (std::uint8_t* end = p + frame.pixels.size(); p != end; p += 4) std::memcpy(p, bytes, 4);
  return frame;
}

std::uint8_t* Row(Frame& frame, std::uint32_t y) { return frame.pixels.data() + std::size_t{y} * frame.width * 4; }
const std::uint8_t* Row(const Frame& frame, std::uint32_t y) {
  return frame.pixels.data() + std::size_t{y} * frame.width * 4;
}

}  // namespace

Frame RenderPattern(std::uint32_t width, std::uint32_t height, std::uint8_t alpha,
                    std::optional<test_pattern::Rgb> ticker) {
  Frame frame = Blank(width, height, {});
  const auto w = static_cast<int>(width), h = static_cast<int>(height);
  const test_pattern::Rect tickerRect = test_pattern::TickerRect(w, h);
  std::vector<int> columnOf(width);
  for (int x = 0; x < w; ++x) columnOf[x] = test_pattern::CellColumn(x, w);
  for (int y = 0; y < h; ++y) {
    const int row = test_pattern::CellRow(y, h);
    std::uint8_t* p = Row(frame, y);
    for (int x = 0; x < w; ++x, p += 4) {
      test_pattern::Rgb c = test_pattern::kCells[row][columnOf[x]];
      if (ticker && tickerRect.Contains(x, y)) c = *ticker;
      p[0] = c.b;
      p[1] = c.g;
      p[2] = c.r;
      p[3] = alpha;
    }
  }
  return frame;
}

Frame LetterboxNearest(const Frame& source, std::uint32_t width, std::uint32_t height) {
  Frame out = Blank(width, height, Bgra{0, 0, 0, 0});
  const LetterboxPlacement fit = LetterboxRect(source.width, source.height, width, height);
  for (int y = 0; y < fit.height(); ++y) {
    const auto sy = static_cast<std::uint32_t>(std::int64_t{y} * source.height / fit.height());
    const std::uint8_t* from = Row(source, sy);
    std::uint8_t* to = Row(out, fit.top + y) + std::size_t(fit.left) * 4;
    for (int x = 0; x < fit.width(); ++x, to += 4) {
      const auto sx = static_cast<std::size_t>(std::int64_t{x} * source.width / fit.width());
      std::memcpy(to, from + sx * 4, 4);
    }
  }
  return out;
}

namespace {

// Where output pixel i of `fitted` samples a source of `sourceSize`: the two
// neighbours and the weight of the second.
struct Tap {
  std::uint32_t first, second;
  double weight;
};

std::vector<Tap> Taps(int fitted, std::uint32_t sourceSize) {
  std::vector<Tap> taps(fitted);
  for (int i = 0; i < fitted; ++i) {
    const double u = std::clamp((i + 0.5) * sourceSize / fitted - 0.5, 0.0, static_cast<double>(sourceSize - 1));
    const auto first = static_cast<std::uint32_t>(u);
    taps[i] = Tap{first, std::min(first + 1, sourceSize - 1), u - first};
  }
  return taps;
}

}  // namespace

Frame LetterboxBilinear(const Frame& source, std::uint32_t width, std::uint32_t height) {
  Frame out = Blank(width, height, Bgra{0, 0, 0, 255});
  const LetterboxPlacement fit = LetterboxRect(source.width, source.height, width, height);
  const std::vector<Tap> columns = Taps(fit.width(), source.width);
  const std::vector<Tap> rows = Taps(fit.height(), source.height);
  for (int y = 0; y < fit.height(); ++y) {
    const std::uint8_t* top = Row(source, rows[y].first);
    const std::uint8_t* bottom = Row(source, rows[y].second);
    const double fy = rows[y].weight;
    std::uint8_t* to = Row(out, fit.top + y) + std::size_t(fit.left) * 4;
    for (int x = 0; x < fit.width(); ++x, to += 4) {
      const std::size_t a = columns[x].first * 4, b = columns[x].second * 4;
      const double fx = columns[x].weight;
      for (int channel = 0; channel < 3; ++channel) {
        const double upper = top[a + channel] * (1 - fx) + top[b + channel] * fx;
        const double lower = bottom[a + channel] * (1 - fx) + bottom[b + channel] * fx;
        to[channel] = static_cast<std::uint8_t>(std::lround(upper * (1 - fy) + lower * fy));
      }
      to[3] = 255;
    }
  }
  return out;
}

Frame Shifted(const Frame& frame, int dx, int dy, Bgra fill) {
  Frame out = Blank(frame.width, frame.height, fill);
  const std::int64_t width = frame.width, height = frame.height;
  const std::int64_t x0 = std::max<std::int64_t>(0, -dx), x1 = std::min<std::int64_t>(width, width - dx);
  for (std::int64_t y = std::max<std::int64_t>(0, -dy); y < std::min<std::int64_t>(height, height - dy); ++y) {
    if (x1 <= x0) break;
    std::copy_n(Row(frame, static_cast<std::uint32_t>(y)) + x0 * 4, (x1 - x0) * 4,
                Row(out, static_cast<std::uint32_t>(y + dy)) + (x0 + dx) * 4);
  }
  return out;
}

Frame MirroredLeftToRight(const Frame& frame) {
  Frame out = frame;
  for (std::uint32_t y = 0; y < frame.height; ++y) {
    const std::uint8_t* from = Row(frame, y);
    std::uint8_t* to = Row(out, y);
    for (std::uint32_t x = 0; x < frame.width; ++x)
      std::memcpy(to + std::size_t{frame.width - 1 - x} * 4, from + std::size_t{x} * 4, 4);
  }
  return out;
}

Frame RedBlueSwapped(const Frame& frame) {
  Frame out = frame;
  std::uint8_t* p = out.pixels.data();
  for (std::uint8_t* end = p + out.pixels.size(); p != end; p += 4) std::swap(p[0], p[2]);
  return out;
}

}  // namespace orvel::analysis::testing
