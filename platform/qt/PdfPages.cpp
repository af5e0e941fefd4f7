#include "platform/qt/PdfPages.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

#include "platform/File.h"
#include "platform/qt/PainterSurface.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RasterCanvas.h"

namespace platform::qt {

namespace {

// The sheet of a page's device, in points.
QPageSize PageSizeOf(const platform::ui::DeviceCaps& caps) {
  const double dpi = std::max(1, caps.dpiX);
  const int width = caps.paperWidth > 0 ? caps.paperWidth : caps.width;
  const int height = caps.paperHeight > 0 ? caps.paperHeight : caps.height;
  // A sheet within a point of a standard one is that one (A4 at 600 dpi is 4960 by 7016 pixels).
  return QPageSize(QSizeF(std::max(1, width) * 72.0 / dpi, std::max(1, height) * 72.0 / dpi), QPageSize::Point,
                   QString(), QPageSize::FuzzyMatch);
}

}  // namespace

void PaintPage(QPainter& painter, const platform::ui::Picture& page, int deviceDpi) {
  const platform::ui::DeviceCaps& caps = page.caps;
  // A page drawn for another resolution keeps its size on paper.
  const double scale = double(deviceDpi) / std::max(1, caps.dpiX);
  painter.save();
  painter.scale(scale, scale);
  painter.translate(caps.offsetX, caps.offsetY);
  painter.setClipRect(QRect(0, 0, caps.width, caps.height));
  {
    PainterSurface surface(painter, caps);
    page.ReplayOn(surface);
  }
  painter.restore();
}

std::vector<const platform::ui::Picture*> SheetsOf(const std::vector<platform::ui::Picture>& pages,
                                                   const std::vector<std::size_t>& sheets) {
  std::vector<const platform::ui::Picture*> printed;
  if (sheets.empty()) {
    for (const platform::ui::Picture& page : pages) printed.push_back(&page);
  } else {
    for (std::size_t page : sheets)
      if (page < pages.size()) printed.push_back(&pages[page]);
  }
  return printed;
}

bool WritePdf(const std::vector<platform::ui::Picture>& pages, std::string_view path, std::string_view title,
              const std::vector<std::size_t>& sheets, std::string* why) {
  const std::vector<const platform::ui::Picture*> printed = SheetsOf(pages, sheets);
  if (printed.empty()) return false;
  EnsureQtApplication();
  // Made in memory and then written whole, so that a failed write says why
  // and leaves an earlier file as it was.
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    const int dpi = std::max(1, printed.front()->caps.dpiX);
    QPdfWriter writer(&buffer);
    writer.setResolution(dpi);
    writer.setTitle(ToQString(title));
    writer.setCreator("QOVA");
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageSize(PageSizeOf(printed.front()->caps));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    for (std::size_t i = 0; i < printed.size(); ++i) {
      if (i > 0) {
        writer.setPageSize(PageSizeOf(printed[i]->caps));
        writer.newPage();
      }
      PaintPage(painter, *printed[i], dpi);
    }
    if (!painter.end()) return false;
  }
  const QByteArray& bytes = buffer.data();
  if (bytes.isEmpty()) return false;
  std::string reason;
  return platform::WriteWholeFile(path, std::string_view(bytes.constData(), std::size_t(bytes.size())),
                                  why != nullptr ? *why : reason);
}

}  // namespace platform::qt
