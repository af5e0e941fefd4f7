// The values the multiple-sample grid draws: where the bars of one
// chromosome put each SNP and in which colour, the ruler's labels, and every
// item of a whole-genome row at the height of its value on both scales.
#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include "core/AnalyzedData.h"
#include "core/ArrayTypes.h"
#include "core/GenomeTables.h"
#include "platform/Strings.h"
#include "platform/ui/Headless.h"
#include "resources/ParameterDialogs.h"
#include "tests/views/multiple/MultipleViewTestSupport.h"
#include "views/ViewNavigation.h"

namespace views = qova::views;

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;
using platform::ui::DrawOp;
using platform::ui::Headless;
using platform::ui::Picture;

// A vertical line of a bar: its x, top, bottom and pen colour.
using Stroke = std::tuple<int, int, int, COLORREF>;

std::vector<Stroke> Strokes(const Picture& picture) {
  std::vector<Stroke> strokes;
  for (const auto& r : picture.records)
    if (r.op == DrawOp::Line) strokes.emplace_back(r.x1, r.y1, r.y2, r.color);
  std::ranges::sort(strokes);
  return strokes;
}

// The y of a value above base yb at magnification m: the product truncated.
int DotY(int yb, float value, int m) { return yb - int(std::trunc(double(value) * m)); }

class MultiplePaintersTest : public MultipleViewTest {
 protected:
  // Leaves only the SNPs that the cases set valid on chromosome c of listed sample `sample`.
  void InvalidateChromosome(int sample, int c) {
    CAnalyzedData& a = *doc_->LoadedResults[std::size_t(sample)];
    std::fill(a.ValidFlag.begin() + First(c), a.ValidFlag.begin() + End(c), 0);
  }
  static void SetState(CAnalyzedData& a, int i, int state) {
    a.CopyNumberState[std::size_t(i)] = state;
    a.EditedCopyNumberState[std::size_t(i)] = state;
  }
};

TEST_F(MultiplePaintersTest, TheBarsOfOneChromosomeColourEachValidSnpByItsLikelihoodAndState) {
  ListThree();
  CQOVAView& view = NewView();
  CDisplaySetting::ColorMKeys& k = view.m_pDisplaySetting->COLORM;
  k.thLOH1 = 30;
  k.thLOH2 = 300;
  k.thLOH3 = 600;
  k.thLOH4 = 1000;
  for (int n = 0; n < 5; ++n) k.LOH[n] = RGB(10 * n + 1, 2, 3);
  for (int n = 0; n < 7; ++n) k.CN[n] = RGB(4, 10 * n + 1, 5);
  const COLORREF lohBar = view.m_pDisplaySetting->COLOR.C6;
  const struct {
    int valid;
    float likelihood;
    int state;
    bool lohBar;  // above 30 at more than one copy
    int level;
  } cases[] = {
      {1, 5.0f, 2, false, 0},    {1, 30.0f, 2, false, 0},  {1, 30.5f, 2, true, 1},   {1, 300.0f, 1, false, 1},
      {1, 300.5f, 0, false, 2},  {1, 600.5f, 3, true, 3},  {1, 1000.0f, 5, true, 3}, {1, 1000.5f, 6, true, 4},
      {0, 2000.0f, 3, false, 0},  // invalid: in no bar
  };
  const int c = 5;
  InvalidateChromosome(1, c);
  CAnalyzedData& a = *doc_->LoadedResults[1];
  std::vector<int> slots;
  for (std::size_t n = 0; n < std::size(cases); ++n) {
    const int i = First(c) + 10 + 3 * int(n);
    slots.push_back(i);
    a.ValidFlag[std::size_t(i)] = cases[n].valid;
    a.LohLikelihood[std::size_t(i)] = cases[n].likelihood;
    SetState(a, i, cases[n].state);
  }
  ASSERT_TRUE(view.BindMultipleSample(1, true));
  const int y = 1000;
  std::vector<Stroke> loh, levels, states;
  for (std::size_t n = 0; n < std::size(cases); ++n) {
    if (!cases[n].valid) continue;
    const int x = view.SnpX(c, 0, slots[n]);
    if (cases[n].lohBar) loh.emplace_back(x, y, y + 30, lohBar);
    levels.emplace_back(x, y, y + 70, k.LOH[cases[n].level]);
    states.emplace_back(x, y, y + 70, k.CN[cases[n].state]);
  }
  for (auto* v : {&loh, &levels, &states}) std::ranges::sort(*v);
  LogicalCanvas lohCanvas, levelCanvas, stateCanvas;
  view.DrawLohBar(lohCanvas.Dc(), c, 0, y);
  view.DrawLohLevelBar(levelCanvas.Dc(), c, 0, y);
  view.DrawStateBar(stateCanvas.Dc(), c, 0, y);
  EXPECT_EQ(Strokes(lohCanvas.Picture()), loh);
  EXPECT_EQ(Strokes(levelCanvas.Picture()), levels);
  EXPECT_EQ(Strokes(stateCanvas.Picture()), states);
}

TEST_F(MultiplePaintersTest, TheRulerLabelsEachTickWithItsPositionInBases) {
  ListThree();
  CQOVAView& view = NewView();
  view.m_nChromosome = 8;
  view.m_nViewFlags |= VIEW_BASE_INTERVAL;
  const int x = view.m_nChromosomeX[0], y = 300;
  // Scrolled so that the window's left edge falls between two ticks.
  for (const int scroll : {0, 1234567}) {
    SCOPED_TRACE(scroll);
    view.m_nScrollX = scroll;
    const long long left = std::max<long long>(0, view.ToLogicalX(0) - x);
    const long long right = std::min<long long>(view.ColumnWidth(8), view.ToLogicalX(kCanvasWidth) - x);
    const long long step = views::RulerStep(right - left);
    ASSERT_GT(step, 0);
    LogicalCanvas canvas;
    view.DrawRuler(canvas.Dc(), 8, x, y);
    std::vector<std::tuple<std::string, int, int>> labels, expected;
    for (const auto& r : canvas.Picture().records)
      if (r.op == DrawOp::Text) labels.emplace_back(canvas.Picture().TextOf(r), r.x1, r.y1);
    for (long long v = left / step * step; v <= right / step * step; v += step)
      expected.emplace_back(std::to_string(v * 10), int(x + v), y);
    EXPECT_EQ(labels, expected);
    ASSERT_GE(labels.size(), 2u);
    if (scroll != 0) {
      EXPECT_LT(std::get<1>(labels[0]), x + left) << "the first tick lies left of the window";
    }
    // Each label has its tick below it.
    std::vector<Stroke> ticks;
    for (const auto& [text, tx, ty] : expected) ticks.emplace_back(tx, y + 40, y + 60, RGB(0, 0, 0));
    std::vector<Stroke> drawn = Strokes(canvas.Picture());
    std::erase_if(drawn, [&](const Stroke& s) { return std::get<1>(s) != y + 40; });
    EXPECT_EQ(drawn, ticks);
  }
}

// Self row S1 of the whole genome, every item switched on, averages over one
// SNP: two valid SNPs of chromosome 5, one heterozygous in both calls and one
// that lost its heterozygosity, each item at its place in the row.
TEST_F(MultiplePaintersTest, AWholeGenomeRowDrawsEachItemAtTheHeightOfItsValue) {
  ListThree();
  const int c = 5;
  InvalidateChromosome(0, c);
  CAnalyzedData& a = *doc_->LoadedResults[0];
  const int i = (First(c) + End(c)) / 2, j = i + 40;
  const struct {
    int slot, test, state;
    float total, alleleA, alleleB;
  } snps[] = {{i, kCallAB, 4, 0.5f, 0.25f, -0.5f}, {j, kCallA, 1, -0.75f, 0.75f, -0.25f}};
  for (const auto& s : snps) {
    const std::size_t k = std::size_t(s.slot);
    a.ValidFlag[k] = 1;
    a.CallTest[k] = s.test;
    a.CallReference[k] = kCallAB;
    SetState(a, s.slot, s.state);
    a.LogRatio[k] = s.total;
    a.LogRatioA[k] = s.alleleA;
    a.LogRatioB[k] = s.alleleB;
  }
  a.Markers = {{c, i, j, MarkerRegion::kUserMarkerBase + 2}};
  CQOVAView& view = NewView();
  CDisplaySetting& setting = *view.m_pDisplaySetting;
  setting.ITEMS.MULTIALL = 0x400 | 0x1 | 0x8 | 0x40 | 0x80 | 0x800;
  // No left margin: the row's pixels fall inside the canvas.
  setting.MultiGapPercent = 0;
  setting.MultiTopMargin = 40;
  setting.MultiNameY = 25;
  setting.SCALE.MAG_SELF = 80;
  setting.MARKER.WIDTH = 3;
  setting.MARKER.INTERVAL = 7;
  setting.MARKER.COL[2] = RGB(9, 8, 7);
  const CDisplaySetting::ColorKeys& colours = setting.COLOR;
  const int m = 80;
  for (const bool log : {true, false}) {
    SCOPED_TRACE(log ? "log" : "linear");
    setting.SCALE.SELF_ISLOG = log ? 1 : 0;
    view.OnUpdate(nullptr, 0, nullptr);
    view.m_nViewFlags &= ~(VIEW_ONE_CHROMOSOME | VIEW_BASE_INTERVAL);
    view.LayoutMultipleView();
    Headless().OnDialog(res::kAverageDialog, [](DialogDriver& d) { d.Type(res::kAverageNumber, "1").Ok(); });
    view.OnParameterAverageMode();
    LogicalCanvas canvas;
    view.DrawMultipleView(canvas.Dc());
    const Picture& picture = canvas.Picture();

    const int rowTop = view.m_nChromosomeY[0] + view.m_aMultiOrder[0];
    const int y = 40 + rowTop, x = view.m_nChromosomeX[0];
    const auto value = [&](float v) { return log ? v : std::exp2(v); };
    // The rows below S1 start 900 units or more further down.
    const auto inRow = [&](int top) { return top >= y && top < y + 900; };
    const auto pixelsAt = [&](int px, COLORREF colour) {
      std::vector<int> ys;
      for (const auto& r : picture.records)
        if (r.op == DrawOp::Pixel && r.x1 == px && r.color == colour && inRow(r.y1)) ys.push_back(r.y1);
      return ys;
    };
    const platform::ui::DrawRecord* name = picture.FindText("S1");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->y1, rowTop + 25);

    std::vector<Stroke> bars;
    for (const auto& s : snps) {
      SCOPED_TRACE(s.slot);
      const int xs = view.GenomeSnpX(c, x, s.slot);
      // The copy-number plot in chromosome 5's colour, then the allele plot below the call bars.
      EXPECT_EQ(pixelsAt(xs, RGB(0, 0, 170)),
                std::vector<int>{DotY(y + 100 + (log ? 0 : m), value(s.total), m)});
      const int alleleBase = y + 400 + 100 + (log ? 0 : m);
      EXPECT_EQ(pixelsAt(xs, colours.C2), std::vector<int>{DotY(alleleBase, value(s.alleleA), m)});
      EXPECT_EQ(pixelsAt(xs, colours.C3), std::vector<int>{DotY(alleleBase, value(s.alleleB), m)});
      if (s.test == kCallAB)
        bars.emplace_back(xs, y + 300, y + 330, colours.C5);
      else
        bars.emplace_back(xs, y + 330, y + 359, colours.C6);
      bars.emplace_back(xs, y + 700, y + 770, setting.COLORM.CN[s.state]);
    }
    std::ranges::sort(bars);
    std::vector<Stroke> drawn = Strokes(picture);
    std::erase_if(drawn, [&](const Stroke& s) {
      const int sx = std::get<0>(s);
      return (sx != view.GenomeSnpX(c, x, i) && sx != view.GenomeSnpX(c, x, j)) || !inRow(std::get<1>(s)) ||
             std::get<3>(s) == setting.MARKER.COL[2];
    });
    EXPECT_EQ(drawn, bars);
    // Marker 2 as three lines of width 1, two intervals below the state bar.
    std::vector<std::tuple<int, int, int, int>> markers;
    for (const auto& r : picture.records)
      if (r.op == DrawOp::Line && r.color == setting.MARKER.COL[2]) markers.emplace_back(r.x1, r.x2, r.y1, r.y2);
    const int from = view.GenomeSnpX(c, x, i), to = view.GenomeSnpX(c, x, j), row = y + 800 + 2 * 7;
    EXPECT_EQ(markers, (std::vector<std::tuple<int, int, int, int>>{
                           {from, to, row, row}, {from, to, row + 1, row + 1}, {from, to, row + 2, row + 2}}));
  }
}

// A non-self row of one chromosome with every item on, under the header's
// title, ruler and ideogram: each item below the one before it.
TEST_F(MultiplePaintersTest, AOneChromosomeRowAndTheHeaderStackTheirItemsInOrder) {
  List({{"Tumour02.CFN", "S2"}});
  const int c = 5;
  doc_->LoadedResults[0]->Markers = {{c, First(c) + 10, First(c) + 90, MarkerRegion::kUserMarkerBase + 3}};
  CQOVAView& view = NewView();
  CDisplaySetting& setting = *view.m_pDisplaySetting;
  setting.ITEMS.MULTI = 0x4 | 0x2 | 0x10 | 0x1 | 0x40 | 0x80 | 0x20 | 0x800 | 0x100 | 0x200;
  setting.MultiGapPercent = 0;
  setting.MultiTopMargin = 40;
  setting.MARKER.INTERVAL = 7;
  setting.MARKER.COL[3] = RGB(9, 8, 7);
  setting.COLOR.C5 = RGB(1, 2, 99);
  setting.COLOR.C6 = RGB(4, 5, 6);
  setting.COLOR.C8 = RGB(7, 8, 9);
  for (int n = 0; n < 5; ++n) setting.COLORM.LOH[n] = RGB(10 * n + 1, 2, 3);
  for (int n = 0; n < 7; ++n) setting.COLORM.CN[n] = RGB(4, 10 * n + 1, 5);
  view.m_nChromosome = c;
  view.OnUpdate(nullptr, 0, nullptr);
  ASSERT_TRUE(view.m_nViewFlags & VIEW_ONE_CHROMOSOME);
  view.LayoutMultipleView();
  view.m_nScrollY = 0;
  LogicalCanvas canvas;
  view.DrawMultipleView(canvas.Dc());
  const Picture& picture = canvas.Picture();
  const int rowTop = view.m_nChromosomeY[0] + view.m_aMultiOrder[0], y = 40 + rowTop;
  ASSERT_GE(rowTop, 300) << "the header's title, ruler and ideogram above the row";

  // The tops and bottoms of the lines of each colour.
  const auto spans = [&](const std::vector<COLORREF>& colours) {
    std::set<std::pair<int, int>> out;
    for (const auto& r : picture.records)
      if (r.op == DrawOp::Line && std::ranges::find(colours, r.color) != colours.end()) out.insert({r.y1, r.y2});
    return out;
  };
  using Spans = std::set<std::pair<int, int>>;
  EXPECT_EQ(spans({setting.COLOR.C5}), (Spans{{y + 700, y + 730}}));
  EXPECT_EQ(spans({setting.COLOR.C6}), (Spans{{y + 730, y + 760}}));
  EXPECT_EQ(spans(std::vector<COLORREF>(std::begin(setting.COLORM.CN), std::end(setting.COLORM.CN))),
            (Spans{{y + 800, y + 870}}));
  EXPECT_EQ(spans(std::vector<COLORREF>(std::begin(setting.COLORM.LOH), std::end(setting.COLORM.LOH))),
            (Spans{{y + 900, y + 970}}));
  std::set<int> lohPanel;
  for (const auto& [top, bottom] : spans({setting.COLOR.C8})) lohPanel.insert(top);
  EXPECT_EQ(lohPanel, std::set<int>{y + 1000});
  EXPECT_EQ(spans({RGB(9, 8, 7)}), (Spans{{y + 1300 + 3 * 7, y + 1300 + 3 * 7}}));

  // The ideograms: the header's below its ruler, the row's below its two plots.
  std::set<int> bandTops;
  for (const auto& r : picture.records)
    if (r.op == DrawOp::Rectangle) bandTops.insert(r.y1);
  EXPECT_EQ(bandTops, (std::set<int>{200, y + 600}));
  std::set<int> rulerLabels;
  for (const auto& r : picture.records)
    if (r.op == DrawOp::Text && r.y1 < rowTop && picture.TextOf(r) != "Ch5") rulerLabels.insert(r.y1);
  EXPECT_EQ(rulerLabels, std::set<int>{100});

  // The name stands at twice the gap, moved along by a sideways scroll unless it is told to stay.
  setting.MultiGapPercent = 100;
  setting.MultiNameX = 200;
  view.OnUpdate(nullptr, 0, nullptr);
  const int gap = view.m_nChromosomeX[0];
  ASSERT_GT(gap, 0);
  for (const int scrolls : {0, 1}) {
    setting.MultiNameScrolls = scrolls;
    view.m_nScrollX = 300;
    LogicalCanvas named;
    view.DrawMultipleView(named.Dc());
    const platform::ui::DrawRecord* name = named.Picture().FindText("S2");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->x1, 2 * gap + (scrolls == 0 ? 300 : 0)) << scrolls;
  }
}

// A type whose SNPs start at row 0 of its family table and one whose SNPs
// start further down (Mapping50K_Xba240 at 57,244), on both axes.
TEST_F(MultiplePaintersTest, TheSeparatorsAndMarkersOfAWholeGenomeRowFollowItsAxis) {
  ListThree();
  const CBasicData& xbaTable = LoadFamily(2);
  CArrayData xba("Xba", "Mapping50K_Xba240", global_.TypeInfo(3), CTime());
  auto xbaResult = std::make_unique<CAnalyzedData>(xba, AnalysisKind::NonSelf);
  xbaResult->AnalysisArrayType = "Mapping50K_Xba240";
  doc_->LoadedResults.push_back(std::move(xbaResult));
  CQOVAView& view = NewView();
  CDisplaySetting& setting = *view.m_pDisplaySetting;
  setting.MARKER.WIDTH = 1;
  setting.MARKER.INTERVAL = 10;
  setting.MARKER.COL[1] = RGB(9, 8, 7);
  const struct {
    int sample, type;
    const CBasicData* table;
  } rows[] = {{1, 0, &global_.BasicData[0]}, {3, 3, &xbaTable}};
  const int x = 1000, y = 500;
  for (const auto& row : rows) {
    const std::int32_t* starts = qova::core::kArrayChromosomeStarts[row.type];
    const int first = starts[9] + 5, last = starts[9] + 60;
    doc_->LoadedResults[std::size_t(row.sample)]->Markers = {{9, first, last, MarkerRegion::kUserMarkerBase + 1}};
    for (const bool base : {false, true}) {
      SCOPED_TRACE(platform::Format("type %d on the %s axis", row.type, base ? "position" : "SNP"));
      ASSERT_TRUE(view.BindMultipleSample(row.sample, true));
      view.m_nViewFlags = base ? (view.m_nViewFlags | VIEW_BASE_INTERVAL) : (view.m_nViewFlags & ~VIEW_BASE_INTERVAL);
      // Chromosome c begins at its first SNP, or at its start in 10-base units, over 20.
      const auto begins = [&](int c) { return x + (base ? ChromosomeStartTable[c] / 20 : (starts[c] - starts[1]) / 20); };
      const auto at = [&](int slot) {
        const int position = row.table->Position[std::size_t(row.table->IndexMap[std::size_t(slot)])];
        return base ? x + ChromosomeStartTable[9] / 20 + position / 200 : x + (slot - starts[1]) / 20;
      };
      LogicalCanvas plot, markers;
      view.DrawGenomeCopyNumberPlot(plot.Dc(), x, y);
      view.DrawGenomeMarkers(markers.Dc(), x, y);
      std::vector<Stroke> separators, expected;
      for (const Stroke& s : Strokes(plot.Picture()))
        if (std::get<1>(s) == y && std::get<2>(s) == y + 200) separators.push_back(s);
      for (int c = 2; c <= 23; ++c) expected.emplace_back(begins(c), y, y + 200, setting.COLOR.C11);
      EXPECT_EQ(separators, expected);
      std::vector<std::tuple<int, int, int, COLORREF>> lines;
      for (const auto& r : markers.Picture().records)
        if (r.op == DrawOp::Line) lines.emplace_back(r.x1, r.x2, r.y1, r.color);
      EXPECT_EQ(lines,
                (std::vector<std::tuple<int, int, int, COLORREF>>{{at(first), at(last), y + 10, RGB(9, 8, 7)}}));
    }
  }
}

}  // namespace
}  // namespace qova::test
