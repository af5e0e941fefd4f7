// The non-self normalisations: against unrelated references, with the
// allele-specific switch off and on.
#include <algorithm>
#include <cmath>
#include <functional>

#include "tests/analysis/AnalysisTestSupport.h"

namespace core = qova::core;

namespace qova::test {
namespace {

constexpr int kFamily = 0;

class NonSelfNormalizationTest : public AnalysisTest {
 protected:
  void MakeStudy(int references, std::vector<samplegen::PlantedSegment> segments = {}, float bias = 0.15f,
                 const char* type = kSmallType) {
    samplegen::StudySpec spec;
    spec.ArrayType = type;
    spec.Seed = 11;
    spec.WithSelfReference = false;
    spec.NonSelfReferences = references;
    spec.BiasAmplitude = bias;
    spec.Segments = std::move(segments);
    study_ = WriteStudy(spec);
    test_ = LoadSample(study_.Test.Name);
  }

  int Normalize(CAnalyzedData& analyzed, const CBasicData& basic = Annotation(kFamily)) {
    return Engine()->NormalizeByReferences(test_, basic, analyzed);
  }

  std::int32_t LastX() const { return core::kArrayChromosomeStarts[kSmallTypeIndex][24] - 1; }
  double Total(const CArrayData& s, std::int32_t i) const {
    const std::int32_t j = Annotation(kFamily).IndexMap[i];
    return double(s.SignalA[j]) + s.SignalB[j];
  }

  samplegen::Study study_;
  CArrayData test_;
};

TEST_F(NonSelfNormalizationTest, OneReferenceGivesLogOfTestOverReference) {
  MakeStudy(1);
  Setting().RegressionMode = 4;
  CAnalyzedData analyzed = AnalyzedFor(test_, false);
  ASSERT_EQ(Normalize(analyzed), 0);
  const CArrayData reference = LoadSample("Ref01");
  for (std::int32_t i = 0; i <= LastX(); i += 7) {
    ASSERT_NEAR(analyzed.LogRatio[i], Log2(Total(test_, i) / Total(reference, i)), 2e-5) << i;
    ASSERT_EQ(analyzed.CallTest[i], test_.Call[Annotation(kFamily).IndexMap[i]]);
  }
}

TEST_F(NonSelfNormalizationTest, TwoReferencesAreAveragedInLinearScale) {
  MakeStudy(2);
  Setting().RegressionMode = 4;
  CAnalyzedData analyzed = AnalyzedFor(test_, false);
  ASSERT_EQ(Normalize(analyzed), 0);
  const CArrayData r1 = LoadSample("Ref01"), r2 = LoadSample("Ref02");
  for (std::int32_t i = 0; i <= LastX(); i += 7) {
    const double mean = (Total(r1, i) + Total(r2, i)) / 2;
    ASSERT_NEAR(analyzed.LogRatio[i], Log2(Total(test_, i) / mean), 2e-5) << i;
  }
}

// Each reference is corrected against the test on its own before the
// average: the result is the test over the mean of the corrected references.
TEST_F(NonSelfNormalizationTest, EachReferenceIsCorrectedBeforeTheAverage) {
  MakeStudy(2);
  CAnalyzedData analyzed = AnalyzedFor(test_, false);
  ASSERT_EQ(Normalize(analyzed), 0);

  const CBasicData& basic = Annotation(kFamily);
  std::vector<double> meanCorrected(LastX() + 1, 0.0);
  for (const char* name : {"Ref01", "Ref02"}) {
    const CArrayData reference = LoadSample(name);
    CAnalyzedData work = AnalyzedFor(test_, false);
    for (std::int32_t i = 0; i <= LastX(); ++i) {
      work.LogRatio[i] = static_cast<float>(Log2(Total(reference, i) / Total(test_, i)));
    }
    auto engine = Engine();
    for (int mode : {CAnalysis::kFitFragmentLength, CAnalysis::kFitGcContent}) {
      const float* c = engine->FitQuadraticCorrection(work, basic, mode);
      for (std::int32_t i = 0; i <= LastX(); ++i) {
        const std::int32_t j = basic.IndexMap[i];
        const double x = mode == 1 ? double(basic.FragmentLength[j]) : double(basic.GcContent[j]);
        work.LogRatio[i] = static_cast<float>(work.LogRatio[i] - (c[0] + c[1] * x + c[2] * x * x));
      }
    }
    for (std::int32_t i = 0; i <= LastX(); ++i) meanCorrected[i] += std::exp2(double(work.LogRatio[i])) / 2;
  }
  for (std::int32_t i = 0; i <= LastX(); i += 5) {
    ASSERT_NEAR(analyzed.LogRatio[i], -Log2(meanCorrected[i]), 1e-4) << i;
  }
}

TEST_F(NonSelfNormalizationTest, ZeroIntensityInTheOnlyReferenceInvalidatesOnlyThatSnp) {
  MakeStudy(1);
  CArrayData reference = LoadSample("Ref01");
  const std::int32_t snp = 777;
  const std::int32_t j = Annotation(kFamily).IndexMap[snp];
  reference.SignalA[j] = reference.SignalB[j] = 0.0f;
  reference.StoreFile(ArrayFolder() + "Ref01.CFH");
  CAnalyzedData analyzed = AnalyzedFor(test_, false);
  ASSERT_EQ(Normalize(analyzed), 0);
  EXPECT_EQ(analyzed.ValidFlag[snp], 0);
  const auto valid = std::count(analyzed.ValidFlag.begin(), analyzed.ValidFlag.begin() + LastX() + 1, 1);
  EXPECT_EQ(valid, LastX());
}

TEST_F(NonSelfNormalizationTest, BaselineModeOneMovesTheTotalRatioToTheStateMean) {
  MakeStudy(1);
  CAnalyzedData plain = AnalyzedFor(test_, false);
  ASSERT_EQ(Normalize(plain), 0);
  test_.Header.NonSelfBaseRange[kBaseCopyNumber] = 3;
  CAnalyzedData shifted = AnalyzedFor(test_, false);
  ASSERT_EQ(Normalize(shifted), 0);
  for (std::int32_t i : {0, 4000, LastX()}) {
    EXPECT_NEAR(shifted.LogRatio[i] - plain.LogRatio[i], test_.Header.HmmMeans[3], 1e-5);
  }
}

// Which error-log line a failure writes, by sample kind.
TEST_F(NonSelfNormalizationTest, FailuresWriteTheirErrorLogLine) {
  MakeStudy(2);
  struct Case {
    int isTest;
    std::string references;
    int count;
    std::string line;
  };
  const Case cases[] = {
      {1, "", 0, "The reference is not selected for test sample Test01"},
      {0, "", 0, "The reference is not selected for reference sample Test01"},
      {1, "0.100000$Ref01$0.200000$Missing$", 2, "The reference file does not exist for test sample Test01"},
      {0, "Missing$", 1, "The reference file does not exist for reference sample Test01"},
  };
  for (const Case& c : cases) {
    platform::RemoveFile(Root() + "errorlog.txt");
    test_.Header.IsTest = c.isTest;
    test_.Header.NonSelfReferences = c.references;
    test_.Header.NonSelfReferenceCount = c.count;
    CAnalyzedData analyzed = AnalyzedFor(test_, false);
    analyzed.LogRatio[3] = 2.5f;
    EXPECT_EQ(Normalize(analyzed), 1);
    EXPECT_EQ(ErrorLogLines(), std::vector<std::string>{c.line});
    EXPECT_EQ(analyzed.LogRatio[3], 2.5f) << "a failure before any reference is read changes nothing";
  }
}

class AlleleSpecificNormalizationTest : public NonSelfNormalizationTest {
 protected:
  void SetUp() override { Setting().NONSELFALLELE = 1; }
};

// A test sample with a loss and a copy-neutral LOH on chromosome 1 against
// eight references: inside the events heterozygous population SNPs show one
// allele lost (loss) or one doubled and one lost (LOH).
TEST_F(AlleleSpecificNormalizationTest, EventsShowInTheAlleleRatios) {
  const std::int32_t chr1 = core::kArrayChromosomeStarts[kSmallTypeIndex][1];
  MakeStudy(8, {samplegen::CopyNumberSegment(1, chr1 + 100, chr1 + 399, 1),
                samplegen::CopyNeutralLohSegment(1, chr1 + 500, chr1 + 799)});
  CAnalyzedData analyzed = AnalyzedFor(test_, false);
  ASSERT_EQ(Normalize(analyzed), 0);

  struct Mean {
    double total = 0, a = 0, b = 0, n = 0;
  };
  const auto meanOver = [&](std::int32_t from, std::int32_t to) {
    Mean m;
    for (std::int32_t i = from; i <= to; ++i) {
      if (analyzed.ValidFlag[i] == 0 || analyzed.CallReference[i] != kCallAB) continue;
      m.total += analyzed.LogRatio[i];
      m.a += analyzed.LogRatioA[i];
      m.b += analyzed.LogRatioB[i];
      m.n += 1;
    }
    m.total /= m.n;
    m.a /= m.n;
    m.b /= m.n;
    return m;
  };
  const Mean normal = meanOver(chr1 + 1000, chr1 + 1400);
  const Mean loss = meanOver(chr1 + 100, chr1 + 399);
  const Mean loh = meanOver(chr1 + 500, chr1 + 799);
  ASSERT_GT(loss.n, 20);
  ASSERT_GT(loh.n, 20);
  EXPECT_NEAR(normal.a, 0.0, 0.15);
  EXPECT_NEAR(normal.b, 0.0, 0.15);
  EXPECT_LT(loss.total, -0.3);
  EXPECT_LT(loss.b, -0.8);
  EXPECT_NEAR(loss.a, 0.0, 0.2);
  EXPECT_NEAR(loh.total, 0.0, 0.15);
  EXPECT_GT(loh.a, 0.3);
  EXPECT_LT(loh.b, -0.8);
  for (std::int32_t i = 0; i <= LastX(); ++i) ASSERT_GE(analyzed.LogRatioA[i], analyzed.LogRatioB[i]);
}

TEST_F(AlleleSpecificNormalizationTest, OnXOnlyHeterozygousSnpsStayValid) {
  MakeStudy(4);
  CAnalyzedData analyzed = AnalyzedFor(test_, false);
  ASSERT_EQ(Normalize(analyzed), 0);
  const std::int32_t firstX = core::kArrayChromosomeStarts[kSmallTypeIndex][23];
  int heterozygous = 0;
  for (std::int32_t i = firstX; i <= LastX(); ++i) {
    if (analyzed.CallReference[i] != kCallAB) {
      ASSERT_EQ(analyzed.ValidFlag[i], 0) << i;
    } else {
      heterozygous += analyzed.ValidFlag[i];
    }
  }
  EXPECT_GT(heterozygous, 10);
}

// With the leakage compensation each allele loses the share c of the other
// before the ratios are formed; a signal that would go to 0 or below becomes
// 1.0.
TEST_F(AlleleSpecificNormalizationTest, LeakageCompensationCorrectsBothSamplesOnce) {
  MakeStudy(1, {}, 0.0f);
  Setting().RegressionMode = 4;
  Setting().MorekomiCompensation = 1;
  Setting().MorekomiRate = 0.1f;
  CArrayData reference = LoadSample("Ref01");
  const CBasicData& basic = Annotation(kFamily);
  for (std::int32_t i = 0; i <= LastX(); ++i) {
    const std::int32_t j = basic.IndexMap[i];
    test_.SignalA[j] = 1000.0f;
    test_.SignalB[j] = 300.0f;
    reference.SignalA[j] = 1000.0f;
    reference.SignalB[j] = 200.0f;
    test_.Call[j] = reference.Call[j] = kCallAB;
  }
  reference.StoreFile(ArrayFolder() + "Ref01.CFH");
  CAnalyzedData analyzed = AnalyzedFor(test_, false);
  ASSERT_EQ(Normalize(analyzed), 0);
  const double scale = 1 - 0.01;
  const double testA = (1000 - 30) / scale, testB = (300 - 100) / scale;
  const double refA = (1000 - 20) / scale, refB = (200 - 100) / scale;
  for (std::int32_t i : {0, 3000, 9000}) {
    EXPECT_NEAR(analyzed.LogRatioA[i], Log2(testB / refB), 1e-4);
    EXPECT_NEAR(analyzed.LogRatioB[i], Log2(testA / refA), 1e-4);
  }
}

}  // namespace
}  // namespace qova::test
