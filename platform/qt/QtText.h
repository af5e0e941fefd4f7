#pragma once
// Texts between the program's byte strings and Qt. The program's own texts
// are UTF-8 (a few captions are not ASCII); bytes that are not UTF-8 are
// taken one character per byte, as the rest of the program reads them.
#include <QString>

#include <string>
#include <string_view>

#include "platform/ui/Geometry.h"

class QColor;

namespace platform::qt {

[[nodiscard]] QString ToQString(std::string_view text);
[[nodiscard]] std::string FromQString(const QString& text);
// A caption without its mnemonic marks, for widgets that do not show them.
[[nodiscard]] QString PlainCaption(std::string_view text);
[[nodiscard]] QColor ToQColor(COLORREF color);
[[nodiscard]] COLORREF FromQColor(const QColor& color);

}  // namespace platform::qt
