#pragma once
// Texts between the program's byte strings and Qt. The program's own texts
// are UTF-8 (a few captions are not ASCII); a byte that is not part of a
// well-formed UTF-8 sequence is taken as one character of its value, as the
// rest of the program reads such bytes, while the UTF-8 round it stays UTF-8.
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
