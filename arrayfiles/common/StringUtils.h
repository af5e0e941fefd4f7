#pragma once
// Crossing between the narrow texts of the legacy formats and the wide texts of
// the generic format, and trimming of blanks. The conversions never consult the
// locale: each byte is the code unit of the same value and back.
#include <string>
#include <string_view>

namespace StringUtils {

// Units above 0xFF become '?'; the result ends at the first zero unit.
[[nodiscard]] std::string WideToNarrow(std::u16string_view text);
// The result ends at the first zero byte.
[[nodiscard]] std::u16string NarrowToWide(std::string_view text);

// Only U+0020 counts as a blank; tabs and other white space stay.
void TrimLeft(std::u16string& text);
void TrimRight(std::u16string& text);

}  // namespace StringUtils
