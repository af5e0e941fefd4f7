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
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPageLayout>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWheelEvent>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <regex>
#include <string>
#include <vector>

#include "platform/File.h"
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

// A user's hand on an open preview: its tool bar's buttons pressed and its
// page indicator read, the event loop let run after each press.
struct PreviewHand {
  platform::qt::PrintPreviewDialog& preview;
  QLabel& indicator;
  QGraphicsView& view;

  static void Settle() {
    for (int turn = 0; turn < 50; ++turn) QApplication::processEvents();
  }
  void Press(const QString& button) const {
    for (QAction* action : preview.findChildren<QAction*>())
      if (action->text().remove('&') == button) action->trigger();
    Settle();
  }
  [[nodiscard]] std::string Said() const { return indicator.text().toStdString(); }
  // The page or pair the indicator names: "12-13" of "Pages 12-13 of 38".
  [[nodiscard]] QString Shown() const { return indicator.text().split(' ')[1]; }
};

// The first page of "12-13", or of "7".
int FirstPage(const QString& shown) { return shown.split('-')[0].toInt(); }

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
  // Ends `job`, which opens its preview, and lets `use` work in it; the
  // preview closes after it, whatever it found.
  static void UsePreview(PrintJob& job, const std::function<void(PreviewHand&)>& use) {
    QTimer user;
    WhileModal(user, [&](QWidget* modal) {
      if (auto* preview = dynamic_cast<platform::qt::PrintPreviewDialog*>(modal)) {
        auto* indicator = preview->findChild<QLabel*>("pageIndicator");
        auto* view = preview->Preview().findChild<QGraphicsView*>();
        EXPECT_TRUE(indicator && view);
        if (indicator && view) {
          PreviewHand hand{*preview, *indicator, *view};
          PreviewHand::Settle();
          use(hand);
        }
      }
      qobject_cast<QDialog*>(modal)->reject();
    });
    user.start();
    job.End();
  }
  // Runs the test `test` again on an offscreen screen of each size, each in
  // a process of its own, with `variable` set to the size ("1920x1200").
  static void RunOnScreens(std::initializer_list<QSize> sizes, const char* test, const char* variable) {
    QDir().mkpath(ArtefactPath("print"));
    for (const QSize screen : sizes) {
      const QString size = QString("%1x%2").arg(screen.width()).arg(screen.height());
      SCOPED_TRACE(size.toStdString());
      RunOnScreen(screen, ArtefactPath(QString("print/%1_%2.json").arg(variable, size)),
                  QString("QtPrintTest.") + test, {{variable, size}});
    }
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

// The file is named as it is on disk, with why; an earlier file in its
// place is left as it was.
TEST_F(QtPrintTest, AFileThatCannotBeWrittenIsReportedAndNothingIsPrinted) {
  const TempHome home;
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(home.Path("taken.pdf"))));
  ASSERT_TRUE(platform::WriteWholeFile(home.Path("old.pdf"), "an earlier file"));
  const struct {
    std::string path;
    bool diskFull;  // the disk fills before the new file takes the old one's place
    std::string told;
  } cases[] = {
      {home.Path("no such folder/x.pdf"), false,
       "The file " + home.Path("no such folder/x.pdf") + " cannot be written: the folder " +
           home.Path("no such folder/") + " does not exist"},
      {home.Path("taken.pdf"), false,
       "The file " + home.Path("taken.pdf") + " cannot be written: Access to " + home.Path("taken.pdf") + " was denied."},
      {home.Path("old.pdf"), true,
       "The file " + home.Path("old.pdf") + " cannot be written: Disk full while accessing " + home.Path("old.pdf") +
           "."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    platform::ScopedRecordingSink messages;
    if (c.diskFull) {
      platform::SetAtomicStageHook([](platform::AtomicStage stage, const std::string& target) {
        if (stage == platform::AtomicStage::BeforeRename) throw CFileException(CFileException::diskFull, ENOSPC, target);
      });
    }
    PrintPages(c.path, 1);
    platform::SetAtomicStageHook(nullptr);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{c.told});
  }
  EXPECT_FALSE(QFile::exists(QString::fromStdString(home.Path("no such folder"))));
  EXPECT_TRUE(QFileInfo(QString::fromStdString(home.Path("taken.pdf"))).isDir());
  std::string old;
  ASSERT_TRUE(platform::ReadWholeFile(home.Path("old.pdf"), old));
  EXPECT_EQ(old, "an earlier file");
  std::string why = "untouched";
  EXPECT_FALSE(platform::qt::WritePdf({}, home.Path("empty.pdf"), {}, {}, &why));
  EXPECT_EQ(why, "untouched");
  EXPECT_FALSE(QFile::exists(QString::fromStdString(home.Path("empty.pdf"))));
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
constexpr const char* kScreenVariable = "QOVA_TEST_PREVIEW_SCREEN";

// What a user does in each preview, in order: the preview's buttons, the
// window made narrower, the scroll bar dragged to its end and back. After
// each the test lets the preview settle: a bounded number of turns of the
// event loop, or until the preview has said its view changed more often than
// one that lays itself out once ever does, so that one laying itself out
// without end fails the case instead of hanging the run.
constexpr const char* kPresses[] = {
    "Two Page",  "Next Page", "Next Page", "Next Page", "Next Page", "Next Page", "Prev Page",
    "Prev Page", "Prev Page", "Prev Page", "Prev Page", "Next Page", "One Page",  "Next Page",
    "Two Page",  "Narrower",  "Zoom In",   "Next Page", "Zoom Out",  "Prev Page", "One Page",
    "Zoom In",   "Prev Page", "Next Page", "Zoom In",   "Scroll to the end", "Scroll to the start"};
constexpr int kSettleTurns = 200;
constexpr int kMostChanges = 20;
constexpr int kEndless = 10000;

// What the user does as `press` in the preview `dialog`.
void Press(QDialog& dialog, QGraphicsView& view, const QString& press) {
  if (press == "Narrower") return dialog.resize(dialog.width() * 2 / 3, dialog.height());
  if (press.startsWith("Scroll"))
    return view.verticalScrollBar()->triggerAction(press.endsWith("end") ? QAbstractSlider::SliderToMaximum
                                                                         : QAbstractSlider::SliderToMinimum);
  for (QAction* action : dialog.findChildren<QAction*>())
    if (action->text().remove('&') == press) action->trigger();
}

// "2-3" of 5 as the indicator says it: "Pages 2-3 of 5"; "4" of 5: "Page 4 of 5".
std::string Indicated(const QString& shown, int count) {
  return QString(shown.contains('-') ? "Pages %1 of %2" : "Page %1 of %2").arg(shown).arg(count).toStdString();
}

// A preview of `pages` A4 pages at 150 dpi, upright or across, each with its
// number; its End opens the preview window.
std::unique_ptr<PrintJob> PreviewOfNumberedPages(int pages, bool across) {
  PrintJobRequest request;
  request.printer = across ? PrinterSettings{"PDF", 1754, 1240, 150, {}} : PrinterSettings{"PDF", 1240, 1754, 150, {}};
  request.title = "Tumour01";
  request.preview = true;
  std::unique_ptr<PrintJob> job = Backend().StartPrintJob(request);
  for (int p = 1; p <= pages; ++p) {
    CDC dc(&job->StartPage());
    dc.TextOut(100, 100, "Page " + std::to_string(p));
    job->EndPage();
  }
  return job;
}

// The page items of the preview's view in reading order: page 1 first.
std::vector<QGraphicsItem*> PageItems(QGraphicsView& view) {
  std::vector<QGraphicsItem*> items;
  for (QGraphicsItem* item : view.scene()->items())
    if (!item->parentItem()) items.push_back(item);
  std::sort(items.begin(), items.end(), [](QGraphicsItem* a, QGraphicsItem* b) {
    return std::pair(a->pos().y(), a->pos().x()) < std::pair(b->pos().y(), b->pos().x());
  });
  return items;
}

// The preview of two to eight pages, upright and across, opens within its
// screen, with room there for a desktop's frame round it, on screens 768,
// 1024 and 1200 pixels high. Through Two Page and One Page, Next Page and
// Prev Page to either end and past it, a narrower window, Zoom In and Zoom
// Out and a scroll to either end, it settles after each, says which page (or
// pages, in Two Page: the first alone, then two by two) it shows of how many,
// and shows them: inside the window while it fits them to it, in view once
// zoomed. Each screen runs in a process of its own, the test's own program
// started on an offscreen screen of that size.
TEST_F(QtPrintTest, ThePreviewOpensWithinItsScreenStepsThroughItsPagesAndSettlesAfterEachPress) {
  if (const char* screen = std::getenv(kScreenVariable)) {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(QString("%1x%2").arg(available.width()).arg(available.height()).toStdString(), screen);
    // Per page count, the pages shown on opening and after each press.
    const struct {
      int pages;
      const char* shown;
    } cases[] = {
        {2, "1  1 2 2 2 2 2  1 1 1 1 1  2 2 2  2 2 2 2 2 1  1 1 1 2 2  2 1"},
        {3, "1  1 2-3 2-3 2-3 2-3 2-3  1 1 1 1 1  2-3 2 3  2-3 2-3 2-3 2-3 2-3 1  1 1 1 2 2  3 1"},
        {4, "1  1 2-3 4 4 4 4  2-3 1 1 1 1  2-3 2 3  2-3 2-3 2-3 4 4 2-3  2 2 1 2 2  4 1"},
        {5, "1  1 2-3 4-5 4-5 4-5 4-5  2-3 1 1 1 1  2-3 2 3  2-3 2-3 2-3 4-5 4-5 2-3  2 2 1 2 2  5 1"},
        {8, "1  1 2-3 4-5 6-7 8 8  6-7 4-5 2-3 1 1  2-3 2 3  2-3 2-3 2-3 4-5 4-5 2-3  2 2 1 2 2  8 1"},
    };
    for (const auto& k : cases) {
      for (const bool across : {false, true}) {
        const QString name = QString("%1_%2_pages_%3").arg(screen).arg(k.pages).arg(across ? "across" : "upright");
        SCOPED_TRACE(name.toStdString());
        const QStringList shown = QString(k.shown).split(' ', Qt::SkipEmptyParts);
        ASSERT_EQ(std::size_t(shown.size()), std::size(kPresses) + 1);
        std::unique_ptr<PrintJob> job = PreviewOfNumberedPages(k.pages, across);
        QRect frame;
        std::vector<std::string> said;
        std::vector<int> changed;
        QTimer user;
        WhileModal(user, [&](QWidget* modal) {
          auto* preview = dynamic_cast<platform::qt::PrintPreviewDialog*>(modal);
          if (!preview) return qobject_cast<QDialog*>(modal)->reject();
          frame = preview->frameGeometry();
          auto* indicator = preview->findChild<QLabel*>("pageIndicator");
          auto* view = preview->Preview().findChild<QGraphicsView*>();
          ASSERT_TRUE(indicator && view);
          int changes = 0;
          QObject counting;
          const auto count = [&changes, view] {
            // A preview that lays itself out without end does so inside one
            // turn of the event loop: fixing its scroll bars stops it, so
            // that the case fails and the run goes on.
            if (++changes == kEndless) {
              view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
              view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            }
          };
          QObject::connect(&preview->Preview(), &QPrintPreviewWidget::previewChanged, &counting, count);
          QObject::connect(view->horizontalScrollBar(), &QScrollBar::rangeChanged, &counting, count);
          QObject::connect(view->verticalScrollBar(), &QScrollBar::rangeChanged, &counting, count);
          bool fitted = true;
          const auto settle = [&] {
            for (int turn = 0; turn < kSettleTurns && changes <= kMostChanges; ++turn) QApplication::processEvents();
            changed.push_back(changes);
            said.push_back(indicator->text().toStdString());
            // The pages said to be shown, inside the window or, zoomed, at least in view.
            const QStringList pages = shown[int(said.size()) - 1].split('-');
            const std::vector<QGraphicsItem*> items = PageItems(*view);
            ASSERT_EQ(int(items.size()), k.pages);
            for (const QString& page : pages) {
              const QRect place = view->mapFromScene(items[page.toInt() - 1]->sceneBoundingRect()).boundingRect();
              const QRect window = view->viewport()->rect();
              EXPECT_TRUE(fitted ? window.adjusted(-1, -1, 1, 1).contains(place) : window.intersects(place))
                  << "page " << page.toStdString() << " at " << place.x() << "," << place.y() << " " << place.width()
                  << "x" << place.height() << " in " << window.width() << "x" << window.height();
            }
          };
          settle();
          for (const QString press : kPresses) {
            SCOPED_TRACE(press.toStdString() + ", " + std::to_string(said.size()));
            const QRect window = view->viewport()->rect();
            const double scale = view->transform().m11();
            const QPointF middle = view->mapToScene(window.center());
            changes = 0;
            Press(*preview, *view, press);
            // Zooming leaves the fit; One Page and Two Page fit the pages to the window again.
            if (press.startsWith("Zoom")) fitted = false;
            if (press == "One Page" || press == "Two Page") fitted = true;
            settle();
            // Zoom In keeps the middle of the window where it was (Zoom Out
            // may find no room to), but for a window that then holds more
            // rows than the one shown: that row stands at its top, as far as
            // the range allows. Next and Prev keep the zoom.
            if (press == "Zoom In") {
              EXPECT_GT(view->transform().m11(), scale * 1.05);
              const QPointF moved = view->mapFromScene(middle) - QPointF(view->viewport()->rect().center());
              const int first = FirstPage(shown[int(said.size()) - 1]);
              const QRect row = view->mapFromScene(PageItems(*view)[first - 1]->sceneBoundingRect()).boundingRect();
              const QScrollBar& down = *view->verticalScrollBar();
              EXPECT_LE(std::abs(moved.x()), 2);
              if (2 * row.height() > view->viewport()->height())
                EXPECT_LE(std::abs(moved.y()), 2);
              else if (down.value() < down.maximum())
                EXPECT_EQ(row.top(), 0) << "the row is not at the top";
              else
                EXPECT_GE(row.top(), 0) << "the row is above the window";
            } else if (press == "Zoom Out") {
              EXPECT_LT(view->transform().m11(), scale / 1.05);
            } else if (press.endsWith("Page") && !fitted) {
              EXPECT_EQ(view->transform().m11(), scale);
            }
            if (said.size() == 3) preview->grab().save(ArtefactPath("print/preview_window_" + name + "_two_pages.png"));
          }
          preview->reject();
        });
        user.start();
        job->End();
        EXPECT_TRUE(available.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                               << frame.height();
        EXPECT_LE(frame.height() + kDesktopFrame.top() + kDesktopFrame.bottom(), available.height());
        EXPECT_LE(frame.width() + kDesktopFrame.left() + kDesktopFrame.right(), available.width());
        std::vector<std::string> expected;
        for (const QString& pages : shown) expected.push_back(Indicated(pages, k.pages));
        EXPECT_EQ(said, expected);
        EXPECT_LE(*std::max_element(changed.begin(), changed.end()), kMostChanges)
            << ::testing::PrintToString(changed);
      }
    }
    return;
  }
  RunOnScreens({QSize(1024, 768), QSize(1280, 1024), QSize(1280, 1200), QSize(1920, 1200)},
               "ThePreviewOpensWithinItsScreenStepsThroughItsPagesAndSettlesAfterEachPress", kScreenVariable);
}

constexpr const char* kScrollScreenVariable = "QOVA_TEST_PREVIEW_SCROLL_SCREEN";

// The wheel turned one notch over the preview's sheets, down (-1) or up (+1).
void TurnWheel(QGraphicsView& view, int notches) {
  const QPointF at = QRectF(view.viewport()->rect()).center();
  QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(view.viewport(), &wheel);
}

// A click on the arrow at the foot (down) or the head (up) of the preview's scroll bar.
void ClickScrollArrow(QGraphicsView& view, bool down) {
  QScrollBar& bar = *view.verticalScrollBar();
  QStyleOptionSlider option;
  option.initFrom(&bar);
  option.orientation = Qt::Vertical;
  option.minimum = bar.minimum();
  option.maximum = bar.maximum();
  option.sliderPosition = option.sliderValue = bar.value();
  option.singleStep = bar.singleStep();
  option.pageStep = bar.pageStep();
  option.subControls = QStyle::SC_All;
  const QRect arrow = bar.style()->subControlRect(
      QStyle::CC_ScrollBar, &option, down ? QStyle::SC_ScrollBarAddLine : QStyle::SC_ScrollBarSubLine, &bar);
  QTest::mouseClick(&bar, Qt::LeftButton, Qt::NoModifier, arrow.center());
}

// After a scroll by the wheel, the scroll bar's arrows or the keys, the
// indicator names the first page (or pair, in Two Page) in view from the
// top of the window: page 1 at the top of the range, the last page or pair
// at its end, and Next and Prev step from it. Fitted in Two Page and zoomed
// out in One Page, with several rows of sheets in the window, on a screen
// 768 and one 1200 pixels high, each in a process of its own.
TEST_F(QtPrintTest, AfterAScrollThePreviewNamesThePagesInViewFromTheTopAndStepsFromThem) {
  if (const char* screen = std::getenv(kScrollScreenVariable)) {
    const struct {
      int pages;
      bool across;
      const char* mode;  // "Two Page", or "One Page" zoomed out
      const char* last;  // the last page or pair
      const char* beforeLast;
    } cases[] = {
        {38, true, "Two Page", "38", "36-37"},
        {37, true, "Two Page", "36-37", "34-35"},
        {9, false, "Two Page", "8-9", "6-7"},
        {38, true, "One Page", "38", "37"},
    };
    for (const auto& k : cases) {
      const QString name =
          QString("%1_%2_%3_%4").arg(screen).arg(k.pages).arg(k.across ? "across" : "upright").arg(k.mode).replace(' ', '_');
      SCOPED_TRACE(name.toStdString());
      std::unique_ptr<PrintJob> job = PreviewOfNumberedPages(k.pages, k.across);
      // The user's presses and scrolls.
      UsePreview(*job, [&](PreviewHand& hand) {
        QScrollBar& bar = *hand.view.verticalScrollBar();
        if (QString(k.mode) == "Two Page") {
          hand.Press("Two Page");
        } else {
          // Out until three sheets stand whole in the window.
          for (int zoom = 0; zoom < 20 && !hand.view.viewport()->rect().contains(
                                              hand.view.mapFromScene(PageItems(hand.view)[2]->sceneBoundingRect()).boundingRect());
               ++zoom)
            hand.Press("Zoom Out");
        }
        hand.Press("Prev Page");
        hand.preview.grab().save(ArtefactPath("print/preview_scroll_" + name + ".png"));
        ASSERT_EQ(hand.Said(), Indicated("1", k.pages));
        ASSERT_GT(bar.maximum(), 0) << "nothing to scroll";
        // Sheets across: several rows in the window, the first two whole.
        const std::vector<QGraphicsItem*> items = PageItems(hand.view);
        const QRect window = hand.view.viewport()->rect();
        const QRect third = hand.view.mapFromScene(items[2]->sceneBoundingRect()).boundingRect();
        if (k.across) {
          ASSERT_TRUE(window.adjusted(-1, -1, 1, 1).contains(third)) << "the third page is not whole in the window";
        }
        const std::string first = Indicated("1", k.pages);
        const std::string next = Indicated(QString(k.mode) == "Two Page" ? "2-3" : "2", k.pages);
        // A scroll down and back up, by the wheel, by the arrows and by the keys.
        const std::function<void(bool)> scrolls[] = {
            [&](bool down) { TurnWheel(hand.view, down ? -1 : 1); },
            [&](bool down) { ClickScrollArrow(hand.view, down); },
            [&](bool down) { QTest::keyClick(&hand.view, down ? Qt::Key_Down : Qt::Key_Up); },
            [&](bool down) { QTest::keyClick(&hand.view, down ? Qt::Key_PageDown : Qt::Key_PageUp); },
        };
        for (std::size_t s = 0; s < std::size(scrolls); ++s) {
          SCOPED_TRACE("scroll " + std::to_string(s));
          const int top = bar.value();
          scrolls[s](true);
          PreviewHand::Settle();
          EXPECT_GT(bar.value(), top);
          scrolls[s](false);
          PreviewHand::Settle();
          EXPECT_EQ(bar.value(), top);
          EXPECT_EQ(hand.Said(), first);
          hand.Press("Next Page");
          EXPECT_EQ(hand.Said(), next);
          hand.Press("Prev Page");
          EXPECT_EQ(hand.Said(), first);
        }
        // Down the range a notch at a time: each page or pair named is in
        // view, and none before it is more than half in view; Next names
        // the page or pair after it, Prev brings it back.
        std::vector<std::string> named;
        for (int turn = 0; turn < 200 && bar.value() < bar.maximum(); ++turn) {
          TurnWheel(hand.view, -1);
          PreviewHand::Settle();
          const std::string now = hand.Said();
          if (bar.value() == bar.maximum()) break;
          const int page = FirstPage(hand.Shown());
          const QRect port = hand.view.viewport()->rect();
          const QRect place = hand.view.mapFromScene(items[page - 1]->sceneBoundingRect()).boundingRect();
          EXPECT_TRUE(port.intersects(place)) << now << " is not in view";
          for (int before = 1; before < page; ++before) {
            const QRect sheet = hand.view.mapFromScene(items[before - 1]->sceneBoundingRect()).boundingRect();
            EXPECT_LT((sheet & port).height() * 2, std::min(sheet.height(), port.height()))
                << "page " << before << " is more in view than " << now;
          }
          if (named.empty() || named.back() != now) named.push_back(now);
        }
        EXPECT_GT(named.size(), 2u) << "the pages named do not follow the scroll";
        EXPECT_EQ(bar.value(), bar.maximum());
        EXPECT_EQ(hand.Said(), Indicated(k.last, k.pages));
        hand.Press("Prev Page");
        EXPECT_EQ(hand.Said(), Indicated(k.beforeLast, k.pages));
        hand.Press("Next Page");
        EXPECT_EQ(hand.Said(), Indicated(k.last, k.pages));
      });
    }
    return;
  }
  RunOnScreens({QSize(1024, 768), QSize(1920, 1200)},
               "AfterAScrollThePreviewNamesThePagesInViewFromTheTopAndStepsFromThem", kScrollScreenVariable);
}

constexpr const char* kStepScreenVariable = "QOVA_TEST_PREVIEW_STEP_SCREEN";

// Next and Prev bring their page or pair into view as a scroll reads it
// back: where the window holds more rows than that one, its row stands at
// the top of the window, so that a wheel notch down and back up names what
// the button named and the next press moves on from there; where one row
// fills the window it stands in the middle, as it always has. Next never
// moves the window up, nor Prev down; near the end of the range, where the
// last rows cannot reach the top, the window stands at its end and names
// what the button named. A zoom, a resize and a page mode put the row
// where Next does. 38 sheets across, zoomed out and fitted, in Two Page and
// One Page, on a screen 1200 and one 1024 pixels high, each in a process of
// its own.
TEST_F(QtPrintTest, NextAndPrevPutTheirRowWhereAScrollBackReadsItAndNeverMoveTheWindowBack) {
  if (const char* screen = std::getenv(kStepScreenVariable)) {
    constexpr int kPages = 38;
    const struct {
      const char* mode;  // "Two Page" or "One Page"
      int zoomOuts;      // Zoom Out presses: 0 leaves the pages fitted
      bool rowAtTop;     // whether the window holds more rows than the named one
    } cases[] = {
        {"Two Page", 3, true},
        {"One Page", 6, true},
        {"Two Page", 0, true},
        {"One Page", 0, false},
    };
    for (const auto& k : cases) {
      const bool two = QString(k.mode) == "Two Page";
      const QString name =
          QString("%1_%2_%3").arg(screen).arg(k.mode).arg(k.zoomOuts ? "zoomed_out" : "fitted").replace(' ', '_');
      SCOPED_TRACE(name.toStdString());
      // The page or pair each Next names from page 1, in order.
      std::vector<QString> steps{"1"};
      for (int p = 2; p <= kPages; p += two ? 2 : 1)
        steps.push_back(two && p < kPages ? QString("%1-%2").arg(p).arg(p + 1) : QString::number(p));
      std::unique_ptr<PrintJob> job = PreviewOfNumberedPages(kPages, true);
      UsePreview(*job, [&](PreviewHand& hand) {
        QScrollBar& bar = *hand.view.verticalScrollBar();
        if (two) hand.Press("Two Page");
        for (int zoom = 0; zoom < k.zoomOuts; ++zoom) hand.Press("Zoom Out");
        const std::vector<QGraphicsItem*> items = PageItems(hand.view);
        ASSERT_EQ(int(items.size()), kPages);
        const auto place = [&](int page) {
          return hand.view.mapFromScene(items[page - 1]->sceneBoundingRect()).boundingRect();
        };
        // The row of a step: its first sheet.
        const auto row = [&](const QString& step) { return place(FirstPage(step)); };
        const auto window = [&] { return hand.view.viewport()->rect(); };
        const auto holdsMoreRows = [&] { return 2 * row("2").height() <= window().height(); };
        ASSERT_EQ(holdsMoreRows(), k.rowAtTop) << "rows of " << row("2").height() << " in a window "
                                               << window().height() << " high";
        ASSERT_GT(bar.maximum(), 0) << "nothing to scroll";
        ASSERT_EQ(hand.Said(), Indicated("1", kPages));
        // Where the named row stands after a press: at the top of a window
        // that holds more rows, else in its middle, as far as the range
        // allows; no sheet before it is half in view, and a notch of the
        // wheel away and back names it again.
        bool held = false;  // whether the last check ran to its end
        const auto check = [&](const QString& step) {
          SCOPED_TRACE("at " + step.toStdString());
          held = false;
          ASSERT_EQ(hand.Said(), Indicated(step, kPages));
          const QRect port = window(), shown = row(step);
          ASSERT_TRUE(port.intersects(shown)) << "not in view: " << shown.y() << " in " << port.height();
          const int value = bar.value();
          if (value > bar.minimum() && value < bar.maximum()) {
            if (holdsMoreRows())
              EXPECT_NEAR(shown.top(), port.top(), 1) << "the row is not at the top";
            else
              EXPECT_NEAR(shown.center().y(), port.center().y(), 1) << "the row is not in the middle";
          }
          // At the end of the range the last rows cannot reach the top, and a scroll back reads the end.
          if (value == bar.maximum()) {
            held = true;
            return;
          }
          for (int before = 1; before < FirstPage(step); ++before) {
            const QRect sheet = place(before);
            EXPECT_LT((sheet & port).height() * 2, std::min(sheet.height(), port.height()))
                << "page " << before << " is half in view";
          }
          // A notch towards the farther end of the range and one back, so that neither stops at an end.
          const int away = bar.maximum() - value >= value - bar.minimum() ? -1 : 1;
          TurnWheel(hand.view, away);
          PreviewHand::Settle();
          ASSERT_NE(bar.value(), value);
          TurnWheel(hand.view, -away);
          PreviewHand::Settle();
          ASSERT_EQ(bar.value(), value);
          EXPECT_EQ(hand.Said(), Indicated(value == bar.minimum() ? "1" : step, kPages)) << "after a scroll back";
          held = true;
        };
        check("1");
        if (!held) return;
        hand.preview.grab().save(ArtefactPath("print/preview_step_" + name + "_1.png"));
        // Next to the end and past it: the window never moves up.
        for (std::size_t s = 1; s < steps.size() + 1; ++s) {
          const QString step = steps[std::min(s, steps.size() - 1)];
          const int before = bar.value();
          hand.Press("Next Page");
          EXPECT_GE(bar.value(), before) << "Next to " << step.toStdString() << " moved the window up";
          if (bar.value() == before && before < bar.maximum() && s < steps.size())
            ADD_FAILURE() << "Next to " << step.toStdString() << " did not move the window";
          check(step);
          if (!held) return;
          if (s != 6) continue;
          hand.preview.grab().save(ArtefactPath("print/preview_step_" + name + "_6th_next.png"));
          // The other steps that bring the page shown into view put it where Next does.
          if (k.zoomOuts) {
            // Zoomed, after two notches down: the page read from the window,
            // its row at the top after Zoom Out and Zoom In.
            TurnWheel(hand.view, -1);
            TurnWheel(hand.view, -1);
            PreviewHand::Settle();
            const QString read = hand.Shown();
            for (const QString zoom : {"Zoom Out", "Zoom In"}) {
              SCOPED_TRACE(zoom.toStdString());
              hand.Press(zoom);
              ASSERT_TRUE(holdsMoreRows());
              check(read);
              if (!held) return;
            }
          } else {
            // Fitted: a narrower window and the width again, One Page and back.
            // Page 7 is shown in Two Page as 6-7, and 6-7 in One Page as 6.
            const int page = FirstPage(step), pair = page - page % 2;
            const QString other = two ? QString::number(page) : QString("%1-%2").arg(pair).arg(pair + 1);
            const int width = hand.preview.width();
            const std::pair<std::function<void()>, QString> moves[] = {
                {[&] { hand.preview.resize(width * 2 / 3, hand.preview.height()); }, step},
                {[&] { hand.preview.resize(width, hand.preview.height()); }, step},
                {[&] { hand.Press(two ? "One Page" : "Two Page"); }, other},
                {[&] { hand.Press(k.mode); }, two ? step : QString::number(pair)},
            };
            for (const auto& [move, named] : moves) {
              move();
              PreviewHand::Settle();
              check(named);
              if (!held) return;
            }
          }
          // Back to the page of the sixth Next by the buttons.
          for (int back = 0; back < 5 && FirstPage(hand.Shown()) != FirstPage(step); ++back)
            hand.Press(FirstPage(hand.Shown()) > FirstPage(step) ? "Prev Page" : "Next Page");
          check(step);
          if (!held) return;
        }
        // Prev back to page 1: the window never moves down.
        for (std::size_t s = steps.size() - 1; s-- > 0;) {
          const int before = bar.value();
          hand.Press("Prev Page");
          EXPECT_LE(bar.value(), before) << "Prev to " << steps[s].toStdString() << " moved the window down";
          check(steps[s]);
          if (!held) return;
        }
      });
    }
    return;
  }
  RunOnScreens({QSize(1920, 1200), QSize(1280, 1024)},
               "NextAndPrevPutTheirRowWhereAScrollBackReadsItAndNeverMoveTheWindowBack", kStepScreenVariable);
}

}  // namespace
}  // namespace qova::test
