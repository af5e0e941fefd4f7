// The quadratic fragment-length and GC fit, its overrides, and the corrected
// SD that ranks candidate references.
#include <cmath>
#include <limits>

#include "tests/analysis/AnalysisTestSupport.h"

namespace qova::test {
namespace {

constexpr int kFamily = 0;

class CorrectionFitTest : public AnalysisTest {
 protected:
  void SetUp() override {
    basic_ = Annotation(kFamily);
    CArrayData sample("S", kSmallType, global_.TypeInfo(kSmallTypeIndex), CTime(0));
    analyzed_ = AnalyzedFor(sample, false);
  }

  double X(std::int32_t i, int mode) const {
    const std::int32_t j = basic_.IndexMap[i];
    return mode == CAnalysis::kFitFragmentLength ? double(basic_.FragmentLength[j]) : double(basic_.GcContent[j]);
  }
  // Ratios that follow c0 + c1 x + c2 x^2 exactly.
  void PlantCurve(int mode, double c0, double c1, double c2) {
    for (std::int32_t i = 0; i < LastX(); ++i) {
      const double x = X(i, mode);
      analyzed_.LogRatio[i] = static_cast<float>(c0 + c1 * x + c2 * x * x);
    }
  }
  std::array<float, 3> Fit(int mode) {
    auto engine = Engine();
    const float* c = engine->FitQuadraticCorrection(analyzed_, basic_, mode);
    return {c[0], c[1], c[2]};
  }
  double MeanOfBaseRange() const {
    double sum = 0, n = 0;
    for (std::int32_t i = 0; i <= analyzed_.Header.NonSelfBaseRange[kBaseLastSnp]; ++i) {
      if (analyzed_.ValidFlag[i] != 1) continue;
      sum += analyzed_.LogRatio[i];
      n += 1;
    }
    return sum / n;
  }
  std::int32_t LastX() const { return qova::core::kArrayChromosomeStarts[kSmallTypeIndex][24] - 1; }

  CBasicData basic_;
  CAnalyzedData analyzed_;
};

TEST_F(CorrectionFitTest, RecoversAPlantedQuadraticForEitherRegressor) {
  struct Case {
    int mode;
    double c0, c1, c2, tolerance1, tolerance2;
  };
  for (const Case& c : {Case{CAnalysis::kFitFragmentLength, 0.3, -4e-4, 1.5e-7, 1e-8, 1e-10},
                        Case{CAnalysis::kFitGcContent, -1.2, 5.0, -6.0, 1e-3, 2e-3}}) {
    SCOPED_TRACE(c.mode);
    PlantCurve(c.mode, c.c0, c.c1, c.c2);
    const auto f = Fit(c.mode);
    EXPECT_NEAR(f[0], c.c0, 1e-3);
    EXPECT_NEAR(f[1], c.c1, c.tolerance1 + std::abs(c.c1) * 1e-4);
    EXPECT_NEAR(f[2], c.c2, c.tolerance2 + std::abs(c.c2) * 1e-4);
  }
}

// RegressionMode: 0 both quadratics, 1 length only, 2 GC only, 3 only the
// mean, 4 nothing. A fit that is overridden removes the mean of the valid
// ratios of the range.
TEST_F(CorrectionFitTest, RegressionModeOverridesTheFits) {
  struct Case {
    int setting;
    bool lengthQuadratic, lengthMean, gcQuadratic, gcMean;
  };
  const Case cases[] = {{0, true, false, true, false},
                        {1, true, false, false, true},
                        {2, false, true, true, false},
                        {3, false, true, false, true},
                        {4, false, false, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting);
    Setting().RegressionMode = c.setting;
    for (int mode : {CAnalysis::kFitFragmentLength, CAnalysis::kFitGcContent}) {
      PlantCurve(mode, 0.5, mode == 1 ? 1e-4 : 0.8, mode == 1 ? -3e-8 : 0.4);
      const double mean = MeanOfBaseRange();
      const auto f = Fit(mode);
      const bool quadratic = mode == 1 ? c.lengthQuadratic : c.gcQuadratic;
      const bool meanOnly = mode == 1 ? c.lengthMean : c.gcMean;
      if (quadratic) {
        EXPECT_NEAR(f[0], 0.5, 1e-3);
        EXPECT_NE(f[1], 0.0f);
      } else if (meanOnly) {
        EXPECT_NEAR(f[0], mean, 1e-5);
        EXPECT_EQ(f[1], 0.0f);
        EXPECT_EQ(f[2], 0.0f);
      } else {
        EXPECT_EQ(f, (std::array<float, 3>{0, 0, 0}));
      }
    }
  }
}

TEST_F(CorrectionFitTest, RatiosThatAreNotFiniteStayOutOfTheSums) {
  PlantCurve(CAnalysis::kFitGcContent, 0.1, 0.5, 0.2);
  const auto clean = Fit(CAnalysis::kFitGcContent);
  analyzed_.LogRatio[10] = std::numeric_limits<float>::infinity();
  analyzed_.LogRatio[11] = -std::numeric_limits<float>::infinity();
  analyzed_.LogRatio[12] = std::numeric_limits<float>::quiet_NaN();
  const auto dirty = Fit(CAnalysis::kFitGcContent);
  for (int k = 0; k < 3; ++k) {
    ASSERT_TRUE(std::isfinite(dirty[k]));
    EXPECT_NEAR(dirty[k], clean[k], 1e-4);
  }
  EXPECT_EQ(analyzed_.ValidFlag[10], 1) << "the fit itself does not judge ratios";
}

TEST_F(CorrectionFitTest, UnusableAnnotationIsScreenedButTheLastSnpOfXIsNot) {
  struct Case {
    std::int32_t snp;
    std::int32_t length;
    float gc;
    int valid;
  };
  const std::int32_t lastX = LastX();
  const Case cases[] = {{20, 0, 0.4f, 0},     {21, 10001, 0.4f, 0}, {22, 10000, 0.4f, 1}, {23, 1, 0.4f, 1},
                        {24, 500, 0.0f, 0},   {25, 500, 1.0f, 0},   {26, 500, 0.999f, 1}, {27, 500, -0.2f, 0},
                        {lastX, 0, 0.0f, 1},  {lastX - 1, 0, 0.4f, 0}};
  for (const Case& c : cases) {
    const std::int32_t j = basic_.IndexMap[c.snp];
    basic_.FragmentLength[j] = c.length;
    basic_.GcContent[j] = c.gc;
  }
  for (int mode : {CAnalysis::kFitFragmentLength, CAnalysis::kFitGcContent}) {
    std::fill(analyzed_.ValidFlag.begin(), analyzed_.ValidFlag.end(), 1);
    Fit(mode);
    for (const Case& c : cases) EXPECT_EQ(analyzed_.ValidFlag[c.snp], c.valid) << "mode " << mode << " SNP " << c.snp;
  }
}

TEST_F(CorrectionFitTest, SelfResultsFitOverTheSelfBaseRange) {
  // Inside 0..3000 one constant, outside another: the fit sees only its range.
  for (std::int32_t i = 0; i < LastX(); ++i) analyzed_.LogRatio[i] = i <= 3000 ? 0.2f : -0.6f;
  analyzed_.Header.NonSelfBaseRange[kBaseFirstSnp] = 4000;
  analyzed_.Header.NonSelfBaseRange[kBaseLastSnp] = 9000;
  analyzed_.Header.SelfBaseRange[kBaseFirstSnp] = 0;
  analyzed_.Header.SelfBaseRange[kBaseLastSnp] = 3000;
  analyzed_.IsSelf = false;
  EXPECT_NEAR(Fit(CAnalysis::kFitGcContent)[0], -0.6f, 1e-5);
  analyzed_.IsSelf = true;
  EXPECT_NEAR(Fit(CAnalysis::kFitGcContent)[0], 0.2f, 1e-5);
}

TEST_F(CorrectionFitTest, CorrectedSdRanksTheQuieterReferenceFirst) {
  samplegen::StudySpec spec;
  spec.ArrayType = kSmallType;
  spec.WithSelfReference = false;
  spec.NonSelfReferences = 0;
  WriteStudy(spec);
  const CArrayData test = LoadSample("Test01");
  const CBasicData& annotation = Annotation(kFamily);
  const samplegen::SampleGenerator generator(kSmallType, annotation, spec.Seed);

  // The same individual and bias at two noise levels: the bias is corrected
  // away, so only the noise tells them apart.
  float sd[2];
  for (int k = 0; k < 2; ++k) {
    samplegen::SampleSpec reference;
    reference.Name = "R";
    reference.Individual = 99;
    reference.Bias = {0.2f, -0.1f, 0.15f, 0.1f};
    reference.Noise = k == 0 ? 0.05f : 0.2f;
    sd[k] = Engine()->CalcCorrectedSD(test, generator.Make(reference), annotation);
  }
  EXPECT_LT(sd[0], sd[1]);
  EXPECT_GT(sd[0], 0.05f);
  EXPECT_LT(sd[1], 0.6f);
}

}  // namespace
}  // namespace qova::test
