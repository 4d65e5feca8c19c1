// The report folder: lines and frames land in a folder whose name has
// spaces and non-ASCII characters, and nothing is written without one.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <vector>

#include "analysis/bmp.h"
#include "support/pattern_window.h"
#include "support/report.h"
#include "support/wide_text.h"

namespace orvel::wintest {
namespace {

class ReportFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = TemporaryPath(L"relat\u00F3rio \u65E5\u672C");
    ASSERT_TRUE(::CreateDirectoryW(folder_.c_str(), nullptr));
    ASSERT_TRUE(::SetEnvironmentVariableW(L"ORVEL_REPORT_DIR", folder_.c_str()));
  }
  void TearDown() override {
    ::SetEnvironmentVariableW(L"ORVEL_REPORT_DIR", nullptr);
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW((folder_ + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        ::DeleteFileW((folder_ + L"\\" + found.cFileName).c_str());
      } while (::FindNextFileW(search, &found));
      ::FindClose(search);
    }
    ::RemoveDirectoryW(folder_.c_str());
  }
  std::wstring File(const std::wstring& name) const { return folder_ + L"\\" + name; }

  std::wstring folder_;
};

TEST_F(ReportFolderTest, CaptureRunsAreAppendedAsUtf8Lines) {
  EXPECT_EQ(ReportFolder(), folder_);
  ReportCaptureRun("gdi 1280x720", "90 frames, 29.97 fps");
  ReportCaptureRun("janela \xC3\xA9", "two\nlines");
  EXPECT_EQ(ReadFileBytes(File(L"capture-runs.txt")),
            "capture run gdi 1280x720: 90 frames, 29.97 fps\r\n"
            "capture run janela \xC3\xA9: two lines\r\n");
}

TEST_F(ReportFolderTest, FramesBecomeBmpFilesThatReadBackPixelForPixel) {
  // 3 x 2, every byte distinct, alpha 0 as GDI leaves it.
  std::vector<std::uint8_t> frame(3 * 2 * 4);
  for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i % 4 == 3 ? 0 : 10 + i);
  SaveFrameImage("first: frame/0", frame.data(), 3, 2);

  const std::string bytes = ReadFileBytes(File(L"first_ frame_0.bmp"));
  const auto decoded =
      analysis::DecodeBmp(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  ASSERT_TRUE(decoded.has_value()) << bytes.size() << " bytes";
  EXPECT_EQ(decoded->width, 3u);
  EXPECT_EQ(decoded->height, 2u);
  EXPECT_EQ(decoded->pixels, frame);
}

TEST_F(ReportFolderTest, WithoutTheVariableNothingIsWritten) {
  ::SetEnvironmentVariableW(L"ORVEL_REPORT_DIR", nullptr);
  EXPECT_EQ(ReportFolder(), L"");
  ReportCaptureRun("unreported", "1 frame");
  const std::uint8_t pixel[4] = {1, 2, 3, 4};
  SaveFrameImage("unreported", pixel, 1, 1);
  EXPECT_FALSE(FileExists(File(L"capture-runs.txt")));
  EXPECT_FALSE(FileExists(File(L"unreported.bmp")));
}

}  // namespace
}  // namespace orvel::wintest
