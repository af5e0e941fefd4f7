#include "platform/qt/QtText.h"

#include <QColor>

#include "platform/Strings.h"
#include "platform/ui/Resources.h"

namespace platform::qt {

QString ToQString(std::string_view text) {
  QString shown;
  shown.reserve(qsizetype(text.size()));
  // Runs of UTF-8 are decoded as such; a byte that starts no sequence is
  // taken as the character of its value, so a path in UTF-8 stays readable
  // beside bytes quoted from elsewhere.
  std::size_t run = 0;
  const auto flush = [&](std::size_t end) {
    shown += QString::fromUtf8(text.data() + run, qsizetype(end - run));
  };
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = platform::Utf8SequenceAt(text, at);
    if (length > 0) {
      at += length;
      continue;
    }
    flush(at);
    shown += QChar(char16_t(static_cast<unsigned char>(text[at])));
    run = ++at;
  }
  flush(text.size());
  return shown;
}

std::string FromQString(const QString& text) {
  QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), size_t(bytes.size()));
}

QString PlainCaption(std::string_view text) { return ToQString(platform::ui::StripMnemonic(text)); }

QColor ToQColor(COLORREF color) { return QColor(GetRValue(color), GetGValue(color), GetBValue(color)); }

COLORREF FromQColor(const QColor& color) { return RGB(color.red(), color.green(), color.blue()); }

}  // namespace platform::qt
