// Decoding and rendering typed parameter values.
#include <gtest/gtest.h>

#include <optional>

#include "arrayfiles/generic/GenericDataHeader.h"
#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/generic/GenericParameter.h"
#include "arrayfiles/generic/UnifiedTagValuePair.h"

namespace {

using namespace generic_io;
namespace ex = generic_exceptions;

GenericParameter Param(std::u16string_view type, std::vector<std::uint8_t> bytes, std::u16string name = u"p") {
  return GenericParameter(std::move(name), bytes.data(), std::uint32_t(bytes.size()), std::u16string(type));
}

TEST(GenericParameterTest, ValuesDecodeAndRenderByTheirType) {
  struct Case {
    std::u16string_view type;
    std::vector<std::uint8_t> bytes;
    ParameterType index;
    std::u16string text;
  } cases[] = {
      {kMimeInt8, {0x00, 0x00, 0x00, 0xFF}, Int8Type, u"-1"},
      {kMimeUInt8, {0x00, 0x00, 0x00, 0xFF}, UInt8Type, u"255"},
      {kMimeUInt8, {0x12, 0x34, 0x56, 0x07}, UInt8Type, u"7"},
      {kMimeInt16, {0x00, 0x00, 0xFF, 0xFE}, Int16Type, u"-2"},
      {kMimeUInt16, {0xFF, 0xFF, 0xFF, 0xFE}, UInt16Type, u"65534"},
      {kMimeInt32, {0xFF, 0xFF, 0xFF, 0xFE}, Int32Type, u"-2"},
      {kMimeInt32, {0x00, 0x01, 0x00, 0x00, 0x99}, Int32Type, u"65536"},
      {kMimeUInt32, {0xFF, 0xFF, 0xFF, 0xFE}, UInt32Type, u"4294967294"},
      {kMimeFloat, {0x3F, 0xC0, 0x00, 0x00}, FloatType, u"1.500000"},
      {kMimeFloat, {0xC0, 0x20, 0x00, 0x00}, FloatType, u"-2.500000"},
      {kMimeText, {0x00, 0x41, 0x00, 0x42, 0x00, 0x00, 0x00, 0x43}, TextType, u"AB"},
      {kMimeText, {0x00, 0x41, 0x00, 0x42, 0x00, 0x43, 0x00}, TextType, u"ABC"},
      {kMimeText, {0x30, 0x42}, TextType, u"\u3042"},
      {kMimeAscii, {'X', 'Y', 0, 'Z'}, AsciiType, u"XY"},
      {kMimeAscii, {'a', 0xE9}, AsciiType, u"a\u00E9"},
      {u"text/x-generic-integer-32 ", {0, 0, 0, 1}, UnknownType, u""},
      {u"Text/x-generic-integer-32", {0, 0, 0, 1}, UnknownType, u""},
      {u"text/x-generic-Float", {0x3F, 0xC0, 0, 0}, UnknownType, u""},
      {u"application/octet-stream", {1, 2}, UnknownType, u""},
  };
  for (const Case& c : cases) {
    GenericParameter p = Param(c.type, c.bytes);
    EXPECT_EQ(p.GetParameterType(), c.index) << std::string(c.type.begin(), c.type.end());
    EXPECT_EQ(p.ToString(), c.text) << std::string(c.type.begin(), c.type.end());
  }
}

TEST(GenericParameterTest, GettersOfAnotherTypeRaiseMismatch) {
  GenericParameter unsigned8 = Param(kMimeUInt8, {0, 0, 0, 0xFF});
  EXPECT_THROW((void)unsigned8.GetValueInt8(), ex::ParameterMismatchException);
  EXPECT_THROW((void)unsigned8.GetValueUInt16(), ex::ParameterMismatchException);
  EXPECT_THROW((void)unsigned8.GetValueFloat(), ex::ParameterMismatchException);
  EXPECT_THROW((void)unsigned8.GetValueText(), ex::ParameterMismatchException);
  EXPECT_THROW((void)unsigned8.GetValueAscii(), ex::ParameterMismatchException);
  EXPECT_THROW((void)unsigned8.GetRawValue32(u"text/x-generic-unsigned-integer-8 "), ex::ParameterMismatchException);
  EXPECT_EQ(unsigned8.ToString(), u"255");
  GenericParameter spaced = Param(u"text/x-generic-integer-32 ", {0, 0, 0, 1});
  EXPECT_THROW((void)spaced.GetValueInt32(), ex::ParameterMismatchException);
  GenericParameter capital = Param(u"Text/x-generic-integer-32", {0, 0, 0, 1});
  EXPECT_THROW((void)capital.GetValueInt32(), ex::ParameterMismatchException);
}

TEST(GenericParameterTest, ShortNumericValuesReadMissingBytesAsZero) {
  struct Case {
    std::vector<std::uint8_t> bytes;
    std::uint32_t word;
  } cases[] = {{{}, 0}, {{0x12}, 0x12000000}, {{0x12, 0x34, 0x56}, 0x12345600}};
  for (const Case& c : cases) {
    EXPECT_EQ(Param(kMimeUInt32, c.bytes).GetValueUInt32(), c.word);
  }
  EXPECT_EQ(Param(kMimeInt8, {}).ToString(), u"0");
  EXPECT_EQ(Param(kMimeFloat, {}).ToString(), u"0.000000");
}

TEST(GenericParameterTest, HeaderLookupsMatchNamesExactly) {
  GenericDataHeader header;
  header.AddParameter(Param(kMimeInt32, {0, 0, 0, 1}, u"vendor-algorithm-param-A"));
  header.AddParameter(Param(kMimeInt32, {0, 0, 0, 2}, u"vendor-chipsummary-B"));
  header.AddParameter(Param(kMimeInt32, {0, 0, 0, 3}, u"vendor-algorithm-param-C"));
  header.AddParameter(Param(kMimeInt32, {0, 0, 0, 4}, u"vendor-algorithm-param-A"));
  ASSERT_EQ(header.parameters.size(), 3u);
  EXPECT_EQ(header.parameters[0].GetValueInt32(), 4);

  GenericParameter found = Param(kMimeAscii, {'k'}, u"kept");
  EXPECT_FALSE(header.FindParameter(u"vendor-algorithm-param-a", found));
  EXPECT_FALSE(header.FindParameter(u"vendor-algorithm-param-", found));
  EXPECT_EQ(found.GetName(), u"kept");
  EXPECT_TRUE(header.FindParameter(u"vendor-chipsummary-B", found));
  EXPECT_EQ(found.GetValueInt32(), 2);

  std::vector<GenericParameter> withPrefix{found};
  EXPECT_TRUE(header.GetParametersWithPrefix(u"vendor-algorithm-param-", withPrefix));
  ASSERT_EQ(withPrefix.size(), 2u);
  EXPECT_EQ(withPrefix[0].GetName(), u"vendor-algorithm-param-A");
  EXPECT_EQ(withPrefix[1].GetName(), u"vendor-algorithm-param-C");
  EXPECT_FALSE(header.GetParametersWithPrefix(u"Vendor", withPrefix));
  EXPECT_TRUE(withPrefix.empty());
}

TEST(GenericParameterTest, LegacyListsWidenIntoTagValuePairs) {
  unified_io::TagValuePairList legacy = {{"CellMargin", "2"}, {"Name\xE9", "v"}};
  unified_io::UnifiedTagValuePairList out = {{u"existing", u"x", {}}};
  unified_io::ToWideTagValueList(legacy, out);
  ASSERT_EQ(out.size(), 3u);
  auto it = std::next(out.begin());
  EXPECT_EQ(it->Tag, u"CellMargin");
  EXPECT_EQ(it->Value, u"2");
  EXPECT_TRUE(it->DetailedType.GetName().empty());
  ++it;
  EXPECT_EQ(it->Tag, u"Name\u00E9");
}

}  // namespace
