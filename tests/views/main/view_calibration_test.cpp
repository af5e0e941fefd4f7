// The calibration tools and the HMM re-runs of the main view, run with the
// mouse and scripted dialogs on copies of the demo and on made-up results of a
// combined two-array type and of the Agilent type: SD range, AdjustAmp,
// ContaminationRate, and the commands 32884 to 32886.
#include <gmock/gmock.h>

#include <cmath>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/App.h"
#include "platform/ui/Headless.h"
#include "resources/CommandIds.h"
#include "resources/ParameterDialogs.h"
#include "tests/views/ViewToolTestSupport.h"
#include "tools/datagen/DataGen.h"
#include "tools/samplegen/SampleGen.h"

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;
using platform::ui::Headless;

class ViewCalibrationTest : public ViewToolTest {
 protected:
  // A made-up result of array type `typeName` (family `family`) in the copy's
  // result folder, shown alone: `ratio` gives each slot's log2 ratio.
  CQOVAView& ShowMadeUpResult(int family, const char* typeName, const std::string& name,
                              const std::function<float(int slot)>& ratio) {
    samplegen::SampleGenerator generator(typeName, LoadFamily(family), 5);
    samplegen::SampleSpec spec;
    spec.Name = name;
    spec.IsTest = true;
    CAnalyzedData result(generator.Make(spec), AnalysisKind::NonSelf);
    for (std::size_t i = 0; i < result.LogRatio.size(); ++i) result.LogRatio[i] = ratio(int(i));
    result.CopyNumberState.assign(result.CopyNumberState.size(), 2);
    results_ = Path("Results/");
    EXPECT_TRUE(platform::CreateFolders(results_));
    doc_->AnalysisResultFolder = results_;
    result.StoreFile(results_ + name + ".CFN");
    doc_->AnalyzedData.LoadFileAllocating(results_ + name + ".CFN");
    doc_->Status = kStatusSingle;
    type_ = qova::core::FindArrayType(typeName)->type;
    return FramedView();
  }
  [[nodiscard]] int Start(int c) const { return qova::core::kArrayChromosomeStarts[type_][c]; }
  [[nodiscard]] int Length(int c) const { return Start(c + 1) - Start(c); }
  [[nodiscard]] CAnalyzedData Stored(const std::string& file) const {
    CAnalyzedData result;
    result.LoadFileAllocating(results_ + file);
    return result;
  }

  std::string results_;
  int type_ = 0;
};

// A small wobble that averages near zero, the same on every run.
float Wobble(int i) { return float((i * 7919) % 101 - 50) / 1000.0f; }

TEST_F(ViewCalibrationTest, SdRangeOnAnAgilentResultRenormalisesItAndStoresItUnderItsOwnKind) {
  CQOVAView& view = ShowMadeUpResult(5, "Agilent244K", "Agilent01", [](int i) { return 0.25f + Wobble(i); });
  ASSERT_TRUE(view.m_bDataShown);
  Headless().OnDialog(res::kBaseSetDialog, [](DialogDriver& d) { d.Ok(); });
  view.OnParameterSdRange();
  ASSERT_EQ(view.m_nMouseMode, MOUSE_SD_RANGE);
  const CPoint from = Over(view, 2, Start(2) + Length(2) / 5), to = Over(view, 2, Start(2) + Length(2) * 3 / 5);
  const int lo = SlotAt(view, from), hi = SlotAt(view, to);
  const CAnalyzedData before = doc_->AnalyzedData;
  Drag(view, from, to);
  const int p0 = view.m_pPosition[std::size_t(view.m_pIndexMap[std::size_t(lo)])];
  const int p1 = view.m_pPosition[std::size_t(view.m_pIndexMap[std::size_t(hi)])];
  EXPECT_EQ(messages_.Texts(),
            std::vector<std::string>{platform::Format(
                "From %d(Ch 2 position %d) \n to %d(Ch 2 position %d) \n selected \n Base line is 2 ", lo, p0, hi, p1)});
  // The range now averages 0, everything moved by the same amount, and the
  // non-self result is still a non-self result.
  EXPECT_FALSE(platform::FileExists(results_ + "Agilent01.CFS"));
  const CAnalyzedData after = Stored("Agilent01.CFN");
  EXPECT_FALSE(after.IsSelf);
  double sum = 0;
  for (int i = lo; i <= hi; ++i) sum += after.LogRatio[std::size_t(i)];
  EXPECT_NEAR(sum / (hi - lo + 1), 0.0, 1e-5);
  const float shift = before.LogRatio[100] - after.LogRatio[100];
  EXPECT_NEAR(shift, 0.25, 0.01);
  EXPECT_NEAR(before.LogRatio[Start(20)] - after.LogRatio[Start(20)], shift, 1e-6);
  EXPECT_EQ((std::pair(after.Header.NonSelfBaseRange[0], after.Header.NonSelfBaseRange[1])), std::pair(lo, hi));
  EXPECT_EQ((std::pair(after.Header.SelfBaseRange[0], after.Header.SelfBaseRange[1])), std::pair(lo, hi));
  EXPECT_TRUE(view.m_bDataShown);
  EXPECT_EQ(view.m_nMouseMode, MOUSE_NONE);
}

TEST_F(ViewCalibrationTest, SdRangeWritesTheBaseRangeIntoTheSampleAndTheResultThroughTheAnalysis) {
  const std::string root = OwnCopy();
  OpenCopy(root, "Tumour01", ".CFS");
  CQOVAView& view = NewView();
  // Cancel: nothing.
  Headless().OnDialog(res::kBaseSetDialog, [](DialogDriver& d) { d.Cancel(); });
  const std::string stored = Bytes(root + "Results/Tumour01.CFS");
  const CPoint from = Over(view, 6, First(6) + 20), to = Over(view, 6, First(6) + 400);
  view.OnParameterSdRange();
  Drag(view, from, to);
  EXPECT_EQ(Bytes(root + "Results/Tumour01.CFS"), stored);
  EXPECT_TRUE(messages_.Texts().empty());

  // The larger allele at one copy.
  Headless().OnDialog(res::kBaseSetDialog, [](DialogDriver& d) {
    d.Click(res::kBaseSetLarger).Click(res::kBaseSetLargerN[1]).Ok();
  });
  view.OnParameterSdRange();
  Drag(view, to, from);
  const int lo = SlotAt(view, from), hi = SlotAt(view, to);
  ASSERT_EQ(messages_.Texts().size(), 1u);
  EXPECT_THAT(messages_.Texts()[0], ::testing::EndsWith("\n Base line is 1 "));
  const std::array<std::int32_t, 4> range = {lo, hi, 2, 1};
  CArrayData sample;
  sample.LoadFile(root + "ArrayData/Tumour01.CFH");
  EXPECT_EQ(sample.Header.SelfBaseRange, range);
  CAnalyzedData result;
  result.LoadFileAllocating(root + "Results/Tumour01.CFS");
  EXPECT_EQ(result.Header.SelfBaseRange, range);
  EXPECT_NE(Bytes(root + "Results/Tumour01.CFS"), stored);
  EXPECT_EQ(doc_->AnalyzedData.Header.SelfBaseRange, range);
}

// Array 1 of the combined 50K sample lies at 0.4, array 2 at 0.2.
TEST_F(ViewCalibrationTest, AdjustAmpStretchesTheArrayNearerZeroToTheOther) {
  const int boundary = qova::core::kArrayChromosomeStarts[3][1];
  const CBasicData* table = nullptr;
  const auto madeUp = [&](int i) {
    return table->SortMap[std::size_t(i)] < boundary ? 0.4f : 0.2f;
  };
  table = &global_.BasicData[2];
  CQOVAView& view = ShowMadeUpResult(2, "Mapping50K_Hind+Xba", "Combined01", madeUp);
  ASSERT_TRUE(view.m_nViewFlags & VIEW_COMBINED_ARRAY);
  EXPECT_TRUE(Frame().IsCommandEnabled(res::kCmdAdjustAmp));
  const CPoint from = Over(view, 8, Start(8) + 100), to = Over(view, 8, Start(8) + 3000);

  // One slot holds one array only.
  const std::string before = Bytes(results_ + "Combined01.CFN");
  view.OnParameterAdjustAmp();
  Drag(view, from, from);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Insufficient SNPs in the selected range"});
  EXPECT_EQ(Bytes(results_ + "Combined01.CFN"), before);
  EXPECT_TRUE(view.m_bDataShown);

  messages_.Clear();
  view.OnParameterAdjustAmp();
  Drag(view, from, to);
  ASSERT_EQ(messages_.Texts().size(), 1u);
  EXPECT_EQ(messages_.Texts()[0], "2   2.000000");
  const CAnalyzedData after = Stored("Combined01.CFN");
  for (int i = Start(1); i < Start(24); i += 97) EXPECT_NEAR(after.LogRatio[std::size_t(i)], 0.4, 1e-6) << i;
  EXPECT_NE(Bytes(results_ + "Combined01.CFN"), before);
  // The states of the HMM run on the stretched ratios are the ones shown.
  for (int i = Start(1); i < Start(24); i += 997)
    EXPECT_EQ(view.m_pCopyNumberState[std::size_t(i)], after.CopyNumberState[std::size_t(i)]) << i;
  EXPECT_TRUE(view.m_bDataShown);
  EXPECT_EQ(view.m_nMouseMode, MOUSE_NONE);

  // Means of opposite signs: no adjustment.
  messages_.Clear();
  for (int i = Start(8); i < Start(9); ++i)
    if (global_.BasicData[2].SortMap[std::size_t(i)] >= boundary) doc_->AnalyzedData.LogRatio[std::size_t(i)] = -0.2f;
  const std::string adjusted = Bytes(results_ + "Combined01.CFN");
  view.OnParameterAdjustAmp();
  Drag(view, from, to);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Fail to Adjust"});
  EXPECT_EQ(Bytes(results_ + "Combined01.CFN"), adjusted);
}

class ContaminationTest : public ViewCalibrationTest {
 protected:
  // Tumour02's non-self result with its extracted sample, the slots under the
  // drag set to `value`; N=1 chosen.
  void Measure(CQOVAView& view, float value, int answer) {
    const CPoint from = Over(view, 9, First(9) + 30), to = Over(view, 9, First(9) + 200);
    for (int i = SlotAt(view, from); i <= SlotAt(view, to); ++i) doc_->AnalyzedData.LogRatio[std::size_t(i)] = value;
    Headless().OnDialog(res::kContaminationDialog,
                        [](DialogDriver& d) { d.Click(res::kContaminationOneLocus).Ok(); });
    messages_.QueueAnswer(answer);
    view.OnParameterContaminationRate();
    Drag(view, from, to);
  }
};

TEST_F(ContaminationTest, TheRateOfAKnownLossSetsTheMeansAndAnUndefinedMeanIsRefused) {
  const std::string root = OwnCopy();
  OpenCopy(root, "Tumour02", ".CFN");
  CQOVAView& view = NewView();
  const std::string sample = root + "ArrayData/Tumour02.CFH";
  const std::string before = Bytes(sample);

  // A mean log2 ratio of -1 over one copy: -0.735 as computed; No changes nothing.
  Measure(view, -1.0f, IDNO);
  ASSERT_EQ(messages_.Texts().size(), 1u);
  EXPECT_THAT(messages_.Texts()[0], ::testing::HasSubstr("\n Normal Contamination rate is -0.735000\nDetermine HMM"));
  EXPECT_EQ(Bytes(sample), before);
  EXPECT_EQ(view.m_pRatio.data(), view.m_nViewFlags & VIEW_LOG_SCALE ? view.m_pLogRatio.data()
                                                                       : view.m_pLinearRatio.data());

  // A rate that makes the mean of five copies the logarithm of a negative number.
  messages_.Clear();
  Measure(view, 1.2f, IDYES);
  ASSERT_EQ(messages_.Texts().size(), 2u);
  EXPECT_THAT(messages_.Texts()[1], ::testing::HasSubstr("gives no HMM parameter"));
  EXPECT_EQ(Bytes(sample), before);

  // A rate of 0: the analysis runs again with the model's means.
  messages_.Clear();
  Measure(view, float(std::log2(2.47 / 3.47)), IDYES);
  EXPECT_THAT(messages_.Texts()[0], ::testing::HasSubstr("0.000000\nDetermine HMM"));
  CArrayData stored;
  stored.LoadFile(sample);
  const auto& means = stored.Header.HmmMeans;
  EXPECT_NEAR(means[2], 0.0, 1e-6);
  EXPECT_NEAR(means[1], std::log2(2.47 / 3.47), 1e-6);
  EXPECT_NEAR(means[5], std::log2(6.47 / 3.47), 1e-6);
  EXPECT_EQ(means[0], kDefaultHmmMeans[0]);
  EXPECT_EQ(means[6], kDefaultHmmMeans[6]);
  EXPECT_EQ(doc_->ArrayData.Header.HmmMeans, means);
}

TEST_F(ContaminationTest, CancelComputesNothingAndARangeWithoutValidSnpsIsRefused) {
  const std::string root = OwnCopy();
  OpenCopy(root, "Tumour02", ".CFN");
  CQOVAView& view = NewView();
  Headless().OnDialog(res::kContaminationDialog, [](DialogDriver& d) { d.Cancel(); });
  view.OnParameterContaminationRate();
  Drag(view, Over(view, 9, First(9) + 30), Over(view, 9, First(9) + 200));
  EXPECT_TRUE(messages_.Texts().empty());
  EXPECT_EQ(view.m_nMouseMode, MOUSE_NONE);

  const std::string before = Bytes(root + "ArrayData/Tumour02.CFH");
  for (int i = First(9); i < End(9); ++i) doc_->AnalyzedData.ValidFlag[std::size_t(i)] = 0;
  Measure(view, -1.0f, IDYES);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"No valid SNP in the selected range"});
  EXPECT_EQ(Bytes(root + "ArrayData/Tumour02.CFH"), before);
}

// The Agilent result with a loss on chromosome 4 at the total HMM's one-copy mean.
class HmmRerunTest : public ViewCalibrationTest {
 protected:
  CQOVAView& ShowAgilent() {
    return ShowMadeUpResult(5, "Agilent244K", "Agilent01", [](int i) {
      const int* starts = qova::core::kArrayChromosomeStarts[qova::core::kAgilentArrayType];
      const int from = starts[4] + (starts[5] - starts[4]) * 3 / 10, to = starts[4] + (starts[5] - starts[4]) * 6 / 10;
      return (i >= from && i < to ? -0.49f : 0.0f) + Wobble(i) / 2;
    });
  }
  [[nodiscard]] bool Enabled(UINT id) { return Frame().IsCommandEnabled(id) != FALSE; }
};

TEST_F(HmmRerunTest, TheReRunsAreOfferedForAgilentResultsOutsideTheGridAndTheIntegralView) {
  Open("Tumour02", ".CFN");
  CQOVAView& small = FramedView();
  for (UINT id : {res::kCmdRerunTotalHmm, res::kCmdEditHmmStateMeans, res::kCmdGainLossHmm})
    EXPECT_FALSE(Enabled(id)) << id;
  (void)small;
  frame_->DestroyWindow();
  frame_ = nullptr;
  CQOVAView& view = ShowAgilent();
  for (const std::uint32_t mode : {0u, unsigned(VIEW_MULTIPLE), unsigned(VIEW_INTEGRATE)}) {
    view.m_nViewFlags = (view.m_nViewFlags & ~(VIEW_MULTIPLE | VIEW_INTEGRATE)) | mode;
    for (UINT id : {res::kCmdRerunTotalHmm, res::kCmdEditHmmStateMeans, res::kCmdGainLossHmm})
      EXPECT_EQ(Enabled(id), mode == 0) << id << " " << mode;
  }
}

TEST_F(HmmRerunTest, TheTotalHmmAgainRewritesTheStatesOfTheResultItself) {
  CQOVAView& view = ShowAgilent();
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdRerunTotalHmm));
  const CAnalyzedData after = Stored("Agilent01.CFN");
  EXPECT_FALSE(platform::FileExists(results_ + "Agilent01.CFS"));
  const int middle = Start(4) + Length(4) * 45 / 100;
  EXPECT_EQ(after.CopyNumberState[std::size_t(middle)], 1);
  EXPECT_EQ(after.CopyNumberState[std::size_t(Start(2) + 100)], 2);
  EXPECT_EQ(view.m_pCopyNumberState[std::size_t(middle)], 1);
  EXPECT_TRUE(view.m_bDataShown);
}

TEST_F(HmmRerunTest, EditedMeansAreStoredAndShownAndCancelChangesNothing) {
  CQOVAView& view = ShowAgilent();
  const std::string before = Bytes(results_ + "Agilent01.CFN");
  Headless().OnDialog(res::kHmmParameterDialog, [](DialogDriver& d) { d.Spin(res::kHmmParameterRows[5].upDown, -10).Cancel(); });
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdEditHmmStateMeans));
  EXPECT_EQ(Bytes(results_ + "Agilent01.CFN"), before);
  EXPECT_EQ(doc_->AnalyzedData.Header.HmmMeans, kDefaultHmmMeans);

  Headless().OnDialog(res::kHmmParameterDialog, [](DialogDriver& d) { d.Spin(res::kHmmParameterRows[5].upDown, -10).Ok(); });
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdEditHmmStateMeans));
  const CAnalyzedData after = Stored("Agilent01.CFN");
  EXPECT_NEAR(after.Header.HmmMeans[1], kDefaultHmmMeans[1] - 0.10f, 1e-6);
  const float mean = after.Header.HmmMeans[1];
  EXPECT_FLOAT_EQ(view.m_fHmmLevel[1], (view.m_nViewFlags & VIEW_LOG_SCALE) ? mean : std::exp2(mean));
  EXPECT_NE(Bytes(results_ + "Agilent01.CFN"), before);
}

TEST_F(HmmRerunTest, TheGainLossHmmMarksTheLossInTheResultAndCancelChangesNothing) {
  CQOVAView& view = ShowAgilent();
  const std::string before = Bytes(results_ + "Agilent01.CFN");
  Headless().OnDialog(res::kGainLossDialog, [](DialogDriver& d) { d.Cancel(); });
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdGainLossHmm));
  EXPECT_EQ(Bytes(results_ + "Agilent01.CFN"), before);

  Headless().OnDialog(res::kGainLossDialog, [](DialogDriver& d) { d.Ok(); });
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdGainLossHmm));
  const CAnalyzedData after = Stored("Agilent01.CFN");
  const int middle = Start(4) + Length(4) * 45 / 100;
  const auto loss = std::find_if(after.Markers.begin(), after.Markers.end(), [middle](const MarkerRegion& r) {
    return r.Kind == 32 && r.FirstSnp <= middle && middle <= r.LastSnp;
  });
  EXPECT_NE(loss, after.Markers.end());
  EXPECT_EQ(doc_->AnalyzedData.Markers, after.Markers);
  EXPECT_FALSE(platform::FileExists(results_ + "Agilent01.CFS"));
  EXPECT_TRUE(view.m_bDataShown);
}

}  // namespace
}  // namespace qova::test
