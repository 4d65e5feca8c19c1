// The runtime-library conversions of the command line, as Windows gives them.

#include "command_line.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvel {
namespace {

TEST(Conversions, Unsigned32BehavesAsA32BitWcstoul) {
  struct Case {
    const wchar_t* text;
    std::uint32_t value;
  };
  const Case cases[] = {
      {L"30", 30},
      {L"  60", 60},  // leading blanks skipped
      {L"+60", 60},
      {L"60fps", 60},  // trailing text ignored
      {L"fps", 0},     // no number at all
      {L"", 0},
      {L"0x1E", 0},  // base 10: the 0 before the x
      {L"4294967295", 4294967295u},
      {L"4294967296", 4294967295u},  // out of range: the maximum
      {L"99999999999999999999999", 4294967295u},
      {L"-1", 4294967295u},  // a minus sign negates in 32 bits
      {L"-30", 4294967266u},
      {L"- 5", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ConvertUnsigned32(c.text), c.value) << "text: " << ::testing::PrintToString(std::wstring(c.text));
}

TEST(Conversions, Unsigned64TakesLeadingDecimalDigitsOnly) {
  EXPECT_EQ(ConvertUnsigned64(L"655370"), 655370u);
  EXPECT_EQ(ConvertUnsigned64(L"18446744073709551615"), 18446744073709551615u);
  EXPECT_EQ(ConvertUnsigned64(L"0xA000A"), 0u);
  EXPECT_EQ(ConvertUnsigned64(L"123abc"), 123u);
  EXPECT_EQ(ConvertUnsigned64(L"window"), 0u);
}

TEST(Conversions, DoubleReadsDecimalSeconds) {
  EXPECT_EQ(ConvertDouble(L"1234.5"), 1234.5);
  EXPECT_EQ(ConvertDouble(L"1e3"), 1000.0);
  EXPECT_EQ(ConvertDouble(L"12.5s"), 12.5);
  EXPECT_EQ(ConvertDouble(L"soon"), 0.0);
  EXPECT_EQ(ConvertDouble(L"123456.78901234567"), 123456.78901234567);
}

}  // namespace
}  // namespace orvel
