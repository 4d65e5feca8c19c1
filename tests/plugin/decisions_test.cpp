// The chooser's pure decisions: the preselected language, the answer texts,
// and the kernel string functions as the portable build has them.

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "choose.h"
#include "chooser_ids.h"
#include "exact_entry.h"
#include "portable_strings.h"

namespace orvel::plugin {
namespace {

using testing::ExactEntry;
using testing::UnitsOf;

TEST(DefaultLanguageId, OnlyTheExactPreferenceTextPreselectsPortuguese) {
  PortableStrings strings;
  EXPECT_EQ(DefaultLanguageId(u"preferred-2070", strings), kPortuguese);

  const std::u16string others[] = {
      u"",
      u"Preferred-2070",                      // capital first letter
      u"PREFERRED-2070",                      //
      u"preferred-2070 ",                     // trailing blank
      u" preferred-2070",                     // leading blank
      u"preferred-1033",                      // the other language's number
      u"preferred-207",                       // a prefix of the text
      u"preferred-20700",                     // the text as a prefix
      u"preferred_2070",                      //
      u"2070",                                //
      u"preferred-\xFF12\xFF10\xFF17\xFF10",  // full-width digits
      u"preferred-2070\u200B",                // a zero-width space after it
  };
  for (const std::u16string& text : others) {
    EXPECT_EQ(DefaultLanguageId(text.c_str(), strings), kEnglish) << testing::Ascii(text);
  }
}

TEST(DefaultLanguageId, ReadsTheTextOnlyUpToItsTerminator) {
  PortableStrings strings;
  const char16_t withTail[] = u"preferred-2070\0and more";
  EXPECT_EQ(DefaultLanguageId(withTail, strings), kPortuguese);
}

TEST(ResultTextFor, MapsEachDialogResultToItsAnswer) {
  EXPECT_EQ(std::u16string(ResultTextFor(2070)), u"2070");
  EXPECT_EQ(std::u16string(ResultTextFor(1033)), u"1033");
  EXPECT_EQ(std::u16string(ResultTextFor(2)), u"cancel");

  // The dialog manager's failures and every other value. The result is
  // pointer-sized and compared whole: a language identifier with high bits
  // set is not that language.
  const std::intptr_t failures[] = {-1,
                                    0,
                                    1,
                                    3,
                                    2071,
                                    1034,
                                    0x0816 + 0x10000,
                                    INTPTR_MIN,
                                    INTPTR_MAX,
                                    static_cast<std::intptr_t>(0x100000000 + 2070)};
  for (std::intptr_t result : failures) EXPECT_EQ(std::u16string(ResultTextFor(result)), u"error") << result;
}

TEST(PortableStrings, CompareIsZeroOnlyForEqualTexts) {
  PortableStrings strings;
  EXPECT_EQ(strings.lstrcmpW(u"", u""), 0);
  EXPECT_EQ(strings.lstrcmpW(u"cancel", u"cancel"), 0);
  EXPECT_LT(strings.lstrcmpW(u"canc", u"cancel"), 0);
  EXPECT_GT(strings.lstrcmpW(u"cancel", u"canc"), 0);
  EXPECT_LT(strings.lstrcmpW(u"A", u"a"), 0);
  // Code units compare unsigned: a unit above 0x7FFF sorts after ASCII.
  EXPECT_GT(strings.lstrcmpW(u"\xFF10", u"0"), 0);
  EXPECT_LT(strings.lstrcmpW(u"0", u"\xFF10"), 0);
}

// At most size - 1 units, always terminated, and nothing touched after the
// terminator: a short text is not padded. Each buffer is exactly `size` units
// long, so a write past it stops the test under AddressSanitizer.
TEST(PortableStrings, BoundedCopyKeepsAtMostSizeMinusOneUnitsAndTerminates) {
  struct Case {
    int size;
    std::u16string source, written;
  };
  const Case cases[] = {
      {1, u"cancel", u""},
      {2, u"cancel", u"c"},
      {6, u"cancel", u"cance"},
      {7, u"cancel", u"cancel"},
      {16, u"cancel", u"cancel"},
      {3, u"", u""},
      {4, u"\xFF10\xD83D\xDE00", u"\xFF10\xD83D\xDE00"},
  };
  PortableStrings strings;
  for (const Case& c : cases) {
    SCOPED_TRACE("size " + std::to_string(c.size) + ", source " + testing::Ascii(c.source));
    std::vector<char16_t> buffer(static_cast<std::size_t>(c.size), ExactEntry::kMarker);
    EXPECT_EQ(strings.lstrcpynW(buffer.data(), c.source.c_str(), c.size), buffer.data());
    EXPECT_EQ(buffer, UnitsOf(c.written, c.size));
  }
}

TEST(PortableStrings, BoundedCopyWithoutRoomWritesNothing) {
  PortableStrings strings;
  for (int size : {0, -1, INT_MIN}) {
    char16_t buffer[4] = {u'a', u'b', u'c', u'\0'};
    EXPECT_EQ(strings.lstrcpynW(buffer, u"cancel", size), buffer);
    EXPECT_EQ(std::u16string(buffer), u"abc") << size;
  }
}

}  // namespace
}  // namespace orvel::plugin
