// The per-SNP association statistic of a self-referenced sample, computed
// after the self normalisation from the sample files the study wrote.
#include <cmath>

#include "analysis/AssociationMethods.h"
#include "platform/MessageBox.h"
#include "tests/analysis/AnalysisTestSupport.h"

namespace qova::test {
namespace {

constexpr int kFamily = 0;
constexpr int kP = 30, kQ = 20;

class AssociationTest : public AnalysisTest {
 protected:
  void SetUp() override {
    samplegen::StudySpec spec;
    spec.ArrayType = kSmallType;
    spec.Seed = 9;
    spec.NonSelfReferences = 6;
    // Copy-neutral LOH over most of chromosome 2.
    spec.Segments = {samplegen::CopyNeutralLohSegment(2, Start(2) + 50, Start(3) - 50)};
    study_ = WriteStudy(spec);
    test_ = LoadSample(study_.Test.Name);
    self_ = LoadSample(study_.Test.Name + "N");
    normalized_ = AnalyzedFor(test_, true);
    ASSERT_EQ(Engine()->NormalizeBySelfReference(test_, Annotation(kFamily), normalized_), 0);
  }

  static std::int32_t Start(int c) { return qova::core::kArrayChromosomeStarts[kSmallTypeIndex][c]; }
  static std::int32_t LastX() { return Start(24) - 1; }
  static std::int32_t Row(std::int32_t i) { return Annotation(kFamily).IndexMap[i]; }

  // The statistic of `method` from the normalised sample.
  CAnalyzedData Statistic(int method, int* result = nullptr) {
    CAnalyzedData analyzed = normalized_;
    const int r = Engine()->CalcAssociationStatistic(test_, analyzed, Annotation(kFamily), kP, kQ, method);
    if (result != nullptr) *result = r;
    return analyzed;
  }

  static double Fraction(const CArrayData& s, std::int32_t i, double k = 1.0) {
    return qova::analysis::AlleleFraction(s.SignalA[Row(i)], s.SignalB[Row(i)], k);
  }

  samplegen::Study study_;
  CArrayData test_, self_;
  CAnalyzedData normalized_;
};

TEST_F(AssociationTest, ScaledMethodsWeighAlleleBByTheReferencesBalance) {
  const qova::analysis::SampleCounts counts{kP, kQ};
  std::vector<CArrayData> references;
  for (const std::string& name : study_.NonSelfReferenceNames()) references.push_back(LoadSample(name));
  const CAnalyzedData scaled = Statistic(7);
  const CAnalyzedData chi = Statistic(8);
  int checked = 0;
  for (std::int32_t i = 0; i <= LastX(); i += 11) {
    double sum = 0;
    int n = 0;
    for (const CArrayData& r : references) {
      if (r.Call[Row(i)] != kCallAB) continue;
      sum += double(r.SignalA[Row(i)]) / r.SignalB[Row(i)];
      ++n;
    }
    if (n == 0) {
      EXPECT_EQ(scaled.ValidFlag[i], 0) << "no heterozygous reference at " << i;
      EXPECT_EQ(scaled.LogRatio[i], 0.0f);
      continue;
    }
    if (normalized_.ValidFlag[i] == 0) continue;
    const double k = sum / n;
    const double pt = Fraction(test_, i, k), pr = Fraction(self_, i, k);
    ASSERT_NEAR(scaled.LogRatio[i], 10 * std::fabs(pt - pr), 1e-4) << i;
    const double expected = qova::analysis::ContingencyStatistic(pt, pr, counts);
    ASSERT_NEAR(chi.LogRatio[i], expected, 1e-4 * (1 + expected)) << i;
    ++checked;
  }
  EXPECT_GT(checked, 300);
}

TEST_F(AssociationTest, SnpWithoutHeterozygousReferenceIsUnused) {
  const std::int32_t i = 200;
  for (const std::string& name : study_.NonSelfReferenceNames()) {
    CArrayData r = LoadSample(name);
    r.Call[Row(i)] = kCallA;
    r.StoreFile(ArrayFolder() + name + ".CFH");
  }
  const CAnalyzedData analyzed = Statistic(7);
  EXPECT_EQ(analyzed.ValidFlag[i], 0);
  EXPECT_EQ(analyzed.LogRatio[i], 0.0f);
}

// The modelled fractions tell the lost allele of the LOH segment from the
// pair's shared genotypes.
TEST_F(AssociationTest, ModelingSeparatesLohFromSharedGenotypes) {
  int result = -1;
  const CAnalyzedData analyzed = Statistic(0, &result);
  ASSERT_EQ(result, 0);
  double inside = 0, outside = 0;
  int nInside = 0, nOutside = 0;
  for (std::int32_t i = Start(1); i < Start(4); ++i) {
    if (analyzed.ValidFlag[i] == 0 || self_.Call[Row(i)] != kCallAB) continue;
    ASSERT_TRUE(std::isfinite(analyzed.LogRatio[i]));
    const bool loh = i >= Start(2) + 50 && i <= Start(3) - 50;
    (loh ? inside : outside) += analyzed.LogRatio[i];
    ++(loh ? nInside : nOutside);
  }
  ASSERT_GT(nInside, 50);
  ASSERT_GT(nOutside, 50);
  EXPECT_GT(inside / nInside, 10 * (outside / nOutside));
}

TEST_F(AssociationTest, MissingReferencesLeaveTheNormalisedRatios) {
  struct Case {
    const char* name;
    int method;
    void (*spoil)(CArrayData&);
    const char* message;   // box text, or empty
    const char* logLine;   // error-log line, or empty
  } cases[] = {
      {"self reference missing", 4, [](CArrayData& t) { t.Header.SelfReference = "Gone"; },
       "The self reference file does not exist in the ArrayData folder", ""},
      {"self reference missing for scaled fractions", 7, [](CArrayData& t) { t.Header.SelfReference = "Gone"; },
       "The self reference file does not exist in the ArrayData folder", ""},
      {"no reference selected", 0, [](CArrayData& t) { t.Header.NonSelfReferenceCount = 0; }, "",
       "The reference is not selected for test sample Test01"},
      {"reference file missing", 8, [](CArrayData& t) { t.Header.NonSelfReferences = "Ref01$Gone$"; }, "",
       "The reference file does not exist for test sample Test01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CArrayData test = test_;
    c.spoil(test);
    CAnalyzedData analyzed = normalized_;
    platform::ScopedRecordingSink sink;
    EXPECT_EQ(Engine()->CalcAssociationStatistic(test, analyzed, Annotation(kFamily), kP, kQ, c.method), 1);
    EXPECT_EQ(analyzed.LogRatio, normalized_.LogRatio);
    EXPECT_EQ(analyzed.ValidFlag, normalized_.ValidFlag);
    EXPECT_EQ(sink.Texts(), std::string(c.message).empty() ? std::vector<std::string>{}
                                                           : std::vector<std::string>{c.message});
    const std::vector<std::string> log = ErrorLogLines();
    if (std::string(c.logLine).empty()) continue;
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), c.logLine);
  }
}

}  // namespace
}  // namespace qova::test
