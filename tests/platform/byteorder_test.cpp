// Fixed-width reads and writes at byte pointers, and the saturating cast.
#include "platform/ByteOrder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/Numeric.h"

namespace {

using namespace platform;

TEST(ByteOrderTest, ReadsBothOrdersAtUnalignedAddresses) {
  const unsigned char raw[] = {0xAA, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08};
  const unsigned char* p = raw + 1;  // deliberately misaligned
  EXPECT_EQ(ReadLE16(p), 0x0201);
  EXPECT_EQ(ReadBE16(p), 0x0102);
  EXPECT_EQ(ReadLE32(p), 0x04030201u);
  EXPECT_EQ(ReadBE32(p), 0x01020304u);
  EXPECT_EQ(ReadLE64(p), 0x0807060504030201ull);
  EXPECT_EQ(ReadBE64(p), 0x0102030405060708ull);
  const unsigned char high[] = {0xFF, 0xFE, 0x80, 0x81};
  EXPECT_EQ(ReadLE16(high), 0xFEFF);
  EXPECT_EQ(ReadBE32(high), 0xFFFE8081u);
}

TEST(ByteOrderTest, FloatsTravelAsTheirBitPatterns) {
  // 1.5f is 0x3FC00000; -2.0 is 0xC000000000000000.
  const unsigned char be[] = {0x3F, 0xC0, 0x00, 0x00};
  const unsigned char le[] = {0x00, 0x00, 0xC0, 0x3F};
  const unsigned char d[] = {0, 0, 0, 0, 0, 0, 0, 0xC0};
  EXPECT_EQ(ReadBEFloat(be), 1.5f);
  EXPECT_EQ(ReadLEFloat(le), 1.5f);
  EXPECT_EQ(ReadLEDouble(d), -2.0);
  unsigned char out[4];
  WriteBEFloat(out, 1.5f);
  EXPECT_EQ(0, std::memcmp(out, be, 4));
  WriteLEFloat(out, 1.5f);
  EXPECT_EQ(0, std::memcmp(out, le, 4));
  const unsigned char nan[] = {0x7F, 0xC0, 0x00, 0x01};
  EXPECT_TRUE(std::isnan(ReadBEFloat(nan)));
}

TEST(ByteOrderTest, WritesAreTheInverseOfReads) {
  std::string s;
  AppendLE16(s, 0x1234);
  AppendBE16(s, 0x1234);
  AppendLE32(s, 0xDEADBEEF);
  AppendBE32(s, 0xDEADBEEF);
  AppendLE64(s, 0x0102030405060708ull);
  AppendBE64(s, 0x0102030405060708ull);
  AppendLEFloat(s, -0.25f);
  AppendBEFloat(s, -0.25f);
  ASSERT_EQ(s.size(), 2u + 2 + 4 + 4 + 8 + 8 + 4 + 4);
  const char* p = s.data();
  EXPECT_EQ(std::string(p, 4), std::string("\x34\x12\x12\x34", 4));
  EXPECT_EQ(ReadLE32(p + 4), 0xDEADBEEFu);
  EXPECT_EQ(ReadBE32(p + 8), 0xDEADBEEFu);
  EXPECT_EQ(std::string(p + 8, 4), "\xDE\xAD\xBE\xEF");
  EXPECT_EQ(ReadLE64(p + 12), 0x0102030405060708ull);
  EXPECT_EQ(ReadBE64(p + 20), 0x0102030405060708ull);
  EXPECT_EQ(p[20], 0x01);
  EXPECT_EQ(ReadLEFloat(p + 28), -0.25f);
  EXPECT_EQ(ReadBEFloat(p + 32), -0.25f);
}

TEST(SaturatingCastTest, NanInfinityAndRangeEdges) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(SaturatingCast(std::nan("")), 0);
  EXPECT_EQ(SaturatingCast(inf), std::numeric_limits<int>::max());
  EXPECT_EQ(SaturatingCast(-inf), std::numeric_limits<int>::min());
  EXPECT_EQ(SaturatingCast(1e20), std::numeric_limits<int>::max());
  EXPECT_EQ(SaturatingCast(-1e20), std::numeric_limits<int>::min());
  EXPECT_EQ(SaturatingCast(2.9), 2);
  EXPECT_EQ(SaturatingCast(-2.9), -2);
  EXPECT_EQ(SaturatingCast<std::uint8_t>(300.0), 255);
  EXPECT_EQ(SaturatingCast<std::uint8_t>(-5.0), 0);
  EXPECT_EQ(SaturatingCast<std::int64_t>(4102444800.0), 4102444800ll);
}

}  // namespace
