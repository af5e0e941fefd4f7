#pragma once
// Decoders of the text cells of a data set, over a byte cursor into the mapped
// window or a loaded buffer. Each advances the cursor past what it consumed and
// never reads at or beyond `end` (the end of the cell): a count that does not
// fit raises InvalidFileTypeException.
#include <cstdint>
#include <string>

namespace generic_io::MemoryInput {

// INT32 count, then count bytes; the text ends at the first zero byte.
[[nodiscard]] std::string ReadText8(const std::uint8_t*& cursor, const std::uint8_t* end);
// INT32 count, then count big-endian units; the text ends at the first zero unit.
[[nodiscard]] std::u16string ReadText16(const std::uint8_t*& cursor, const std::uint8_t* end);
// The same text as narrow text, unit by unit as platform::Narrow gives it,
// without a wide copy: for names read by the million.
[[nodiscard]] std::string ReadText16Narrow(const std::uint8_t*& cursor, const std::uint8_t* end);

}  // namespace generic_io::MemoryInput
