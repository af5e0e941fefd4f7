#pragma once
// Recorded pages into a PDF file, one PDF page per picture on the sheet its
// device gives (the printable area placed where it lies on the sheet), with
// the document's title. The print job writes there when the print dialog
// chose a file; the tests look at printed pages through it.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/RecordingCanvas.h"

class QPainter;

namespace platform::qt {

// Paints `page` on a sheet whose corner is the painter's origin, on a device
// of `deviceDpi`: the printable area placed at its offset, and nothing drawn
// outside it, as a printer cannot print there.
void PaintPage(QPainter& painter, const platform::ui::Picture& page, int deviceDpi);

// The pages of the indexes in `sheets`, in that order; without `sheets`,
// every page once.
[[nodiscard]] std::vector<const platform::ui::Picture*> SheetsOf(const std::vector<platform::ui::Picture>& pages,
                                                                 const std::vector<std::size_t>& sheets);

// False when there is no page or the file cannot be written; in the second
// case `why`, when given, takes WriteFailureReason's words. With `sheets`, the PDF's
// pages are the pages of those indexes, in that order (a page once for each
// copy); without, every page once. The file is replaced whole or not at all.
[[nodiscard]] bool WritePdf(const std::vector<platform::ui::Picture>& pages, std::string_view path,
                            std::string_view title = {}, const std::vector<std::size_t>& sheets = {},
                            std::string* why = nullptr);

}  // namespace platform::qt
