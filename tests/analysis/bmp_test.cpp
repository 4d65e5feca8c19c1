// Frames saved as BMP files: the header's bytes, the row order, and back.

#include "analysis/bmp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace orvel::analysis {
namespace {

// 2 x 2: top row blue, green; bottom row red, white (alpha 0, as GDI's).
const std::vector<std::uint8_t> kPixels = {255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 255, 255, 255, 0};
const FrameView kFrame{kPixels, 2, 2};

TEST(Bmp, WritesTheFileAndInfoHeadersByteForByte) {
  const std::vector<std::uint8_t> bytes = EncodeBmp(kFrame);
  const std::vector<std::uint8_t> header = {'B',  'M',  70, 0, 0,    0,    0, 0,
                                            0,    0,    54, 0, 0,    0,            // file size 70, pixels at 54
                                            40,   0,    0,  0,                     // BITMAPINFOHEADER
                                            2,    0,    0,  0, 2,    0,    0, 0,   // 2 x 2, bottom-up
                                            1,    0,    32, 0,                     // one plane, 32 bits
                                            0,    0,    0,  0, 16,   0,    0, 0,   // BI_RGB, 16 image bytes
                                            0x13, 0x0B, 0,  0, 0x13, 0x0B, 0, 0,   // 2835 pixels per metre
                                            0,    0,    0,  0, 0,    0,    0, 0};  // no colour table
  ASSERT_EQ(bytes.size(), 70u);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 54), header);
  // Bottom-up: the frame's bottom row first.
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 54, bytes.end()),
            std::vector<std::uint8_t>({0, 0, 255, 0, 255, 255, 255, 0, 255, 0, 0, 0, 0, 255, 0, 0}));
}

TEST(Bmp, TopDownHasANegativeHeightAndRowsInFrameOrder) {
  const std::vector<std::uint8_t> bytes = EncodeBmp(kFrame, BmpRows::TopDown);
  ASSERT_EQ(bytes.size(), 70u);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 22, bytes.begin() + 26),
            std::vector<std::uint8_t>({0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 54, bytes.end()), kPixels);
}

TEST(Bmp, DecodesWhatItWrites) {
  std::vector<std::uint8_t> odd(3 * 5 * 4);
  for (std::size_t i = 0; i < odd.size(); ++i) odd[i] = static_cast<std::uint8_t>(i * 7);
  for (BmpRows rows : {BmpRows::BottomUp, BmpRows::TopDown}) {
    const auto decoded = DecodeBmp(EncodeBmp(FrameView{odd, 3, 5}, rows));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->width, 3u);
    EXPECT_EQ(decoded->height, 5u);
    EXPECT_EQ(decoded->pixels, odd);
  }
}

TEST(Bmp, RefusesWhatItCannotRepresentOrRead) {
  EXPECT_TRUE(EncodeBmp(FrameView{std::span(kPixels).first(12), 2, 2}).empty()) << "incomplete frame";
  std::vector<std::uint8_t> bytes = EncodeBmp(kFrame);
  EXPECT_FALSE(DecodeBmp(std::span(bytes).first(69))) << "truncated";
  std::vector<std::uint8_t> twentyFour = bytes;
  twentyFour[28] = 24;
  EXPECT_FALSE(DecodeBmp(twentyFour)) << "another bit depth";
  std::vector<std::uint8_t> notBmp = bytes;
  notBmp[0] = 'X';
  EXPECT_FALSE(DecodeBmp(notBmp));
  std::vector<std::uint8_t> tooTall = bytes;
  tooTall[22] = 200;  // 2 x 200 does not fit in the file
  EXPECT_FALSE(DecodeBmp(tooTall));
}

TEST(Bmp, SavesAFile) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "orvel_analysis_bmp_test.bmp";
  ASSERT_TRUE(SaveBmp(path, kFrame));
  std::ifstream file(path, std::ios::binary);
  const std::vector<std::uint8_t> written{std::istreambuf_iterator<char>(file), {}};
  EXPECT_EQ(written, EncodeBmp(kFrame));
  file.close();
  std::filesystem::remove(path);
  EXPECT_FALSE(SaveBmp(std::filesystem::temp_directory_path() / "no such folder" / "x.bmp", kFrame));
}

}  // namespace
}  // namespace orvel::analysis
