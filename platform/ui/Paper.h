#pragma once
// The printer the program prints on before the user chose one: a sheet of
// the locale's paper (US Letter where the locale's paper is Letter, else A4)
// at 600 dpi, all of it printable; and the device of a page printed.
#include <string_view>

#include "platform/ui/DrawSurface.h"

namespace platform::ui {

// Whether the paper of the locale named `locale` (as LC_PAPER takes it; empty:
// the environment's, from LC_ALL, LC_PAPER or LANG) is US Letter.
[[nodiscard]] bool LetterPaper(std::string_view locale = {});

[[nodiscard]] PrinterSettings DefaultPrinter();

// The device of a page printed with `printer`.
[[nodiscard]] DeviceCaps PrinterCaps(const PrinterSettings& printer);

}  // namespace platform::ui
