#include "platform/qt/QtPrinting.h"

#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>

#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/qt/PainterSurface.h"
#include "platform/qt/PdfPages.h"
#include "platform/qt/PrintPreview.h"
#include "platform/qt/QtText.h"
#include "platform/ui/Paper.h"

namespace platform::qt {

void UsePaper(QPrinter& printer, const platform::ui::PrinterSettings& settings) {
  // A printer takes its own default sheet when it is chosen, so it is chosen first.
  if (!settings.outputFile.empty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(ToQString(settings.outputFile));
  } else if (!settings.name.empty() && !QPrinterInfo::printerInfo(ToQString(settings.name)).isNull()) {
    printer.setPrinterName(ToQString(settings.name));
  }
  const int dpi = std::max(1, settings.dpi);
  printer.setResolution(dpi);
  const int width = settings.paperWidth > 0 ? settings.paperWidth : settings.width;
  const int height = settings.paperHeight > 0 ? settings.paperHeight : settings.height;
  // The sheet is named upright (A4, Letter) and turned when it is wider than high.
  const bool landscape = width > height;
  const QPageSize sheet(QSizeF(std::min(width, height) * 72.0 / dpi, std::max(width, height) * 72.0 / dpi),
                        QPageSize::Point, QString(), QPageSize::FuzzyMatch);
  const QMarginsF margins(settings.offsetX * 72.0 / dpi, settings.offsetY * 72.0 / dpi,
                          std::max(0, width - settings.offsetX - settings.width) * 72.0 / dpi,
                          std::max(0, height - settings.offsetY - settings.height) * 72.0 / dpi);
  printer.setPageLayout(QPageLayout(sheet, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, margins,
                                    QPageLayout::Point));
}

platform::ui::PrinterSettings PrinterOf(QPrinter& printer) {
  const int dpi = printer.resolution();
  const QRect sheet = printer.pageLayout().fullRectPixels(dpi);
  const QRect area = printer.pageLayout().paintRectPixels(dpi);
  platform::ui::PrinterSettings settings;
  settings.name = FromQString(printer.printerName());
  settings.width = area.width();
  settings.height = area.height();
  settings.dpi = dpi;
  settings.outputFile = FromQString(printer.outputFileName());
  settings.paperWidth = sheet.width();
  settings.paperHeight = sheet.height();
  settings.offsetX = area.x() - sheet.x();
  settings.offsetY = area.y() - sheet.y();
  return settings;
}

void PaintPages(QPrinter& printer, const std::vector<platform::ui::Picture>& pages,
                const std::vector<std::size_t>& sheets) {
  // Pages place themselves on the sheet, as in a PDF file.
  printer.setFullPage(true);
  QPainter painter;
  if (!painter.begin(&printer)) return;
  const std::vector<const platform::ui::Picture*> printed = SheetsOf(pages, sheets);
  for (std::size_t i = 0; i < printed.size(); ++i) {
    if (i > 0) printer.newPage();
    PaintPage(painter, *printed[i], printer.resolution());
  }
  painter.end();
}

namespace {

// A printed page recorded with the widths its text takes in the printer's
// fonts: what is laid out to fit (a name before the next, a line within the
// page) fits on the sheet, where the headless estimate runs a sixth short
// of the printed face.
class PrinterPageSurface : public platform::ui::RecordingSurface {
 public:
  PrinterPageSurface(platform::ui::DeviceCaps caps, QPrinter& printer) : RecordingSurface(caps), printer_(printer) {}
  [[nodiscard]] platform::ui::TextSize MeasureText(const platform::ui::DeviceFont& font,
                                                   std::string_view text) override {
    const QFontMetricsF metrics(ToQFont(font), &printer_);
    return {int(std::ceil(metrics.horizontalAdvance(ToQString(text)))), int(std::ceil(metrics.height())),
            int(std::ceil(metrics.ascent()))};
  }

 private:
  QPrinter& printer_;
};

// A print job on a printer: the pages are recorded for the page the printer
// gives, then previewed, written as a PDF file or printed.
class QtPrintJob : public platform::ui::PrintJob {
 public:
  QtPrintJob(std::unique_ptr<QPrinter> printer, const platform::ui::PrintJobRequest& request)
      : printer_(std::move(printer)), request_(request), caps_(platform::ui::PrinterCaps(PrinterOf(*printer_))) {}
  platform::ui::DrawSurface& StartPage() override {
    page_ = std::make_unique<PrinterPageSurface>(caps_, *printer_);
    return *page_;
  }
  void EndPage() override {
    if (page_) pages_.push_back(page_->Contents());
    page_.reset();
  }
  void End() override {
    EndPage();
    printer_->setDocName(ToQString(request_.title));
    const std::string file = FromQString(printer_->outputFileName());
    if (request_.preview) {
      PrintPreviewDialog preview(*printer_, pages_, ToQString(request_.title));
      preview.exec();
      printChosen_ = preview.PrintChosen();
    } else if (!file.empty()) {
      std::string why;
      if (!WritePdf(pages_, file, request_.title, platform::ui::SheetOrder(pages_.size(), request_), &why)) {
        AfxMessageBox(why.empty() ? platform::Format("The file %s cannot be written.", file.c_str())
                                  : "The file " + platform::NativePath(file) + " cannot be written: " + why);
      }
    } else {
      // The sheets carry the copies and the order: a driver that repeats or
      // turns pages itself must not do it again.
      printer_->setCopyCount(1);
      printer_->setPageOrder(QPrinter::FirstPageFirst);
      PaintPages(*printer_, pages_, platform::ui::SheetOrder(pages_.size(), request_));
    }
  }
  void Abort() override { pages_.clear(); }
  [[nodiscard]] bool PrintChosen() const override { return printChosen_; }

 private:
  std::unique_ptr<QPrinter> printer_;
  platform::ui::PrintJobRequest request_;
  platform::ui::DeviceCaps caps_;
  std::unique_ptr<platform::ui::RecordingSurface> page_;
  std::vector<platform::ui::Picture> pages_;
  bool printChosen_ = false;
};

}  // namespace

std::unique_ptr<platform::ui::PrintJob> MakePrintJob(std::unique_ptr<QPrinter> printer,
                                                     const platform::ui::PrintJobRequest& request) {
  return std::make_unique<QtPrintJob>(std::move(printer), request);
}

}  // namespace platform::qt
