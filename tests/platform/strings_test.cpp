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

// Each sequence is judged on its own: the well-formed ones of one to four
// bytes, and the forms a decoder must refuse, each at its first byte.
TEST(StringsTest, Utf8SequencesAreMeasuredOneByOneAndForeignBytesQuotedEscaped) {
  const struct {
    std::string text;
    std::size_t length;
  } sequences[] = {
      {"a", 1},
      {"\xC3\xBC", 2},                 // ü
      {"\xE6\x97\xA5", 3},             // 日
      {"\xF0\x9F\x98\x80", 4},         // U+1F600
      {"\xF4\x8F\xBF\xBF", 4},         // U+10FFFF, the last
      {"\xED\x9F\xBF", 3},             // U+D7FF, before the surrogates
      {"\xC3", 0},                     // cut short
      {"\xE6\x97", 0},                 // cut short
      {"\xE6\x97x", 0},                // a continuation missing
      {"\x9F", 0},                     // a stray continuation byte
      {"\xC0\xAF", 0},                 // overlong '/'
      {"\xE0\x80\xAF", 0},             // overlong '/'
      {"\xF0\x8F\xBF\xBF", 0},         // overlong U+FFFF
      {"\xED\xA0\x80", 0},             // a surrogate
      {"\xF4\x90\x80\x80", 0},         // beyond U+10FFFF
      {"\xF5\x80\x80\x80", 0},
      {"\xFF", 0},
      {"", 0},
  };
  for (const auto& [text, length] : sequences) EXPECT_EQ(Utf8SequenceAt(text, 0), length) << text;
  EXPECT_EQ(Utf8SequenceAt("x\xC3\xBC", 1), 2u);
  EXPECT_EQ(Utf8SequenceAt("x", 1), 0u);
  // A view that ends inside a sequence ends it, whatever bytes lie beyond.
  EXPECT_EQ(Utf8SequenceAt(std::string_view("\xE6\x97\xA5", 2), 0), 0u);
  EXPECT_EQ(Utf8SequenceAt(std::string_view("x\xC3\xBC", 2), 1), 0u);

  EXPECT_EQ(Printable("GenomeWideSNP_5"), "GenomeWideSNP_5");
  EXPECT_EQ(Printable("T\xC3\xBCmor \xE6\x97\xA5 01"), "T\xC3\xBCmor \xE6\x97\xA5 01");
  EXPECT_EQ(Printable(std::string("\0\x01\t\x7F\xFC\xC3\xBC\xE6\x97", 9)), "\\x00\\x01\\x09\\x7F\\xFC\xC3\xBC\\xE6\\x97");
}

}  // namespace
