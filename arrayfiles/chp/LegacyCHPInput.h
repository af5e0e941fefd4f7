#pragma once
// Little-endian field reading over the bytes of a legacy CHP file, for the two
// readers of its forms. Fixed-width fields past the end of the file read as 0
// (the files have always been read that way); counts and counted texts are
// checked against the bytes that remain before anything is sized by them.
#include <cstddef>
#include <cstdint>
#include <string>

namespace legacy_chp {

class CLegacyCHPFile;

namespace detail {

class LegacyInput {
 public:
  LegacyInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  [[nodiscard]] std::size_t Left() const { return size_ - pos_; }

  std::int32_t Int32();
  std::uint16_t UInt16();
  std::uint8_t UInt8();
  float Float32();
  // A signed 32-bit count of thousandths.
  float Thousandths();
  void Skip(std::size_t bytes);

  // `n` bytes holding a text up to its first zero byte.
  std::string FixedText(std::size_t n);
  // A 32-bit length and that many bytes. False, with nothing consumed beyond
  // the length, when the length is negative or more than the bytes left.
  bool CountedText(std::string& text);
  bool SkipCountedText() {
    std::string ignored;
    return CountedText(ignored);
  }

  // True when `count` items of at least `bytesEach` bytes can still follow.
  [[nodiscard]] bool Fits(std::int64_t count, std::size_t bytesEach) const;

 private:
  // Copies up to `n` bytes into `out`, zero-filling what the file lacks.
  void Take(void* out, std::size_t n);

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// Sets the file's error text; returns false for the caller to pass on.
bool Fail(CLegacyCHPFile& file, const char* message);

// The two forms; each fills `file` and sets its error text on failure.
bool ReadXdaForm(LegacyInput& in, CLegacyCHPFile& file, bool headerOnly);
bool ReadOlderForm(LegacyInput& in, CLegacyCHPFile& file, bool headerOnly);

}  // namespace detail
}  // namespace legacy_chp
