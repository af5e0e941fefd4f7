// The View menu's navigation and scale commands of the main view, reached as
// a user reaches them: from the menu, by F6 and Shift+F6, through the
// chromosome chooser; and the chooser and the zoom dialog themselves.
#include <cmath>

#include "core/AnalyzedData.h"
#include "platform/ui/Headless.h"
#include "platform/ui/UserInput.h"
#include "resources/CommandIds.h"
#include "resources/ViewDialogs.h"
#include "tests/views/ViewTestSupport.h"
#include "views/ChSelectDlg.h"
#include "views/ViewNavigation.h"
#include "views/ZoomSetting.h"

namespace views = qova::views;

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;
using platform::ui::Headless;

class ViewNavigationTest : public ViewTest {
 protected:
  ViewNavigationTest() { CChSelectDlg::ForgetOpenings(); }
  bool Choose(UINT id) { return platform::ui::input::ChooseCommand(Frame(), id); }
  void Key(UINT key, BYTE modifiers = 0) { platform::ui::input::Key(Frame(), key, modifiers); }
  // The chooser answers with the radio of chromosome c (0: none), then OK.
  void ChooseChromosome(int c) {
    Headless().OnDialog(res::kChromosomeSelectDialog, [c](DialogDriver& d) {
      if (c > 0) d.Click(res::kChromosomeRadios[c - 1]);
      d.Ok();
    });
  }
};

TEST_F(ViewNavigationTest, F6AndShiftF6StepRoundTheChromosomesOnlyInTheSingleMode) {
  Open("Tumour01", ".CFS");
  CQOVAView& view = FramedView();
  // Genome-wide the keys reach disabled commands, which do nothing.
  EXPECT_FALSE(Frame().IsCommandEnabled(res::kCmdNextChromosome));
  Key(VK_F6);
  Key(VK_F6, FSHIFT);
  EXPECT_FALSE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
  EXPECT_EQ(view.m_nChromosome, 1);

  ChooseChromosome(23);
  ASSERT_TRUE(Choose(res::kCmdEachChromosome));
  ASSERT_EQ(view.m_nChromosome, 23);
  Key(VK_F6);
  EXPECT_EQ(view.m_nChromosome, 1);
  Key(VK_F6, FSHIFT);
  EXPECT_EQ(view.m_nChromosome, 23);
  Key(VK_F6, FSHIFT);
  EXPECT_EQ(view.m_nChromosome, 22);
  EXPECT_TRUE(Headless().Failures().empty());
}

TEST_F(ViewNavigationTest, GenomeAndChromosomeModesKeepTheirOwnZoomAndTheirScales) {
  Open("Tumour01", ".CFS");
  CQOVAView& view = FramedView();
  ASSERT_TRUE(view.m_bDataShown);
  EXPECT_FALSE(Frame().IsCommandEnabled(res::kCmdAllGenome));
  view.m_nSizeX = 130;  // the genome's zoom
  view.m_nEachSizeX = 70;
  ChooseChromosome(8);
  ASSERT_TRUE(Choose(res::kCmdEachChromosome));
  EXPECT_TRUE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
  EXPECT_EQ(view.m_nChromosome, 8);
  EXPECT_EQ(std::pair(view.m_nScaleX, view.m_nScaleY), std::pair(100, 400));
  EXPECT_EQ(view.m_nSizeX, 70);
  EXPECT_EQ(view.m_nAllSizeX, 130);
  EXPECT_FALSE(Frame().IsCommandEnabled(res::kCmdEachChromosome));

  view.m_nSizeX = 90;
  ASSERT_TRUE(Choose(res::kCmdAllGenome));
  EXPECT_FALSE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
  EXPECT_EQ(std::pair(view.m_nScaleX, view.m_nScaleY), std::pair(200, 1000));
  EXPECT_EQ(view.m_nSizeX, 130);
  EXPECT_EQ(view.m_nEachSizeX, 90);
  EXPECT_EQ(std::pair(view.m_nScrollX, view.m_nScrollY), std::pair(0, 0));
}

TEST_F(ViewNavigationTest, TheChooserChecksChromosomeOneAtItsFirstOpeningOnly) {
  Open("Tumour01", ".CFS");
  CQOVAView& view = FramedView();
  std::vector<bool> firstChecked;
  Headless().OnDialog(res::kChromosomeSelectDialog, [&](DialogDriver& d) {
    EXPECT_EQ(d.Caption(), "Chromosome selection");
    firstChecked.push_back(d.IsChecked(res::kChromosomeRadios[0]));
    for (int c = 2; c <= 23; ++c) EXPECT_FALSE(d.IsChecked(res::kChromosomeRadios[c - 1])) << c;
    d.Ok();
  });
  ASSERT_TRUE(Choose(res::kCmdEachChromosome));
  EXPECT_EQ(view.m_nChromosome, 1);
  EXPECT_TRUE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
  ASSERT_TRUE(Choose(res::kCmdAllGenome));

  // The second opening checks nothing: OK without a choice changes nothing.
  view.m_nChromosome = 5;
  ASSERT_TRUE(Choose(res::kCmdEachChromosome));
  EXPECT_EQ(firstChecked, (std::vector<bool>{true, false}));
  EXPECT_FALSE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
  EXPECT_EQ(view.m_nChromosome, 5);

  Headless().OnDialog(res::kChromosomeSelectDialog, [](DialogDriver& d) {
    d.Click(res::kChromosomeRadios[10]);
    d.Cancel();
  });
  ASSERT_TRUE(Choose(res::kCmdEachChromosome));
  EXPECT_FALSE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
  EXPECT_TRUE(Headless().Failures().empty());
}

TEST_F(ViewNavigationTest, TheAxisSwitchCarriesTheScrollPositionAcross) {
  Open("Tumour01", ".CFS");
  // A narrow window, so that the position is not clamped by the visible width.
  CQOVAView& view = FramedView(20, 1000);
  EXPECT_FALSE(Frame().IsCommandEnabled(res::kCmdSnpInterval));
  const struct {
    int arrayType;  // the type the view takes its factor from
    int slot;
    int tenBases;
  } cases[] = {{0, 400, 10000000}, {5, 3000, 3000000}};
  for (const auto& c : cases) {
    view.m_nArrayType = c.arrayType;
    view.m_nScrollX = c.slot;
    ASSERT_TRUE(Choose(res::kCmdBaseInterval)) << c.arrayType;
    EXPECT_TRUE(view.m_nViewFlags & VIEW_BASE_INTERVAL);
    EXPECT_EQ(view.m_nScrollX, c.tenBases) << c.arrayType;
    EXPECT_EQ(std::pair(view.m_nScaleX, view.m_nScaleY), std::pair(5000000, 1000));
    EXPECT_EQ(view.m_nChromosomeX[0], 500000) << "the gap is 5 Mb on the base axis";
    view.m_nScaleY = 777;
    ASSERT_TRUE(Choose(res::kCmdSnpInterval));
    EXPECT_EQ(view.m_nScrollX, c.slot) << c.arrayType;
    EXPECT_EQ(view.m_nScaleX, views::ScalesInSnpOrder(c.arrayType).genomeX);
    EXPECT_EQ(view.m_nScaleY, 777) << "the switch back keeps the y scale";
    EXPECT_EQ(view.m_nChromosomeX[0], CViewLayout::Gap(false, c.arrayType));
  }
  const int perSlot[] = {25000, 25000, 5000, 5000, 2500, 1000, 1000, 500, 1000, 1000, 500, 1000, 500};
  for (int type = 0; type <= 12; ++type) EXPECT_EQ(views::BaseUnitsPerSlot(type), perSlot[type]) << type;
}

TEST_F(ViewNavigationTest, LogAndLinearScaleChangeAveragesAndLevelsButNotTheLayout) {
  Open("Tumour02", ".CFN");
  CQOVAView& view = FramedView();
  ASSERT_TRUE(view.m_nViewFlags & VIEW_LOG_SCALE);
  EXPECT_FALSE(Frame().IsCommandEnabled(res::kCmdLogScale));
  const std::vector<float> logAverage = view.m_pAverage[0];
  const float logLevel = view.m_fHmmLevel[1];
  const int rowHeight = view.m_nRowHeight;
  const int x8 = view.m_nChromosomeX[8];
  const float firstRatio = view.m_pRatio[0];

  ASSERT_TRUE(Choose(res::kCmdLinearScale));
  EXPECT_FALSE(view.m_nViewFlags & VIEW_LOG_SCALE);
  EXPECT_FLOAT_EQ(view.m_fHmmLevel[1], std::exp2(logLevel));
  EXPECT_FLOAT_EQ(view.m_pRatio[0], std::exp2(firstRatio));
  EXPECT_NE(view.m_pAverage[0], logAverage);
  EXPECT_EQ(view.m_nRowHeight, rowHeight);
  EXPECT_EQ(view.m_nChromosomeX[8], x8);
  EXPECT_TRUE(view.m_bDataShown);

  ASSERT_TRUE(Choose(res::kCmdLogScale));
  EXPECT_EQ(view.m_pAverage[0], logAverage);
  EXPECT_FLOAT_EQ(view.m_fHmmLevel[1], logLevel);
  EXPECT_FLOAT_EQ(view.m_pRatio[0], firstRatio);
}

TEST_F(ViewNavigationTest, WithoutDataEveryNavigationCommandIsDisabledAndDoesNothing) {
  CQOVAView& view = FramedView();
  ASSERT_FALSE(view.m_bDataShown);
  for (UINT id : {res::kCmdAllGenome, res::kCmdEachChromosome, res::kCmdPreviousChromosome,
                  res::kCmdNextChromosome, res::kCmdSnpInterval, res::kCmdBaseInterval, res::kCmdLogScale,
                  res::kCmdLinearScale})
    EXPECT_FALSE(Frame().IsCommandEnabled(id)) << id;
  view.OnViewEachChromosome();  // reached anyway: no chooser, nothing changes
  view.OnViewBaseInterval();
  EXPECT_EQ(view.m_nViewFlags & (VIEW_ONE_CHROMOSOME | VIEW_BASE_INTERVAL), 0u);
  EXPECT_TRUE(Headless().ShownDialogs().empty());
}

TEST_F(ViewNavigationTest, TheZoomUpDownsStepWhatTheEditsShowAndStayAtOneOrMore) {
  int result = 0;
  CZoomSetting dialog;
  dialog.ZoomX = 1;
  dialog.ZoomY = 40;
  Headless().OnDialog(res::kZoomSettingDialog, [&](DialogDriver& d) {
    EXPECT_EQ(d.Caption(), "Zoom Setting");
    EXPECT_EQ(d.Text(res::kZoomX), "1");
    d.Spin(res::kZoomXUpDown, 1);  // the down arrow at 1
    EXPECT_EQ(d.Text(res::kZoomX), "1");
    d.Spin(res::kZoomXUpDown, -1);
    d.Spin(res::kZoomXUpDown, -1);
    EXPECT_EQ(d.Text(res::kZoomX), "3");
    d.Type(res::kZoomY, "250");
    d.Spin(res::kZoomYUpDown, 1);  // steps the typed value
    EXPECT_EQ(d.Text(res::kZoomY), "249");
    d.Type(res::kZoomX, "2000000000");
    d.Ok();  // beyond the largest size: refused, the dialog stays
    EXPECT_TRUE(d.IsOpen());
    d.Type(res::kZoomX, "1073741824");
    d.Ok();
  });
  result = int(dialog.DoModal());
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog.ZoomX, views::kLargestDisplaySize);
  EXPECT_EQ(dialog.ZoomY, 249);
  EXPECT_EQ(messages_.AllShown().size(), 1u);
}

TEST_F(ViewNavigationTest, ZoomStepsAndChromosomeStepsStayInRange) {
  EXPECT_EQ(views::ZoomInSize(100), 151);
  EXPECT_EQ(views::ZoomOutSize(151), 101);
  EXPECT_EQ(views::ZoomOutSize(1), 1);
  EXPECT_EQ(views::ZoomInSize(views::kLargestDisplaySize), views::kLargestDisplaySize);
  EXPECT_EQ(views::ZoomInSize(2000000000), views::kLargestDisplaySize);
  EXPECT_EQ(views::NextChromosome(22), 23);
  EXPECT_EQ(views::PreviousChromosome(2), 1);
}

// The room a print keeps before the drawing for labels ending at the first
// column's edge: the labels then begin on the page, on one page and on
// tiles, however large a share of the drawing the gap before the column is,
// and no room is kept where the gap holds them already.
TEST(PrintRoomTest, LabelsEndingAtTheFirstColumnBeginOnThePage) {
  struct Case {
    const char* name;
    bool onePage;
    CSize extent;
    int left;   // the first column's edge, logical
    int width;  // the labels, printer pixels
    bool needsRoom;
  };
  const Case cases[] = {
      {"one page, a gap a tenth of the drawing", true, {1000, 1000}, 100, 300, true},
      {"one page, a gap half of the drawing", true, {1000, 1000}, 500, 700, true},
      {"tiles, a gap a tenth of the drawing", false, {4000, 1000}, 400, 300, true},
      {"one page, labels narrower than the gap", true, {1000, 1000}, 100, 80, false},
  };
  const CSize page{1000, 1400};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    views::PrintPlan plan;
    plan.printedSize = {100, 100};
    plan.onePage = k.onePage;
    plan.leftRoom = views::LeftRoomFor(plan, k.extent, page, k.left, k.width);
    EXPECT_EQ(plan.leftRoom > 0, k.needsRoom);
    EXPECT_LE(plan.leftRoom, k.width);
    const ViewMapping first = views::PrintPageMapping(plan, k.extent, page, 1);
    EXPECT_GE(first.ToDeviceX(k.left), k.width);
    // The drawing ends on the last page of the first row.
    const views::PageGrid grid = views::PrintPages(plan, k.extent, page);
    const ViewMapping last = views::PrintPageMapping(plan, k.extent, page, grid.columns);
    EXPECT_LE(last.ToDeviceX(k.extent.cx), page.cx);
    EXPECT_GT(last.ToDeviceX(k.extent.cx), page.cx * 9 / 10);
  }
}

}  // namespace
}  // namespace qova::test
