#pragma once
// Narrow strings are byte strings (std::string); the wide texts of the generic
// array format are 16-bit code units (std::u16string). Conversions between the
// two never consult the locale: each byte maps to the code unit of the same value.
#include <cstdarg>
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

}  // namespace platform
