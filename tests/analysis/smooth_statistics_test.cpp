// Moving average, SD, mean state and the combined copy.
#include <cmath>
#include <numeric>

#include "tests/analysis/AnalysisTestSupport.h"

namespace core = qova::core;

namespace qova::test {
namespace {

class SmoothStatisticsTest : public AnalysisTest {
 protected:
  void SetUp() override {
    CArrayData sample("S", kSmallType, global_.TypeInfo(kSmallTypeIndex), CTime(0));
    analyzed_ = AnalyzedFor(sample, true);
    // Ratios 0, 1, 2, ... so every average says which SNPs it took.
    std::iota(analyzed_.LogRatio.begin(), analyzed_.LogRatio.end(), 0.0f);
    std::iota(analyzed_.LogRatioA.begin(), analyzed_.LogRatioA.end(), 1000.0f);
    std::fill(analyzed_.CallReference.begin(), analyzed_.CallReference.end(), kCallAB);
  }
  std::vector<float> Smooth(int window, int series) {
    Setting().MovingAverageWindow = window;
    std::vector<float> out(analyzed_.LogRatio.size(), -7.0f);
    Engine()->SmoothMovingAverage(analyzed_, out, series);
    return out;
  }
  static std::int32_t Start(int chromosome) { return core::kArrayChromosomeStarts[kSmallTypeIndex][chromosome]; }

  CAnalyzedData analyzed_;
};

TEST_F(SmoothStatisticsTest, WindowCases) {
  const std::int32_t chr2 = Start(2);
  struct Case {
    int window;
    std::int32_t snp;
    double expected;  // the mean of the SNP indexes averaged
  };
  const Case cases[] = {
      {1, 100, 100},                            // no smoothing
      {5, 100, 100},                            // 98..102
      {4, 100, (98 + 99 + 100 + 101) / 4.0},   // two left, one right
      {5, 0, (0 + 1 + 2) / 3.0},               // chromosome start: the SNP and two after it
      {5, chr2, (chr2 + chr2 + 1 + chr2 + 2) / 3.0},
      {5, chr2 - 1, (chr2 - 3 + chr2 - 2 + chr2 - 1) / 3.0},  // chromosome end
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(Smooth(c.window, CAnalysis::kSeriesTotal)[c.snp], c.expected, 1e-3)
        << "window " << c.window << " SNP " << c.snp;
  }
}

TEST_F(SmoothStatisticsTest, InvalidSnpsAreSkippedWithoutUsingUpTheWindow) {
  analyzed_.ValidFlag[99] = 0;
  analyzed_.ValidFlag[101] = 0;
  const std::vector<float> out = Smooth(5, CAnalysis::kSeriesTotal);
  EXPECT_NEAR(out[100], (97 + 98 + 100 + 102 + 103) / 5.0, 1e-3);
  EXPECT_EQ(out[99], -7.0f) << "an invalid SNP is no centre";
}

TEST_F(SmoothStatisticsTest, AlleleSeriesCentreOnHeterozygousSnpsButTakeEveryValidNeighbour) {
  analyzed_.CallReference[100] = kCallA;
  analyzed_.CallReference[101] = kCallB;
  const std::vector<float> out = Smooth(3, CAnalysis::kSeriesAlleleA);
  EXPECT_EQ(out[100], -7.0f);
  EXPECT_NEAR(out[102], 1000 + (101 + 102 + 103) / 3.0, 1e-3);
  EXPECT_NEAR(out[99], 1000 + (98 + 99 + 100) / 3.0, 1e-3);
}

TEST_F(SmoothStatisticsTest, SdOfTheBaseRange) {
  analyzed_.Header.NonSelfBaseRange[kBaseFirstSnp] = 10;
  analyzed_.Header.NonSelfBaseRange[kBaseLastSnp] = 14;
  // 10..14 hold 10..14: SD of five consecutive numbers is sqrt(2.5).
  EXPECT_NEAR(Engine()->CalcSD(analyzed_), std::sqrt(2.5), 1e-6);
  analyzed_.ValidFlag[14] = 0;
  analyzed_.LogRatio[13] = std::numeric_limits<float>::infinity();
  // 10, 11, 12 remain: SD 1.
  EXPECT_NEAR(Engine()->CalcSD(analyzed_), 1.0, 1e-6);
  EXPECT_TRUE(ErrorLogLines().empty());
}

TEST_F(SmoothStatisticsTest, MeanStateOverTheValidAutosomalSnps) {
  std::fill(analyzed_.CopyNumberState.begin(), analyzed_.CopyNumberState.end(), 2);
  EXPECT_EQ(Engine()->CalcMeanState(analyzed_), 2.0f);
  // A state on X does not count; an invalid SNP does not either.
  const std::int32_t x = Start(23);
  analyzed_.CopyNumberState[x] = 6;
  analyzed_.CopyNumberState[0] = 0;
  analyzed_.ValidFlag[0] = 0;
  analyzed_.CopyNumberState[1] = 4;
  const double n = analyzed_.Header.LastAutosomeSnpIndex;  // SNPs 1..last, SNP 0 invalid
  EXPECT_NEAR(Engine()->CalcMeanState(analyzed_), (2 * (n - 1) + 4) / n, 1e-6);
  std::fill(analyzed_.ValidFlag.begin(), analyzed_.ValidFlag.end(), 0);
  EXPECT_EQ(Engine()->CalcMeanState(analyzed_), 0.0f);
}

TEST_F(SmoothStatisticsTest, CombinedCopyReordersThroughTheSortMap) {
  constexpr int kCombined = 4;
  const CBasicData& basic = Annotation(2);
  CArrayData sample("C", core::kArrayTypes[kCombined].name, global_.TypeInfo(kCombined), CTime(0));
  for (bool self : {false, true}) {
    SCOPED_TRACE(self);
    CAnalyzedData source = AnalyzedFor(sample, true);
    std::iota(source.LogRatio.begin(), source.LogRatio.end(), 0.0f);
    std::iota(source.LogRatioA.begin(), source.LogRatioA.end(), 0.5f);
    std::iota(source.CallTest.begin(), source.CallTest.end(), 0);
    std::iota(source.AlleleStateB.begin(), source.AlleleStateB.end(), 3);
    CAnalyzedData destination = AnalyzedFor(sample, true);
    destination.Header.SelfAnalyzed = self;
    Engine()->CopyToCombinedArray(source, basic, destination);
    const std::int32_t lastX = core::kArrayChromosomeStarts[kCombined][24] - 1;
    for (std::int32_t i : {0, 1, 5000, lastX}) {
      const std::int32_t from = basic.SortMap[i];
      EXPECT_EQ(destination.LogRatio[i], source.LogRatio[from]) << i;
      EXPECT_EQ(destination.CallTest[i], source.CallTest[from]) << i;
      EXPECT_EQ(destination.LogRatioA[i], self ? source.LogRatioA[from] : 0.0f) << i;
      EXPECT_EQ(destination.AlleleStateB[i], self ? source.AlleleStateB[from] : 0) << i;
    }
    EXPECT_EQ(destination.LogRatio[lastX + 1], 0.0f) << "nothing after X";
  }
}

}  // namespace
}  // namespace qova::test
