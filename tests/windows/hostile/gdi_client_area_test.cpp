// The GDI fallback copies the window's client area, not the whole window:
// with a framed window (caption and borders), the client's top-left pixel
// lands exactly at the letterbox origin and its bottom-right pixel at the
// far corner of the fitted rectangle. A copy of the whole window would put
// the frame and caption there, and a fit computed from the window rectangle
// would move the origin.

#include <gtest/gtest.h>

#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "analysis/frame_view.h"
#include "capture_path.h"
#include "helper_run.h"
#include "letterbox.h"
#include "stallable_reader.h"
#include "support/pattern_window.h"
#include "test_pattern.h"

namespace orvel::wintest {
namespace {

using test_pattern::Rgb;

struct ClientCase {
  const char* name;
  const wchar_t* client;  // --client argument of the pattern window
  std::uint32_t clientWidth, clientHeight;
};

void PrintTo(const ClientCase& c, std::ostream* os) { *os << c.name; }

using analysis::Bgra;

Bgra PixelAt(const std::vector<std::uint8_t>& frame, std::uint32_t width, std::int32_t x, std::int32_t y) {
  const analysis::FrameView view{frame, width, static_cast<std::uint32_t>(frame.size() / 4 / width)};
  return view.At(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
}

std::string Describe(const Bgra& pixel) {
  return "BGRA " + std::to_string(pixel.b) + "," + std::to_string(pixel.g) + "," + std::to_string(pixel.r) + "," +
         std::to_string(pixel.a);
}

void ExpectColour(const std::vector<std::uint8_t>& frame, std::uint32_t width, std::int32_t x, std::int32_t y,
                  Rgb colour, const char* what) {
  const Bgra pixel = PixelAt(frame, width, x, y);
  EXPECT_TRUE(pixel.r == colour.r && pixel.g == colour.g && pixel.b == colour.b)
      << what << " at " << x << "," << y << " is " << Describe(pixel) << ", wanted RGB " << int{colour.r} << ","
      << int{colour.g} << "," << int{colour.b};
}

void ExpectBar(const std::vector<std::uint8_t>& frame, std::uint32_t width, std::int32_t x, std::int32_t y,
               const char* what) {
  const Bgra pixel = PixelAt(frame, width, x, y);
  EXPECT_TRUE(pixel.b == 0 && pixel.g == 0 && pixel.r == 0 && pixel.a == 0)
      << what << " at " << x << "," << y << " is " << Describe(pixel) << ", wanted the black bar (0,0,0,0)";
}

class GdiClientArea : public ::testing::TestWithParam<ClientCase> {};

TEST_P(GdiClientArea, ClientCornersLandOnTheLetterboxCorners) {
  const BareFormPicture here = BareFormPictureHere();
  if (!here.clientArea) {
    GTEST_SKIP() << "frames here come from " << here.backend
                 << ", which captures the whole window; only the GDI fallback copies the client area";
  }
  const ClientCase c = GetParam();
  constexpr std::uint32_t kWidth = 1280, kHeight = 720;
  PatternWindow window({L"--client", c.client});
  StallableReader reader(kWidth, kHeight);
  const std::wstring timestamps = TemporaryPath(L"hostile-client-area");
  {
    HelperRun run(window, reader, RunSettings{1.5, timestamps});
    ASSERT_TRUE(run.FinishByEndTime(20.0)) << "the helper did not end";
    EXPECT_EQ(run.exitCode(), 0u) << "stderr: " << run.errors();
    EXPECT_TRUE(std::regex_search(run.errors(), std::regex("Windows Graphics Capture -> GDI \\(HWND\\)")))
        << "expected " << here.backend << ", but the helper did not fall back; stderr: " << run.errors();
  }
  ::DeleteFileW(timestamps.c_str());
  const std::vector<std::uint8_t> frame = reader.frames().Record(0);
  ASSERT_EQ(frame.size(), std::size_t{kWidth} * kHeight * 4) << "no first frame";

  const LetterboxPlacement fit = LetterboxRect(c.clientWidth, c.clientHeight, kWidth, kHeight);
  using test_pattern::kCells;
  ExpectColour(frame, kWidth, fit.left, fit.top, kCells[0][0], "the client's top-left pixel");
  ExpectColour(frame, kWidth, fit.right - 1, fit.bottom - 1, kCells[2][3], "the client's bottom-right pixel");
  if (fit.left > 0) {
    ExpectBar(frame, kWidth, fit.left - 1, fit.top, "left of the origin");
    ExpectBar(frame, kWidth, fit.right, fit.bottom - 1, "right of the far corner");
  }
  if (fit.top > 0) {
    ExpectBar(frame, kWidth, fit.left, fit.top - 1, "above the origin");
    ExpectBar(frame, kWidth, fit.right - 1, fit.bottom, "below the far corner");
  }
}

INSTANTIATE_TEST_SUITE_P(FramedWindows, GdiClientArea,
                         ::testing::Values(ClientCase{"SideBars", L"800x600", 800, 600},
                                           ClientCase{"TopAndBottomBars", L"1000x400", 1000, 400}),
                         [](const ::testing::TestParamInfo<ClientCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvel::wintest
