#pragma once
// Stream readers shared by the legacy binary and text readers. The legacy binary
// files are little-endian. A read past the end of the file leaves a number at 0
// and a text with what could be read; callers test the stream's state. Counts
// read from the file that are negative or larger than the rest of the stream
// fail the stream (failbit) and allocate nothing.
#include <cstdint>
#include <istream>
#include <memory>
#include <string>

namespace LittleEndianInput {

void ReadInt32(std::istream& stream, std::int32_t& value);
void ReadInt32(std::istream& stream, std::uint32_t& value);
void ReadInt16(std::istream& stream, std::int16_t& value);
void ReadInt16(std::istream& stream, std::uint16_t& value);
void ReadInt8(std::istream& stream, std::int8_t& value);
void ReadInt8(std::istream& stream, std::uint8_t& value);
void ReadFloat(std::istream& stream, float& value);

// An INT32 count n, then n bytes; `buffer` receives n + 1 bytes ending in a
// zero byte, or nothing when the count is refused.
void ReadCountedBuffer(std::istream& stream, std::unique_ptr<char[]>& buffer);
// n bytes; `text` receives them up to the first zero byte.
void ReadFixedText(std::istream& stream, std::string& text, std::int32_t n);
// An INT32 count n, then as ReadFixedText with n.
void ReadCountedText(std::istream& stream, std::string& text);

// Fills `line` (an array of `capacity` characters) with the next line that is
// not empty once a trailing carriage return is removed. At the end of the
// stream, or once the stream has failed, the last text read (maybe empty) stays.
// A line longer than capacity - 1 characters fails the stream with its first
// part stored.
void ReadTextLine(std::istream& stream, char* line, std::int32_t capacity);

// The bytes between the read position and the end of the stream; 0 when the
// stream cannot tell.
[[nodiscard]] std::uint64_t BytesLeft(std::istream& stream);

}  // namespace LittleEndianInput
