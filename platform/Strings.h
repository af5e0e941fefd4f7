#pragma once
// Narrow strings are byte strings (std::string); the wide texts of the generic
// array format are 16-bit code units (std::u16string). Conversions between the
// two never consult the locale: each byte maps to the code unit of the same value.
#include <cstdarg>
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Each byte becomes the code unit of the same value (0x00..0xFF).
[[nodiscard]] std::u16string Widen(std::string_view text);
// Each code unit below 0x100 becomes the byte of the same value; any other
// code unit becomes '?'.
[[nodiscard]] std::string Narrow(std::u16string_view text);
// One unit of Narrow: the byte of a unit below 256, else '?'.
[[nodiscard]] inline char NarrowUnit(char16_t unit) {
  return unit < 0x100 ? char(static_cast<unsigned char>(unit)) : '?';
}

// printf-style formatting into a std::string (the framework's Format).
[[nodiscard]] std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
[[nodiscard]] std::string FormatV(const char* format, va_list args);

// Whitespace is ' ', '\t', '\r', '\n', '\v', '\f'.
[[nodiscard]] std::string TrimLeft(std::string_view text);
[[nodiscard]] std::string TrimRight(std::string_view text);
[[nodiscard]] std::string Trim(std::string_view text);

// ASCII-only case operations; bytes above 0x7F are left as they are.
[[nodiscard]] std::string ToUpper(std::string_view text);
[[nodiscard]] std::string ToLower(std::string_view text);
// <0, 0, >0 like strcmp, ignoring ASCII case.
[[nodiscard]] int CompareNoCase(std::string_view a, std::string_view b);
[[nodiscard]] bool EqualsNoCase(std::string_view a, std::string_view b);
[[nodiscard]] bool StartsWithNoCase(std::string_view text, std::string_view prefix);
[[nodiscard]] bool EndsWithNoCase(std::string_view text, std::string_view suffix);

// The length of the well-formed UTF-8 sequence that starts at text[at], or 0
// where none starts there: a stray continuation byte, a sequence cut short,
// an overlong form, a surrogate or a code point beyond U+10FFFF. Texts mix
// the program's UTF-8 with bytes from elsewhere (a Latin-1 file name, a
// damaged file), so each sequence is judged on its own.
[[nodiscard]] std::size_t Utf8SequenceAt(std::string_view text, std::size_t at);

// A value read from a file, fit to quote in a message: printable ASCII and
// well-formed UTF-8 stay as they are, every other byte is written \xNN, so
// the bytes of a damaged file neither garble the text round them nor hide.
[[nodiscard]] std::string Printable(std::string_view value);

}  // namespace platform
