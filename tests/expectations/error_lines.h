#pragma once
// The helper's standard error against the lines a run must show. Standard
// error is in text mode, so every line reaches the reader ending in CR LF.
// Portable.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "expectations/capture_expectations.h"

namespace orvel::expectations {

// "Windows Graphics Capture: 0x80040154", or "Windows Graphics Capture:
// 0x????????" where any HRESULT will do; "Windows Graphics Capture -> GDI
// (HWND)". Without the line end.
std::string LineText(const ErrorLine& line);

// None when `errors` is exactly the expected lines, each ending in CR LF;
// otherwise the first difference, with the expected and the actual text.
std::optional<std::string> CheckErrorLines(std::string_view errors, const std::vector<ErrorLine>& expected);

}  // namespace orvel::expectations
