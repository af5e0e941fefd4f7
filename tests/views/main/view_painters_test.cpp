// The drawing pass and the painters of the main view, recorded: the title,
// the labels, the dots and HMM lines, the bars, the LOH lines, the allele
// panels' labels, the markers, the combined sample's placement, and that
// every painter leaves the context as it found it.
#include <algorithm>
#include <cmath>
#include <functional>

#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "core/SnpOrder.h"
#include "platform/Strings.h"
#include "tests/views/ViewTestSupport.h"
#include "tools/datagen/DataGen.h"
#include "tools/samplegen/SampleGen.h"

namespace qova::test {
namespace {

using platform::ui::DrawOp;
using platform::ui::DrawRecord;
using platform::ui::Picture;
using platform::ui::RecordingCanvas;

// Painters draw on an identity mapping here, so records are logical units.
constexpr int kX = 100;
constexpr int kY = 1000;

std::vector<DrawRecord> Lines(const Picture& p, COLORREF colour) {
  std::vector<DrawRecord> lines;
  for (const DrawRecord& r : p.records)
    if (r.op == DrawOp::Line && r.color == colour) lines.push_back(r);
  return lines;
}

std::vector<std::string> Texts(const Picture& p) {
  std::vector<std::string> texts;
  for (const DrawRecord& r : p.records)
    if (r.op == DrawOp::Text) texts.emplace_back(p.TextOf(r));
  return texts;
}

class ViewPainterTest : public ViewTest {
 protected:
  CQOVAView& Shown(const std::string& name, const char* extension) {
    Open(name, extension);
    return NewView();
  }
  int ValidIn(int c) const {
    int n = 0;
    for (int i = First(c); i < End(c); ++i) n += doc_->AnalyzedData.ValidFlag[std::size_t(i)] == 1;
    return n;
  }
};

TEST_F(ViewPainterTest, TitleAndLabelsFollowTheSampleAndTheMode) {
  CQOVAView& view = Shown("Tumour02", ".CFN");
  const CAnalyzedData& a = doc_->AnalyzedData;
  const std::string title = platform::Format(
      "Mapping10K_Xba131Sample Tumour02 compared with %d Samples : Display average number = 10,Max and Min "
      "deleted   ploidy=%f   SD=%f",
      a.Header.NonSelfReferenceCount, double(a.MeanState), double(a.SampleSD));
  const Picture genome = Draw(view);
  const std::vector<std::string> texts = Texts(genome);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), title);
  for (const char* label : {"Ch1", "Ch12", "Ch22", "ChX"})
    EXPECT_EQ(std::count(texts.begin(), texts.end(), label), 1) << label;

  view.m_nViewFlags |= VIEW_ONE_CHROMOSOME;
  view.m_nChromosome = 23;
  view.m_nAverageMode = 2;
  const std::vector<std::string> one = Texts(Draw(view));
  EXPECT_EQ(one.front(), platform::Format("Mapping10K_Xba131Sample Tumour02 compared with %d Samples : Display "
                                          "average number = 10,All data included   ploidy=%f",
                                          a.Header.NonSelfReferenceCount, double(a.MeanState)));
  EXPECT_EQ(std::count(one.begin(), one.end(), "ChX"), 1);
  EXPECT_EQ(std::count(one.begin(), one.end(), "Ch1"), 0);

  Open("Tumour01", ".CFS");
  doc_->UpdateAllViews(nullptr);
  EXPECT_EQ(view.SampleTitle().rfind("Mapping10K_Xba131Sample Tumour01 compared with the self reference : ", 0), 0u);
}

TEST_F(ViewPainterTest, DotsAndHmmLineFollowTheValidSnpsAndTheirStates) {
  CQOVAView& view = Shown("Tumour02", ".CFN");
  const CDisplaySetting& d = *view.m_pDisplaySetting;
  for (const int c : {1, 5, 20, 23}) {
    RecordingCanvas dc(kCanvasWidth, kCanvasHeight);
    view.DrawCopyNumberPlot(&dc, c, kX, kY, 0x404);
    EXPECT_EQ(dc.Contents().CountOf(DrawOp::Pixel), std::size_t(ValidIn(c))) << c;
    const std::vector<DrawRecord> hmm = Lines(dc.Contents(), d.COLOR.C4);
    ASSERT_EQ(hmm.size(), std::size_t(ValidIn(c))) << c;
    EXPECT_EQ(hmm[0].x1, hmm[0].x2) << "the line starts at the first valid SNP";
    // Each vertex sits at its state's level (log scale, magnification 100).
    std::size_t k = 0;
    for (int i = First(c); i < End(c); ++i) {
      if (doc_->AnalyzedData.ValidFlag[std::size_t(i)] != 1) continue;
      const int state = view.m_pCopyNumberState[std::size_t(i)];
      ASSERT_EQ(hmm[k].y2, kY + 100 - int(double(view.m_fHmmLevel[state]) * 100)) << c << " " << i;
      ASSERT_EQ(hmm[k].x2, view.SnpX(c, kX, i));
      ++k;
    }
  }
  // Horizontal pieces only: a SNP whose state differs from the previous one starts a new piece.
  view.m_pDisplaySetting->ITEMS.HMMHONLY = 1;
  RecordingCanvas dc(kCanvasWidth, kCanvasHeight);
  view.DrawCopyNumberPlot(&dc, 5, kX, kY, 0x4);
  int pieces = 0, previous = -1;
  for (int i = First(5); i < End(5); ++i) {
    if (doc_->AnalyzedData.ValidFlag[std::size_t(i)] != 1) continue;
    const int state = view.m_pCopyNumberState[std::size_t(i)];
    pieces += state == previous;
    previous = state;
  }
  EXPECT_EQ(Lines(dc.Contents(), d.COLOR.C4).size(), std::size_t(pieces));
  EXPECT_LT(pieces, ValidIn(5)) << "the planted loss on 5 changes state";

  view.m_bHmmIncludeX = false;
  RecordingCanvas x(kCanvasWidth, kCanvasHeight);
  view.DrawCopyNumberPlot(&x, 23, kX, kY, 0x404);
  EXPECT_TRUE(Lines(x.Contents(), d.COLOR.C4).empty());
  EXPECT_EQ(x.Contents().CountOf(DrawOp::Pixel), std::size_t(ValidIn(23)));
}

TEST_F(ViewPainterTest, CallBarsAndLohLinesDrawTheirSnps) {
  CQOVAView& self = Shown("Tumour01", ".CFS");
  const CAnalyzedData& a = doc_->AnalyzedData;
  const auto count = [&](int c, auto wanted) {
    int n = 0;
    for (int i = First(c); i < End(c); ++i) n += a.ValidFlag[std::size_t(i)] == 1 && wanted(i);
    return n;
  };
  const auto test = [&](int i) { return a.CallTest[std::size_t(i)]; };
  const auto ref = [&](int i) { return a.CallReference[std::size_t(i)]; };
  RecordingCanvas dc(kCanvasWidth, kCanvasHeight);
  self.DrawCallBar(&dc, 17, kX, kY);
  self.DrawSecondCallBar(&dc, 17, kX, kY + 30);
  const CDisplaySetting& d = *self.m_pDisplaySetting;
  const std::vector<DrawRecord> first = Lines(dc.Contents(), d.COLOR.C5), second = Lines(dc.Contents(), d.COLOR.C6);
  EXPECT_EQ(int(first.size()), count(17, [&](int i) { return test(i) == kCallAB && ref(i) == kCallAB; }));
  const int lost = count(17, [&](int i) { return ref(i) == kCallAB && (test(i) == kCallA || test(i) == kCallB); });
  EXPECT_EQ(int(second.size()), lost);
  EXPECT_GT(lost, 0) << "the planted copy-neutral LOH on 17";
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first[0].y1, kY);
  EXPECT_EQ(first[0].y2, kY + 30);
  EXPECT_EQ(second[0].y2 - second[0].y1, 29);

  Open("Tumour02", ".CFN");
  doc_->UpdateAllViews(nullptr);
  RecordingCanvas nonSelf(kCanvasWidth, kCanvasHeight);
  self.DrawCallBar(&nonSelf, 17, kX, kY);
  EXPECT_EQ(int(Lines(nonSelf.Contents(), d.COLOR.C5).size()), count(17, [&](int i) { return test(i) == kCallAB; }));

  CAnalyzedData& result = doc_->AnalyzedData;
  const int s = First(11);
  const float likelihoods[] = {9.0f, 25.9f, -15.0f, 40000.0f};
  for (int k = 0; k < 4; ++k) {
    result.LohLikelihood[std::size_t(s + k)] = likelihoods[k];
    result.ValidFlag[std::size_t(s + k)] = 1;
  }
  result.ValidFlag[std::size_t(s + 4)] = 0;
  RecordingCanvas loh(kCanvasWidth, kCanvasHeight);
  self.DrawLohPanel(&loh, 11, kX, kY);
  const std::vector<DrawRecord> lines = Lines(loh.Contents(), d.COLOR.C8);
  ASSERT_EQ(int(lines.size()), count(11, [](int) { return true; }));
  const int lengths[] = {0, 2, -1, 4000};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(lines[std::size_t(k)].y2 - lines[std::size_t(k)].y1, lengths[k]) << k;
}

TEST_F(ViewPainterTest, AxisLabelsNameTheirLinesOnBothScales) {
  CQOVAView& view = Shown("Tumour01", ".CFS");
  const auto labels = [&](auto paint) {
    RecordingCanvas dc(kCanvasWidth, kCanvasHeight);
    paint(dc);
    return Texts(dc.Contents());
  };
  using L = std::vector<std::string>;
  view.m_nViewFlags |= VIEW_LOG_SCALE;
  EXPECT_EQ(labels([&](CDC& dc) { view.DrawAlleleAnalysisPanel(&dc, 3, kX, kY); }), (L{"0", "-1", "1"}));
  EXPECT_EQ(labels([&](CDC& dc) { view.DrawCopyNumberPanel(&dc, 3, kX, kY); }), (L{"0", "-1", "1"}));
  view.m_nViewFlags &= ~VIEW_LOG_SCALE;
  EXPECT_EQ(labels([&](CDC& dc) { view.DrawAlleleAnalysisPanel(&dc, 3, kX, kY); }), (L{"1", "0", "2"}));
  EXPECT_EQ(labels([&](CDC& dc) { view.DrawCopyNumberPlot(&dc, 3, kX, kY, 0x404); }), (L{"2", "0", "4"}));
  EXPECT_EQ(labels([&](CDC& dc) { view.DrawAlleleDifferencePanel(&dc, 3, kX, kY); }), (L{"0", "-1", "1"}));
  view.m_pDisplaySetting->SCALE.MAG_SELF = 200;
  EXPECT_EQ(labels([&](CDC& dc) { view.DrawCopyNumberPlot(&dc, 3, kX, kY, 0x404); }), (L{"2", "1", "3"}));
  EXPECT_EQ(labels([&](CDC& dc) { view.DrawAlleleAnalysisPanel(&dc, 3, kX, kY); }), (L{"1", "0.5", "1.5"}));

  // Allele signals of the heterozygous SNPs only, A then B, in their colours.
  view.m_nDrawMode = 1;
  RecordingCanvas dc(kCanvasWidth, kCanvasHeight);
  view.DrawAlleleAnalysisPanel(&dc, 3, kX, kY);
  int het = 0;
  for (int i = First(3); i < End(3); ++i)
    het += doc_->AnalyzedData.ValidFlag[std::size_t(i)] == 1 && doc_->AnalyzedData.CallReference[std::size_t(i)] == kCallAB;
  EXPECT_EQ(CountOf(dc.Contents(), DrawOp::FillRect, view.m_pDisplaySetting->COLOR.C2), std::size_t(het));
}

TEST_F(ViewPainterTest, MarkersDrawTheUserKindsOnTheirRows) {
  Open("Tumour01", ".CFS");
  doc_->ArrayData.Markers = {{2, First(2) + 10, First(2) + 40, 32}, {2, First(2) + 50, First(2) + 60, 35},
                             {2, First(2) + 70, First(2) + 80, 39}, {2, First(2) + 90, First(2) + 95, 31},
                             {2, First(2) + 96, First(2) + 99, 40}, {3, First(3), First(3) + 5, 33}};
  CQOVAView& view = NewView();
  RecordingCanvas dc(kCanvasWidth, kCanvasHeight);
  view.DrawMarkers(&dc, 2, kX, kY);
  const auto& records = dc.Records();
  const CDisplaySetting::MarkerKeys& m = view.m_pDisplaySetting->MARKER;
  ASSERT_EQ(records.size(), 3u);
  const struct {
    int offset, row;
    COLORREF colour;
  } expected[] = {{10, 0, m.COL[0]}, {50, 3, m.COL[3]}, {70, 7, m.COL[0]}};
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(records[k].x1, kX + expected[k].offset) << k;
    EXPECT_EQ(records[k].y1, kY + m.INTERVAL * expected[k].row) << k;
    EXPECT_EQ(records[k].color, expected[k].colour) << k;
    EXPECT_EQ(records[k].width, m.WIDTH) << k;
  }
  // A result shown without its sample draws the result's own markers.
  doc_->Status = kStatusSingle;
  doc_->UpdateAllViews(nullptr);
  RecordingCanvas none(kCanvasWidth, kCanvasHeight);
  view.DrawMarkers(&none, 2, kX, kY);
  EXPECT_TRUE(none.Records().empty());
}

TEST_F(ViewPainterTest, EveryPainterLeavesTheContextAsItFoundIt) {
  CQOVAView& view = Shown("Tumour01", ".CFS");
  doc_->ArrayData.Markers = {{4, First(4), First(4) + 9, 33}};
  const std::vector<std::function<void(CDC&)>> painters = {
      [&](CDC& dc) { view.DrawCopyNumberPlot(&dc, 4, kX, kY, 0x406); },
      [&](CDC& dc) { view.DrawCopyNumberPanel(&dc, 4, kX, kY); },
      [&](CDC& dc) { view.DrawCytobandPanel(&dc, 4, kX, kY); },
      [&](CDC& dc) { view.DrawCallBar(&dc, 4, kX, kY); },
      [&](CDC& dc) { view.DrawSecondCallBar(&dc, 4, kX, kY); },
      [&](CDC& dc) { view.DrawAlleleAnalysisPanel(&dc, 4, kX, kY); },
      [&](CDC& dc) { view.DrawAlleleDifferencePanel(&dc, 4, kX, kY); },
      [&](CDC& dc) { view.DrawLohPanel(&dc, 4, kX, kY); },
      [&](CDC& dc) { view.DrawMarkers(&dc, 4, kX, kY); },
  };
  view.ComputeMovingAverage(1, 1, true);
  for (std::size_t k = 0; k < painters.size(); ++k) {
    RecordingCanvas dc(kCanvasWidth, kCanvasHeight);
    CPen pen(PS_DOT, 2, RGB(1, 2, 3));
    CBrush brush(RGB(4, 5, 6));
    CFont font;
    font.CreatePointFont(90, "");
    dc.SelectObject(&pen);
    dc.SelectObject(&brush);
    dc.SelectObject(&font);
    painters[k](dc);
    EXPECT_EQ(dc.GetCurrentPen(), &pen) << k;
    EXPECT_EQ(dc.GetCurrentBrush(), &brush) << k;
    EXPECT_EQ(dc.GetCurrentFont(), &font) << k;
  }
}

// A combined sample of both arrays of the 50K set, made by the sample
// generator: on the base axis its slots go through the sort map.
TEST_F(ViewPainterTest, ACombinedSampleIsPlacedThroughTheSortMapOnTheBaseAxis) {
  constexpr int kFamily = 2;
  constexpr const char* kCombined = "Mapping50K_Hind+Xba";
  const std::int32_t rows = qova::core::kArrayFamilies[kFamily].snpCount;
  datagen::MakeAnnotation(kFamily).StoreFile(Path("family2.dtt"), rows);
  global_.BasicData[kFamily].Allocate(rows, 0);
  global_.BasicData[kFamily].LoadFile(Path("family2.dtt"), rows);
  const CBasicData& table = global_.BasicData[kFamily];
  samplegen::SampleGenerator generator(kCombined, table, 11);
  samplegen::SampleSpec spec;
  spec.Name = "Combined01";
  spec.IsTest = true;
  const CArrayData sample = generator.Make(spec);
  const CAnalyzedData result(sample, AnalysisKind::NonSelf);
  doc_->AnalyzedData.Header = result.Header;
  std::copy(result.ValidFlag.begin(), result.ValidFlag.end(), doc_->AnalyzedData.ValidFlag.begin());
  for (std::size_t i = 0; i < result.ValidFlag.size(); ++i) doc_->AnalyzedData.CallTest[i] = kCallAB;
  doc_->Status = kStatusSingle;
  CQOVAView& view = NewView();
  ASSERT_TRUE(view.m_bDataShown);
  EXPECT_TRUE(view.m_nViewFlags & VIEW_COMBINED_ARRAY);
  view.m_nViewFlags |= VIEW_BASE_INTERVAL;
  const int type = qova::core::FindArrayType(kCombined)->type;
  const int first = qova::core::kArrayChromosomeStarts[type][8];
  const int end = qova::core::kArrayChromosomeStarts[type][9];
  RecordingCanvas dc(kCanvasWidth, kCanvasHeight);
  view.DrawCallBar(&dc, 8, kX, kY);
  const std::vector<DrawRecord> lines = Lines(dc.Contents(), view.m_pDisplaySetting->COLOR.C5);
  ASSERT_EQ(int(lines.size()), end - first);
  int differ = 0;
  for (int i = first; i < end; ++i) {
    const int sorted = kX + table.Position[std::size_t(table.IndexMap[std::size_t(table.SortMap[std::size_t(i)])])] / 10;
    ASSERT_EQ(lines[std::size_t(i - first)].x1, sorted) << i;
    differ += sorted != kX + table.Position[std::size_t(table.IndexMap[std::size_t(i)])] / 10;
  }
  EXPECT_GT(differ, 0) << "the sort map must matter for this sample";
  // Markers keep the index map alone.
  doc_->AnalyzedData.Markers = {{8, first + 3, first + 9, 32}};
  RecordingCanvas markers(kCanvasWidth, kCanvasHeight);
  view.DrawMarkers(&markers, 8, kX, kY);
  ASSERT_EQ(markers.Records().size(), 1u);
  EXPECT_EQ(markers.Records()[0].x1, kX + table.Position[std::size_t(table.IndexMap[std::size_t(first + 3)])] / 10);
}

}  // namespace
}  // namespace qova::test
