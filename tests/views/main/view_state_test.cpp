// The main view's state and update on the small family's demo results: the
// status dispatch and the mode flags, the annotation check, the displayed
// states, the moving averages, the dot colours and the copy of the state
// into another view.
#include <cmath>

#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "core/GenomeTables.h"
#include "core/SnpOrder.h"
#include "platform/ui/UserInput.h"
#include "tests/views/ViewTestSupport.h"

namespace qova::test {
namespace {

class ViewStateTest : public ViewTest {};

TEST_F(ViewStateTest, TheStatusDecidesWhatTheViewShowsAndItsFlags) {
  CQOVAView& clean = NewView();
  EXPECT_FALSE(clean.m_bDataShown);
  EXPECT_TRUE(Draw(clean).records.empty());

  Open("Tumour01", ".CFS");
  CQOVAView& self = NewView();
  ASSERT_TRUE(self.m_bDataShown);
  EXPECT_EQ(self.m_nViewFlags, VIEW_SELF_REFERENCE);  // SELF_ISLOG 0: linear
  EXPECT_EQ(self.m_nArrayType, 0);
  EXPECT_EQ(self.m_nScaleX, 200);
  EXPECT_EQ(self.m_nScaleY, 1000);
  EXPECT_EQ(self.m_nRowHeight, 1000);
  const SampleHeader& header = doc_->AnalyzedData.Header;
  EXPECT_FLOAT_EQ(self.m_fHmmLevel[1], std::exp2(header.HmmMeans[1]));
  EXPECT_FLOAT_EQ(self.m_fAlleleHmmLevel[3], std::exp2(header.AlleleHmmMeans[3]));
  for (int s = 0; s < 3; ++s) EXPECT_FALSE(self.m_pAverage[s].empty()) << s;
  EXPECT_TRUE(self.m_pAverage[3].empty());
  EXPECT_EQ(self.m_pLinearRatio.size(), std::size_t(header.SnpCount));
  EXPECT_EQ(self.m_pRatio.data(), self.m_pLinearRatio.data());

  Open("Tumour02", ".CFN", kStatusSingle);
  doc_->UpdateAllViews(nullptr);
  EXPECT_EQ(self.m_nViewFlags, VIEW_LOG_SCALE | VIEW_NOT_ANALYSIS);
  EXPECT_FLOAT_EQ(self.m_fHmmLevel[1], doc_->AnalyzedData.Header.HmmMeans[1]);
  EXPECT_FALSE(self.m_pAverage[0].empty());
  EXPECT_TRUE(self.m_pAverage[1].empty());
  EXPECT_TRUE(self.m_pLinearRatio.empty());
  EXPECT_EQ(self.m_nRowHeight, 1300);

  for (const char* status : {kStatusMultiple, kStatusIntegrate}) {
    doc_->Status = status;
    doc_->UpdateAllViews(nullptr);
    EXPECT_FALSE(self.m_bDataShown) << status;
    EXPECT_TRUE(Draw(self).records.empty()) << status;
  }
}

TEST_F(ViewStateTest, TheAnnotationCheckClearsSlotsThatDoNotFitTheirChromosome) {
  Open("Tumour02", ".CFN");
  CBasicData& table = global_.BasicData[0];
  const int wrongChromosome = First(5) + 3, negative = First(5) + 4, beyond = First(23) + 1, fine = First(5) + 5;
  ASSERT_EQ(doc_->AnalyzedData.ValidFlag[std::size_t(fine)], 1);
  table.Chromosome[std::size_t(AnnotationRowOfSnp(table, 0, wrongChromosome))] = 6;
  table.Position[std::size_t(AnnotationRowOfSnp(table, 0, negative))] = -1;
  table.Position[std::size_t(AnnotationRowOfSnp(table, 0, beyond))] = 10 * (ChromosomeStartTable[24] - ChromosomeStartTable[23] + 1) + 1;
  NewView();
  for (const int slot : {wrongChromosome, negative, beyond}) EXPECT_EQ(doc_->AnalyzedData.ValidFlag[std::size_t(slot)], 0) << slot;
  EXPECT_EQ(doc_->AnalyzedData.ValidFlag[std::size_t(fine)], 1);
}

TEST_F(ViewStateTest, StateMarkersOverlayTheirSlotsInclusiveFromTheShownSample) {
  Open("Tumour01", ".CFS");
  doc_->ArrayData.Markers = {{3, 100, 199, 3}, {3, 150, 160, 33}, {3, 300, 250, 5}, {3, 400, 999999, 6}};
  doc_->AnalyzedData.Markers = {{3, 100, 199, 0}};
  CQOVAView& view = NewView();
  const auto& shown = view.m_pCopyNumberState;
  const auto& hmm = doc_->AnalyzedData.CopyNumberState;
  for (int i = 100; i <= 199; ++i) ASSERT_EQ(shown[std::size_t(i)], 3) << i;
  EXPECT_EQ(shown[99], hmm[99]);
  EXPECT_EQ(shown[200], hmm[200]);
  EXPECT_EQ(shown[260], hmm[260]) << "a reversed region is skipped";
  EXPECT_EQ(shown[std::size_t(doc_->AnalyzedData.Header.LastSnpIndex)], 6) << "cut to the sample's range";
  // A result shown without its sample takes the result's own regions.
  doc_->Status = kStatusSingle;
  doc_->UpdateAllViews(nullptr);
  EXPECT_EQ(view.m_pCopyNumberState[150], 0);
  EXPECT_EQ(view.m_pCopyNumberState[400], hmm[400]);
}

TEST_F(ViewStateTest, MovingAveragesTakeTheirWindowWithinTheChromosome) {
  Open("Tumour02", ".CFN");
  CAnalyzedData& a = doc_->AnalyzedData;
  for (int c = 1; c <= 3; ++c) {
    for (int i = First(c); i < End(c); ++i) {
      a.LogRatio[std::size_t(i)] = c == 2 ? float(i - First(2)) : 1000.0f;
      a.ValidFlag[std::size_t(i)] = 1;
    }
  }
  const int skipped = First(2) + 50;
  a.ValidFlag[std::size_t(skipped)] = 0;
  CQOVAView& view = NewView();
  const auto average = [&](int window, int mode, int slot) {
    view.m_nAverageNumber = window;
    view.ComputeMovingAverage(1, mode, true);
    return double(view.m_pAverage[0][std::size_t(slot)]);
  };
  const int k = First(2) + 20;
  EXPECT_DOUBLE_EQ(average(10, 2, k), 19.5);   // 15..24: five before, four after
  EXPECT_DOUBLE_EQ(average(10, 1, k), 19.5);   // without 15 and 24
  EXPECT_DOUBLE_EQ(average(1, 1, k), 20.0);
  EXPECT_DOUBLE_EQ(average(2, 1, k), 19.5);    // two values: their mean in either mode
  EXPECT_DOUBLE_EQ(average(2, 1, First(2)), 0.0);
  EXPECT_DOUBLE_EQ(average(10, 2, First(2)), 2.0);  // 0..4 at the chromosome's start
  EXPECT_DOUBLE_EQ(average(10, 2, End(2) - 1), (End(2) - 1 - First(2)) - 2.5);  // five before, nothing after
  EXPECT_NEAR(average(3, 2, skipped + 1), (49 + 51 + 52) / 3.0, 1e-4);  // the invalid slot is stepped over
  // Linear: the average of 2^v.
  view.m_nAverageNumber = 2;
  view.ComputeMovingAverage(1, 2, false);
  EXPECT_NEAR(view.m_pAverage[0][std::size_t(First(2) + 2)], (2.0 + 4.0) / 2, 1e-5);
}

TEST_F(ViewStateTest, DotColoursMarkFragmentNeighboursOrOutliers) {
  Open("Tumour02", ".CFN");
  CAnalyzedData& a = doc_->AnalyzedData;
  // A run of state 2 on chromosome 4 with one value far off.
  for (int i = First(4); i < End(4); ++i) {
    a.CopyNumberState[std::size_t(i)] = 2;
    a.LogRatio[std::size_t(i)] = (i % 2) ? 0.01f : -0.01f;
  }
  const int outlier = First(4) + 30;
  a.LogRatio[std::size_t(outlier)] = 3.0f;
  CDisplaySetting& d = global_.ProgramSetting->Display;
  d.COLOR2.SD = 1;
  CQOVAView& view = NewView();
  EXPECT_EQ(view.m_pDotColour[std::size_t(outlier)], d.COLOR2.TWO_SD);
  EXPECT_EQ(view.m_pDotColour[std::size_t(outlier + 1)], d.COLOR.C7);
  // Chromosome X is never coloured as outliers.
  for (int i = First(23); i < End(23); ++i) ASSERT_EQ(view.m_pDotColour[std::size_t(i)], d.COLOR.C7);

  view.m_pDisplaySetting->COLOR2.FRAG = 1;
  view.m_pDisplaySetting->COLOR2.FRAG_SAME = view.m_pDisplaySetting->COLOR2.FRAG_NEXT = 1;
  view.ComputeDotColours();
  const CBasicData& table = global_.BasicData[0];
  int previous = -100, checked = 0;
  for (int i = First(6); i < End(6); ++i) {
    if (a.ValidFlag[std::size_t(i)] == 0) continue;
    const int f = table.FragmentNumber[std::size_t(AnnotationRowOfSnp(table, 0, i))];
    const COLORREF expected = f == previous ? d.COLOR2.SAME : f == previous + 1 ? d.COLOR2.NEXT : d.COLOR.C7;
    ASSERT_EQ(view.m_pDotColour[std::size_t(i)], expected) << i;
    checked += expected != d.COLOR.C7;
    previous = f;
  }
  EXPECT_GT(checked, 0);
}

TEST_F(ViewStateTest, ScrollBarsAndResizingMoveTheViewWithinItsExtent) {
  Open("Tumour02", ".CFN");
  CQOVAView& view = NewView(400, 300);
  SCROLLINFO v;
  ASSERT_TRUE(view.GetScrollInfo(SB_VERT, &v));
  EXPECT_EQ(v.nMax, 6 * (1300 + 50));
  EXPECT_EQ(v.nPage, 3000u);  // 300 pixels at 1,000 units per 100
  platform::ui::input::Scroll(view, SB_VERT, SB_LINEDOWN);
  EXPECT_EQ(view.m_nScrollY, 300);
  platform::ui::input::Scroll(view, SB_VERT, SB_THUMBTRACK, 99999);
  EXPECT_EQ(view.m_nScrollY, 6 * 1350 - 3000);
  // A taller window shows more, so the position comes back within the extent.
  platform::ui::input::Resize(view, 400, 600);
  EXPECT_EQ(view.m_nScrollY, 6 * 1350 - 6000);
  ASSERT_TRUE(view.GetScrollInfo(SB_VERT, &v));
  EXPECT_EQ(v.nPage, 6000u);
  platform::ui::input::Scroll(view, SB_HORZ, SB_PAGEDOWN);
  EXPECT_EQ(view.m_nScrollX, 400 * 200 / 100 / 2);
}

TEST_F(ViewStateTest, CopyStateToHandsTheWholeDisplayStateOver) {
  Open("Tumour01", ".CFS");
  CQOVAView& source = NewView();
  source.m_nChromosome = 7;
  source.m_nViewFlags |= VIEW_ONE_CHROMOSOME;
  source.m_nAverageNumber = 4;
  source.m_nAverageMode = 2;
  source.m_nDrawMode = 1;
  source.m_nScrollX = 120;
  source.m_nEachSizeX = 250;
  source.m_pDisplaySetting->ITEMS.SELF = 0x3;
  CQOVAView& target = NewView();
  const IViewStateCopy& copier = source;
  EXPECT_TRUE(copier.CopyStateTo(static_cast<CView&>(target)));
  EXPECT_EQ(target.m_nChromosome, 7);
  EXPECT_EQ(target.m_nViewFlags, source.m_nViewFlags);
  EXPECT_EQ(target.m_nAverageNumber, 4);
  EXPECT_EQ(target.m_nAverageMode, 2);
  EXPECT_EQ(target.m_nDrawMode, 1);
  EXPECT_EQ(target.m_nScrollX, 120);
  EXPECT_EQ(target.m_nEachSizeX, 250);
  EXPECT_EQ(target.m_pDisplaySetting->ITEMS.SELF, 0x3);
  EXPECT_NE(target.m_pDisplaySetting.get(), source.m_pDisplaySetting.get());
}

}  // namespace
}  // namespace qova::test
