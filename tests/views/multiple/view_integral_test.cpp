// The integral view: the lanes of the integrated samples in "ID" and
// "Amount" order, its title and row height, the Edit integral view dialog run
// by the document's command, the sample of the lane under the mouse, and the
// report of a band dragged along a chromosome.
#include <array>
#include <cstdio>
#include <map>
#include <memory>

#include "analysis/IntegrationData.h"
#include "platform/Strings.h"
#include "resources/CommandIds.h"
#include "resources/ViewDialogs.h"
#include "tests/views/multiple/MultipleViewTestSupport.h"
#include "views/multiple/DialogEditIntegrate.h"
#include "views/GenomeBrowser.h"

namespace multiple = qova::views::multiple;
namespace views = qova::views;

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;
using platform::ui::DrawOp;
using platform::ui::Headless;

class IntegralViewTest : public MultipleViewTest {
 protected:
  ~IntegralViewTest() override { CQOVADoc::SetEditIntegrationDialog({}); }

  // An integration of `names` with `regions`, shown by the document.
  IntegrationData& Integrate(const std::vector<std::string>& names, const std::vector<IntegrationSegment>& regions,
                             const char* order = "ID") {
    auto integration = std::make_shared<IntegrationData>(global_);
    integration->Mode = "AddDel";
    integration->Order = order;
    integration->Title = "Family";
    integration->SampleNames = names;
    integration->Segments = regions;
    doc_->Integration = integration;
    doc_->Status = kStatusIntegrate;
    return *integration;
  }
  // The lanes drawn on chromosome c with the base line at y: per line's y,
  // the colours and widths of its strokes.
  std::multimap<int, std::pair<COLORREF, int>> Lanes(CQOVAView& view, int c, int y) {
    LogicalCanvas canvas;
    view.DrawAmountPanel(canvas.Dc(), c, 0, y);
    std::multimap<int, std::pair<COLORREF, int>> lanes;
    for (const auto& r : canvas.Picture().records)
      if (r.op == DrawOp::Line) lanes.insert({r.y1, {r.color, r.width}});
    return lanes;
  }
  static std::vector<int> Ys(const std::multimap<int, std::pair<COLORREF, int>>& lanes) {
    std::vector<int> ys;
    for (const auto& [y, stroke] : lanes) ys.push_back(y);
    return ys;
  }
};

constexpr int kBase = 1000;

TEST_F(IntegralViewTest, LanesInIdOrderLieOneWidthApartOnEitherSideOfTheBaseLine) {
  Integrate({"A", "B", "C", "D"}, {{0, 1000000, 2000000, 1, 1},
                                   {0, 3000000, 4000000, 1, 3},
                                   {3, 5000000, 6000000, 1, 2},
                                   {3, 7000000, 9000000, 1, 4},
                                   {1, 1000000, 2000000, 2, 1},
                                   {2, 1000000, 2000000, 1, 5}});
  CQOVAView& view = NewView();
  ASSERT_TRUE(view.m_bDataShown);
  EXPECT_EQ(view.m_nViewFlags & (VIEW_INTEGRATE | VIEW_BASE_INTERVAL | VIEW_NOT_ANALYSIS),
            VIEW_INTEGRATE | VIEW_BASE_INTERVAL | VIEW_NOT_ANALYSIS);
  EXPECT_EQ(view.m_nRowHeight, 4 * 2 * 20 + 300);
  const CDisplaySetting::IntegrateKeys& keys = view.m_pDisplaySetting->INTEGRATE;
  const auto lanes = Lanes(view, 1, kBase);
  EXPECT_EQ(lanes, (std::multimap<int, std::pair<COLORREF, int>>{{kBase - 110, {keys.COL2, 6}},
                                                                   {kBase - 50, {keys.COL1, 6}},
                                                                   {kBase + 50, {keys.COL3, 6}},
                                                                   {kBase + 110, {keys.COL4, 6}}}));
  // Chromosome 2 holds only B's gain.
  EXPECT_EQ(Ys(Lanes(view, 2, kBase)), std::vector<int>{kBase - 70});
  EXPECT_TRUE(Lanes(view, 3, kBase).empty());
}

TEST_F(IntegralViewTest, LanesInAmountOrderPutTheLargestTotalNextToTheBaseLine) {
  // Sample 0 integrated again: its regions come last, after those of higher
  // indexes. Sample 2 has no gain and sample 0 and 1 no loss.
  Integrate({"A", "B", "C"}, {{1, 1000000, 2000000, 1, 1},
                              {1, 3000000, 5000000, 1, 2},
                              {2, 6000000, 7000000, 1, 3},
                              {0, 8000000, 9000000, 1, 1},
                              {2, 5000000, 6000000, 2, 2},
                              {0, 1000000, 2000000, 2, 1}},
            "Amount");
  CQOVAView& view = NewView();
  EXPECT_EQ(view.m_nRowHeight, 3 * 2 * 20 + 300);
  const CDisplaySetting::IntegrateKeys& keys = view.m_pDisplaySetting->INTEGRATE;
  // Above: B (3 Mb) next to the line, A (1 Mb), C (none) outermost; below: C.
  EXPECT_EQ(Lanes(view, 1, kBase), (std::multimap<int, std::pair<COLORREF, int>>{{kBase - 70, {keys.COL1, 6}},
                                                                                   {kBase - 50, {keys.COL1, 6}},
                                                                                   {kBase - 50, {keys.COL2, 6}},
                                                                                   {kBase + 50, {keys.COL3, 6}}}));
  // Equal totals keep the index order: A outside C.
  EXPECT_EQ(Lanes(view, 2, kBase), (std::multimap<int, std::pair<COLORREF, int>>{{kBase - 70, {keys.COL1, 6}},
                                                                                   {kBase - 50, {keys.COL2, 6}}}));
  EXPECT_TRUE(Lanes(view, 3, kBase).empty());

  doc_->Integration->Order = "Neither";
  EXPECT_TRUE(Lanes(view, 1, kBase).empty());
}

TEST_F(IntegralViewTest, AStrokeRunsFromItsRegionsStartToItsEndInTenBaseUnits) {
  const std::vector<IntegrationSegment> regions = {{0, 1000005, 2000019, 1, 1}, {1, 3000000, 3500009, 1, 4}};
  for (const char* order : {"ID", "Amount"}) {
    SCOPED_TRACE(order);
    Integrate({"A", "B"}, regions, order);
    CQOVAView& view = NewView();
    LogicalCanvas canvas;
    view.DrawAmountPanel(canvas.Dc(), 1, 700, kBase);
    std::vector<std::array<int, 4>> strokes;
    for (const auto& r : canvas.Picture().records)
      if (r.op == DrawOp::Line) strokes.push_back({r.x1, r.x2, r.y1, r.y2});
    // A's gain in the lane next to the line above; B's loss below it, one lane
    // out in sample order, next to the line as the larger total.
    const int below = std::string(order) == "ID" ? kBase + 70 : kBase + 50;
    EXPECT_EQ(strokes, (std::vector<std::array<int, 4>>{{700 + 100000, 700 + 200001, kBase - 50, kBase - 50},
                                                        {700 + 300000, 700 + 350000, below, below}}));
    view.DestroyWindow();
  }
}

TEST_F(IntegralViewTest, TheTitleNamesTheModeOfTheIntegration) {
  IntegrationData& integration = Integrate({"A"}, {});
  CQOVAView& view = NewView();
  for (const auto& [mode, title] :
       {std::pair{"AddDel", "Family: Gains and losses"}, {"HomDel", "Family: Homozygous deletions"},
        {"HiAmp", "Family: High Amplifications"}, {"LOH", "Family: LOH"}, {"AH", "Family: Allelic homozygosities"},
        {"Change", "Family: Copy number changes"}, {"AH_Mark", "Family: Allelic homozygosities"},
        {"UserMarker2", "Family"}}) {
    integration.Mode = mode;
    EXPECT_EQ(view.IntegralTitle(), title);
  }
  EXPECT_EQ(view.m_nRowHeight, 2 * 20 + 300);
  EXPECT_NE(Draw(view).FindText("Family"), nullptr);
}

TEST_F(IntegralViewTest, EditIntegralViewDeletesTheSelectedSamplesAndTheLanesCloseUp) {
  multiple::InstallEditIntegrationDialog();
  IntegrationData& integration = Integrate({"A", "B", "C"}, {{0, 1000000, 2000000, 1, 1},
                                                             {1, 3000000, 4000000, 1, 1},
                                                             {2, 5000000, 6000000, 1, 3}});
  CQOVAView& view = FramedView();
  ASSERT_EQ(view.m_nRowHeight, 3 * 2 * 20 + 300);
  // Cancel changes nothing; Enter does nothing.
  Headless().OnDialog(res::kEditIntegrateDialog, [](DialogDriver& d) {
    EXPECT_EQ(d.Items(res::kEditIntegrateSamples), (std::vector<std::string>{"A", "B", "C"}));
    d.SelectItems(res::kEditIntegrateSamples, {0, 1});
    d.Window().SendMessage(WM_COMMAND, IDOK);
    EXPECT_TRUE(d.IsOpen());
    d.Cancel();
  });
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdEditIntegration));
  EXPECT_EQ(integration.SampleNames.size(), 3u);

  Headless().OnDialog(res::kEditIntegrateDialog, [](DialogDriver& d) {
    d.SelectItems(res::kEditIntegrateSamples, {0, 1}).Click(res::kEditIntegrateDelete);
  });
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdEditIntegration));
  EXPECT_EQ(integration.SampleNames, std::vector<std::string>{"C"});
  EXPECT_EQ(view.m_nRowHeight, 2 * 20 + 300);
  EXPECT_EQ(Ys(Lanes(view, 1, kBase)), std::vector<int>{kBase + 50});

  // Nothing selected: Delete just closes.
  Headless().OnDialog(res::kEditIntegrateDialog, [](DialogDriver& d) { d.Click(res::kEditIntegrateDelete); });
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdEditIntegration));
  EXPECT_EQ(integration.SampleNames, std::vector<std::string>{"C"});
}

TEST_F(IntegralViewTest, UpdateInTheDialogIntegratesTheSelectedSampleAgain) {
  multiple::InstallEditIntegrationDialog();
  IntegrationData& integration = Integrate({"Tumour02.CFN"}, {});
  ASSERT_TRUE(integration.IntegrateSamples({"Tumour02.CFN", "Tumour01.CFS"}));
  const std::vector<IntegrationSegment> integrated = integration.Segments;
  ASSERT_FALSE(integrated.empty());
  integration.Segments.erase(integration.Segments.begin());
  doc_->UpdateAllViews(nullptr);
  CQOVAView& view = NewView();
  Headless().OnDialog(res::kEditIntegrateDialog, [](DialogDriver& d) {
    d.SelectItems(res::kEditIntegrateSamples, {0}).Click(res::kEditIntegrateUpdate);
  });
  doc_->OnEditIntegration();
  EXPECT_EQ(integration.Segments.size(), integrated.size());
  EXPECT_TRUE(view.m_bDataShown);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{});
}

TEST_F(IntegralViewTest, UpdateInTheMenuIntegratesEverySampleAgain) {
  IntegrationData& integration = Integrate({}, {});
  ASSERT_TRUE(integration.IntegrateSamples({"Tumour02.CFN", "Tumour01.CFS"}));
  const std::vector<IntegrationSegment> integrated = integration.Segments;
  integration.Segments.resize(1);
  CQOVAView& view = NewView();
  RightClick(view, {100, 100}, "Update");
  EXPECT_EQ(integration.Segments, integrated);
  EXPECT_EQ(integration.SampleNames, (std::vector<std::string>{"Tumour02.CFN", "Tumour01.CFS"}));
  EXPECT_TRUE(view.m_bDataShown);
  EXPECT_EQ(view.m_nRowHeight, view.IntegralRowHeight());
}

TEST_F(IntegralViewTest, SingleViewNamesTheSampleOfTheLaneUnderTheMouse) {
  const std::vector<IntegrationSegment> regions = {{0, 1000000, 9000000, 1, 1},
                                                   {1, 1000000, 2000000, 1, 1},
                                                   {2, 1000000, 5000000, 1, 3}};
  for (const char* order : {"ID", "Amount"}) {
    Integrate({"A.CFN", "B.CFN", "C.CFN"}, regions, order);
    CQOVAView& view = NewView();
    // Lanes 0 and 1 above chromosome 1's base line, lane 0 below it.
    const long long line = view.m_nChromosomeY[1] + 450 + (view.m_nRowHeight - 300) / 2;
    const long long x = view.ToDeviceX(view.m_nChromosomeX[1] + 200000);
    const bool amount = std::string(order) == "Amount";
    // Halfway between two lanes, 20 apart, is the outer one's.
    for (const auto& [offset, name] : {std::pair{-50, amount ? "A.CFN" : "A.CFN"},
                                       {-60, amount ? "B.CFN" : "B.CFN"},
                                       {60, amount ? "B.CFN" : "B.CFN"},
                                       {-70, amount ? "B.CFN" : "B.CFN"},
                                       {50, amount ? "C.CFN" : "A.CFN"},
                                       {-90, amount ? "C.CFN" : "C.CFN"},
                                       {-500, amount ? "C.CFN" : "C.CFN"}}) {
      RightClick(view, {LONG(x), LONG(view.ToDeviceY(line + offset))}, "");
      EXPECT_EQ(LastMenu()[1], std::string("Single view :") + name) << order << " " << offset;
    }
    view.DestroyWindow();
  }
}

TEST_F(IntegralViewTest, ABandAlongAChromosomeReportsItsPositions) {
  Integrate({"A"}, {{0, 1000000, 2000000, 1, 1}});
  CQOVAView& view = NewView();
  view.OnParameterMeasure();
  const int y = int(view.ToDeviceY(view.m_nChromosomeY[3] + 500));
  messages_.QueueAnswer(IDNO);
  Drag(view, {int(view.ToDeviceX(view.m_nChromosomeX[3] + 2000000)), y},
       {int(view.ToDeviceX(view.m_nChromosomeX[3] + 1000000)), y});
  ASSERT_EQ(messages_.Texts().size(), 1u);
  const std::string report = messages_.Texts()[0];
  EXPECT_TRUE(report.starts_with("Chromosome: 3\nStart Position= ")) << report;
  EXPECT_TRUE(report.ends_with("\n Goto Web Information?")) << report;
  // A pixel is 50,000 ten-base units at this zoom.
  long long start = 0, end = 0, length = 0;
  ASSERT_EQ(std::sscanf(report.c_str(), "Chromosome: 3\nStart Position= %lld (%*[^)])\nEnd Position= %lld (%*[^)])\nLength= %lld",
                        &start, &end, &length),
            3)
      << report;
  EXPECT_NEAR(double(start), 1e7, 5e5);
  EXPECT_NEAR(double(end), 2e7, 5e5);
  EXPECT_EQ(length, end - start);
  // Each end is named by the band that holds it.
  std::string startBand, endBand;
  doc_->Cytoband.GetBandName(startBand, 3, int(start / 10), TRUE);
  doc_->Cytoband.GetBandName(endBand, 3, int(end / 10), TRUE);
  ASSERT_NE(startBand, endBand);
  EXPECT_EQ(report, platform::Format("Chromosome: 3\nStart Position= %lld (%s)\nEnd Position= %lld (%s)\nLength= %lld\n "
                                     "Goto Web Information?",
                                     start, startBand.c_str(), end, endBand.c_str(), length));
  EXPECT_TRUE(Headless().OpenedUrls().empty());
  EXPECT_EQ(view.m_nMouseMode, MOUSE_NONE);
}

TEST_F(IntegralViewTest, InformationOpensTheBrowserAHundredBasesEitherSideOfThePosition) {
  Integrate({"A"}, {{0, 1000000, 2000000, 1, 1}});
  CQOVAView& view = NewView();
  messages_.QueueAnswer(IDYES);
  RightClick(view, {LONG(view.ToDeviceX(view.m_nChromosomeX[3] + 1500000)), LONG(view.ToDeviceY(view.m_nChromosomeY[3] + 500))},
             "Information");
  ASSERT_EQ(messages_.Texts().size(), 1u);
  int chromosome = 0;
  long long position = 0;
  ASSERT_EQ(std::sscanf(messages_.Texts()[0].c_str(), "Chromosome= %d\tCytoband= %*s\n Position %lld", &chromosome, &position), 2)
      << messages_.Texts()[0];
  EXPECT_EQ(chromosome, 3);
  EXPECT_NEAR(double(position), 1.5e7, 1e5);
  EXPECT_EQ(Headless().OpenedUrls(),
            std::vector<std::string>{views::GenomeBrowserAddress(views::kDefaultGenomeBrowser, 3, int(position - 100),
                                                                 int(position + 100))});
}

}  // namespace
}  // namespace qova::test
