#pragma once
// The printers of arraydump. Output is stable plain text, one field a line
// ("name: value"), rows of cells tab-separated, so people and tests can read it.
//
// A printer for another kind of file lives in a source file of its own and
// registers itself with a static PrinterRegistration:
//
//   static const arraydump::PrinterRegistration kCel{100, "cel", &PrintCel};
//
// main tries the printers by ascending priority; the first that takes the file
// prints it. The generic header tree is the fallback for any generic file.
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace arraydump {

// Prints the file and returns true, or returns false, printing nothing, when
// the file is not of the printer's kind. Read failures are thrown (the
// array-file exceptions) and reported by main.
using Printer = bool (*)(const std::string& path, std::ostream& out);

inline constexpr int kGenericTreePriority = 1000;

struct PrinterRegistration {
  PrinterRegistration(int priority, const char* name, Printer printer);
};

// An option given before FILE as "--name N" (for example "--sets 10"); a
// printer reads the ones it knows.
[[nodiscard]] std::optional<long long> NumericOption(std::string_view name);

// "name: value" on a line of its own.
void PrintField(std::ostream& out, std::string_view name, std::string_view value);
void PrintField(std::ostream& out, std::string_view name, std::u16string_view value);
void PrintField(std::ostream& out, std::string_view name, long long value);

// The text narrowed, with control characters (a DAT header separates its
// fields with one) written as \xNN.
[[nodiscard]] std::string Printable(std::u16string_view text);
// The shortest text that reads back as the same float.
[[nodiscard]] std::string FloatText(float value);

}  // namespace arraydump
