// The Measure tool, dragged with the mouse as a user drags it: the band and
// its cursor, the Statistics dialog's texts against a computation straight
// from the result file, Copy and Go to Web, and the region report of a
// combined two-array sample.
#include <algorithm>
#include <cmath>

#include "core/AnalyzedData.h"
#include "core/ArrayTypes.h"
#include "core/Cytoband.h"
#include "platform/Strings.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Headless.h"
#include "resources/StatisticsDialog.h"
#include "tests/views/ViewToolTestSupport.h"
#include "tools/datagen/DataGen.h"
#include "tools/samplegen/SampleGen.h"
#include "views/GenomeBrowser.h"
#include "views/main/ShowStat.h"

using namespace qova::views::main;
namespace views = qova::views;

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;
using platform::ui::DrawOp;
using platform::ui::Headless;

// What the dialog showed, and the clipboard and the address its buttons gave.
struct Shown {
  std::string text;
  std::string clipboard;
  std::string address;
};

// The sums of one series, computed here the plain way.
struct Sums {
  int n = 0;
  double s = 0, q = 0;
  void Add(double x) { ++n, s += x, q += x * x; }
  [[nodiscard]] std::string Display(const char* name) const {
    std::string t = platform::Format("\n%s: Average: %f", name, s / n);
    if (n >= 2) t += platform::Format(" SD: %f", std::sqrt(std::max(0.0, (q - s * s / n) / (n - 1))));
    return t;
  }
  [[nodiscard]] std::string Clip(const char* name) const {
    std::string t = platform::Format("\n%s\t%d", name, n);
    if (n >= 1) t += platform::Format("\t%f", s / n);
    if (n >= 2) t += platform::Format("\t%f", std::sqrt(std::max(0.0, (q - s * s / n) / (n - 1))));
    return t;
  }
};

class ViewMeasureTest : public ViewToolTest {
 protected:
  // Arms Measure, drags, and answers the Statistics dialog with Copy, Go to
  // Web and OK.
  Shown MeasureDrag(CQOVAView& view, CPoint from, CPoint to) {
    Shown shown;
    Headless().OnDialog(res::kShowStatDialog, [&](DialogDriver& d) {
      EXPECT_EQ(d.Caption(), "Statistics ");
      shown.text = d.Text(res::kShowStatText);
      d.Click(res::kShowStatCopy).Click(res::kShowStatGoToWeb).Ok();
    });
    const std::size_t urls = Headless().OpenedUrls().size();
    view.OnParameterMeasure();
    Drag(view, from, to);
    EXPECT_EQ(view.m_nMouseMode, MOUSE_NONE);
    shown.clipboard = Headless().ClipboardText().value_or("");
    if (Headless().OpenedUrls().size() > urls) shown.address = Headless().OpenedUrls().back();
    return shown;
  }

  // The texts the dialog must show for slots lo..hi of chromosome c of the
  // result file `path`, computed from the file.
  Shown Expected(const std::string& path, int c, int lo, int hi, bool alleles) const {
    CAnalyzedData file;
    file.LoadFileAllocating(path);
    Sums total, linear, a, b, linearA, linearB;
    for (int i = lo; i <= hi; ++i) {
      if (file.ValidFlag[std::size_t(i)] != 1) continue;
      const double x = file.LogRatio[std::size_t(i)];
      total.Add(x);
      linear.Add(std::pow(2.0, x + 1));
      if (!alleles || file.CallReference[std::size_t(i)] != kCallAB) continue;
      a.Add(file.LogRatioA[std::size_t(i)]);
      b.Add(file.LogRatioB[std::size_t(i)]);
      linearA.Add(std::pow(2.0, file.LogRatioA[std::size_t(i)]));
      linearB.Add(std::pow(2.0, file.LogRatioB[std::size_t(i)]));
    }
    std::string lowBand, highBand;
    doc_->Cytoband.GetBandName(lowBand, c, lo, FALSE);
    doc_->Cytoband.GetBandName(highBand, c, hi, FALSE);
    const int p0 = PositionOfSlot(lo), p1 = PositionOfSlot(hi);
    const std::string name = c == 23 ? "X" : std::to_string(c);
    Shown e;
    e.text = platform::Format("Chromosome: %s\nStart\tSNPnumber= %d\n\tPosition= %d\n\tCytoband= %s\nEnd\tSNPnumber= "
                              "%d\n\tPosition= %d\n\tCytoband= %s\nLength= %d",
                              name.c_str(), lo, p0, lowBand.c_str(), hi, p1, highBand.c_str(), p1 - p0);
    e.text += platform::Format("\nSNP Number: %d", total.n);
    if (alleles) e.text += platform::Format("\nHeteroCall Number: %d", a.n);
    if (total.n) e.text += "\nlog2" + total.Display("Rate AB");
    if (alleles && a.n) e.text += a.Display("Rate A") + b.Display("Rate B");
    if (total.n) e.text += "\nlinear" + linear.Display("Rate AB");
    if (alleles && a.n) e.text += linearA.Display("Rate A") + linearB.Display("Rate B");
    e.clipboard = platform::Format("Chromosome\t%s\nStart SNPnumber\t%d\nStart Position\t%d\nStart Cytoband\t%s\nEnd "
                                   "SNPnumber\t%d\nEnd Position\t%d\nEnd Cytoband\t%s\nLength\t%d",
                                   name.c_str(), lo, p0, lowBand.c_str(), hi, p1, highBand.c_str(), p1 - p0);
    e.clipboard += "\nlog2\tNumber\tAverage\tSD" + total.Clip("RateAB");
    if (alleles) e.clipboard += a.Clip("RateA") + b.Clip("RateB");
    e.clipboard += "\nlinear\tNumber\tAverage\tSD" + linear.Clip("RateAB");
    if (alleles) e.clipboard += linearA.Clip("RateA") + linearB.Clip("RateB");
    e.address = views::GenomeBrowserAddress(views::kDefaultGenomeBrowser, c, p0, p1);
    return e;
  }
};

TEST_F(ViewMeasureTest, ADragOverThePlantedLossReportsItEitherWayAndUpToTheChromosomesEnd) {
  Open("Tumour01", ".CFS");
  CQOVAView& view = NewView();
  const std::string file = SmallDemoFolder() + "Results/Tumour01.CFS";
  // Inside the loss planted over 10 % to 45 % of chromosome 3.
  const int length = End(3) - First(3);
  const CPoint from = Over(view, 3, First(3) + length * 15 / 100), to = Over(view, 3, First(3) + length * 40 / 100);
  const int lo = SlotAt(view, from), hi = SlotAt(view, to);
  ASSERT_LT(lo, hi);
  const Shown expected = Expected(file, 3, lo, hi, true);

  const Shown rightwards = MeasureDrag(view, from, to);
  EXPECT_EQ(rightwards.text, expected.text);
  EXPECT_EQ(rightwards.clipboard, expected.clipboard);
  EXPECT_EQ(rightwards.address, expected.address);
  // The numbers are the loss's: one copy lies well below the normal 0.
  EXPECT_NE(rightwards.text.find("\nlog2\nRate AB: Average: -0."), std::string::npos) << rightwards.text;

  const Shown leftwards = MeasureDrag(view, to, from);
  EXPECT_EQ(leftwards.text, expected.text);
  EXPECT_EQ(leftwards.clipboard, expected.clipboard);

  // Released in the gap after chromosome 3: the range ends at its last slot.
  const CPoint beyond(LONG(view.ToDeviceX(view.m_nChromosomeX[3] + length + view.m_nChromosomeX[0] / 2)), to.y);
  const Shown past = MeasureDrag(view, to, beyond);
  EXPECT_EQ(past.text, Expected(file, 3, hi, End(3) - 1, true).text);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{});
  EXPECT_TRUE(Headless().Failures().empty());
}

TEST_F(ViewMeasureTest, OneSlotOnXOfATotalOnlyResultShowsNoDeviationAndNoAlleles) {
  Open("Tumour02", ".CFN", kStatusSingle);
  CQOVAView& view = NewView();
  ASSERT_FALSE(view.m_bNonSelfAllele);
  const int length = End(23) - First(23);
  CPoint at = Over(view, 23, First(23) + length / 2);
  int slot = SlotAt(view, at);
  // A slot the analysis used, so that its value is shown.
  while (doc_->AnalyzedData.ValidFlag[std::size_t(slot)] != 1) slot = SlotAt(view, at = {at.x + 1, at.y});
  const Shown shown = MeasureDrag(view, at, at);
  const Shown expected = Expected(SmallDemoFolder() + "Results/Tumour02.CFN", 23, slot, slot, false);
  EXPECT_EQ(shown.text, expected.text);
  EXPECT_EQ(shown.clipboard, expected.clipboard);
  EXPECT_EQ(shown.address, expected.address);
  EXPECT_EQ(shown.text.rfind("Chromosome: X\n", 0), 0u);
  EXPECT_NE(shown.text.find("Length= 0\nSNP Number: 1\nlog2\nRate AB: Average: "), std::string::npos);
  for (const char* absent : {" SD", "HeteroCall", "Rate A:", "Rate B:"})
    EXPECT_EQ(shown.text.find(absent), std::string::npos) << absent;
  EXPECT_EQ(shown.clipboard.find("\nRateA\t"), std::string::npos);
  EXPECT_EQ(shown.clipboard.rfind("Chromosome\tX\n", 0), 0u);
}

TEST_F(ViewMeasureTest, TheBandFollowsTheMouseUnderACrossAndAPressBesideEveryChromosomeOpensNone) {
  namespace input = platform::ui::input;
  Open("Tumour02", ".CFN");
  CQOVAView& view = NewView();
  view.OnParameterMeasure();
  const auto inversions = [&view] {
    std::vector<CRect> rects;
    for (const auto& r : Headless().ClientDrawing(view).records)
      if (r.op == DrawOp::Invert) rects.push_back(r.Rect());
    return rects;
  };
  const CPoint press = Over(view, 5, First(5) + 300);
  input::Mouse(view, WM_LBUTTONDOWN, MK_LBUTTON, press);
  EXPECT_EQ(Headless().Cursor(), platform::ui::StandardCursor(IDC_CROSS));
  ASSERT_EQ(inversions().size(), 1u);
  EXPECT_EQ(inversions()[0].Width(), 0);

  // Leftwards the band lies between the pointer and the press.
  input::Mouse(view, WM_MOUSEMOVE, MK_LBUTTON, {press.x - 60, press.y});
  std::vector<CRect> band = inversions();
  ASSERT_EQ(band.size(), 3u);
  EXPECT_EQ(band[1], band[0]);  // the old band inverted away
  EXPECT_NEAR(band[2].left, press.x - 60, 1);
  EXPECT_NEAR(band[2].right, press.x, 1);
  EXPECT_LT(band[2].top, press.y);
  EXPECT_GT(band[2].bottom, press.y);
  // Moves without the button change nothing.
  input::Mouse(view, WM_MOUSEMOVE, 0, {press.x - 90, press.y});
  EXPECT_EQ(inversions().size(), 3u);

  Headless().OnDialog(res::kShowStatDialog, [](DialogDriver& d) { d.Ok(); });
  input::Mouse(view, WM_LBUTTONUP, 0, {press.x - 60, press.y});
  EXPECT_EQ(Headless().Cursor(), platform::ui::StandardCursor(IDC_ARROW));
  ASSERT_EQ(Headless().ShownDialogs().size(), 1u);

  // Right of the last column: no band, and what follows does nothing.
  view.OnParameterMeasure();
  const CPoint beside(LONG(view.ToDeviceX(view.m_nLayoutWidth + 10)), press.y);
  input::Mouse(view, WM_LBUTTONDOWN, MK_LBUTTON, beside);
  input::Mouse(view, WM_MOUSEMOVE, MK_LBUTTON, press);
  input::Mouse(view, WM_LBUTTONUP, 0, press);
  EXPECT_TRUE(inversions().empty());
  EXPECT_EQ(Headless().ShownDialogs().size(), 1u);
  EXPECT_EQ(view.m_nMouseMode, MOUSE_MEASURE);
  EXPECT_TRUE(Headless().Failures().empty());
}

// A combined sample of both arrays of the 50K set: positions through the sort
// map, and a report without band labels that offers the browser.
TEST_F(ViewMeasureTest, ACombinedSampleGetsTheRegionReport) {
  constexpr const char* kCombined = "Mapping50K_Hind+Xba";
  const CBasicData& table = LoadFamily(2);
  doc_->AnalyzedData = GeneratedResult(kCombined, table);
  doc_->Status = kStatusSingle;
  CQOVAView& view = NewView();
  ASSERT_TRUE(view.m_nViewFlags & VIEW_COMBINED_ARRAY);
  const int* starts = qova::core::kArrayChromosomeStarts[qova::core::FindArrayType(kCombined)->type];
  const CPoint from = Over(view, 8, starts[8] + 500), to = Over(view, 8, starts[8] + 2000);
  const int lo = SlotAt(view, from), hi = SlotAt(view, to);
  const auto position = [&table](int i) {
    return table.Position[std::size_t(table.IndexMap[std::size_t(table.SortMap[std::size_t(i)])])];
  };
  messages_.QueueAnswer(IDYES);
  view.OnParameterMeasure();
  Drag(view, to, from);
  ASSERT_EQ(messages_.AllShown().size(), 1u);
  EXPECT_EQ(messages_.AllShown()[0].text,
            platform::Format("Chromosome: 8\nStart\tSNPnumber= %d\n\tPosition= %d\nEnd\tSNPnumber= %d\n\tPosition= "
                             "%d\nLength= %d\n Goto Web Information?",
                             lo, position(lo), hi, position(hi), position(hi) - position(lo)));
  EXPECT_EQ(messages_.AllShown()[0].type, UINT(MB_YESNO | MB_ICONINFORMATION));
  EXPECT_EQ(Headless().OpenedUrls(),
            std::vector<std::string>{views::GenomeBrowserAddress(views::kDefaultGenomeBrowser, 8, position(lo),
                                                                 position(hi))});
  EXPECT_TRUE(Headless().ShownDialogs().empty());
  EXPECT_EQ(view.m_nMouseMode, MOUSE_NONE);
}

// Fifty equal values leave the sums a variance a hair below zero.
TEST(RegionStatisticsTest, AVarianceThatRoundingMadeNegativeShowsAsNoDeviation) {
  const std::vector<std::int32_t> valid(50, 1), calls(50, kCallAB);
  const std::vector<float> ratio(50, 0.7f);
  RegionSeries series{valid, ratio, ratio, ratio, calls, true};
  const RegionStatistics s = MeasureRegion(series, 0, 49);
  EXPECT_EQ(s.logTotal.count, 50);
  EXPECT_EQ(s.logTotal.Deviation(), 0.0);
  const std::string text = StatisticsDisplayText({}, s);
  EXPECT_NE(text.find("\nRate AB: Average: 0.700000 SD: 0.000000"), std::string::npos) << text;
  EXPECT_EQ(text.find("nan"), std::string::npos) << text;
}

}  // namespace
}  // namespace qova::test
