#pragma once
// The portable text rules of the report (see report.h).

#include <string>

namespace orvel::wintest {

// "capture run NAME: FIGURES", with line breaks turned into spaces so that
// every run stays one line of capture-runs.txt.
std::string CaptureRunLine(const std::string& name, const std::string& figures);

// `name` with every character a Windows file name cannot hold (control
// characters, <>:"/\|?*) replaced by '_', trailing dots and spaces trimmed;
// "frame" when nothing is left. UTF-8 passes through.
std::string FileSafeName(const std::string& name);

}  // namespace orvel::wintest
