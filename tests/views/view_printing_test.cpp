// Printing of the main view through the framework's print job: the page
// count, the tiles each page shows (left to right, then top to bottom), one
// page with the one-page switch, and the screen's mapping put back. Where
// the windowed interface is built the pages also go into PDF files and
// pictures under <build>/artefacts/print for people to look at.
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "platform/Strings.h"
#include "platform/ui/DC.h"
#include "platform/ui/Headless.h"
#include "platform/ui/UserInput.h"
#include "tests/views/ViewTestSupport.h"
#include "views/ViewNavigation.h"
#ifdef QOVA_RASTER_CANVAS
#include "platform/qt/PdfPages.h"
#include "platform/qt/RasterCanvas.h"
#endif

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
  // File > Print of the framed view; the pages printed.
  const std::vector<platform::ui::Picture>& Print() {
    const std::size_t jobs = Headless().PrintJobs().size();
    EXPECT_TRUE(platform::ui::input::ChooseCommand(Frame(), ID_FILE_PRINT));
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
  static std::string Artefact(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::path(BinaryDir()) / "artefacts" / "print";
    std::filesystem::create_directories(folder);
    return (folder / name).string();
  }
  // Writes the pages as a PDF and the first as a picture; the PDF's page count.
  static int Keep(const std::vector<platform::ui::Picture>& pages, const std::string& name) {
#ifdef QOVA_RASTER_CANVAS
    const std::string pdf = Artefact(name + ".pdf");
    std::filesystem::remove(pdf);
    EXPECT_TRUE(platform::qt::WritePdf(pages, pdf));
    const platform::ui::DeviceCaps& caps = pages.front().caps;
    platform::qt::RasterCanvas canvas(caps.width, caps.height, RGB(255, 255, 255), caps.dpiX);
    pages.front().ReplayOn(*canvas.Surface());
    EXPECT_TRUE(canvas.SavePng(Artefact(name + "_page1.png")));
    std::ifstream in(pdf, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string text = bytes.str();
    const std::regex page("/Type\\s*/Page[^s]");
    return int(std::distance(std::sregex_iterator(text.begin(), text.end(), page), std::sregex_iterator()));
#else
    (void)name;
    return int(pages.size());
#endif
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
  const views::PageGrid grid = views::PrintPageGrid(extent, {kPrinter.width, kPrinter.height}, {300, 60}, 200);
  ASSERT_GT(grid.columns, 1);
  ASSERT_GT(grid.rows, 1);
  const std::vector<platform::ui::Picture>& pages = Print();
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
    const long long column = x * 300 / (200LL * kPrinter.width), row = y * 60 / (200LL * kPrinter.height);
    const std::size_t expected = std::size_t(row * grid.columns + column);
    for (std::size_t p = 0; p < pages.size(); ++p) {
      const platform::ui::DrawRecord* label = Label(pages[p], c);
      ASSERT_NE(label, nullptr) << c;
      EXPECT_EQ(OnPage(*label), p == expected) << "chromosome " << c << " page " << p + 1;
    }
  }
  EXPECT_EQ(Keep(pages, "genome_tiled"), int(pages.size()));
}

TEST_F(ViewPrintingTest, TheOnePageSwitchFitsTheWholeGenomeOntoOnePage) {
  Open("Tumour01", ".CFS");
  CQOVAView& view = FramedView();
  view.m_pDisplaySetting->PRINT.ONE_ALL = 1;
  view.m_pDisplaySetting->PRINT.ALL_X = 2000;
  EXPECT_EQ(CountedPages(view), 1u);
  const std::vector<platform::ui::Picture>& pages = Print();
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
  EXPECT_EQ(Keep(pages, "genome_onepage"), 1);
}

TEST_F(ViewPrintingTest, PageCountsStayRightOnTheBaseAxisAndWithZeroPrintedSizes) {
  // The genome on the base axis is about 3 x 10^8 ten-base units wide: its
  // product with the printed size does not fit 32 bits.
  const CSize extent{301908000 + 6 * 500000, 6 * 1350};
  const views::PageGrid grid = views::PrintPageGrid(extent, {4960, 7016}, {100, 100}, 200000);
  EXPECT_EQ(grid.columns, 100LL * extent.cx / 4960 / 200000 + 1);
  EXPECT_EQ(grid.columns, 31);
  EXPECT_EQ(grid.rows, 1);
  // Printed sizes below 1 count as 1 pixel.
  const views::PageGrid zero = views::PrintPageGrid({2000, 8100}, {10, 10}, {0, -5}, 200);
  EXPECT_EQ(std::pair(zero.columns, zero.rows), std::pair(2LL, 5LL));

  Open("Tumour01", ".CFS");
  CQOVAView& view = FramedView();
  view.m_nViewFlags |= VIEW_BASE_INTERVAL;
  view.ComputeRowHeight();
  const CSize base = view.ComputePageLayout();
  const views::PageGrid expected = views::PrintPageGrid(base, {kPrinter.width, kPrinter.height}, {100, 100}, 200000);
  EXPECT_EQ(CountedPages(view), UINT(expected.Count()));
  EXPECT_EQ(expected.columns, 100LL * base.cx / kPrinter.width / 200000 + 1);
}

}  // namespace
}  // namespace qova::test
