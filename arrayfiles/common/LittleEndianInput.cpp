#include "arrayfiles/common/LittleEndianInput.h"

#include <algorithm>
#include <cstring>

#include "platform/ByteOrder.h"

namespace LittleEndianInput {

namespace {

// Reads sizeof(T) little-endian bytes into a zeroed buffer, so a short read
// leaves the missing bytes 0.
template <typename T>
void ReadLittleEndian(std::istream& stream, T& value) {
  std::uint8_t bytes[sizeof(T)] = {};
  stream.read(reinterpret_cast<char*>(bytes), sizeof(T));
  if constexpr (sizeof(T) == 1) {
    std::memcpy(&value, bytes, 1);
  } else if constexpr (sizeof(T) == 2) {
    std::uint16_t host = platform::ReadLE16(bytes);
    std::memcpy(&value, &host, 2);
  } else {
    static_assert(sizeof(T) == 4);
    std::uint32_t host = platform::ReadLE32(bytes);
    std::memcpy(&value, &host, 4);
  }
}

// A count from the file that cannot be satisfied fails the stream instead of
// allocating what the file does not hold.
bool AcceptCount(std::istream& stream, std::int32_t count) {
  if (count < 0 || std::uint64_t(count) > BytesLeft(stream)) {
    stream.setstate(std::ios::failbit);
    return false;
  }
  return true;
}

}  // namespace

std::uint64_t BytesLeft(std::istream& stream) {
  if (!stream.good()) return 0;
  std::istream::pos_type here = stream.tellg();
  if (here == std::istream::pos_type(-1)) return 0;
  stream.seekg(0, std::ios::end);
  std::istream::pos_type end = stream.tellg();
  stream.seekg(here);
  if (end == std::istream::pos_type(-1) || end < here) return 0;
  return std::uint64_t(end - here);
}

void ReadInt32(std::istream& stream, std::int32_t& value) { ReadLittleEndian(stream, value); }
void ReadInt32(std::istream& stream, std::uint32_t& value) { ReadLittleEndian(stream, value); }
void ReadInt16(std::istream& stream, std::int16_t& value) { ReadLittleEndian(stream, value); }
void ReadInt16(std::istream& stream, std::uint16_t& value) { ReadLittleEndian(stream, value); }
void ReadInt8(std::istream& stream, std::int8_t& value) { ReadLittleEndian(stream, value); }
void ReadInt8(std::istream& stream, std::uint8_t& value) { ReadLittleEndian(stream, value); }
void ReadFloat(std::istream& stream, float& value) { ReadLittleEndian(stream, value); }

void ReadCountedBuffer(std::istream& stream, std::unique_ptr<char[]>& buffer) {
  buffer.reset();
  std::int32_t count = 0;
  ReadInt32(stream, count);
  if (!AcceptCount(stream, count)) return;
  buffer = std::make_unique<char[]>(std::size_t(count) + 1);  // zero-filled
  stream.read(buffer.get(), count);
}

void ReadFixedText(std::istream& stream, std::string& text, std::int32_t n) {
  text.clear();
  if (n < 0) {
    stream.setstate(std::ios::failbit);
    return;
  }
  // Never allocate more than the stream still holds; a short read keeps what it got.
  std::uint64_t left = BytesLeft(stream);
  std::size_t wanted = std::size_t(n);
  std::string bytes(std::size_t(std::min<std::uint64_t>(wanted, left)), '\0');
  stream.read(bytes.data(), std::streamsize(bytes.size()));
  bytes.resize(std::size_t(stream.gcount()));
  if (bytes.size() < wanted) stream.setstate(std::ios::eofbit | std::ios::failbit);
  text.assign(bytes.c_str());
}

void ReadCountedText(std::istream& stream, std::string& text) {
  text.clear();
  std::int32_t count = 0;
  ReadInt32(stream, count);
  if (!AcceptCount(stream, count)) return;
  ReadFixedText(stream, text, count);
}

void ReadTextLine(std::istream& stream, char* line, std::int32_t capacity) {
  if (capacity <= 0) return;
  line[0] = '\0';
  while (!stream.eof() && !stream.fail()) {
    stream.getline(line, capacity);
    std::size_t length = std::strlen(line);
    if (length > 0 && line[length - 1] == '\r') line[--length] = '\0';
    if (length > 0) return;
  }
}

}  // namespace LittleEndianInput
