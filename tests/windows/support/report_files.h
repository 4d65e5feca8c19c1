#pragma once
// Files of the report folder, written with the wide-character calls so that
// any folder name works (Windows).

#include <string>

namespace orvel::wintest {

// `folder` joined with `fileName`; long paths get the \\?\ prefix.
std::wstring ReportPath(const std::wstring& folder, const std::wstring& fileName);

// Appends `bytes` to the file (created when missing); false on failure.
bool AppendToFile(const std::wstring& path, const std::string& bytes);
// Creates or replaces the file with `bytes`; false on failure.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);

// "error N" for the last failure, for report lines.
std::string LastErrorText();

}  // namespace orvel::wintest
