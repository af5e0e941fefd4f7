// The sheet the program prints on before the user chose a printer: the
// locale's paper, US Letter where the locale says so and A4 elsewhere, all
// of it printable; and the printer's sheet in the page's device capabilities.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/ui/CommonDialogs.h"
#include "platform/ui/DC.h"
#include "platform/ui/Paper.h"
#include "platform/ui/RecordingCanvas.h"

namespace qova::test {
namespace {

using namespace platform::ui;

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      ::setenv(name, value, 1);
    else
      ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(PaperTest, LetterWhereTheLocaleSaysSoAndA4Elsewhere) {
  const struct {
    const char* locale;
    bool letter;
  } cases[] = {{"en_US.UTF-8", true}, {"fr_CA.UTF-8", true}, {"es_MX", true},          {"en_PH.UTF-8", true},
               {"en_GB.UTF-8", false}, {"de_DE.UTF-8@euro", false}, {"C", false}, {"POSIX", false},
               {"C.UTF-8", false},     {"ja_JP.eucJP", false}};
  for (const auto& c : cases) EXPECT_EQ(LetterPaper(c.locale), c.letter) << c.locale;
}

TEST(PaperTest, TheDefaultPrinterTakesTheLocalesSheetFromTheEnvironment) {
  ScopedEnv all("LC_ALL", nullptr);
  ScopedEnv lang("LANG", "de_DE.UTF-8");
  {
    ScopedEnv paper("LC_PAPER", "en_US.UTF-8");
    const PrinterSettings letter = DefaultPrinter();
    EXPECT_EQ(std::pair(letter.width, letter.height), std::pair(5100, 6600));  // 8.5 by 11 inches at 600 dpi
    EXPECT_EQ(std::pair(letter.paperWidth, letter.paperHeight), std::pair(5100, 6600));
    // The print dialog starts on it where no application chose another.
    EXPECT_EQ(CPrintDialog(FALSE).Printer().height, 6600);
    {
      ScopedEnv everything("LC_ALL", "en_GB.UTF-8");  // LC_ALL wins over LC_PAPER
      EXPECT_EQ(DefaultPrinter().height, 7016);
    }
  }
  ScopedEnv paper("LC_PAPER", nullptr);
  const PrinterSettings a4 = DefaultPrinter();
  EXPECT_EQ(std::pair(a4.width, a4.height), std::pair(4960, 7016));  // 210 by 297 millimetres at 600 dpi
  EXPECT_EQ(a4.dpi, 600);
}

TEST(PaperTest, APagesDeviceKnowsItsSheetAndWhereThePrintableAreaLies) {
  PrinterSettings printer;  // a printable area of 575 by 822 points on A4, at 1200 dpi
  printer.width = 9583;
  printer.height = 13700;
  printer.dpi = 1200;
  printer.paperWidth = 9921;
  printer.paperHeight = 14031;
  printer.offsetX = 167;
  printer.offsetY = 166;
  RecordingSurface page(PrinterCaps(printer));
  CDC dc(&page);
  EXPECT_TRUE(dc.IsPrinting());
  EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 9583);
  EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 13700);
  EXPECT_EQ(dc.GetDeviceCaps(PHYSICALWIDTH), 9921);
  EXPECT_EQ(dc.GetDeviceCaps(PHYSICALHEIGHT), 14031);
  EXPECT_EQ(dc.GetDeviceCaps(PHYSICALOFFSETX), 167);
  EXPECT_EQ(dc.GetDeviceCaps(PHYSICALOFFSETY), 166);
  EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 1200);
}

}  // namespace
}  // namespace qova::test
