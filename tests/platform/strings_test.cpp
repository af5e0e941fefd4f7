// Byte strings, 16-bit strings and their helpers.
#include "platform/Strings.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

TEST(StringsTest, WidenAndNarrowMapBytesToUnitsOfTheSameValue) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(char(i));
  std::u16string wide = Widen(bytes);
  ASSERT_EQ(wide.size(), 256u);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(int(wide[i]), i);
  EXPECT_EQ(Narrow(wide), bytes);
  EXPECT_EQ(Narrow(u"A\u0100B\uFFFF"), "A?B?");
}

TEST(StringsTest, FormatHandlesShortAndLongResults) {
  EXPECT_EQ(Format("%d-%s-%.2f", 7, "x", 1.005), "7-x-1.00");
  EXPECT_EQ(Format("%f", 0.5), "0.500000");
  std::string longText(1000, 'q');
  EXPECT_EQ(Format("<%s>", longText.c_str()), "<" + longText + ">");
  EXPECT_EQ(Format("%s", ""), "");
}

TEST(StringsTest, TrimRemovesWhitespaceAtTheEnds) {
  EXPECT_EQ(Trim(" \t\r\n a b \v\f"), "a b");
  EXPECT_EQ(TrimLeft("  a "), "a ");
  EXPECT_EQ(TrimRight("  a "), "  a");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
}

TEST(StringsTest, CaseOperationsAreAsciiOnly) {
  EXPECT_EQ(ToUpper("abc.cfh\xE9"), "ABC.CFH\xE9");
  EXPECT_EQ(ToLower("ABC.CFH\xC9"), "abc.cfh\xC9");
  EXPECT_EQ(CompareNoCase("S01.CEL", "s01.cel"), 0);
  EXPECT_LT(CompareNoCase("a", "B"), 0);
  EXPECT_GT(CompareNoCase("b", "A"), 0);
  EXPECT_LT(CompareNoCase("ab", "ABC"), 0);
  EXPECT_GT(CompareNoCase("abc", "AB"), 0);
  EXPECT_GT(CompareNoCase("\xE9", "a"), 0);  // bytes above 0x7F sort after ASCII
  EXPECT_TRUE(EqualsNoCase("GenomeWideSNP_5", "genomewidesnp_5"));
  EXPECT_FALSE(EqualsNoCase("a", "ab"));
  EXPECT_TRUE(StartsWithNoCase("SNP_A-1234", "snp"));
  EXPECT_FALSE(StartsWithNoCase("SN", "snp"));
  EXPECT_TRUE(EndsWithNoCase("x.CfH", ".cfh"));
  EXPECT_FALSE(EndsWithNoCase("cfh", ".cfh"));
}

}  // namespace
