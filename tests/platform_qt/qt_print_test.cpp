// Printing on the windowed backend into a file: a print job whose printer
// names an output file writes its pages there as a PDF, one PDF page per
// printed page on the printer's sheet, with the document's title, small even
// for a quarter million lines; a file that cannot be written is reported. A
// preview shows the pages on the program's sheet.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QTimer>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/qt/PdfPages.h"
#include "platform/qt/PrintPreview.h"
#include "platform/ui/Backend.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/DC.h"
#include "platform/ui/Paper.h"
#include "tests/platform_qt/qt_fixture.h"

namespace qova::test {
namespace {

using namespace platform::ui;

class QtPrintTest : public QtUiTest {
 protected:
  // Prints `pages` pages, each with its number, on an A4 page at 150 dpi.
  static void PrintPages(const std::string& outputFile, int pages) {
    PrintJobRequest request;
    request.printer = PrinterSettings{"PDF", 1240, 1754, 150, outputFile};
    request.title = "test";
    std::unique_ptr<PrintJob> job = Backend().StartPrintJob(request);
    ASSERT_NE(job, nullptr);
    for (int p = 1; p <= pages; ++p) {
      CDC dc(&job->StartPage());
      dc.TextOut(100, 100, "Page " + std::to_string(p));
      dc.Rectangle(50, 50, 1190, 1704);
      job->EndPage();
    }
    job->End();
  }
  static std::string Contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
  }
  // What `program` prints, or an empty text when it cannot run.
  static QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
  }
  static int PageCount(const std::string& pdf) {
    const std::regex page("/Type\\s*/Page[^s]");
    return int(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
  }
};

TEST_F(QtPrintTest, AJobWithAnOutputFileWritesEveryPageAtThePrintersPageSize) {
  const QString path = ArtefactPath("print/qt_print_to_file.pdf");
  QDir().mkpath(ArtefactPath("print"));
  QFile::remove(path);
  PrintPages(path.toStdString(), 3);
  const std::string pdf = Contents(path);
  ASSERT_FALSE(pdf.empty());
  EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
  EXPECT_EQ(PageCount(pdf), 3);
  // 1240 by 1754 pixels at 150 dpi: 595.2 by 841.92 points.
  std::smatch box;
  ASSERT_TRUE(std::regex_search(pdf, box, std::regex("/MediaBox\\s*\\[\\s*0 0 ([0-9.]+) ([0-9.]+)")));
  EXPECT_NEAR(std::stod(box[1]), 595.2, 0.5);
  EXPECT_NEAR(std::stod(box[2]), 841.92, 0.5);
}

TEST_F(QtPrintTest, AFileThatCannotBeWrittenIsReportedAndNothingIsPrinted) {
  platform::ScopedRecordingSink messages;
  const std::string path = ArtefactPath("print/no such folder/x.pdf").toStdString();
  PrintPages(path, 1);
  ASSERT_EQ(messages.Texts().size(), 1u);
  EXPECT_NE(messages.Texts()[0].find("no such folder/x.pdf"), std::string::npos) << messages.Texts()[0];
  EXPECT_FALSE(platform::qt::WritePdf({}, ArtefactPath("print/empty.pdf").toStdString()));
  EXPECT_FALSE(QFile::exists(ArtefactPath("print/empty.pdf")));
}

TEST_F(QtPrintTest, APdfIsTheSheetWithTheDrawingInsideItsMarginsAndTheDocumentsTitle) {
  const QString path = ArtefactPath("print/qt_print_margins.pdf");
  QDir().mkpath(ArtefactPath("print"));
  QFile::remove(path);
  // A printable area 20 pixels in from the edges of an A4 sheet at 150 dpi,
  // as a print dialog gives it for a printer with margins.
  PrintJobRequest request;
  request.printer = PrinterSettings{"PDF", 1200, 1714, 150, path.toStdString()};
  request.printer.paperWidth = 1240;
  request.printer.paperHeight = 1754;
  request.printer.offsetX = request.printer.offsetY = 20;
  request.title = "Tumour01";
  std::unique_ptr<PrintJob> job = Backend().StartPrintJob(request);
  {
    CDC dc(&job->StartPage());
    EXPECT_EQ(dc.GetDeviceCaps(PHYSICALWIDTH), 1240);
    CRect corner(0, 0, 100, 100);
    dc.FillSolidRect(&corner, RGB(0, 0, 0));
  }
  job->EndPage();
  job->End();

  const QString info = Run("pdfinfo", {path});
  ASSERT_FALSE(info.isEmpty()) << "pdfinfo (poppler-utils) is needed";
  EXPECT_TRUE(info.contains("Title:           Tumour01\n")) << info.toStdString();
  EXPECT_TRUE(info.contains("Page size:       595 x 842 pts (A4)")) << info.toStdString();
  const QString stem = ArtefactPath("print/qt_print_margins_page1");
  Run("pdftoppm", {"-png", "-r", "150", "-singlefile", path, stem});
  const QImage page(stem + ".png");
  ASSERT_FALSE(page.isNull()) << "pdftoppm (poppler-utils) is needed";
  EXPECT_NEAR(page.width(), 1240, 1);  // 595 by 842 points
  EXPECT_NEAR(page.height(), 1754, 1);
  EXPECT_EQ(page.pixelColor(10, 10), QColor(Qt::white));
  EXPECT_EQ(page.pixelColor(30, 30), QColor(Qt::black));
  EXPECT_EQ(page.pixelColor(118, 118), QColor(Qt::black));
  EXPECT_EQ(page.pixelColor(122, 122), QColor(Qt::white));
}

TEST_F(QtPrintTest, AQuarterMillionLinesAndPixelsMakeASmallPdf) {
  const QString path = ArtefactPath("print/qt_print_dense.pdf");
  QDir().mkpath(ArtefactPath("print"));
  QFile::remove(path);
  PrintJobRequest request;
  request.printer = DefaultPrinter();
  request.printer.dpi = 1200;
  request.printer.width = request.printer.paperWidth = 9921;
  request.printer.height = request.printer.paperHeight = 14031;
  request.printer.outputFile = path.toStdString();
  std::unique_ptr<PrintJob> job = Backend().StartPrintJob(request);
  {
    CDC dc(&job->StartPage());
    // A noisy trace of a hundred thousand SNPs across the page, a bar of a
    // hundred thousand one-SNP lines under it and a cloud of fifty thousand dots.
    unsigned noise = 12345;
    const auto jitter = [&noise] {
      noise = noise * 1103515245u + 12345u;
      return int(noise >> 16) % 41 - 20;
    };
    dc.MoveTo(100, 1000);
    for (int i = 1; i <= 100000; ++i) dc.LineTo(100 + i * 97 / 1000, 1000 + jitter());
    for (int i = 0; i < 100000; ++i) {
      dc.MoveTo(100 + i * 97 / 1000, 1200);
      dc.LineTo(100 + i * 97 / 1000, 1260);
    }
    for (int i = 0; i < 50000; ++i) dc.SetPixelV(100 + i * 97 / 500, 2000 + 4 * jitter(), RGB(200, 0, 0));
  }
  job->EndPage();
  job->End();
  ASSERT_TRUE(QFileInfo::exists(path));
  EXPECT_LT(QFileInfo(path).size(), 200 * 1024);
}

TEST_F(QtPrintTest, APreviewShowsThePagesOnTheLocalesSheetUnderTheDocumentsName) {
  const char* old = std::getenv("LC_ALL");
  const std::string saved = old ? old : "";
  ::setenv("LC_ALL", "en_US.UTF-8", 1);
  PrintJobRequest request;
  request.printer = DefaultPrinter();
  if (old)
    ::setenv("LC_ALL", saved.c_str(), 1);
  else
    ::unsetenv("LC_ALL");
  request.title = "Tumour01";
  request.preview = true;
  std::unique_ptr<PrintJob> job = Backend().StartPrintJob(request);
  {
    CDC dc(&job->StartPage());
    dc.TextOut(100, 100, "Page 1");
  }
  job->EndPage();
  QPageSize::PageSizeId sheet = QPageSize::Custom;
  QString name;
  QTimer user;
  WhileModal(user, [&](QWidget* modal) {
    if (auto* preview = dynamic_cast<platform::qt::PrintPreviewDialog*>(modal)) {
      sheet = preview->Printer().pageLayout().pageSize().id();
      name = preview->Printer().docName();
    }
    qobject_cast<QDialog*>(modal)->reject();
  });
  job->End();
  EXPECT_EQ(sheet, QPageSize::Letter);
  EXPECT_EQ(name.toStdString(), "Tumour01");
}

// The room a desktop's title bar and borders take round a window.
constexpr QMargins kDesktopFrame(4, 32, 4, 4);
constexpr const char* kScreenHeightVariable = "QOVA_TEST_PREVIEW_SCREEN_HEIGHT";

// The preview of four pages opens within its screen, with room there for a
// desktop's frame round it, on a screen 1024 pixels high and on a larger one,
// and says which page (or pages, in Two Page) it shows of how many, through
// Next Page, Prev Page and Two Page and back. Each screen runs in a process
// of its own, the test's own program started on an offscreen screen of that
// size.
TEST_F(QtPrintTest, ThePreviewOpensWithinItsScreenAndSaysWhichPagesItShows) {
  if (const char* height = std::getenv(kScreenHeightVariable)) {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(available.height(), std::atoi(height));
    PrintJobRequest request;
    request.printer = PrinterSettings{"PDF", 1240, 1754, 150, {}};
    request.title = "Tumour01";
    request.preview = true;
    std::unique_ptr<PrintJob> job = Backend().StartPrintJob(request);
    for (int p = 1; p <= 4; ++p) {
      CDC dc(&job->StartPage());
      dc.TextOut(100, 100, "Page " + std::to_string(p));
      job->EndPage();
    }
    QRect frame;
    std::vector<std::string> said;
    QTimer user;
    WhileModal(user, [&](QWidget* modal) {
      auto* preview = dynamic_cast<platform::qt::PrintPreviewDialog*>(modal);
      if (!preview) return qobject_cast<QDialog*>(modal)->reject();
      frame = preview->frameGeometry();
      auto* indicator = preview->findChild<QLabel*>("pageIndicator");
      const auto press = [&](const char* button) {
        for (QAction* action : preview->findChildren<QAction*>())
          if (action->text().remove('&') == button) action->trigger();
        QApplication::processEvents();
        said.push_back(indicator ? indicator->text().toStdString() : "");
      };
      said.push_back(indicator ? indicator->text().toStdString() : "");
      for (const char* button : {"Next Page", "Next Page", "Prev Page", "Two Page", "Next Page", "Next Page",
                                 "Prev Page", "Prev Page", "Next Page", "One Page", "Next Page"}) {
        press(button);
        if (said.size() == 5)
          preview->grab().save(ArtefactPath(QString("print/preview_window_%1_two_pages.png").arg(height)));
      }
      preview->grab().save(ArtefactPath(QString("print/preview_window_%1.png").arg(height)));
      preview->reject();
    });
    user.start();
    job->End();
    EXPECT_TRUE(available.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                           << frame.height();
    EXPECT_LE(frame.height() + kDesktopFrame.top() + kDesktopFrame.bottom(), available.height());
    EXPECT_LE(frame.width() + kDesktopFrame.left() + kDesktopFrame.right(), available.width());
    EXPECT_EQ(said, (std::vector<std::string>{"Page 1 of 4", "Page 2 of 4", "Page 3 of 4", "Page 2 of 4",
                                              "Pages 2-3 of 4", "Page 4 of 4", "Page 4 of 4", "Pages 2-3 of 4",
                                              "Page 1 of 4", "Pages 2-3 of 4", "Page 2 of 4", "Page 3 of 4"}));
    return;
  }
  for (const QSize screen : {QSize(1280, 1024), QSize(1920, 1200)}) {
    SCOPED_TRACE(screen.height());
    QDir().mkpath(ArtefactPath("print"));
    RunOnScreen(screen, ArtefactPath(QString("print/preview_screen_%1.json").arg(screen.height())),
                "QtPrintTest.ThePreviewOpensWithinItsScreenAndSaysWhichPagesItShows",
                {{kScreenHeightVariable, QString::number(screen.height())}});
  }
}

}  // namespace
}  // namespace qova::test
