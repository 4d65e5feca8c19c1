#pragma once
// UTF-8 and UTF-16 conversions for file names and report lines. Portable;
// an unpaired surrogate or a malformed byte becomes U+FFFD.

#include <string>

namespace orvel::wintest {

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);

}  // namespace orvel::wintest
