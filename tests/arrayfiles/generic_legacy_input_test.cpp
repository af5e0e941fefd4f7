// The little-endian stream readers shared by the legacy readers.
#include <gtest/gtest.h>

#include <sstream>

#include "arrayfiles/common/LittleEndianInput.h"

namespace {

using namespace LittleEndianInput;

std::istringstream Bytes(std::string bytes) { return std::istringstream(std::move(bytes), std::ios::binary); }

TEST(LittleEndianInputTest, NumbersAreLittleEndianAndZeroPastTheEnd) {
  auto in = Bytes(std::string("\x01\x02\x03\x84" "\xFE\xFF" "\x00\x00\xC0\x3F" "\x07\x08", 12));
  std::int32_t i32 = -1;
  ReadInt32(in, i32);
  EXPECT_EQ(i32, std::int32_t(0x84030201));
  std::int16_t i16 = 0;
  ReadInt16(in, i16);
  EXPECT_EQ(i16, -2);
  float f = 0;
  ReadFloat(in, f);
  EXPECT_EQ(f, 1.5f);
  std::uint32_t u32 = 99;
  ReadInt32(in, u32);  // only two bytes left
  EXPECT_TRUE(in.fail());
  EXPECT_EQ(u32, 0x0807u);
  std::uint16_t u16 = 99;
  ReadInt16(in, u16);
  EXPECT_EQ(u16, 0);
}

TEST(LittleEndianInputTest, CountedTextEndsAtItsFirstZero) {
  auto in = Bytes(std::string("\x03\x00\x00\x00" "A\0B" "\x02\x00\x00\x00" "CD", 13));
  std::string text;
  ReadCountedText(in, text);
  EXPECT_EQ(text, "A");
  ReadCountedText(in, text);
  EXPECT_EQ(text, "CD");
  EXPECT_FALSE(in.fail());
}

TEST(LittleEndianInputTest, FixedTextReadsExactlyItsBytes) {
  auto in = Bytes(std::string("ab\0\0cdXY", 8));
  std::string text;
  ReadFixedText(in, text, 6);
  EXPECT_EQ(text, "ab");
  ReadFixedText(in, text, 2);
  EXPECT_EQ(text, "XY");
  ReadFixedText(in, text, 5);  // past the end: what could be read, and a failed stream
  EXPECT_EQ(text, "");
  EXPECT_TRUE(in.fail());
  auto shortIn = Bytes("xyz");
  ReadFixedText(shortIn, text, 10);
  EXPECT_EQ(text, "xyz");
  EXPECT_TRUE(shortIn.fail());
}

TEST(LittleEndianInputTest, BadCountsFailTheStreamWithoutAllocating) {
  struct Case {
    std::string bytes;
  } cases[] = {{std::string("\xFF\xFF\xFF\xFF" "abc", 7)},   // negative
               {std::string("\xFF\xFF\xFF\x7F" "abc", 7)},   // larger than the stream
               {std::string("\x04\x00\x00\x00" "abc", 7)}};  // one byte more than left
  for (const Case& c : cases) {
    auto in = Bytes(c.bytes);
    std::string text = "old";
    ReadCountedText(in, text);
    EXPECT_TRUE(in.fail());
    EXPECT_EQ(text, "");
    auto again = Bytes(c.bytes);
    std::unique_ptr<char[]> buffer;
    ReadCountedBuffer(again, buffer);
    EXPECT_TRUE(again.fail());
    EXPECT_EQ(buffer, nullptr);
  }
  auto in = Bytes(std::string("\x03\x00\x00\x00" "xyz", 7));
  std::unique_ptr<char[]> buffer;
  ReadCountedBuffer(in, buffer);
  ASSERT_NE(buffer, nullptr);
  EXPECT_STREQ(buffer.get(), "xyz");
  std::string text;
  ReadFixedText(in, text, -1);
  EXPECT_TRUE(in.fail());
}

TEST(LittleEndianInputTest, TextLinesSkipBlankLinesInBothConventions) {
  auto in = Bytes("\r\n\r\n[CDF]\r\nVersion=GC3.0\n\n\nlast");
  char line[64];
  ReadTextLine(in, line, sizeof line);
  EXPECT_STREQ(line, "[CDF]");
  ReadTextLine(in, line, sizeof line);
  EXPECT_STREQ(line, "Version=GC3.0");
  ReadTextLine(in, line, sizeof line);
  EXPECT_STREQ(line, "last");
  ReadTextLine(in, line, sizeof line);
  EXPECT_STREQ(line, "");
}

TEST(LittleEndianInputTest, TextLinesEndOnAFailedStream) {
  auto in = Bytes("0123456789\nnext\n");
  char line[5];
  ReadTextLine(in, line, sizeof line);
  EXPECT_STREQ(line, "0123");
  EXPECT_TRUE(in.fail());
  // A failed stream ends the call at once instead of looping.
  ReadTextLine(in, line, sizeof line);
  EXPECT_STREQ(line, "");
}

}  // namespace
