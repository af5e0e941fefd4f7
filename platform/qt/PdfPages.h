#pragma once
// Recorded pages into a PDF file, one PDF page per picture on the sheet its
// device gives (the printable area placed where it lies on the sheet), with
// the document's title. The print job writes there when the print dialog
// chose a file; the tests look at printed pages through it.
#include <string_view>
#include <vector>

#include "platform/ui/RecordingCanvas.h"

namespace platform::qt {

// False when there is no page or the file cannot be written.
[[nodiscard]] bool WritePdf(const std::vector<platform::ui::Picture>& pages, std::string_view path,
                            std::string_view title = {});

}  // namespace platform::qt
