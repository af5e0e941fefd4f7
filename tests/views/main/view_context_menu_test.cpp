// The main view's context menu, clicked as a user clicks it: zooms centred on
// the click, the zoom dialog, Fit to Window, the clicked chromosome alone,
// and Information and Goto Web with the genome browser's address.
#include <filesystem>
#include <fstream>

#include "core/AnalyzedData.h"
#include "core/BasicData.h"
#include "core/Cytoband.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/ui/Headless.h"
#include "platform/ui/UserInput.h"
#include "resources/ViewDialogs.h"
#include "tests/views/ViewTestSupport.h"
#include "views/GenomeBrowser.h"

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;
using platform::ui::Headless;
using platform::ui::PopupMenuRequest;

class ViewContextMenuTest : public ViewTest {
 protected:
  ~ViewContextMenuTest() override { platform::AppProfile().SetStore(std::make_unique<platform::MemorySettingsStore>()); }

  // A right click at client point p answered with the item `text` ("" dismisses).
  void RightClick(CQOVAView& view, CPoint p, const std::string& text) {
    Headless().OnPopupMenu([text](const PopupMenuRequest& request) {
      return text.empty() ? 0u : platform::ui::FindMenuItem(request.items, text);
    });
    platform::ui::input::Mouse(view, WM_RBUTTONDOWN, MK_RBUTTON, p);
  }
  // The client point over slot offset k of chromosome c, in its copy-number plot.
  static CPoint Over(const CQOVAView& view, int c, int k) {
    return {LONG(view.ToDeviceX(view.m_nChromosomeX[c] + k)), LONG(view.ToDeviceY(view.m_nChromosomeY[c] + 500))};
  }
  std::string Position(int slot) const {
    return std::to_string(global_.BasicData[0].Position[std::size_t(global_.BasicData[0].IndexMap[std::size_t(slot)])]);
  }
};

TEST_F(ViewContextMenuTest, TheMenuOffersItsItemsInOrderForEitherMode) {
  Open("Tumour02", ".CFN");
  CQOVAView& view = NewView(400, 300);
  RightClick(view, {200, 150}, "");
  ASSERT_EQ(Headless().PopupMenus().size(), 1u);
  std::vector<std::string> texts;
  for (const auto& item : Headless().PopupMenus()[0].items) texts.push_back(item.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"Each Chromosome View", "Zoom In", "Zoom Out", "Horizontal Zoom In",
                                             "Horizontal Zoom Out", "Vertical Zoom In", "Vertical Zoom Out",
                                             "Zoom Setting", "Fit to Window", "Information", "Goto Web"}));
  EXPECT_EQ(Headless().PopupMenus()[0].items[0].id, 108u);
  view.m_nViewFlags |= VIEW_ONE_CHROMOSOME;
  RightClick(view, {200, 150}, "");
  EXPECT_EQ(Headless().PopupMenus()[1].items[0].text, "All Genome View");
  EXPECT_EQ(Headless().PopupMenus()[1].items[0].id, 109u);

  // Nothing shown, no menu.
  view.m_bDataShown = FALSE;
  RightClick(view, {200, 150}, "Zoom In");
  EXPECT_EQ(Headless().PopupMenus().size(), 2u);
}

TEST_F(ViewContextMenuTest, ZoomsStepTheSizesAndCentreTheClickedPoint) {
  Open("Tumour02", ".CFN");
  CQOVAView& view = NewView(400, 300);
  const CPoint click(180, 160);
  const long long lx = view.ToLogicalX(click.x), ly = view.ToLogicalY(click.y);
  RightClick(view, click, "Zoom In");
  EXPECT_EQ(std::pair(view.m_nSizeX, view.m_nSizeY), std::pair(151, 151));
  EXPECT_NEAR(double(view.ToLogicalX(200)), double(lx), 2.0);
  EXPECT_NEAR(double(view.ToLogicalY(150)), double(ly), 7.0);

  RightClick(view, {200, 150}, "Zoom Out");
  EXPECT_EQ(std::pair(view.m_nSizeX, view.m_nSizeY), std::pair(101, 101));
  RightClick(view, {200, 150}, "Horizontal Zoom In");
  EXPECT_EQ(std::pair(view.m_nSizeX, view.m_nSizeY), std::pair(152, 101));
  RightClick(view, {200, 150}, "Vertical Zoom Out");
  EXPECT_EQ(std::pair(view.m_nSizeX, view.m_nSizeY), std::pair(152, 68));
  EXPECT_TRUE(Headless().Failures().empty());
}

TEST_F(ViewContextMenuTest, ZoomSettingTakesTheTypedSizesAndCancelNothing) {
  Open("Tumour02", ".CFN");
  CQOVAView& view = NewView(400, 300);
  Headless().OnDialog(res::kZoomSettingDialog, [](DialogDriver& d) {
    EXPECT_EQ(d.Text(res::kZoomX), "100");
    d.Type(res::kZoomX, "250").Type(res::kZoomY, "80").Ok();
  });
  RightClick(view, {200, 150}, "Zoom Setting");
  EXPECT_EQ(std::pair(view.m_nSizeX, view.m_nSizeY), std::pair(250, 80));
  Headless().OnDialog(res::kZoomSettingDialog, [](DialogDriver& d) { d.Type(res::kZoomX, "5").Cancel(); });
  RightClick(view, {200, 150}, "Zoom Setting");
  EXPECT_EQ(std::pair(view.m_nSizeX, view.m_nSizeY), std::pair(250, 80));
}

TEST_F(ViewContextMenuTest, FitToWindowFillsTheClientAreaWithTheWholeDrawing) {
  Open("Tumour02", ".CFN");
  for (const bool one : {false, true}) {
    CQOVAView& view = NewView(700, 500);
    if (one) view.m_nViewFlags |= VIEW_ONE_CHROMOSOME;
    view.m_nScrollX = 300;
    RightClick(view, {10, 10}, "Fit to Window");
    const CSize extent = view.ComputePageLayout();
    EXPECT_EQ(std::pair(view.m_nScrollX, view.m_nScrollY), std::pair(0, 0));
    EXPECT_LE(view.ToDeviceX(extent.cx), 700) << one;
    // Whole display units: at most one unit's share of the width is left over.
    EXPECT_GE(view.ToDeviceX(extent.cx), 700 - 700 / view.m_nSizeX - 1) << one;
    EXPECT_LE(view.ToDeviceY(extent.cy), 500) << one;
    EXPECT_GE(view.ToDeviceY(extent.cy), 500 - 500 / view.m_nSizeY - 1) << one;
  }
}

TEST_F(ViewContextMenuTest, EachChromosomeViewShowsTheClickedChromosomeAroundTheClick) {
  Open("Tumour02", ".CFN");
  CQOVAView& view = NewView(400, 300);
  view.m_nEachSizeX = 120;
  const int k = (End(8) - First(8)) / 2;
  RightClick(view, Over(view, 8, k), "Each Chromosome View");
  EXPECT_TRUE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
  EXPECT_EQ(view.m_nChromosome, 8);
  EXPECT_EQ(std::pair(view.m_nScaleX, view.m_nScaleY), std::pair(50, 400)) << "the menu's own scale of type 0";
  EXPECT_EQ(view.m_nSizeX, 120);
  EXPECT_EQ(view.m_nAllSizeX, 100);
  EXPECT_EQ(view.m_nScrollY, 0);
  EXPECT_NEAR(double(view.ToLogicalX(200)), double(k), 2.0);

  // Beside every chromosome the item does nothing.
  CQOVAView& other = NewView(400, 300);
  RightClick(other, {LONG(other.ToDeviceX(other.m_nChromosomeX[1] - 5)), 40}, "Each Chromosome View");
  EXPECT_FALSE(other.m_nViewFlags & VIEW_ONE_CHROMOSOME);

  RightClick(view, {5, 5}, "All Genome View");
  EXPECT_FALSE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
  EXPECT_EQ(std::pair(view.m_nScaleX, view.m_nScaleY), std::pair(200, 1000));
  EXPECT_EQ(view.m_nSizeX, 100);
  EXPECT_EQ(view.m_nEachSizeX, 120);
}

TEST_F(ViewContextMenuTest, InformationReportsTheSlotAndItsNeighboursAndYesOpensTheBrowser) {
  Open("Tumour02", ".CFN");
  CQOVAView& view = NewView();
  const int k = (End(8) - First(8)) / 3;
  const int s = First(8) + k;
  const std::int32_t position = global_.BasicData[0].Position[std::size_t(global_.BasicData[0].IndexMap[std::size_t(s)])];
  std::string band;
  global_.Cytoband->GetBandName(band, 8, position / 10, TRUE);
  ASSERT_FALSE(band.empty());
  std::string expected = platform::Format("SNPnumber= %d\tChromosome= 8\tCytoband= %7s\n ", s, band.c_str());
  for (int i = s - 2; i <= s + 2; ++i)
    expected += platform::Format("\n point %d: signal= %f Position= %s", i,
                                 double(doc_->AnalyzedData.LogRatio[std::size_t(i)]), Position(i).c_str());
  expected += "\n\n Goto Web Information?";

  messages_.QueueAnswer(IDYES);
  RightClick(view, Over(view, 8, k), "Information");
  ASSERT_EQ(messages_.AllShown().size(), 1u);
  EXPECT_EQ(messages_.AllShown()[0].text, expected);
  EXPECT_EQ(messages_.AllShown()[0].type, UINT(MB_YESNO | MB_ICONINFORMATION));
  ASSERT_EQ(Headless().OpenedUrls().size(), 1u);
  EXPECT_EQ(Headless().OpenedUrls()[0],
            platform::Format("https://genome.ucsc.edu/cgi-bin/hgTracks?db=hg17&position=chr8%%3A%d-%d", position - 100,
                             position + 100));

  messages_.QueueAnswer(IDNO);
  RightClick(view, Over(view, 8, k), "Information");
  EXPECT_EQ(Headless().OpenedUrls().size(), 1u);
  RightClick(view, Over(view, 8, k), "Goto Web");
  EXPECT_EQ(Headless().OpenedUrls().size(), 2u);
  EXPECT_EQ(Headless().OpenedUrls()[1], Headless().OpenedUrls()[0]);
}

TEST_F(ViewContextMenuTest, InformationAtTheFirstSlotListsOnlyTheSlotsThatExist) {
  Open("Tumour02", ".CFN");
  CQOVAView& view = NewView();
  ASSERT_EQ(First(1), 0);
  messages_.QueueAnswer(IDNO);
  RightClick(view, Over(view, 1, 0), "Information");
  ASSERT_EQ(messages_.AllShown().size(), 1u);
  const std::string& text = messages_.AllShown()[0].text;
  EXPECT_EQ(text.find("SNPnumber= 0\t"), 0u);
  EXPECT_EQ(text.find("point -"), std::string::npos);
  for (const char* line : {"\n point 0:", "\n point 1:", "\n point 2:"}) EXPECT_NE(text.find(line), std::string::npos);
  EXPECT_EQ(text.find("point 3:"), std::string::npos);
}

TEST_F(ViewContextMenuTest, TheBrowserAddressFollowsTheSettingAndARefusalIsReported) {
  const struct {
    int chromosome, start, end;
    const char* address;
  } cases[] = {{7, 1000, 1200, "https://genome.ucsc.edu/cgi-bin/hgTracks?db=hg17&position=chr7%3A1000-1200"},
               {23, 5, 5, "https://genome.ucsc.edu/cgi-bin/hgTracks?db=hg17&position=chrX%3A5-5"},
               {1, -60, 140, "https://genome.ucsc.edu/cgi-bin/hgTracks?db=hg17&position=chr1%3A-60-140"},
               {24, 1, 2, "https://genome.ucsc.edu/cgi-bin/hgTracks?db=hg17&position=chr24%3A1-2"}};
  for (const auto& c : cases) {
    EXPECT_TRUE(OpenGenomeBrowser(c.chromosome, nullptr, c.start, c.end));
    EXPECT_EQ(Headless().OpenedUrls().back(), c.address);
  }

  // Scheme and host come from the settings file.
  const std::string settings = Path("config/QOVA.ini");
  std::filesystem::create_directories(Path("config"));
  std::ofstream(settings) << "[Web]\nGenomeBrowser=http://browser.example.org:8080/\n";
  platform::AppProfile().UseSettingsFile(settings);
  EXPECT_TRUE(OpenGenomeBrowser(23, nullptr, 10, 20));
  EXPECT_EQ(Headless().OpenedUrls().back(),
            "http://browser.example.org:8080/cgi-bin/hgTracks?db=hg17&position=chrX%3A10-20");

  Headless().SetOpenUrlSucceeds(false);
  EXPECT_FALSE(OpenGenomeBrowser(8, nullptr, 1, 2));
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Web not connected"});
  Headless().SetOpenUrlSucceeds(true);
}

}  // namespace
}  // namespace qova::test
