// The portable string functions the native tests rely on, held against the
// kernel's own lstrcpynW and lstrcmpW, which the DLL calls.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "choose.h"
#include "portable_strings.h"

namespace orvel::plugin {
namespace {

const char16_t* U16(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }

TEST(KernelStringsContract, BoundedCopyMatchesLstrcpynWUnitForUnit) {
  PortableStrings portable;
  for (const wchar_t* source : {L"", L"2070", L"1033", L"cancel", L"error", L"preferred-2070"}) {
    for (int size = 0; size <= 16; ++size) {
      std::wstring kernel(16, L'\xFEFE');
      std::u16string mine(16, u'\xFEFE');
      ::lstrcpynW(kernel.data(), source, size);
      portable.lstrcpynW(mine.data(), U16(source), size);
      EXPECT_EQ(std::u16string(U16(kernel.c_str()), 16), mine) << "size " << size;
    }
  }
}

// The one question the chooser asks: equal to the preference or not.
TEST(KernelStringsContract, EqualityWithThePreferenceMatchesLstrcmpW) {
  PortableStrings portable;
  for (const wchar_t* text :
       {L"preferred-2070", L"", L"Preferred-2070", L"PREFERRED-2070", L"preferred-2070 ", L" preferred-2070",
        L"preferred-1033", L"preferred-207", L"preferred-20700", L"\xFF50referred-2070"}) {
    const bool kernelEqual = ::lstrcmpW(text, reinterpret_cast<const wchar_t*>(kPreferPortuguese)) == 0;
    const bool portableEqual = portable.lstrcmpW(U16(text), kPreferPortuguese) == 0;
    EXPECT_EQ(kernelEqual, portableEqual) << std::wstring(text).size() << " units";
  }
}

}  // namespace
}  // namespace orvel::plugin
