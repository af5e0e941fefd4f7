// The primitive decoders of generic files over a header stream and a cell cursor.
#include <gtest/gtest.h>

#include <sstream>

#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/generic/MemoryInput.h"
#include "arrayfiles/generic/StreamInput.h"

namespace {

using namespace generic_io;
namespace ex = generic_exceptions;

std::istringstream Bytes(std::string bytes) { return std::istringstream(std::move(bytes), std::ios::binary); }

TEST(GenericStreamInputTest, TextsEndAtTheirFirstZeroButConsumeTheirCount) {
  auto in = Bytes(std::string("\x00\x00\x00\x05" "ab\0cd" "\x00\x00\x00\x03" "\x00x\x00\x00\x00y" "\x7F", 20));
  HeaderStream stream(in, 20);
  EXPECT_EQ(StreamInput::ReadText8(stream), "ab");
  EXPECT_EQ(stream.Position(), 9u);
  EXPECT_EQ(StreamInput::ReadText16(stream), u"x");
  EXPECT_EQ(stream.Position(), 19u);
  EXPECT_EQ(StreamInput::ReadInt8(stream), 127);
  EXPECT_THROW((void)StreamInput::ReadUInt8(stream), ex::InvalidFileTypeException);
  // A text passed over takes its whole count too.
  auto again = Bytes(std::string("\x00\x00\x00\x03" "\x00x\x00\x00\x00y" "\x7F", 11));
  HeaderStream skipped(again, 11);
  StreamInput::SkipText16(skipped);
  EXPECT_EQ(skipped.Position(), 10u);
  EXPECT_EQ(StreamInput::ReadInt8(skipped), 127);
}

TEST(GenericStreamInputTest, NumbersAreBigEndian) {
  auto in = Bytes(std::string("\xFF\xFF\xFF\xFE" "\x01\x02\x03\x04" "\x80", 9));
  HeaderStream stream(in, 9);
  EXPECT_EQ(StreamInput::ReadInt32(stream), -2);
  EXPECT_EQ(StreamInput::ReadUInt32(stream), 0x01020304u);
  EXPECT_EQ(StreamInput::ReadInt8(stream), -128);
}

TEST(GenericStreamInputTest, LengthsAndCountsMustFitTheRestOfTheFile) {
  struct Case {
    std::string bytes;
    int read;  // 0 text8, 1 text16, 2 blob, 3 count of 12-byte items, 4 text16 passed over
  } cases[] = {
      {std::string("\xFF\xFF\xFF\xFF", 4), 0},             // negative
      {std::string("\x00\x00\x00\x02" "a", 5), 0},         // one byte short
      {std::string("\x00\x00\x00\x02" "abc", 7), 1},       // needs 4 bytes, 3 left
      {std::string("\x80\x00\x00\x00" "abc", 7), 2},       // negative
      {std::string("\x00\x00\x00\x01" "abcdefghijk", 15), 3},  // 11 bytes cannot hold a 12-byte item
      {std::string("\x00\x00\x00", 3), 3},                 // a short count
      {std::string("\x00\x00\x00\x02" "abc", 7), 4},       // needs 4 bytes, 3 left
      {std::string("\xFF\xFF\xFF\xFE" "abc", 7), 4},       // negative
  };
  for (const Case& c : cases) {
    auto in = Bytes(c.bytes);
    HeaderStream stream(in, c.bytes.size());
    switch (c.read) {
      case 0: EXPECT_THROW((void)StreamInput::ReadText8(stream), ex::InvalidFileTypeException); break;
      case 1: EXPECT_THROW((void)StreamInput::ReadText16(stream), ex::InvalidFileTypeException); break;
      case 2: EXPECT_THROW((void)StreamInput::ReadBlob(stream), ex::InvalidFileTypeException); break;
      case 4: EXPECT_THROW(StreamInput::SkipText16(stream), ex::InvalidFileTypeException); break;
      default: EXPECT_THROW((void)StreamInput::ReadCount(stream, 12), ex::InvalidFileTypeException); break;
    }
  }
}

TEST(GenericStreamInputTest, NoByteIsReadTwiceInOnePass) {
  auto in = Bytes(std::string("\x00\x00\x00\x07", 4));
  HeaderStream stream(in, 4);
  EXPECT_EQ(StreamInput::ReadUInt32(stream), 7u);
  stream.Seek(0);
  // Reading the same bytes again means the headers point back at themselves.
  EXPECT_THROW((void)StreamInput::ReadUInt32(stream), ex::InvalidFileTypeException);
  EXPECT_THROW(stream.Seek(5), ex::InvalidFileTypeException);
}

TEST(GenericMemoryInputTest, CellTextsAdvanceTheCursorAndStayInTheirCell) {
  const std::string cells("\x00\x00\x00\x03" "abc" "\x00\x00\x00\x02" "\x00Z\x00\x00" "\x00\x00\x00\x09", 19);
  const auto* begin = reinterpret_cast<const std::uint8_t*>(cells.data());
  const std::uint8_t* cursor = begin;
  EXPECT_EQ(MemoryInput::ReadText8(cursor, begin + cells.size()), "abc");
  EXPECT_EQ(cursor, begin + 7);
  EXPECT_EQ(MemoryInput::ReadText16(cursor, begin + cells.size()), u"Z");
  EXPECT_EQ(cursor, begin + 15);
  cursor = begin + 7;
  EXPECT_EQ(MemoryInput::ReadText16Narrow(cursor, begin + cells.size()), "Z");
  EXPECT_EQ(cursor, begin + 15);
  cursor = begin + 15;
  EXPECT_THROW((void)MemoryInput::ReadText8(cursor, begin + 18), ex::InvalidFileTypeException);
  cursor = begin + 15;
  EXPECT_THROW((void)MemoryInput::ReadText8(cursor, begin + 19), ex::InvalidFileTypeException);
  cursor = begin + 7;
  EXPECT_THROW((void)MemoryInput::ReadText16Narrow(cursor, begin + 14), ex::InvalidFileTypeException);
}

// Narrowed as the wide text would be: a unit past 8 bits becomes '?', and
// the text ends at its first zero unit.
TEST(GenericMemoryInputTest, WideCellTextsNarrowAsTheirWideText) {
  const std::string cell("\x00\x00\x00\x05" "\x00S\x04\x16\x00\xE9\x00\x00\x00Z", 14);
  const auto* begin = reinterpret_cast<const std::uint8_t*>(cell.data());
  const std::uint8_t* cursor = begin;
  EXPECT_EQ(MemoryInput::ReadText16(cursor, begin + cell.size()), u"S\u0416\u00E9");
  cursor = begin;
  EXPECT_EQ(MemoryInput::ReadText16Narrow(cursor, begin + cell.size()), "S?\xE9");
  EXPECT_EQ(cursor, begin + cell.size());
}

}  // namespace
