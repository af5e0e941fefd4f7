// Printing of the main view through the framework's print job: the page
// count, the tiles each page shows (left to right, then top to bottom, each
// page's height filled), one page with the one-page switch, and the screen's
// mapping put back. Where the windowed interface is built the pages also go
// into PDF files and pictures under <build>/artefacts/print, and a page that
// poppler renders from its PDF is looked at as the screen would show it.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <tuple>

#include "platform/Strings.h"
#include "platform/ui/DC.h"
#include "platform/ui/Headless.h"
#include "platform/ui/UserInput.h"
#include "resources/CommandIds.h"
#include "resources/ViewDialogs.h"
#include "tests/views/PrintArtefacts.h"
#include "tests/views/ViewTestSupport.h"
#include "views/ChSelectDlg.h"
#include "views/ViewNavigation.h"
#ifdef QOVA_RASTER_CANVAS
#include "platform/qt/PdfPages.h"
#include "platform/qt/RasterCanvas.h"
#endif

namespace views = qova::views;

namespace qova::test {
namespace {

using platform::ui::Headless;

// An A4 page at 150 dpi.
const platform::ui::PrinterSettings kPrinter{"Test printer", 1240, 1754, 150, {}};

class ViewPrintingTest : public ViewTest {
 protected:
  ViewPrintingTest() {
    Headless().OnPrintDialog([](platform::ui::PrintDialogRequest& request) {
      request.printer = kPrinter;
      return true;
    });
  }
  // File > Print (or Print Preview) of the framed view on `printer`; the
  // pages printed.
  const std::vector<platform::ui::Picture>& PrintOn(const platform::ui::PrinterSettings& printer,
                                                    bool preview = false) {
    Headless().OnPrintDialog([printer](platform::ui::PrintDialogRequest& request) {
      request.printer = printer;
      return true;
    });
    const std::size_t jobs = Headless().PrintJobs().size();
    EXPECT_TRUE(platform::ui::input::ChooseCommand(Frame(), preview ? ID_FILE_PRINT_PREVIEW : ID_FILE_PRINT));
    EXPECT_EQ(Headless().PrintJobs().size(), jobs + 1);
    return Headless().PrintJobs().back().pages;
  }
  // The page count the view gives the framework before printing.
  static UINT CountedPages(CQOVAView& view) {
    platform::ui::RecordingSurface surface({kPrinter.width, kPrinter.height, kPrinter.dpi, kPrinter.dpi, true});
    CDC dc(&surface);
    CPrintInfo info;
    view.OnBeginPrinting(&dc, &info);
    return info.GetMaxPage();
  }
};

// Where the label of chromosome c lies on page `page`, in printer pixels.
const platform::ui::DrawRecord* Label(const platform::ui::Picture& page, int c) {
  return page.FindText(c < 23 ? platform::Format("Ch%d", c) : std::string("ChX"));
}

bool OnPage(const platform::ui::DrawRecord& r) {
  return r.x1 >= 0 && r.x1 < kPrinter.width && r.y1 >= 0 && r.y1 < kPrinter.height;
}

TEST_F(ViewPrintingTest, AGenomeTiledOverPagesLeftToRightThenDownAndTheScreenKeepsItsPlace) {
  Open("Tumour01", ".CFS");
  CQOVAView& view = FramedView();
  // The screen's proportions, three times as large.
  view.m_pDisplaySetting->PRINT.ALL_X = 300;
  view.m_pDisplaySetting->PRINT.ALL_Y = 60;
  view.m_nScrollY = 700;
  view.m_nSizeX = 130;
  const ViewMapping screen = view;

  const CSize extent = view.ComputePageLayout();
  // The pages keep room before the first column for the axis labels.
  platform::ui::RecordingSurface surface({kPrinter.width, kPrinter.height, kPrinter.dpi, kPrinter.dpi, true});
  CDC dc(&surface);
  const int room = view.PrintPlanFor(&dc).leftRoom;
  const views::PageGrid grid = views::PrintPageGrid(extent, {kPrinter.width, kPrinter.height}, {300, 60}, 200, room);
  ASSERT_GT(grid.columns, 1);
  ASSERT_GT(grid.rows, 1);
  const std::vector<platform::ui::Picture>& pages = PrintOn(kPrinter);
  ASSERT_EQ(pages.size(), std::size_t(grid.Count()));
  EXPECT_EQ(CountedPages(view), pages.size());
  EXPECT_EQ(view.m_nScrollY, screen.m_nScrollY);
  EXPECT_EQ(view.m_nSizeX, screen.m_nSizeX);
  EXPECT_EQ(view.m_nScaleX, screen.m_nScaleX);
  EXPECT_EQ(view.m_nScaleY, screen.m_nScaleY);

  // Each chromosome's label is on the page of its tile, and on no other.
  const int gap = view.m_nChromosomeX[0];
  for (int c = 1; c <= 23; ++c) {
    const long long x = view.m_nChromosomeX[c] - gap / 2, y = view.m_nChromosomeY[c] + 200;
    const long long column = (room + x * grid.printedWidth / 200) / kPrinter.width;
    const long long row = y * grid.printedHeight / (200LL * kPrinter.height);
    const std::size_t expected = std::size_t(row * grid.columns + column);
    for (std::size_t p = 0; p < pages.size(); ++p) {
      const platform::ui::DrawRecord* label = Label(pages[p], c);
      ASSERT_NE(label, nullptr) << c;
      EXPECT_EQ(OnPage(*label), p == expected) << "chromosome " << c << " page " << p + 1;
    }
  }
  EXPECT_EQ(KeepPages(pages, "genome_tiled"), int(pages.size()));
}

TEST_F(ViewPrintingTest, TheOnePageSwitchFitsTheWholeGenomeOntoOnePage) {
  Open("Tumour01", ".CFS");
  CQOVAView& view = FramedView();
  view.m_pDisplaySetting->PRINT.ONE_ALL = 1;
  view.m_pDisplaySetting->PRINT.ALL_X = 2000;
  EXPECT_EQ(CountedPages(view), 1u);
  const std::vector<platform::ui::Picture>& pages = PrintOn(kPrinter);
  ASSERT_EQ(pages.size(), 1u);
  for (int c = 1; c <= 23; ++c) {
    const platform::ui::DrawRecord* label = Label(pages[0], c);
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(OnPage(*label)) << c;
  }
  // The last chromosome reaches close to the right edge of the page.
  const CSize extent = view.ComputePageLayout();
  const long long right = 1LL * (extent.cx) * (200LL * kPrinter.width / extent.cx) / 200;
  EXPECT_GT(right, kPrinter.width * 9 / 10);
  EXPECT_EQ(KeepPages(pages, "genome_onepage"), 1);
}

TEST_F(ViewPrintingTest, PageCountsStayRightOnTheBaseAxisAndWithZeroPrintedSizes) {
  // The genome on the base axis is about 3 x 10^8 ten-base units wide: its
  // product with the printed size does not fit 32 bits.
  const CSize extent{301908000 + 6 * 500000, 6 * 1350};
  const views::PageGrid grid = views::PrintPageGrid(extent, {4960, 7016}, {100, 100}, 200000);
  EXPECT_EQ(grid.columns, 100LL * extent.cx / 4960 / 200000 + 1);
  EXPECT_EQ(grid.columns, 31);
  EXPECT_EQ(grid.rows, 1);
  // The drawing then fills the 31 pages across and the page down.
  EXPECT_EQ(grid.printedWidth, 31LL * 4960 * 200000 / extent.cx);
  EXPECT_EQ(grid.printedHeight, 7016 * 200 / extent.cy);
  // Printed sizes below 1 count as 1 pixel; a drawing that fills its pages
  // exactly (2000 units across at 1 pixel per 200 on pages 10 pixels wide)
  // takes no blank page more.
  const views::PageGrid zero = views::PrintPageGrid({2000, 8100}, {10, 10}, {0, -5}, 200);
  EXPECT_EQ(std::pair(zero.columns, zero.rows), std::pair(1LL, 5LL));
  EXPECT_EQ(std::pair(zero.printedWidth, zero.printedHeight), std::pair(1, 1));

  Open("Tumour01", ".CFS");
  CQOVAView& view = FramedView();
  view.m_nViewFlags |= VIEW_BASE_INTERVAL;
  view.ComputeRowHeight();
  const CSize base = view.ComputePageLayout();
  const views::PageGrid expected = views::PrintPageGrid(base, {kPrinter.width, kPrinter.height}, {100, 100}, 200000);
  EXPECT_EQ(CountedPages(view), UINT(expected.Count()));
  EXPECT_EQ(expected.columns, 100LL * base.cx / kPrinter.width / 200000 + 1);
}

// The title line and the axis labels are written in fonts of the page's
// scale. On paper the title ends within the page, whole, on every page of a
// genome printed on one page and tiled and of chromosome 8 printed and
// previewed, smaller only as far as it must; a sheet wide enough takes it at
// its own size, and the screen keeps it as it was even where the window is
// too narrow for it. The axis labels of the first column of pages begin on
// the page.
TEST_F(ViewPrintingTest, PrintedPagesKeepTheTitleLineAndTheAxisLabelsWithinThePage) {
  Open("Tumour01", ".CFS");
  CQOVAView& view = FramedView();
  CChSelectDlg::ForgetOpenings();
  const platform::ui::PrinterSettings wide{"Wide printer", 4000, 1754, 150, {}};
  struct Case {
    const char* name;
    int chromosome;  // 0: the genome
    bool onePage;
    bool preview;
    platform::ui::PrinterSettings printer;
    bool fits;  // the title fits the page at its own size
  };
  const Case cases[] = {
      {"title_genome_onepage", 0, true, false, kPrinter, false},
      {"title_genome_tiled", 0, false, false, kPrinter, false},
      {"title_genome_wide_sheet", 0, true, false, wide, true},
      {"title_chr8_onepage", 8, true, false, kPrinter, false},
      {"title_chr8_tiled", 8, false, false, kPrinter, false},
      {"title_chr8_preview", 8, false, true, kPrinter, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    if (k.chromosome != 0 && !(view.m_nViewFlags & VIEW_ONE_CHROMOSOME)) {
      Headless().OnDialog(qova::resources::kChromosomeSelectDialog, [&k](platform::ui::DialogDriver& d) {
        d.Click(qova::resources::kChromosomeRadios[k.chromosome - 1]).Ok();
      });
      ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), qova::resources::kCmdEachChromosome));
      ASSERT_EQ(view.m_nChromosome, k.chromosome);
    }
    view.m_pDisplaySetting->PRINT.ONE_ALL = view.m_pDisplaySetting->PRINT.ONE_EACH = k.onePage ? 1 : 0;
    const std::vector<platform::ui::Picture>& pages = PrintOn(k.printer, k.preview);
    ASSERT_FALSE(pages.empty());
    const std::string title = view.SampleTitle();
    ASSERT_NE(title.find(k.chromosome ? "self reference : " : "SD="), std::string::npos) << title;
    const CSize page{pages[0].caps.width, pages[0].caps.height};
    const ViewMapping paper = views::PrintPageMapping(views::PrintPlanOf(view.m_pDisplaySetting->PRINT, view.m_nViewFlags),
                                                      view.ComputePageLayout(), page, 1);
    // 100 points on the genome, 50 on one chromosome, at the screen's 96 dpi.
    const int ownHeight = (k.chromosome ? 67 : 133) * paper.m_nSizeY / paper.m_nScaleY;
    for (std::size_t p = 0; p < pages.size(); ++p) {
      const platform::ui::DrawRecord* line = pages[p].FindText(title);
      ASSERT_NE(line, nullptr) << "page " << p + 1;
      EXPECT_EQ(line->x1, 0) << "page " << p + 1;
      EXPECT_LE(line->x1 + line->x2, page.cx) << "page " << p + 1;
      if (k.fits) {
        EXPECT_EQ(pages[p].FontOf(*line).height, ownHeight);
      } else {
        EXPECT_LT(pages[p].FontOf(*line).height, ownHeight);
        EXPECT_GT(line->x2, page.cx * 8 / 10) << "no smaller than it must be";
      }
    }
    // The labels of the copy-number and allele panels.
    platform::ui::RecordingSurface surface(pages[0].caps);
    CDC dc(&surface);
    EXPECT_GE(ExpectFirstColumnLabelsOnPaper(pages, view.PrintPages(&dc).columns, "0124"), 6);
    KeepPages(pages, k.name);
  }
  // The screen: the window's mapping, however narrow the window.
  platform::ui::RecordingCanvas narrow(300, 200);
  view.OnDraw(&narrow);
  const platform::ui::DrawRecord* shown = narrow.Contents().FindText(view.SampleTitle());
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(narrow.Contents().FontOf(*shown).height, 67 * view.m_nSizeY / view.m_nScaleY);
  EXPECT_GT(shown->x2, 300);
}

// A genome printed on one page, upright, across the sheet and at a finer
// resolution, and tiled: each chromosome's name ends before the next name of
// its row begins, a name that would reach it written smaller, and only as
// much as it must. The screen writes every name at its own size.
TEST_F(ViewPrintingTest, PrintedChromosomeNamesStandApartFromTheNextOfTheirRow) {
  Open("Tumour01", ".CFS");
  CQOVAView& view = FramedView();
  struct Case {
    const char* name;
    bool onePage;
    platform::ui::PrinterSettings printer;
    bool shrinks;  // some name has less room than its own size takes
  };
  const Case cases[] = {
      {"names_onepage", true, kPrinter, true},
      {"names_onepage_600dpi", true, {"PDF", 4960, 7016, 600, {}}, true},
      {"names_onepage_across", true, {"PDF", 1754, 1240, 150, {}}, false},
      {"names_tiled", false, kPrinter, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    view.m_pDisplaySetting->PRINT.ONE_ALL = k.onePage ? 1 : 0;
    const std::vector<platform::ui::Picture>& pages = PrintOn(k.printer);
    ASSERT_FALSE(pages.empty());
    int shrunk = 0;
    for (const platform::ui::Picture& page : pages) {
      const platform::ui::DrawRecord* first = Label(page, 1);
      ASSERT_NE(first, nullptr);
      const int ownHeight = page.FontOf(*first).height;
      for (const auto& [from, to] : CViewLayout::kGenomeRows) {
        for (int c = from; c < to; ++c) {
          const platform::ui::DrawRecord* name = Label(page, c);
          const platform::ui::DrawRecord* next = Label(page, c + 1);
          ASSERT_NE(name, nullptr);
          ASSERT_NE(next, nullptr);
          EXPECT_LT(name->x1 + name->x2, next->x1) << "Ch" << c;
          if (page.FontOf(*name).height < ownHeight) {
            ++shrunk;
            EXPECT_GT(name->x1 + name->x2, next->x1 - (next->x1 - name->x1) * 3 / 10) << "Ch" << c << " no smaller than it must be";
          }
        }
      }
    }
    EXPECT_EQ(shrunk > 0, k.shrinks);
    KeepPages(pages, k.name);
  }
  const platform::ui::Picture screen = Draw(view);
  const platform::ui::DrawRecord* first = Label(screen, 1);
  ASSERT_NE(first, nullptr);
  for (int c = 2; c <= 23; ++c) {
    const platform::ui::DrawRecord* name = Label(screen, c);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(screen.FontOf(*name).height, screen.FontOf(*first).height) << c;
  }
}

// The grey centre lines of the fragment-length plot's two panels, upper first.
std::vector<platform::ui::DrawRecord> PlotCentreLines(const platform::ui::Picture& picture) {
  std::vector<platform::ui::DrawRecord> lines;
  for (const platform::ui::DrawRecord& r : picture.records)
    if (r.op == platform::ui::DrawOp::Line && r.color == RGB(100, 100, 100) && r.y1 == r.y2) lines.push_back(r);
  return lines;
}

// The fragment-length plot prints on one page, printed or previewed, on a
// sheet upright or across: its two panels fill the page's width (or its
// height) in the proportions and with the labels' sizes the screen gives
// them, every label within the page. The screen draws as before.
TEST_F(ViewPrintingTest, TheFragmentLengthPlotPrintsOnOnePageScaledToThePage) {
  Open("Tumour02", ".CFN");
  CQOVAView& view = FramedView();
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), qova::resources::kCmdFragmentLengthPlot));
  ASSERT_TRUE(view.m_nViewFlags & VIEW_FRAGMENT_PLOT);
  const platform::ui::Picture screen = Draw(view);
  const std::vector<platform::ui::DrawRecord> shown = PlotCentreLines(screen);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(std::tuple(shown[0].x1, shown[0].x2, shown[0].y1, shown[1].y1), std::tuple(100, 700, 150, 400));
  const platform::ui::DrawRecord* screenLabel = screen.FindText("2000");
  ASSERT_NE(screenLabel, nullptr);
  const double screenFont = double(screen.FontOf(*screenLabel).height) / (shown[0].x2 - shown[0].x1);
  EXPECT_EQ(CountedPages(view), 1u);

  struct Case {
    const char* name;
    bool preview;
    platform::ui::PrinterSettings printer;
  };
  const Case cases[] = {
      {"fragment_plot_a4", false, kPrinter},
      {"fragment_plot_a4_across", false, {"Test printer", 1754, 1240, 150, {}}},
      {"fragment_plot_short_sheet", false, {"Test printer", 1240, 600, 150, {}}},
      {"fragment_plot_preview", true, kPrinter},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const std::vector<platform::ui::Picture>& pages = PrintOn(k.printer, k.preview);
    ASSERT_EQ(pages.size(), 1u);
    const platform::ui::Picture& page = pages[0];
    const CSize sheet{page.caps.width, page.caps.height};
    const std::vector<platform::ui::DrawRecord> lines = PlotCentreLines(page);
    ASSERT_EQ(lines.size(), 2u);
    const int width = lines[0].x2 - lines[0].x1, between = lines[1].y1 - lines[0].y1;
    // The frames take three quarters of the plot's width, the panels' centres
    // lie 500 of its 1,100 units apart: the plot reaches the page's right
    // edge or its foot.
    EXPECT_TRUE(width > sheet.cx * 7 / 10 || between > sheet.cy * 4 / 10) << width << " " << between;
    EXPECT_LE(lines[0].x2, sheet.cx);
    EXPECT_NEAR(double(width) / between, 600.0 / 250.0, 0.02);
    const platform::ui::DrawRecord* label = page.FindText("2000");
    ASSERT_NE(label, nullptr);
    EXPECT_NEAR(double(page.FontOf(*label).height) / width, screenFont, screenFont / 10);
    for (const platform::ui::DrawRecord& r : page.records) {
      if (r.op != platform::ui::DrawOp::Text) continue;
      EXPECT_GE(r.x1, 0) << page.TextOf(r);
      EXPECT_LE(r.x1 + r.x2, sheet.cx) << page.TextOf(r);
      EXPECT_LE(r.y1 + r.y2, sheet.cy) << page.TextOf(r);
    }
    EXPECT_EQ(KeepPages(pages, k.name), 1);
  }
  const platform::ui::Picture after = Draw(view);
  EXPECT_EQ(after.records, screen.records);
#ifdef QOVA_RASTER_CANVAS
  platform::qt::RasterCanvas canvas(kCanvasWidth, kCanvasHeight, RGB(255, 255, 255));
  view.OnDraw(&canvas);
  EXPECT_TRUE(canvas.SavePng(PrintArtefact("fragment_plot_screen.png")));
#endif
}

#ifdef QOVA_RASTER_CANVAS
// What a program of poppler-utils prints; empty when it cannot run.
std::string RunTool(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    if (::pclose(pipe) != 0) out.clear();
  }
  return out;
}

// A page rendered by poppler, as RGB rows, or the part of it from (left, top).
struct Rendered {
  int left = 0, top = 0;
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  [[nodiscard]] const unsigned char* At(int x, int y) const {
    x -= left;
    y -= top;
    if (x < 0 || y < 0 || x >= width || y >= height) return nullptr;
    return &rgb[(std::size_t(y) * width + x) * 3];
  }
  [[nodiscard]] bool Ink(int x, int y) const {
    const unsigned char* p = At(x, y);
    return p && p[0] + p[1] + p[2] < 3 * 200;
  }
  [[nodiscard]] bool Red(int x, int y) const {
    const unsigned char* p = At(x, y);
    return p && p[0] > 150 && p[1] < 120 && p[2] < 120;
  }
  [[nodiscard]] bool Green(int x, int y) const {
    const unsigned char* p = At(x, y);
    return p && p[1] > 150 && p[0] < 120 && p[2] < 120;
  }
  [[nodiscard]] bool Blue(int x, int y) const {
    const unsigned char* p = At(x, y);
    return p && p[2] > 150 && p[0] < 120 && p[1] < 120;
  }
};

// Page 1 of `pdf` rendered at `dpi` into <stem>.png for people and read back
// from <stem>.ppm; with `part`, only that part of it.
Rendered RenderFirstPage(const std::string& pdf, int dpi, const std::string& stem, std::optional<CRect> part = {}) {
  std::string common = "pdftoppm -r " + std::to_string(dpi) + " -f 1 -l 1 -singlefile";
  if (part)
    common += platform::Format(" -x %ld -y %ld -W %ld -H %ld", long(part->left), long(part->top), long(part->Width()),
                               long(part->Height()));
  RunTool(common + " '" + pdf + "' '" + stem + "'");
  RunTool(common + " -png '" + pdf + "' '" + stem + "'");
  Rendered page;
  if (part) {
    page.left = part->left;
    page.top = part->top;
  }
  std::ifstream in(stem + ".ppm", std::ios::binary);
  std::string magic;
  int maxValue = 0;
  in >> magic >> page.width >> page.height >> maxValue;
  in.get();
  if (magic != "P6" || maxValue != 255 || page.width <= 0 || page.height <= 0) return {};
  page.rgb.resize(std::size_t(page.width) * page.height * 3);
  in.read(reinterpret_cast<char*>(page.rgb.data()), std::streamsize(page.rgb.size()));
  return in ? page : Rendered{};
}

// The dots of `colour` on a printed page, counted by the device x they
// start at: where a unit of the drawing is wider than a device pixel, one x
// is one unit.
std::map<int, int> DotsByX(const platform::ui::Picture& page, COLORREF colour) {
  std::map<int, int> dots;
  for (const platform::ui::DrawRecord& r : page.records)
    if (r.op == platform::ui::DrawOp::Pixel && r.color == colour) ++dots[r.x1];
  return dots;
}

// The device x range of a cloud's dense part: from its first unit on, each
// next unit present with at least `least` dots; it ends where the next
// unit begins.
std::pair<int, int> DenseRun(const std::map<int, int>& dots, double unit, int least) {
  if (dots.empty() || dots.begin()->second < least) return {0, 0};
  auto it = dots.begin();
  const int first = it->first;
  for (auto next = std::next(it); next != dots.end(); it = next++)
    if (next->first - it->first > int(std::ceil(unit)) || next->second < least) return {first, next->first};
  return {first, it->first + int(std::ceil(unit))};
}

// Upright or across, on a whole A4 sheet as a PDF printer gives it and
// within margins, at 150 to 1200 dpi, the fragment-length plot prints as the
// screen draws it: its grid lines dash-dot and dash-dot-dot, and in each of
// its clouds every column of lengths that holds dots shows them. The PDF is
// rendered at 150, 300 and 600 dpi and read column by column over the
// cloud's dense part, from its shortest fragments to past 1,500 bases,
// leaving out the grid lines drawn over it.
TEST_F(ViewPrintingTest, TheFragmentLengthPlotPrintsEveryColumnOfItsCloudsUprightAndAcrossAtAnyResolution) {
  Open("Tumour01", ".CFS");
  FramedView();
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), qova::resources::kCmdFragmentLengthPlot));
  struct Case {
    const char* name;
    platform::ui::PrinterSettings printer;
  };
  const Case cases[] = {
      {"fragment_plot_upright_150", {"PDF", 1240, 1754, 150, {}}},
      {"fragment_plot_across_150", {"PDF", 1754, 1240, 150, {}}},
      {"fragment_plot_upright_300", {"PDF", 2480, 3508, 300, {}}},
      {"fragment_plot_across_300", {"PDF", 3508, 2480, 300, {}}},
      {"fragment_plot_upright_600", {"PDF", 4960, 7016, 600, {}}},
      {"fragment_plot_across_600", {"PDF", 7016, 4960, 600, {}}},
      {"fragment_plot_upright_1200", {"PDF", 9921, 14031, 1200, {}}},
      {"fragment_plot_across_1200", {"PDF", 14031, 9921, 1200, {}}},
      // Within margins of 0.4 and 0.14 inch.
      {"fragment_plot_upright_150_margins", {"Test printer", 1120, 1634, 150, {}}},
      {"fragment_plot_upright_1200_margins", {"PDF", 9583, 13699, 1200, {}}},
  };
  constexpr int kDense = 8;  // dots a unit holds in the cloud's dense part
  constexpr COLORREF kUpper = RGB(255, 0, 0), kLower = RGB(0, 255, 0);
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const std::vector<platform::ui::Picture>& pages = PrintOn(k.printer);
    ASSERT_EQ(pages.size(), 1u);
    const platform::ui::Picture& page = pages[0];
    std::map<int, int> grid;  // black lines by pen style
    std::vector<int> lengthLines;  // the device x of the lines at 0, 500, ... 2,000 bases
    for (const platform::ui::DrawRecord& r : page.records) {
      if (r.op != platform::ui::DrawOp::Line || r.color != RGB(0, 0, 0)) continue;
      ++grid[r.penStyle];
      if (r.x1 == r.x2) lengthLines.push_back(r.x1);
    }
    EXPECT_EQ(grid, (std::map<int, int>{{PS_DASHDOT, 14}, {PS_DASHDOTDOT, 4}}));
    const std::vector<platform::ui::DrawRecord> centres = PlotCentreLines(page);
    ASSERT_EQ(centres.size(), 2u);
    // Device pixels of the plot's logical units, from the upper frame's centre line.
    const double unitX = (centres[0].x2 - centres[0].x1) / 600.0;
    const double unitY = (centres[1].y1 - centres[0].y1) / 500.0;
    const auto deviceX = [&](int logical) { return centres[0].x1 + int((logical - 100) * unitX); };
    const auto deviceY = [&](int logical) { return centres[0].y1 + int((logical - 300) * unitY); };
    KeepPages(pages, k.name);

    // Each cloud's dense part reaches past 1,500 bases (x 475).
    const std::pair<int, int> clouds[] = {DenseRun(DotsByX(page, kUpper), unitX, kDense),
                                          DenseRun(DotsByX(page, kLower), unitX, kDense)};
    for (const auto& [from, to] : clouds) {
      EXPECT_LE(from, deviceX(155));
      EXPECT_GE(to, deviceX(480));
    }
    // A grid line covers a screen pixel or its unit about its x.
    const double screenPixel = k.printer.dpi / 96.0;
    const double reach = std::max(unitX, screenPixel) + 1;
    const int top = deviceY(200);
    for (const int dpi : {150, 300, 600}) {
      SCOPED_TRACE(platform::Format("rendered at %d dpi", dpi));
      const double scale = double(dpi) / k.printer.dpi;
      const auto rendered = [&](double device) { return int(std::floor(device * scale)); };
      const CRect part(rendered(std::min(clouds[0].first, clouds[1].first)), rendered(top - screenPixel) - 2,
                       rendered(std::max(clouds[0].second, clouds[1].second)) + 1, rendered(deviceY(900)) + 2);
      const Rendered shown = RenderFirstPage(PrintArtefact(std::string(k.name) + ".pdf"), dpi,
                                             PrintArtefact(platform::Format("%s_at_%d", k.name, dpi)), part);
      ASSERT_GT(shown.width, 0) << "pdftoppm (poppler-utils) is needed";
      const auto holds = [&](int x, COLORREF colour) {
        for (int y = part.top; y < part.bottom; ++y)
          if (colour == kUpper ? shown.Red(x, y) : shown.Green(x, y)) return true;
        return false;
      };
      for (const COLORREF colour : {kUpper, kLower}) {
        const auto& [from, to] = clouds[colour == kUpper ? 0 : 1];
        std::vector<int> empty;  // lengths in bases
        int read = 0;
        for (int x = rendered(from) + 1; x + 1 < rendered(to); ++x) {
          const double left = x / scale, right = (x + 1) / scale;
          if (std::any_of(lengthLines.begin(), lengthLines.end(),
                          [&](int line) { return right > line - reach && left < line + reach; }))
            continue;
          ++read;
          if (!holds(x, colour)) empty.push_back(int((left - centres[0].x1) / unitX) * 4);
        }
        EXPECT_GT(read, rendered(to - from) * 9 / 10);
        EXPECT_TRUE(empty.empty()) << (colour == kUpper ? "upper" : "lower") << ": " << empty.size() << " of " << read
                                   << " columns hold no dot, the first at " << (empty.empty() ? 0 : empty[0])
                                   << " bases";
      }
      // The top line, within a screen pixel of its y, takes turns of ink and paper along it.
      int turns = 0;
      const auto ink = [&](int x) {
        for (int y = rendered(top - screenPixel); y <= rendered(top + screenPixel); ++y)
          if (shown.Ink(x, y)) return true;
        return false;
      };
      for (int x = part.left; x + 1 < part.right; ++x) turns += ink(x) != ink(x + 1);
      EXPECT_GT(turns, 40);
    }
  }
}

TEST_F(ViewPrintingTest, APreviewedGenomeFillsItsA4SheetsAndPrintsItsPensAsTheScreenDrawsThem) {
  Open("Tumour01", ".CFS");
  doc_->SetTitle("Tumour01");
  FramedView();
  // A preview asks no printer: it prints on the program's, an A4 sheet at
  // 600 dpi where the locale's paper is A4.
  const char* locale = std::getenv("LC_ALL");
  const std::string saved = locale ? locale : "";
  ::setenv("LC_ALL", "en_GB.UTF-8", 1);
  const bool chosen = platform::ui::input::ChooseCommand(Frame(), ID_FILE_PRINT_PREVIEW);
  if (locale)
    ::setenv("LC_ALL", saved.c_str(), 1);
  else
    ::unsetenv("LC_ALL");
  ASSERT_TRUE(chosen);
  ASSERT_FALSE(Headless().PrintJobs().empty());
  const platform::ui::PrintedJob& job = Headless().PrintJobs().back();
  ASSERT_TRUE(job.preview);
  ASSERT_FALSE(job.pages.empty());
  const platform::ui::Picture& page = job.pages.front();
  EXPECT_EQ(std::pair(page.caps.width, page.caps.height), std::pair(4960, 7016));

  // The drawing reaches down into the last tenth of each page of its first row.
  int lowest = 0;
  for (const platform::ui::DrawRecord& r : page.records)
    if (r.op != platform::ui::DrawOp::Text && r.y1 < page.caps.height) lowest = std::max({lowest, r.y1, std::min(r.y2, page.caps.height)});
  EXPECT_GT(lowest, page.caps.height * 9 / 10);

  KeepPages(job.pages, "genome_preview", job.title);
  const std::string pdf = PrintArtefact("genome_preview.pdf");
  const std::string info = RunTool("pdfinfo '" + pdf + "'");
  ASSERT_FALSE(info.empty()) << "pdfinfo (poppler-utils) is needed";
  EXPECT_NE(info.find("Title:           Tumour01\n"), std::string::npos) << info;
  EXPECT_NE(info.find("Page size:       595 x 842 pts (A4)"), std::string::npos) << info;

  // As the screen shows it: 96 pixels to the inch.
  const Rendered shown = RenderFirstPage(pdf, 96, PrintArtefact("genome_preview_page1"));
  ASSERT_GT(shown.width, 0) << "pdftoppm (poppler-utils) is needed";
  const auto onScreen = [&](int device) { return int((device + 0.5) * 96 / page.caps.dpiX); };
  // The dotted lines of the copy-number axes show their dots: ink and paper
  // take turns along them, a dot in every three pixels or so.
  int dotted = 0;
  for (const platform::ui::DrawRecord& r : page.records) {
    if (r.op != platform::ui::DrawOp::Line || r.penStyle != PS_DOT || r.y1 != r.y2 || r.x2 - r.x1 < 300) continue;
    const int y = onScreen(r.y1), left = onScreen(r.x1) + 2, right = onScreen(r.x2) - 2;
    int turns = 0, inked = 0;
    for (int x = left; x < right; ++x) {
      const bool ink = shown.Ink(x, y - 1) || shown.Ink(x, y) || shown.Ink(x, y + 1);
      inked += ink;
      turns += ink != (shown.Ink(x + 1, y - 1) || shown.Ink(x + 1, y) || shown.Ink(x + 1, y + 1));
    }
    EXPECT_GT(turns, (right - left) / 4) << "dotted line at " << r.y1;
    EXPECT_LT(inked, (right - left) * 3 / 4) << "dotted line at " << r.y1;
    ++dotted;
  }
  EXPECT_GT(dotted, 10);
  // The copy-number trace of chromosome 1 (its first run of joined lines)
  // runs unbroken: blue in every column it spans, short of its last few,
  // where chromosome 2's axis numbers stand over it.
  const COLORREF blue = FramedView().m_pDisplaySetting->COLOR.C1;
  int left = INT32_MAX, right = INT32_MIN, top = INT32_MAX, bottom = INT32_MIN;
  const platform::ui::DrawRecord* previous = nullptr;
  for (const platform::ui::DrawRecord& r : page.records) {
    if (r.op != platform::ui::DrawOp::Line || r.color != blue) continue;
    if (previous && (r.x1 != previous->x2 || r.y1 != previous->y2)) break;
    left = std::min({left, r.x1, r.x2});
    right = std::max({right, r.x1, r.x2});
    top = std::min({top, r.y1, r.y2});
    bottom = std::max({bottom, r.y1, r.y2});
    previous = &r;
  }
  ASSERT_LT(left, right);
  int broken = 0;
  for (int x = onScreen(left) + 1; x < onScreen(right) - 10; ++x) {
    bool found = false;
    for (int y = onScreen(top) - 2; y <= onScreen(bottom) + 2 && !found; ++y) found = shown.Blue(x, y);
    broken += !found;
  }
  EXPECT_EQ(broken, 0) << "of " << onScreen(right) - onScreen(left) << " columns";
}
#endif

}  // namespace
}  // namespace qova::test
