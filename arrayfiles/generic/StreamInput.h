#pragma once
// Decoders of the big-endian primitives of a generic file's headers, read from
// its open stream. Every read is checked: a read past the end of the file, a
// negative or oversized count or length, or reading more bytes in total than
// the file holds (a chain that loops) raises InvalidFileTypeException.
#include <cstdint>
#include <fstream>
#include <istream>
#include <string_view>
#include <string>
#include <vector>

namespace generic_io {

// The open stream of one header read, with the file's size and a budget of
// bytes: a well-formed file never reads any header byte twice in one pass.
class HeaderStream {
 public:
  HeaderStream(std::istream& stream, std::uint64_t fileSize);
  // Reads from the file's bytes in memory (a mapped view of the whole file);
  // walks that read a header per probe set then cost no system call each.
  HeaderStream(const std::uint8_t* fileBytes, std::uint64_t fileSize);

  [[nodiscard]] std::uint64_t Position() const { return position_; }
  [[nodiscard]] std::uint64_t Size() const { return size_; }
  [[nodiscard]] std::uint64_t BytesLeft() const { return size_ - position_; }

  // Moves to an absolute file position; one past the end raises.
  void Seek(std::uint64_t position);
  // Reads exactly n bytes, or raises.
  void Read(void* out, std::size_t n);
  // Passes over n bytes as Read would read them, raising where Read would.
  void Skip(std::size_t n);

 private:
  // Raises unless n more bytes can be read.
  void RequireBytes(std::size_t n) const;

  std::istream* stream_ = nullptr;
  const std::uint8_t* bytes_ = nullptr;
  std::uint64_t size_;
  std::uint64_t position_ = 0;
  std::uint64_t budget_;
};

namespace StreamInput {

[[nodiscard]] std::uint8_t ReadUInt8(HeaderStream& stream);
[[nodiscard]] std::int8_t ReadInt8(HeaderStream& stream);
[[nodiscard]] std::uint32_t ReadUInt32(HeaderStream& stream);
[[nodiscard]] std::int32_t ReadInt32(HeaderStream& stream);
// INT32 count, then that many bytes; the text ends at the first zero byte.
[[nodiscard]] std::string ReadText8(HeaderStream& stream);
// INT32 count, then that many big-endian units; the text ends at the first zero unit.
[[nodiscard]] std::u16string ReadText16(HeaderStream& stream);
// The same into `text`, whose room is used again.
void ReadText16(HeaderStream& stream, std::u16string& text);
// Passes over such a text, raising where ReadText16 would.
void SkipText16(HeaderStream& stream);
// INT32 length, then that many raw bytes.
[[nodiscard]] std::vector<std::uint8_t> ReadBlob(HeaderStream& stream);
// A UINT32 count of items that each take at least `minItemBytes` of what is
// left of the file; raises when they cannot fit.
[[nodiscard]] std::uint32_t ReadCount(HeaderStream& stream, std::uint32_t minItemBytes);

}  // namespace StreamInput

// Opens a program path for binary input and returns the file's size;
// FileNotFoundException when it is missing, a folder, or cannot be opened.
std::uint64_t OpenInputFile(std::string_view path, std::ifstream& stream);

// Raises InvalidFileTypeException whose description says what failed and
// where ("the header field at offset ... runs past the end of the file").
[[noreturn]] void ThrowInvalidAt(const std::string& detail);

// Raises InvalidFileTypeException unless `count` items of at least
// `minItemBytes` each fit in `bytesLeft`.
void RequireFits(std::uint64_t count, std::uint64_t minItemBytes, std::uint64_t bytesLeft);

}  // namespace generic_io
