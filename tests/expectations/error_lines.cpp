#include "expectations/error_lines.h"

#include <cstddef>

#include "support/platform_facts.h"

namespace orvel::expectations {
namespace {

constexpr std::string_view kHResultPrefix = "Windows Graphics Capture: 0x";
constexpr std::string_view kFallbackLine = "Windows Graphics Capture -> GDI (HWND)";
constexpr std::string_view kLineEnd = "\r\n";

bool IsUpperHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

// Eight upper-case hexadecimal digits, as "%08lX" prints them.
bool IsAnyHResultLine(std::string_view line) {
  if (line.size() != kHResultPrefix.size() + 8 || line.substr(0, kHResultPrefix.size()) != kHResultPrefix) {
    return false;
  }
  for (char c : line.substr(kHResultPrefix.size())) {
    if (!IsUpperHexDigit(c)) return false;
  }
  return true;
}

bool Matches(std::string_view line, const ErrorLine& expected) {
  if (expected.kind == ErrorLine::Kind::HResult && !expected.hresult) return IsAnyHResultLine(line);
  return line == LineText(expected);
}

// Shows control characters, so that a bare LF or a stray CR is visible.
std::string Visible(std::string_view text) {
  std::string shown = "\"";
  for (char c : text) {
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else {
      shown += c;
    }
  }
  return shown + "\"";
}

}  // namespace

std::string LineText(const ErrorLine& line) {
  if (line.kind == ErrorLine::Kind::Fallback) return std::string(kFallbackLine);
  if (!line.hresult) return std::string(kHResultPrefix) + "????????";
  // HresultText gives "0x" and eight upper-case digits.
  return std::string(kHResultPrefix.substr(0, kHResultPrefix.size() - 2)) + wintest::HresultText(*line.hresult);
}

std::optional<std::string> CheckErrorLines(std::string_view errors, const std::vector<ErrorLine>& expected) {
  std::vector<std::string_view> actual;
  std::string_view rest = errors;
  bool unterminated = false;
  while (!rest.empty()) {
    const std::size_t end = rest.find(kLineEnd);
    if (end == std::string_view::npos) {
      actual.push_back(rest);
      unterminated = true;
      break;
    }
    actual.push_back(rest.substr(0, end));
    rest.remove_prefix(end + kLineEnd.size());
  }

  std::string difference;
  if (actual.size() != expected.size()) {
    difference = std::to_string(actual.size()) + " lines on standard error, not " + std::to_string(expected.size());
  } else if (unterminated) {
    difference = "the last line of standard error does not end in CR LF";
  } else {
    for (std::size_t i = 0; i < expected.size() && difference.empty(); ++i) {
      if (!Matches(actual[i], expected[i])) {
        difference = "line " + std::to_string(i + 1) + " of standard error is " + Visible(actual[i]) + ", not " +
                     Visible(LineText(expected[i]));
      }
    }
  }
  if (difference.empty()) return std::nullopt;

  std::string wanted;
  for (const ErrorLine& line : expected) wanted += (wanted.empty() ? "" : " then ") + Visible(LineText(line));
  return difference + "; standard error should be " +
         (wanted.empty() ? "empty" : wanted + ", each line ending in CR LF") + "; it was " +
         (errors.empty() ? std::string("empty") : Visible(errors));
}

}  // namespace orvel::expectations
