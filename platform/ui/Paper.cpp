#include "platform/ui/Paper.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace platform::ui {

namespace {

// Where a locale is not installed, its territory tells: these print on US
// Letter, the rest of the world on A4.
constexpr std::string_view kLetterTerritories[] = {"US", "CA", "MX", "PR", "PH", "CL", "CO",
                                                   "CR", "GT", "NI", "PA", "SV", "VE", "DO"};

// The width of US Letter in millimetres, as the C library gives paper sizes.
constexpr unsigned kLetterWidthMm = 216;

constexpr int kDefaultDpi = 600;

// The locale the C library would take paper sizes from.
std::string EnvironmentPaperLocale() {
  for (const char* name : {"LC_ALL", "LC_PAPER", "LANG"})
    if (const char* value = std::getenv(name); value && *value) return value;
  return "C";
}

// "en_US.UTF-8@euro" -> "US".
std::string_view TerritoryOf(std::string_view locale) {
  const std::size_t underscore = locale.find('_');
  if (underscore == std::string_view::npos) return {};
  std::string_view rest = locale.substr(underscore + 1);
  return rest.substr(0, rest.find_first_of(".@"));
}

}  // namespace

bool LetterPaper(std::string_view locale) {
  const std::string name = locale.empty() ? EnvironmentPaperLocale() : std::string(locale);
  if (locale_t paper = newlocale(LC_PAPER_MASK, name.c_str(), locale_t(nullptr))) {
    // The C library hands the paper's width out as a number in place of the text.
    const auto width = unsigned(reinterpret_cast<std::uintptr_t>(nl_langinfo_l(_NL_PAPER_WIDTH, paper)));
    freelocale(paper);
    return width == kLetterWidthMm;
  }
  const std::string_view territory = TerritoryOf(name);
  return std::find(std::begin(kLetterTerritories), std::end(kLetterTerritories), territory) !=
         std::end(kLetterTerritories);
}

PrinterSettings DefaultPrinter() {
  PrinterSettings printer;
  printer.dpi = kDefaultDpi;
  if (LetterPaper()) {
    printer.width = kDefaultDpi * 17 / 2;  // 8.5 by 11 inches
    printer.height = kDefaultDpi * 11;
  } else {
    printer.width = 4960;  // 210 by 297 millimetres
    printer.height = 7016;
  }
  printer.paperWidth = printer.width;
  printer.paperHeight = printer.height;
  return printer;
}

DeviceCaps PrinterCaps(const PrinterSettings& printer) {
  DeviceCaps caps{printer.width, printer.height, printer.dpi, printer.dpi, true};
  caps.paperWidth = printer.paperWidth;
  caps.paperHeight = printer.paperHeight;
  caps.offsetX = printer.offsetX;
  caps.offsetY = printer.offsetY;
  return caps;
}

}  // namespace platform::ui
