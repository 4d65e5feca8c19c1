// SaveFrameImage (report.h): the frame encoded by the analysis library's BMP
// writer, written with the wide-character calls.
#include <windows.h>

#include <cstdio>
#include <span>

#include "analysis/bmp.h"
#include "report.h"
#include "report_files.h"
#include "report_text.h"
#include "wide_text.h"

namespace orvel::wintest {

void SaveFrameImage(const std::string& name, const std::uint8_t* bgra, std::uint32_t width, std::uint32_t height) {
  const std::wstring folder = ReportFolder();
  if (folder.empty()) return;
  const std::size_t size = std::size_t{width} * height * 4;
  const analysis::FrameView frame{std::span<const std::uint8_t>(bgra, bgra != nullptr ? size : 0), width, height};
  const std::vector<std::uint8_t> bytes = analysis::EncodeBmp(frame);
  const std::wstring path = ReportPath(folder, Wide(FileSafeName(name) + ".bmp"));
  if (bytes.empty()) {
    std::fprintf(stderr, "report: frame %s (%ux%u) cannot be a BMP\n", name.c_str(), static_cast<unsigned>(width),
                 static_cast<unsigned>(height));
    return;
  }
  ::CreateDirectoryW(folder.c_str(), nullptr);
  if (!WriteWholeFile(path, std::string(bytes.begin(), bytes.end()))) {
    const std::string problem = LastErrorText();
    std::fprintf(stderr, "report: could not write %s (%s)\n", Utf8(path).c_str(), problem.c_str());
  }
}

}  // namespace orvel::wintest
