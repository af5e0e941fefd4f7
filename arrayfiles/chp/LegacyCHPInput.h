#pragma once
// Little-endian field reading over the bytes of a legacy CHP file, for the two
// readers of its forms. Fixed-width fields past the end of the file read as 0
// and leave the input ended, which the readers test after each header part
// and each record: a file cut short is refused, never read as zeros. Counts
// and counted texts are checked against the bytes that remain before
// anything is sized by them.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <istream>
#include <streambuf>
#include <string>
#include <vector>

namespace legacy_chp {

class CLegacyCHPFile;

namespace detail {

// A read-only stream buffer over bytes in memory (the mapped file), so that
// the many skips and position queries of the older form cost no system call.
class ByteStreamBuf : public std::streambuf {
 public:
  ByteStreamBuf(const std::uint8_t* data, std::size_t size);

 protected:
  pos_type seekoff(off_type offset, std::ios_base::seekdir dir, std::ios_base::openmode which) override;
  pos_type seekpos(pos_type position, std::ios_base::openmode which) override;
};

class LegacyInput {
 public:
  explicit LegacyInput(std::istream& in);

  // Bytes between the read position and the end; 0 once a read has failed.
  [[nodiscard]] std::uint64_t Left() const;
  // The read position; the end of the file once a read has failed.
  [[nodiscard]] std::uint64_t Position() const { return fileSize_ - Left(); }
  [[nodiscard]] std::uint64_t FileSize() const { return fileSize_; }
  // True once a read or a skip has run past the end of the file.
  [[nodiscard]] bool Ended() const { return in_.fail(); }

  std::int32_t Int32();
  std::uint16_t UInt16();
  std::uint8_t UInt8();
  float Float32();
  // A signed 32-bit count of thousandths.
  float Thousandths();
  void Skip(std::size_t bytes);
  // The next `n` bytes in one read, for runs of fixed-width records; false
  // when the file ends first.
  bool Bytes(std::vector<std::uint8_t>& out, std::size_t n);

  // `n` bytes (n below 2^31) holding a text up to its first zero byte.
  std::string FixedText(std::size_t n);
  // A 32-bit length and that many bytes. False, with nothing consumed beyond
  // the length, when the length is negative, more than the bytes left or
  // itself past the end of the file.
  bool CountedText(std::string& text);
  bool SkipCountedText() {
    std::string ignored;
    return CountedText(ignored);
  }

  // True when `count` items of at least `bytesEach` bytes can still follow.
  [[nodiscard]] bool Fits(std::int64_t count, std::size_t bytesEach) const;

 private:
  std::istream& in_;
  // Taken once: asking the stream for its end on every count would throw
  // away its buffer each time.
  std::uint64_t fileSize_;
};

// A counted text of the header and what the errors call it.
struct NamedText {
  const char* name;
  std::string* text;
};

// "the <what> at offset <at> runs past the end of the file (<size> bytes)":
// the reason of a header part or a record that the file ends inside.
[[nodiscard]] std::string PastEnd(const LegacyInput& in, const std::string& what, std::uint64_t at);
// Reads the texts in order; the reason the first that cannot be read gives,
// or empty when all were read.
[[nodiscard]] std::string ReadCountedTexts(LegacyInput& in, std::initializer_list<NamedText> texts);

// Sets the file's error text; returns false for the caller to pass on.
bool Fail(CLegacyCHPFile& file, const char* message);
// The format error with what failed and where: "... CHP file: the
// genotyping records at offset ...".
bool FailAt(CLegacyCHPFile& file, const std::string& detail);
// The error of `count` records of `recordBytes` from the read position that
// run past the end of the file.
bool FailRecords(CLegacyCHPFile& file, const LegacyInput& in, const char* what, std::int64_t count,
                 std::size_t recordBytes);

// The two forms; each fills `file` and sets its error text on failure.
bool ReadXdaForm(LegacyInput& in, CLegacyCHPFile& file, bool headerOnly);
bool ReadOlderForm(LegacyInput& in, CLegacyCHPFile& file, bool headerOnly);

}  // namespace detail
}  // namespace legacy_chp
