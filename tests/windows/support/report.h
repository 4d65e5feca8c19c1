#pragma once
// Results a check leaves for the person who runs the release package: the
// runner sets ORVEL_REPORT_DIR to a report folder (any wide path), and the
// checks add their capture figures and a few frames to it. Without the
// variable the figures go to standard output only.

#include <cstdint>
#include <string>

namespace orvel::wintest {

// The report folder from ORVEL_REPORT_DIR; empty when it is not set.
std::wstring ReportFolder();

// Prints "capture run NAME: FIGURES" and appends that line, in UTF-8, to
// <report>\capture-runs.txt. Line breaks in either text become spaces.
void ReportCaptureRun(const std::string& name, const std::string& figures);

// Writes <report>\<name>.bmp (rows top-down BGRA, `width * 4` bytes a row).
// Characters that a file name cannot hold become '_'. Failures are printed
// on standard error; a check does not fail for its report.
void SaveFrameImage(const std::string& name, const std::uint8_t* bgra, std::uint32_t width, std::uint32_t height);

}  // namespace orvel::wintest
