#include "platform/qt/QtText.h"

#include <QColor>
#include <QStringDecoder>

#include "platform/ui/Resources.h"

namespace platform::qt {

QString ToQString(std::string_view text) {
  QByteArray bytes(text.data(), qsizetype(text.size()));
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString decoded = decoder.decode(bytes);
  if (!decoder.hasError()) return decoded;
  return QString::fromLatin1(bytes);
}

std::string FromQString(const QString& text) {
  QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), size_t(bytes.size()));
}

QString PlainCaption(std::string_view text) { return ToQString(platform::ui::StripMnemonic(text)); }

QColor ToQColor(COLORREF color) { return QColor(GetRValue(color), GetGValue(color), GetBValue(color)); }

COLORREF FromQColor(const QColor& color) { return RGB(color.red(), color.green(), color.blue()); }

}  // namespace platform::qt
