#pragma once
// Printing on Qt printers. The program's printer (paper, orientation, the
// printable area, the printer's name or an output file) is put on a
// QPrinter and read back from one, so that Print Setup, Print and Print
// Preview all start from one set-up. A print job records its pages for the
// printer's page as that QPrinter gives it, measuring their text in the
// printer's fonts, and the pages are painted the same way on a printer,
// into a PDF file and in the preview: from the sheet's corner, each clipped
// to its printable area.
#include <cstddef>
#include <memory>
#include <vector>

#include "platform/ui/Backend.h"
#include "platform/ui/CommonDialogs.h"

class QPrinter;

namespace platform::qt {

// Puts `settings` on `printer`: the named printer where one of that name
// exists, the output file where one is given, then the sheet, its
// orientation, the printable area and the resolution.
void UsePaper(QPrinter& printer, const platform::ui::PrinterSettings& settings);

// The page `printer` offers, as its dialog left it.
[[nodiscard]] platform::ui::PrinterSettings PrinterOf(QPrinter& printer);

// Paints recorded pages on `printer`, one sheet each, scaled to its
// resolution; with `sheets`, the pages of those indexes, in that order.
void PaintPages(QPrinter& printer, const std::vector<platform::ui::Picture>& pages,
                const std::vector<std::size_t>& sheets = {});

// A print job on `printer`: previewed, written as a PDF file or printed.
[[nodiscard]] std::unique_ptr<platform::ui::PrintJob> MakePrintJob(std::unique_ptr<QPrinter> printer,
                                                                   const platform::ui::PrintJobRequest& request);

}  // namespace platform::qt
