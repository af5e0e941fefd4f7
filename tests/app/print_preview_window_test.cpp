// File > Print, File > Print Preview and File > Print Setup in the program on
// the offscreen Qt platform, with Tumour01 shown. A preview is the print: the
// preview holds the pages File > Print writes, each sheet the same size with
// the same drawing on it and nothing outside its printable area, and its
// Print button prints as File > Print does; for the main view tiled and on
// one page, one chromosome, the fragment-length plot, the grid, the integral
// view and a graph window. The copies, their collation, Reverse and the
// range chosen in File > Print's dialog are the pages of the PDF it writes.
// The sheet, orientation and margins chosen in Print Setup or in File >
// Print's dialog are what every later print dialog and preview start from,
// until either changes them again; Print Setup's button says OK, the print
// dialog's Print. The PDFs and the pages poppler
// renders from them stay in build/artefacts/print/preview, with a picture of
// each preview window.
#ifdef QOVA_TEST_WITH_QT
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLineEdit>
#include <QMap>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "analysis/IntegrationData.h"
#include "core/AnalyzedData.h"
#include "document/QOVADoc.h"
#include "platform/File.h"
#include "platform/qt/PrintPreview.h"
#include "platform/ui/DC.h"
#include "platform/ui/Paper.h"
#include "platform/ui/RecordingCanvas.h"
#include "resources/CommandIds.h"
#include "tests/app/DemoAppOnQt.h"
#include "tests/views/graph/GraphTestSupport.h"
#include "views/ViewLayout.h"
#include "views/ViewNavigation.h"
#include "views/main/QOVAView.h"

namespace qova::test {
namespace {

namespace res = qova::resources;
namespace views = qova::views;

// A PDF as poppler renders it at 50 dpi: per page the sheet's size and the
// box of what is drawn on it, in pixels.
struct RenderedPages {
  std::vector<QSize> sheets;
  std::vector<QRect> inked;
};

constexpr int kRenderDpi = 50;

// `path` rendered page by page into `path`-N.png (none when the file is missing).
RenderedPages Render(const std::string& path) {
  RenderedPages rendered;
  if (!std::filesystem::exists(path)) return rendered;
  const QString stem = QString::fromStdString(path.substr(0, path.size() - 4));
  QProcess poppler;
  poppler.start("pdftoppm", {"-png", "-r", QString::number(kRenderDpi), QString::fromStdString(path), stem});
  if (!poppler.waitForFinished(120000) || poppler.exitCode() != 0) return rendered;
  const QStringList pictures =
      QDir(QFileInfo(stem).path()).entryList({QFileInfo(stem).fileName() + "-*.png"}, QDir::Files, QDir::Name);
  for (const QString& name : pictures) {
    const QImage page(QFileInfo(stem).path() + "/" + name);
    QRect inked;
    for (int y = 0; y < page.height(); ++y)
      for (int x = 0; x < page.width(); ++x)
        if (qGray(page.pixel(x, y)) < 200) inked |= QRect(x, y, 1, 1);
    rendered.sheets.push_back(page.size());
    rendered.inked.push_back(inked);
  }
  return rendered;
}

// The chromosome names ("Ch1" .. "ChX") on the first page of the PDF at
// `path`, each with the box poppler gives its glyphs, in points; names that
// touch come out as one word and are missing.
QMap<QString, QRectF> PrintedNames(const std::string& path) {
  QMap<QString, QRectF> names;
  QProcess poppler;
  poppler.start("pdftotext", {"-bbox", "-f", "1", "-l", "1", QString::fromStdString(path), "-"});
  if (!poppler.waitForFinished(120000) || poppler.exitCode() != 0) return names;
  static const QRegularExpression word(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(Ch(?:\d+|X))</word>)re");
  for (auto it = word.globalMatch(QString::fromUtf8(poppler.readAllStandardOutput())); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    names[m.captured(5)] = QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                  QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
  }
  return names;
}

// The words poppler finds on each page of the PDF at `path`, with their
// boxes in points, and each page's size.
struct PrintedPage {
  QSizeF size;
  std::vector<std::pair<QString, QRectF>> words;
};
std::vector<PrintedPage> PrintedWords(const std::string& path) {
  std::vector<PrintedPage> pages;
  QProcess poppler;
  poppler.start("pdftotext", {"-bbox", QString::fromStdString(path), "-"});
  if (!poppler.waitForFinished(120000) || poppler.exitCode() != 0) return pages;
  static const QRegularExpression item(
      R"re(<page width="(-?[\d.]+)" height="(-?[\d.]+)">|<word xMin="(-?[\d.]+)" yMin="(-?[\d.]+)" xMax="(-?[\d.]+)" yMax="(-?[\d.]+)">([^<]*)</word>)re");
  for (auto it = item.globalMatch(QString::fromUtf8(poppler.readAllStandardOutput())); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    if (!m.captured(1).isEmpty()) {
      pages.push_back({QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()), {}});
    } else if (!pages.empty()) {
      pages.back().words.emplace_back(m.captured(7), QRectF(QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()),
                                                            QPointF(m.captured(5).toDouble(), m.captured(6).toDouble())));
    }
  }
  return pages;
}

void RemoveRendered(const std::string& path) {
  std::filesystem::remove(path);
  const std::filesystem::path pdf(path);
  for (const auto& entry : std::filesystem::directory_iterator(pdf.parent_path()))
    if (entry.path().filename().string().starts_with(pdf.stem().string() + "-")) std::filesystem::remove(entry.path());
}

// An A4 sheet at 150 dpi whose printable area lies 60 pixels (0.4 inch) in from every edge.
platform::ui::PrinterSettings A4WithMargins() {
  platform::ui::PrinterSettings printer{"", 1120, 1634, 150, {}};
  printer.paperWidth = 1240;
  printer.paperHeight = 1754;
  printer.offsetX = printer.offsetY = 60;
  return printer;
}
constexpr int kMarginAt50Dpi = 20;

class PrintPreviewWindowTest : public DemoAppOnQtTest {
 protected:
  // The program started with Tumour01's result in its main view.
  CQOVAView* ShowTumour01() {
    if (!Start()) return nullptr;
    doc_ = dynamic_cast<CQOVADoc*>(Main().GetActiveDocument());
    if (!doc_ || doc_->OpenSingleResult(nullptr, "Tumour01.CFS") != CQOVADoc::kSucceeded) return nullptr;
    return dynamic_cast<CQOVAView*>(Main().MDIGetActive()->GetActiveView());
  }
  // The view shows the grid of the results `files`, as Display Samples loads them.
  void ShowGrid(CQOVAView& view, const std::vector<const char*>& files) {
    doc_->LoadedResults.clear();
    doc_->DisplayList.clear();
    for (const char* file : files) {
      auto result = std::make_unique<CAnalyzedData>();
      result->LoadFileAllocating(doc_->AnalysisResultFolder + file);
      doc_->LoadedResults.push_back(std::move(result));
      doc_->DisplayList.push_back(file);
    }
    doc_->Status = kStatusMultiple;
    view.OnInitialUpdate();
  }
  static std::string Artefact(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::path(BinaryDir()) / "artefacts" / "print" / "preview";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / (name + ".pdf")).string();
    RemoveRendered(path);
    return path;
  }
  // What the print dialog's Properties showed: the sheet and the orientation ticked.
  struct Seen {
    std::string sheet;
    std::string orientation;
    QPageLayout layout;  // the dialog's printer's, as it opened
    int dpi = 0;
    std::string ok;  // the text of the dialog's OK button
  };
  // What a user picks in the print dialog's Properties: nothing by default.
  struct Pick {
    const char* orientation = nullptr;  // "portrait", "landscape"
    const char* sheet = nullptr;        // as the list of sheets names it
    double marginMm = 0;                // every margin, when above 0
    [[nodiscard]] bool Any() const { return orientation || sheet || marginMm > 0; }
  };
  // A user's answer to the print dialog and its Properties: looks at the
  // sheet and orientation, picks `pick` there, and prints to `pdf`. False
  // when `modal` is neither.
  static bool AnswerPrintDialog(QWidget* modal, const std::string& pdf, const Pick& pick, Seen& seen) {
    if (modal->inherits("QPrintPropertiesDialog")) {
      auto* sheet = modal->findChild<QComboBox*>("pageSizeCombo");
      if (sheet) seen.sheet = sheet->currentText().toStdString();
      for (const char* name : {"portrait", "landscape"})
        if (auto* radio = modal->findChild<QRadioButton*>(name); radio && radio->isChecked()) seen.orientation = name;
      if (pick.sheet) sheet->setCurrentIndex(sheet->findText(pick.sheet));
      if (pick.orientation) modal->findChild<QRadioButton*>(pick.orientation)->click();
      if (pick.marginMm > 0) {
        auto* unit = modal->findChild<QComboBox*>("unitCombo");
        unit->setCurrentIndex(unit->findText("Millimeters (mm)"));
        for (const char* side : {"topMargin", "bottomMargin", "leftMargin", "rightMargin"})
          modal->findChild<QDoubleSpinBox*>(side)->setValue(pick.marginMm);
      }
      qobject_cast<QDialog*>(modal)->accept();
      return true;
    }
    auto* dialog = qobject_cast<QPrintDialog*>(modal);
    if (!dialog) return false;
    seen.layout = dialog->printer()->pageLayout();
    seen.dpi = dialog->printer()->resolution();
    if (auto* buttons = modal->findChild<QDialogButtonBox*>())
      seen.ok = buttons->button(QDialogButtonBox::Ok)->text().remove('&').toStdString();
    if (pick.Any()) modal->grab().save(QString::fromStdString(pdf.substr(0, pdf.size() - 4) + "_dialog.png"));
    modal->findChild<QAbstractButton*>("properties")->click();
    modal->findChild<QLineEdit*>("filename")->setText(QString::fromStdString(pdf));
    dialog->accept();
    return true;
  }
  // File > Print into `pdf`; what its dialog showed.
  Seen PrintTo(const std::string& pdf) {
    Seen seen;
    ModalHand hand([&](QWidget* modal) {
      if (!AnswerPrintDialog(modal, pdf, {}, seen)) qobject_cast<QDialog*>(modal)->reject();
    });
    EXPECT_TRUE(Choose(ID_FILE_PRINT));
    return seen;
  }
  // File > Print Preview: what the preview paints goes into `shown` (on a
  // PDF printer set up as the print dialog `print` opened), then its Print
  // button is pressed and the print dialog that follows writes `printed`.
  // The preview's page count and orientation.
  std::pair<int, QPageLayout::Orientation> Preview(const Seen& print, const std::string& shown,
                                                   const std::string& printed) {
    int pages = -1;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    Seen seen;
    ModalHand hand([&](QWidget* modal) {
      if (AnswerPrintDialog(modal, printed, {}, seen)) return;
      auto* preview = modal->findChild<QPrintPreviewWidget*>();
      if (!preview) return qobject_cast<QDialog*>(modal)->reject();
      preview->updatePreview();
      pages = preview->pageCount();
      orientation = preview->orientation();
      QPrinter pdf(QPrinter::HighResolution);
      pdf.setOutputFormat(QPrinter::PdfFormat);
      pdf.setOutputFileName(QString::fromStdString(shown));
      pdf.setResolution(print.dpi);
      pdf.setPageLayout(print.layout);
      emit preview->paintRequested(&pdf);
      // The first sheets as the preview window shows them in Two Page, for people to look at.
      for (QAction* action : modal->findChildren<QAction*>())
        if (action->text().remove('&') == "Two Page") action->trigger();
      QApplication::processEvents();
      modal->grab().save(QString::fromStdString(shown.substr(0, shown.size() - 4) + "_window.png"));
      for (QAction* action : modal->findChildren<QAction*>())
        if (action->text().remove('&').startsWith("Print")) return action->trigger();
      qobject_cast<QDialog*>(modal)->reject();
    });
    EXPECT_TRUE(Choose(ID_FILE_PRINT_PREVIEW));
    return {pages, orientation};
  }

  CQOVADoc* doc_ = nullptr;
};

TEST_F(PrintPreviewWindowTest, ThePreviewHoldsThePagesFilePrintWritesAndItsPrintButtonPrintsThem) {
  CQOVAView* view = ShowTumour01();
  ASSERT_NE(view, nullptr);
  app_->m_printer = A4WithMargins();
  view->m_pDisplaySetting->PRINT.ONE_ALL = view->m_pDisplaySetting->PRINT.ONE_EACH = 0;
  view->m_pDisplaySetting->PRINT.ONE_MULTI = 0;

  enum class Shows { Genome, Chromosome8, FragmentPlot, Grid, Integral, Graph };
  const struct {
    const char* name;
    Shows shows;
    bool onePage;
    int pages;  // File > Print's page count
  } cases[] = {
      {"genome_tiled", Shows::Genome, false, 4},
      {"genome_one_page", Shows::Genome, true, 1},
      {"chr8_tiled", Shows::Chromosome8, false, 1},
      {"fragment_plot", Shows::FragmentPlot, false, 1},
      {"grid_tiled", Shows::Grid, false, 7},
      {"integral_tiled", Shows::Integral, false, 27},
      {"graph", Shows::Graph, false, 1},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    if (k.shows == Shows::Chromosome8 && !(view->m_nViewFlags & VIEW_ONE_CHROMOSOME)) {
      ModalHand chooser([](QWidget* modal) {
        for (QRadioButton* radio : modal->findChildren<QRadioButton*>())
          if (radio->text() == "Ch8") QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
        QTest::mouseClick(modal->findChild<QPushButton*>(QString::number(IDOK)), Qt::LeftButton);
      });
      ASSERT_TRUE(Choose(res::kCmdEachChromosome));
      ASSERT_EQ(view->m_nChromosome, 8);
    }
    if (k.shows != Shows::Chromosome8 && (view->m_nViewFlags & VIEW_ONE_CHROMOSOME)) {
      ASSERT_TRUE(Choose(res::kCmdAllGenome));
    }
    if ((k.shows == Shows::FragmentPlot) != bool(view->m_nViewFlags & VIEW_FRAGMENT_PLOT)) {
      ASSERT_TRUE(Choose(res::kCmdFragmentLengthPlot));
    }
    if (k.shows == Shows::Graph) {
      const std::string graph = Path("graph6.txt");
      ASSERT_TRUE(platform::WriteWholeFile(graph, PatternChangeText(6)));
      ASSERT_NE(app_->OpenDocumentFile(graph.c_str()), nullptr);
    }
    if (k.shows == Shows::Grid) {
      ShowGrid(*view, {"Tumour01.CFS", "Tumour02.CFN", "Tumour01.CFS", "Tumour02.CFN"});
      ASSERT_TRUE(view->m_nViewFlags & VIEW_MULTIPLE);
    }
    if (k.shows == Shows::Integral) {
      auto integration = std::make_shared<IntegrationData>(doc_->Global());
      integration->Mode = "AddDel";
      integration->Order = "ID";
      integration->Title = "Family";
      integration->SampleNames = {"Tumour01", "Tumour02"};
      integration->Segments = {{0, 10000000, 40000000, 1, 1}, {1, 20000000, 60000000, 1, 3},
                               {0, 5000000, 9000000, 8, 2}, {1, 1000000, 90000000, 23, 4}};
      doc_->Integration = integration;
      doc_->Status = kStatusIntegrate;
      view->OnInitialUpdate();
      ASSERT_TRUE(view->m_nViewFlags & VIEW_INTEGRATE);
    }
    view->m_pDisplaySetting->PRINT.ONE_ALL = view->m_pDisplaySetting->PRINT.ONE_EACH = k.onePage ? 1 : 0;

    const std::string name = k.name;
    const std::string print = Artefact(name + "_print"), shown = Artefact(name + "_preview");
    const std::string printed = Artefact(name + "_preview_print");
    const Seen seen = PrintTo(print);
    EXPECT_EQ(seen.sheet, "A4");
    const auto [previewPages, orientation] = Preview(seen, shown, printed);

    const RenderedPages fromPrint = Render(print), fromPreview = Render(shown), fromButton = Render(printed);
    ASSERT_EQ(fromPrint.sheets.size(), std::size_t(k.pages));
    EXPECT_EQ(previewPages, k.pages);
    EXPECT_EQ(orientation, QPageLayout::Portrait);
    ASSERT_EQ(fromPreview.sheets.size(), fromPrint.sheets.size());
    ASSERT_EQ(fromButton.sheets.size(), fromPrint.sheets.size());
    for (std::size_t p = 0; p < fromPrint.sheets.size(); ++p) {
      SCOPED_TRACE("page " + std::to_string(p + 1));
      // A4 at 50 dpi.
      EXPECT_NEAR(fromPrint.sheets[p].width(), 413, 1);
      EXPECT_NEAR(fromPrint.sheets[p].height(), 585, 1);
      EXPECT_EQ(fromPreview.sheets[p], fromPrint.sheets[p]);
      EXPECT_EQ(fromButton.sheets[p], fromPrint.sheets[p]);
      const QRect inked = fromPrint.inked[p];
      ASSERT_FALSE(inked.isEmpty());
      // The drawing of the printable area, and nothing in the margins around it.
      EXPECT_GE(inked.left(), kMarginAt50Dpi - 1);
      EXPECT_GE(inked.top(), kMarginAt50Dpi - 1);
      EXPECT_LE(inked.right(), fromPrint.sheets[p].width() - kMarginAt50Dpi);
      EXPECT_LE(inked.bottom(), fromPrint.sheets[p].height() - kMarginAt50Dpi);
      for (const QRect& other : {fromPreview.inked[p], fromButton.inked[p]}) {
        EXPECT_NEAR(other.left(), inked.left(), 1);
        EXPECT_NEAR(other.top(), inked.top(), 1);
        EXPECT_NEAR(other.right(), inked.right(), 1);
        EXPECT_NEAR(other.bottom(), inked.bottom(), 1);
      }
    }
  }
}

// The grid of Ch1 with one, two and five rows, printed on one page and
// tiled, upright on a sheet with margins and across one without: on every
// page, and in the preview, the ruler's labels as the printer's fonts write
// them stand apart, read the values of ticks one step apart, lie whole
// within the printable area and beneath the title.
TEST_F(PrintPreviewWindowTest, TheGridsPrintedRulerLabelsStandApartWholeAndBeneathTheTitle) {
  CQOVAView* view = ShowTumour01();
  ASSERT_NE(view, nullptr);
  platform::ui::PrinterSettings across{"", 1754, 1240, 150, {}};
  const struct {
    const char* name;
    std::vector<const char*> rows;
    bool onePage;
    bool upright;
  } cases[] = {
      {"grid_1_row_onepage_portrait", {"Tumour01.CFS"}, true, true},
      {"grid_1_row_tiled_portrait", {"Tumour01.CFS"}, false, true},
      {"grid_1_row_onepage_landscape", {"Tumour01.CFS"}, true, false},
      {"grid_1_row_tiled_landscape", {"Tumour01.CFS"}, false, false},
      {"grid_2_rows_onepage_portrait", {"Tumour02.CFN", "Tumour02.CFN"}, true, true},
      {"grid_2_rows_tiled_portrait", {"Tumour02.CFN", "Tumour02.CFN"}, false, true},
      {"grid_2_rows_onepage_landscape", {"Tumour02.CFN", "Tumour02.CFN"}, true, false},
      {"grid_2_rows_tiled_landscape", {"Tumour02.CFN", "Tumour02.CFN"}, false, false},
      {"grid_5_rows_onepage_portrait", std::vector<const char*>(5, "Tumour02.CFN"), true, true},
      {"grid_5_rows_tiled_portrait", std::vector<const char*>(5, "Tumour02.CFN"), false, true},
      {"grid_5_rows_onepage_landscape", std::vector<const char*>(5, "Tumour02.CFN"), true, false},
      {"grid_5_rows_tiled_landscape", std::vector<const char*>(5, "Tumour02.CFN"), false, false},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    app_->m_printer = k.upright ? A4WithMargins() : across;
    ShowGrid(*view, k.rows);
    ASSERT_TRUE(view->m_nViewFlags & VIEW_MULTIPLE);
    ASSERT_TRUE(view->m_nViewFlags & VIEW_ONE_CHROMOSOME);
    ASSERT_EQ(view->m_nChromosome, 1);
    view->m_pDisplaySetting->PRINT.ONE_MULTI = k.onePage ? 1 : 0;

    const std::string print = Artefact(std::string(k.name) + "_print"), shown = Artefact(std::string(k.name) + "_preview");
    const Seen seen = PrintTo(print);
    Preview(seen, shown, Artefact(std::string(k.name) + "_preview_print"));
    (void)Render(print);
    (void)Render(shown);
    const platform::ui::PrinterSettings& printer = app_->m_printer;
    const double left = printer.offsetX * 72.0 / printer.dpi, right = (printer.offsetX + printer.width) * 72.0 / printer.dpi;
    for (const std::string& pdf : {print, shown}) {
      SCOPED_TRACE(pdf);
      const std::vector<PrintedPage> pages = PrintedWords(pdf);
      ASSERT_FALSE(pages.empty()) << "pdftotext (poppler-utils) is needed";
      const auto number = [](const QString& word) {
        return !word.isEmpty() && std::all_of(word.begin(), word.end(), [](QChar c) { return c.isDigit(); });
      };
      const auto titleOf = [](const PrintedPage& page) {
        return std::find_if(page.words.begin(), page.words.end(), [](const auto& word) { return word.first == "Ch1"; });
      };
      // The header is drawn at the top of the pages of the first row; on the
      // first page, where the rows begin beneath it, the numbers in the band
      // under the title are the ruler's labels, and give their line and
      // height. Pages further down hold rows only.
      ASSERT_NE(titleOf(pages[0]), pages[0].words.end());
      const QRectF firstTitle = titleOf(pages[0])->second;
      QRectF ruler;
      for (const auto& word : pages[0].words)
        if (number(word.first) && word.second.top() < firstTitle.top() + 3 * firstTitle.height() &&
            (ruler.isNull() || word.second.top() < ruler.top()))
          ruler = word.second;
      ASSERT_FALSE(ruler.isNull());
      int labelled = 0;
      for (std::size_t p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE("page " + std::to_string(p + 1));
        const auto title = titleOf(pages[p]);
        if (title == pages[p].words.end()) {
          EXPECT_FALSE(k.onePage);
          continue;
        }
        const QRectF band = title->second;
        std::vector<std::pair<QString, QRectF>> labels;
        for (const auto& word : pages[p].words) {
          const bool onRuler = std::abs(word.second.top() - ruler.top()) < 0.5 &&
                               std::abs(word.second.height() - ruler.height()) < 0.5;
          if (number(word.first) && onRuler) labels.push_back(word);
          // Nothing of the rows is printed over the title and the ruler.
          else if (word.first != "Ch1" && word.second.top() < ruler.bottom())
            ADD_FAILURE() << word.first.toStdString() << " lies over the header";
        }
        std::sort(labels.begin(), labels.end(), [](const auto& a, const auto& b) { return a.second.left() < b.second.left(); });
        labelled += labels.size() >= 2;
        long long step = 0;
        for (std::size_t i = 0; i < labels.size(); ++i) {
          const auto& [text, box] = labels[i];
          SCOPED_TRACE(text.toStdString());
          EXPECT_TRUE(text == "0" || !text.startsWith('0'));
          EXPECT_GE(box.left(), left - 0.5);
          EXPECT_LE(box.right(), right + 0.5);
          EXPECT_LE(band.bottom(), box.top() + 0.5);
          if (i == 0) continue;
          const auto& [beforeText, before] = labels[i - 1];
          EXPECT_LE(before.right() + box.height() / 4, box.left());
          const long long difference = text.toLongLong() - beforeText.toLongLong();
          if (i == 1) step = difference;
          EXPECT_EQ(difference, step);
          long long digit = difference;
          while (digit > 0 && digit % 10 == 0) digit /= 10;
          EXPECT_TRUE(digit > 0 && digit < 10) << difference;
        }
      }
      EXPECT_GE(labelled, 1);
    }
  }
}

// The grid of Tumour01 and Tumour02, over the genome and of Ch3, printed
// tiled at 100, 300 and 1000 on A4 at 600 dpi, and of Ch3 at 1000 across a
// sheet with margins: every sheet that shows enough of a row to hold its
// name has it once, whole within the printable area and within the part of
// the sheet the row takes, at its top; where the window's place of the name
// fits the sheet it stands there, at one x on every sheet, else it ends at
// the sheet's right edge. No sheet names a row it does not show.
TEST_F(PrintPreviewWindowTest, TheGridsRowNamesStandWholeOnEverySheetOfTheirRows) {
  CQOVAView* view = ShowTumour01();
  ASSERT_NE(view, nullptr);
  platform::ui::PrinterSettings across{"", 6536, 4481, 600, {}};
  across.paperWidth = 7016;
  across.paperHeight = 4961;
  across.offsetX = across.offsetY = 240;
  const platform::ui::PrinterSettings upright{"", 4961, 7016, 600, {}};
  const int items = view->m_pDisplaySetting->ITEMS.MULTI;
  const struct {
    const char* name;
    bool genome;
    int size;  // Print: Multiple view, x and y
    const platform::ui::PrinterSettings& printer;
    int pages;
    bool movedIn;  // the names' place lies beyond the right edge
    int items;     // of the grid of one chromosome
  } cases[] = {
      {"grid_names_genome_100", true, 100, upright, 2, false, items},
      {"grid_names_genome_300", true, 300, upright, 5, false, items},
      {"grid_names_genome_1000", true, 1000, upright, 17, true, items},
      {"grid_names_ch3_100", false, 100, upright, 3, false, items},
      {"grid_names_ch3_300", false, 300, upright, 7, false, items},
      {"grid_names_ch3_1000", false, 1000, upright, 44, true, items},
      {"grid_names_ch3_1000_across", false, 1000, across, 51, true, items},
      // Rows without panels, so low that the page's height makes the names
      // wider than the sheet: they are written smaller, across it.
      {"grid_names_ch3_100_no_panels", false, 100, upright, 3, true, 0},
      // Without the bands in the header the first row ends just below the
      // foot of the first row of pages.
      {"grid_names_ch3_600_across_no_bands", false, 600, across, 20, false, items & ~0x200},
  };
  int slivers = 0;  // sheets that show a row too little to hold its name
  const std::vector<const char*> rows = {"Tumour01.CFS", "Tumour02.CFN"};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    app_->m_printer = k.printer;
    ShowGrid(*view, rows);
    if (k.genome && (view->m_nViewFlags & VIEW_ONE_CHROMOSOME)) {
      ASSERT_TRUE(Choose(res::kCmdAllGenome));
    } else if (!k.genome && !(view->m_nViewFlags & VIEW_ONE_CHROMOSOME)) {
      ModalHand chooser([](QWidget* modal) {
        for (QRadioButton* radio : modal->findChildren<QRadioButton*>())
          if (radio->text() == "Ch3") QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
        QTest::mouseClick(modal->findChild<QPushButton*>(QString::number(IDOK)), Qt::LeftButton);
      });
      ASSERT_TRUE(Choose(res::kCmdEachChromosome));
    }
    ASSERT_EQ(bool(view->m_nViewFlags & VIEW_ONE_CHROMOSOME), !k.genome);
    if (!k.genome) {
      ASSERT_EQ(view->m_nChromosome, 3);
    }
    // As View Setting leaves the items, for the grid's next layout.
    view->m_pDisplaySetting->ITEMS.MULTI = k.items;
    view->LayoutMultipleView();
    view->UpdateLayout();
    view->m_pDisplaySetting->PRINT.MULTI_X = view->m_pDisplaySetting->PRINT.MULTI_Y = k.size;
    view->m_pDisplaySetting->PRINT.ONE_MULTI = 0;
    const std::string print = Artefact(std::string(k.name) + "_print");
    PrintTo(print);
    (void)Render(print);
    const std::vector<PrintedPage> pages = PrintedWords(print);
    ASSERT_FALSE(pages.empty()) << "pdftotext (poppler-utils) is needed";
    EXPECT_EQ(int(pages.size()), k.pages);

    // Where each row lies on each sheet: the print's rows of pages, as the
    // view's page grid spreads the grid's height over them.
    const platform::ui::PrinterSettings& printer = app_->m_printer;
    platform::ui::RecordingSurface surface(platform::ui::PrinterCaps(printer));
    CDC dc(&surface);
    const views::PrintPlan plan = view->PrintPlanFor(&dc);
    const CSize extent = view->ComputePageLayout(), page(printer.width, printer.height);
    const auto points = [&](long long pixels, int offset) { return (offset + pixels) * 72.0 / printer.dpi; };
    const double left = points(0, printer.offsetX), right = points(printer.width, printer.offsetX);
    const double top = points(0, printer.offsetY), bottom = points(printer.height, printer.offsetY);
    std::vector<std::pair<int, int>> bands;  // logical top and bottom of each row
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const int rowTop = view->m_nChromosomeY[0] + view->m_aMultiOrder[i];
      bands.emplace_back(rowTop, rowTop + (doc_->LoadedResults[i]->IsSelf ? view->m_nMultiSelfRowHeight
                                                                          : view->m_nMultiNonSelfRowHeight));
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const QString name = QString::fromStdString(doc_->LoadedResults[i]->Header.SampleName);
      SCOPED_TRACE(name.toStdString());
      // The name's height, from where it is printed.
      double height = 0;
      for (const PrintedPage& p : pages)
        for (const auto& word : p.words)
          if (word.first == name) height = std::max(height, word.second.height());
      if (height <= 0) {
        ADD_FAILURE() << "no sheet names the row";
        continue;
      }
      std::optional<double> place;  // the left of the name where it stands at its place
      int named = 0;
      for (std::size_t n = 0; n < pages.size(); ++n) {
        SCOPED_TRACE("page " + std::to_string(n + 1));
        const ViewMapping mapping = views::PrintPageMapping(plan, extent, page, (long long)n + 1);
        const double rowTop = points(std::clamp<long long>(mapping.ToDeviceY(bands[i].first), 0, printer.height), printer.offsetY);
        const double rowBottom = points(std::clamp<long long>(mapping.ToDeviceY(bands[i].second), 0, printer.height), printer.offsetY);
        std::vector<QRectF> found;
        for (const auto& word : pages[n].words)
          if (word.first == name) found.push_back(word.second);
        if (rowBottom <= rowTop) {
          EXPECT_TRUE(found.empty()) << "on a sheet without its row";
          continue;
        }
        slivers += rowBottom - rowTop < height;
        if (rowBottom - rowTop >= 2 * height) {
          EXPECT_EQ(found.size(), 1u);
        }
        for (const QRectF& box : found) {
          ++named;
          EXPECT_GE(box.left(), left - 0.5);
          EXPECT_LE(box.right(), right + 0.5);
          EXPECT_GE(box.top(), std::max(top, rowTop) - 0.5);
          EXPECT_LE(box.bottom(), std::min(bottom, rowBottom) + 0.5);
          EXPECT_LE(box.top(), rowTop + height / 2) << "below its row's top";
          if (k.movedIn) {
            EXPECT_NEAR(box.right(), right, 1.0);
          } else {
            EXPECT_LT(box.right(), right - 1.0);
            if (!place) place = box.left();
            EXPECT_NEAR(box.left(), *place, 0.5);
          }
        }
      }
      EXPECT_GE(named, int(pages.size()) / 2);
    }
  }
  EXPECT_GT(slivers, 0);
}

// File > Print's copies, collated or not, its Reverse and its range of
// pages are the pages of the PDF it writes, each on the program's sheet;
// a range past the last page writes no file and says why.
TEST_F(PrintPreviewWindowTest, TheCopiesOrderAndPagesChosenInFilePrintAreThePdfsPages) {
  CQOVAView* view = ShowTumour01();
  ASSERT_NE(view, nullptr);
  app_->m_printer = A4WithMargins();
  struct Choice {
    int copies = 1;
    bool collate = true;
    bool reverse = false;
    int from = 0, to = 0;  // Pages from .. to, or 0 for Print all
  };
  const struct {
    const char* name;
    bool onePage;  // the genome on one page, else tiled over four
    Choice choice;
    std::vector<int> pages;  // the PDF's, by page number
    const char* message;
  } cases[] = {
      {"tiled", false, {}, {1, 2, 3, 4}, nullptr},
      {"one_page", true, {}, {1}, nullptr},
      {"one_page_2_copies", true, {2}, {1, 1}, nullptr},
      {"tiled_3_copies_collated", false, {3, true}, {1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4}, nullptr},
      {"tiled_2_copies_not_collated", false, {2, false}, {1, 1, 2, 2, 3, 3, 4, 4}, nullptr},
      {"tiled_reverse", false, {1, true, true}, {4, 3, 2, 1}, nullptr},
      {"tiled_pages_2_3_reverse_2_copies", false, {2, true, true, 2, 3}, {3, 2, 3, 2}, nullptr},
      {"tiled_pages_3_9", false, {1, true, false, 3, 9}, {3, 4}, nullptr},
      {"tiled_pages_7_9", false, {1, true, false, 7, 9}, {},
       "Pages 7 to 9 are not in this print, which has 4 pages: nothing was printed."},
  };
  // Each page's words, as the first print of the mode wrote it once.
  std::map<bool, std::vector<QString>> once;
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    view->m_pDisplaySetting->PRINT.ONE_ALL = k.onePage ? 1 : 0;
    const std::string pdf = Artefact(std::string("choice_") + k.name);
    ModalHand hand([&](QWidget* modal) {
      auto* dialog = qobject_cast<QPrintDialog*>(modal);
      if (!dialog) return qobject_cast<QDialog*>(modal)->reject();
      dialog->findChild<QSpinBox*>("copies")->setValue(k.choice.copies);
      dialog->findChild<QCheckBox*>("collate")->setChecked(k.choice.collate);
      dialog->findChild<QCheckBox*>("reverse")->setChecked(k.choice.reverse);
      if (k.choice.from > 0) {
        dialog->findChild<QRadioButton*>("printRange")->click();
        dialog->findChild<QSpinBox*>("from")->setValue(k.choice.from);
        dialog->findChild<QSpinBox*>("to")->setValue(k.choice.to);
      }
      dialog->findChild<QLineEdit*>("filename")->setText(QString::fromStdString(pdf));
      dialog->accept();
    });
    const std::size_t boxes = demo_.Shown().size();
    ASSERT_TRUE(Choose(ID_FILE_PRINT));
    std::vector<std::string> shown = demo_.Shown();
    shown.erase(shown.begin(), shown.begin() + std::ptrdiff_t(boxes));
    EXPECT_EQ(shown, k.message ? std::vector<std::string>{k.message} : std::vector<std::string>{});
    if (k.pages.empty()) {
      EXPECT_FALSE(std::filesystem::exists(pdf));
      continue;
    }
    (void)Render(pdf);
    std::vector<QString> words;
    for (const PrintedPage& page : PrintedWords(pdf)) {
      // A4, whatever the copies and the order.
      EXPECT_NEAR(page.size.width(), 595.3, 0.5);
      EXPECT_NEAR(page.size.height(), 841.9, 0.5);
      QStringList texts;
      for (const auto& word : page.words) texts << word.first;
      words.push_back(texts.join(' '));
    }
    std::vector<QString>& pages = once[k.onePage];
    if (pages.empty()) {
      pages = words;
      ASSERT_EQ(std::set<QString>(pages.begin(), pages.end()).size(), k.pages.size()) << "pages that read alike";
    }
    std::vector<int> numbers;
    for (const QString& page : words)
      numbers.push_back(int(std::find(pages.begin(), pages.end(), page) - pages.begin()) + 1);
    EXPECT_EQ(numbers, k.pages);
  }
}

// The sheet, orientation and margins chosen in Print Setup, or in File >
// Print's own dialog, are what every later print dialog, print and preview
// start from, until either changes them again.
TEST_F(PrintPreviewWindowTest, TheSheetChosenInPrintSetupOrFilePrintStaysWithEveryPrintAndPreviewUntilChanged) {
  CQOVAView* view = ShowTumour01();
  ASSERT_NE(view, nullptr);
  app_->m_printer = A4WithMargins();
  view->m_pDisplaySetting->PRINT.ONE_ALL = 1;

  constexpr double kA4Margin = 60 * 25.4 / 150;  // millimetres
  const QSizeF a4(595.3, 841.9), letter(612, 792);
  const QSizeF a4Across = a4.transposed(), letterAcross = letter.transposed();
  const struct {
    const char* name;
    UINT command;
    Pick pick;          // the choice in the dialog's Properties
    const char* shown;  // the orientation the dialog's Properties or the preview shows
    const char* sheetShown;  // the sheet the dialog's Properties shows
    QSizeF sheet;       // the PDF's or the preview's, points
    double margin;      // the printable area's distance from every edge of it, millimetres
  } steps[] = {
      {"print setup: landscape", ID_FILE_PRINT_SETUP, {"landscape"}, "portrait", "A4", {}, 0},
      {"print", ID_FILE_PRINT, {}, "landscape", "A4", a4Across, kA4Margin},
      {"print again", ID_FILE_PRINT, {}, "landscape", "A4", a4Across, kA4Margin},
      {"preview", ID_FILE_PRINT_PREVIEW, {}, "landscape", nullptr, a4Across, kA4Margin},
      {"print setup: portrait", ID_FILE_PRINT_SETUP, {"portrait"}, "landscape", "A4", {}, 0},
      {"print after portrait", ID_FILE_PRINT, {}, "portrait", "A4", a4, kA4Margin},
      {"print: letter, 20 mm", ID_FILE_PRINT, {nullptr, "Letter / ANSI A", 20}, "portrait", "A4", letter, 20},
      {"print after letter", ID_FILE_PRINT, {}, "portrait", "Letter / ANSI A", letter, 20},
      {"preview after letter", ID_FILE_PRINT_PREVIEW, {}, "portrait", nullptr, letter, 20},
      {"print: landscape", ID_FILE_PRINT, {"landscape"}, "portrait", "Letter / ANSI A", letterAcross, 20},
      {"preview after landscape", ID_FILE_PRINT_PREVIEW, {}, "landscape", nullptr, letterAcross, 20},
      {"print setup after print", ID_FILE_PRINT_SETUP, {}, "landscape", "Letter / ANSI A", {}, 0},
      {"print after print setup", ID_FILE_PRINT, {}, "landscape", "Letter / ANSI A", letterAcross, 20},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    std::string file = std::string("setup_") + step.name;
    std::replace_if(file.begin(), file.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    const std::string pdf = Artefact(file);
    Seen seen;
    int pages = -1;
    std::string previewed;
    QPageLayout previewLayout;
    ModalHand hand([&](QWidget* modal) {
      if (AnswerPrintDialog(modal, pdf, step.pick, seen)) return;
      if (auto* preview = modal->findChild<QPrintPreviewWidget*>()) {
        preview->updatePreview();
        previewed = preview->orientation() == QPageLayout::Landscape ? "landscape" : "portrait";
        pages = preview->pageCount();
      }
      if (auto* dialog = dynamic_cast<platform::qt::PrintPreviewDialog*>(modal))
        previewLayout = dialog->Printer().pageLayout();
      qobject_cast<QDialog*>(modal)->reject();
    });
    ASSERT_TRUE(Choose(step.command));
    if (step.command == ID_FILE_PRINT_PREVIEW) {
      EXPECT_EQ(previewed, step.shown);
      EXPECT_EQ(pages, 1);
      const QRectF sheet = previewLayout.fullRect(QPageLayout::Point);
      EXPECT_NEAR(sheet.width(), step.sheet.width(), 1);
      EXPECT_NEAR(sheet.height(), step.sheet.height(), 1);
      const QMarginsF margins = previewLayout.margins(QPageLayout::Millimeter);
      for (const double margin : {margins.left(), margins.top(), margins.right(), margins.bottom()})
        EXPECT_NEAR(margin, step.margin, 0.5);
      continue;
    }
    EXPECT_EQ(seen.orientation, step.shown);
    EXPECT_EQ(seen.sheet, step.sheetShown);
    // Print Setup prints nothing: its button is a setup box's OK.
    EXPECT_EQ(seen.ok, step.command == ID_FILE_PRINT_SETUP ? "OK" : "Print");
    if (step.sheet.isEmpty()) continue;
    const RenderedPages printed = Render(pdf);
    ASSERT_EQ(printed.sheets.size(), 1u);
    EXPECT_NEAR(printed.sheets[0].width(), step.sheet.width() * kRenderDpi / 72, 1);
    EXPECT_NEAR(printed.sheets[0].height(), step.sheet.height() * kRenderDpi / 72, 1);
    // The drawing fills the printable area from its corner, and stays inside it.
    const double margin = step.margin * kRenderDpi / 25.4;
    const QRect inked = printed.inked[0];
    EXPECT_NEAR(inked.left(), margin, 2);
    EXPECT_NEAR(inked.top(), margin, 3);
    EXPECT_LE(inked.right(), printed.sheets[0].width() - margin);
    EXPECT_LE(inked.bottom(), printed.sheets[0].height() - margin);
    // Each name of a row ends before the next begins, with a gap of at
    // least a twentieth of the distance between their starts.
    const QMap<QString, QRectF> names = PrintedNames(pdf);
    const auto nameOf = [](int c) { return c < 23 ? QString("Ch%1").arg(c) : QString("ChX"); };
    for (const auto& [from, to] : CViewLayout::kGenomeRows) {
      for (int c = from; c < to; ++c) {
        SCOPED_TRACE(nameOf(c).toStdString());
        ASSERT_TRUE(names.contains(nameOf(c)) && names.contains(nameOf(c + 1)));
        const QRectF name = names[nameOf(c)], next = names[nameOf(c + 1)];
        EXPECT_LE(name.right() + (next.left() - name.left()) / 20, next.left());
      }
    }
  }
  // Letter across at 150 dpi.
  EXPECT_EQ(app_->m_printer.paperWidth, 1650);
  EXPECT_EQ(app_->m_printer.paperHeight, 1275);
}

// A print into a PDF file, then Print Setup's OK pressed with nothing
// changed: Print Setup writes nothing, so it asks nothing about the file the
// print wrote, which keeps its bytes; the next File > Print offers that file
// again, and asks there whether to replace it.
TEST_F(PrintPreviewWindowTest, PrintSetupAfterAPrintIntoAFileAsksNothingAndTheNextPrintOffersTheFile) {
  CQOVAView* view = ShowTumour01();
  ASSERT_NE(view, nullptr);
  view->m_pDisplaySetting->PRINT.ONE_ALL = 1;
  const std::string pdf = Artefact("setup_after_print_to_file");
  const auto press = [](QWidget* dialog, QDialogButtonBox::StandardButton which) {
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_NE(buttons, nullptr);
    QTest::mouseClick(buttons->button(which), Qt::LeftButton);
  };
  // What each print dialog offered as its file, and every question asked, in order.
  std::vector<std::string> offered, questions;
  const auto answer = [&](const char* file, QDialogButtonBox::StandardButton button) {
    return [&, file, button](QWidget* modal) {
      if (auto* question = qobject_cast<QMessageBox*>(modal)) {
        questions.push_back(question->text().toStdString());
        // Yes lets the dialog close, so that a question asked fails the test and not the run.
        return QTest::mouseClick(question->button(QMessageBox::Yes), Qt::LeftButton);
      }
      if (!qobject_cast<QPrintDialog*>(modal)) return qobject_cast<QDialog*>(modal)->reject();
      auto* name = modal->findChild<QLineEdit*>("filename");
      offered.push_back(name->text().toStdString());
      if (file) name->setText(QString::fromStdString(file));
      press(modal, button);
    };
  };
  {
    ModalHand hand(answer(pdf.c_str(), QDialogButtonBox::Ok));
    ASSERT_TRUE(Choose(ID_FILE_PRINT));
  }
  ASSERT_TRUE(std::filesystem::exists(pdf));
  std::string printed;
  ASSERT_TRUE(platform::ReadWholeFile(pdf, printed));
  const auto modified = std::filesystem::last_write_time(pdf);
  {
    ModalHand hand(answer(nullptr, QDialogButtonBox::Ok));
    ASSERT_TRUE(Choose(ID_FILE_PRINT_SETUP));
  }
  EXPECT_EQ(questions, std::vector<std::string>{});
  std::string after;
  ASSERT_TRUE(platform::ReadWholeFile(pdf, after));
  EXPECT_TRUE(after == printed) << "the PDF changed";
  EXPECT_EQ(std::filesystem::last_write_time(pdf), modified);
  EXPECT_EQ(app_->m_printer.outputFile, pdf);
  {
    ModalHand hand(answer(nullptr, QDialogButtonBox::Cancel));
    ASSERT_TRUE(Choose(ID_FILE_PRINT));
  }
  ASSERT_EQ(offered.size(), 3u);
  EXPECT_EQ(offered[2], pdf);
  // The print that replaces the file asks first, as before.
  questions.clear();
  {
    ModalHand hand(answer(nullptr, QDialogButtonBox::Ok));
    ASSERT_TRUE(Choose(ID_FILE_PRINT));
  }
  EXPECT_EQ(questions, std::vector<std::string>{pdf + " already exists.\nDo you want to overwrite it?"});
}

}  // namespace
}  // namespace qova::test
#endif
