// The self-reference normalisation: a test sample against its paired normal.
#include <algorithm>
#include <cmath>

#include "tests/analysis/AnalysisTestSupport.h"
#include "platform/MessageBox.h"

using namespace qova::core;

namespace qova::test {
namespace {

constexpr int kFamily = 0;

class SelfNormalizationTest : public AnalysisTest {
 protected:
  // A test and its paired normal on the small array, no events; the biases
  // are planted unless `biasAmplitude` is 0.
  void MakePair(float biasAmplitude = 0.15f, std::uint64_t seed = 7) {
    samplegen::StudySpec spec;
    spec.ArrayType = kSmallType;
    spec.Seed = seed;
    spec.NonSelfReferences = 0;
    spec.BiasAmplitude = biasAmplitude;
    study_ = WriteStudy(spec);
    test_ = LoadSample(study_.Test.Name);
    reference_ = LoadSample(study_.References.front().Name);
  }

  CAnalyzedData Normalize() {
    CAnalyzedData analyzed = AnalyzedFor(test_, true);
    EXPECT_EQ(Engine()->NormalizeBySelfReference(test_, Annotation(kFamily), analyzed), 0);
    return analyzed;
  }

  // The ratio of the total signal before any correction, at position i.
  double RawTotalRatio(std::int32_t i) const {
    const std::int32_t j = Annotation(kFamily).IndexMap[i];
    return Log2((double(test_.SignalA[j]) + test_.SignalB[j]) / (double(reference_.SignalA[j]) + reference_.SignalB[j]));
  }

  const ArrayTypeInfo& Type() const { return kArrayTypes[kSmallTypeIndex]; }
  std::int32_t LastX() const { return qova::core::kArrayChromosomeStarts[kSmallTypeIndex][24] - 1; }

  samplegen::Study study_;
  CArrayData test_, reference_;
};

TEST_F(SelfNormalizationTest, MissingSelfReferenceShowsTheMessageAndLeavesTheSampleAlone) {
  MakePair();
  test_.Header.SelfReference = "NoSuchSample";
  CAnalyzedData analyzed = AnalyzedFor(test_, true);
  analyzed.LogRatio[5] = 1.25f;
  platform::ScopedRecordingSink sink;
  EXPECT_EQ(Engine()->NormalizeBySelfReference(test_, Annotation(kFamily), analyzed), 1);
  ASSERT_EQ(sink.Texts().size(), 1u);
  EXPECT_EQ(sink.Texts()[0], "The self reference file does not exist in the ArrayData folder");
  EXPECT_EQ(analyzed.LogRatio[5], 1.25f);
}

TEST_F(SelfNormalizationTest, ReferenceOfAnotherArrayTypeIsRefused) {
  MakePair();
  CArrayData other(study_.References.front().Name, "Mapping10K_Xba142", global_.TypeInfo(1), CTime(0));
  other.StoreFile(ArrayFolder() + other.Header.SampleName + ".CFH");
  CAnalyzedData analyzed = AnalyzedFor(test_, true);
  platform::ScopedRecordingSink sink;
  EXPECT_EQ(Engine()->NormalizeBySelfReference(test_, Annotation(kFamily), analyzed), 1);
  ASSERT_EQ(sink.Texts().size(), 1u);
  EXPECT_NE(sink.Texts()[0].find("cannot be read"), std::string::npos);
}

// The mean residual of the total ratio per fragment-length and per GC bin is
// what the correction promises to remove; the planted bias moves those means
// by well over 0.05 before it.
TEST_F(SelfNormalizationTest, PlantedFragmentLengthAndGcBiasIsRemovedPerBin) {
  MakePair(0.15f);
  const CAnalyzedData analyzed = Normalize();
  const CBasicData& basic = Annotation(kFamily);
  constexpr int kBins = 8;
  constexpr double kTolerance = 0.03;
  struct Bins {
    double raw[kBins] = {}, corrected[kBins] = {}, count[kBins] = {};
  };
  Bins byLength, byGc;
  for (std::int32_t i = 0; i <= LastX(); ++i) {
    if (analyzed.ValidFlag[i] == 0) continue;
    const std::int32_t j = basic.IndexMap[i];
    const int lengthBin = std::clamp((basic.FragmentLength[j] - 200) * kBins / 1801, 0, kBins - 1);
    const int gcBin = std::clamp(static_cast<int>((basic.GcContent[j] - 0.3f) / 0.3f * kBins), 0, kBins - 1);
    for (auto [bins, bin] : {std::pair{&byLength, lengthBin}, std::pair{&byGc, gcBin}}) {
      bins->raw[bin] += RawTotalRatio(i);
      bins->corrected[bin] += analyzed.LogRatio[i];
      bins->count[bin] += 1;
    }
  }
  double rawSpread = 0;
  for (const Bins* bins : {&byLength, &byGc}) {
    double rawMin = 1e9, rawMax = -1e9;
    for (int b = 0; b < kBins; ++b) {
      ASSERT_GT(bins->count[b], 50) << "bin " << b;
      EXPECT_NEAR(bins->corrected[b] / bins->count[b], 0.0, kTolerance) << "bin " << b;
      rawMin = std::min(rawMin, bins->raw[b] / bins->count[b]);
      rawMax = std::max(rawMax, bins->raw[b] / bins->count[b]);
    }
    rawSpread = std::max(rawSpread, rawMax - rawMin);
  }
  EXPECT_GT(rawSpread, 0.05);
}

TEST_F(SelfNormalizationTest, ZeroIntensityInvalidatesOnlyThatSnp) {
  MakePair();
  const CAnalyzedData before = Normalize();
  const CBasicData& basic = Annotation(kFamily);
  const std::int32_t zeroSnp = 1234;
  ASSERT_EQ(before.ValidFlag[zeroSnp], 1);
  test_.SignalA[basic.IndexMap[zeroSnp]] = 0.0f;
  test_.SignalB[basic.IndexMap[zeroSnp]] = 0.0f;
  const CAnalyzedData after = Normalize();

  EXPECT_EQ(after.ValidFlag[zeroSnp], 0);
  int changed = 0;
  for (std::int32_t i = 0; i <= LastX(); ++i) {
    if (i == zeroSnp) continue;
    changed += after.ValidFlag[i] != before.ValidFlag[i];
    if (after.ValidFlag[i] != 0) {
      ASSERT_TRUE(std::isfinite(after.LogRatio[i])) << i;
      // One SNP fewer in the fits moves the others by a hair only.
      ASSERT_NEAR(after.LogRatio[i], before.LogRatio[i], 1e-3) << i;
    }
  }
  EXPECT_EQ(changed, 0);
}

// The baseline modes of the self base range, each compared with the run that
// applies none (mode 1, N = 2).
TEST_F(SelfNormalizationTest, BaselineModesShiftAllThreeArrays) {
  MakePair();
  const CAnalyzedData plain = Normalize();
  const CBasicData& basic = Annotation(kFamily);
  const auto& base = test_.Header.SelfBaseRange;

  // The allele-A ratio before the ordering: the raw ratio less the same
  // correction curve the total ratio got.
  double sum = 0, count = 0;
  for (std::int32_t i = base[kBaseFirstSnp]; i <= base[kBaseLastSnp]; ++i) {
    if (plain.ValidFlag[i] != 1 || plain.CallReference[i] != kCallAB) continue;
    const std::int32_t j = basic.IndexMap[i];
    const double curve = RawTotalRatio(i) - plain.LogRatio[i];
    sum += Log2(double(test_.SignalA[j]) / reference_.SignalA[j]) - curve;
    count += 1;
  }
  ASSERT_GT(count, 100);
  const double meanA = sum / count;

  struct Case {
    std::int32_t mode, copies;
    double shift;
  };
  const SampleHeader& h = test_.Header;
  for (const Case& c : {Case{1, 2, 0.0}, Case{1, 3, h.HmmMeans[3]}, Case{1, 0, h.HmmMeans[0]},
                        Case{2, 1, -(meanA - h.AlleleHmmMeans[1])}, Case{2, 2, -(meanA - h.AlleleHmmMeans[2])}}) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " N " << c.copies);
    test_.Header.SelfBaseRange[kBaseMode] = c.mode;
    test_.Header.SelfBaseRange[kBaseCopyNumber] = c.copies;
    const CAnalyzedData shifted = Normalize();
    for (std::int32_t i : {0, 500, 7000, LastX()}) {
      EXPECT_NEAR(shifted.LogRatio[i] - plain.LogRatio[i], c.shift, 2e-4) << i;
      EXPECT_NEAR(shifted.LogRatioA[i] - plain.LogRatioA[i], c.shift, 2e-4) << i;
      EXPECT_NEAR(shifted.LogRatioB[i] - plain.LogRatioB[i], c.shift, 2e-4) << i;
    }
  }
}

TEST_F(SelfNormalizationTest, ZeroAlleleSignalLeavesTheAlleleBaselineFinite) {
  MakePair();
  const CBasicData& basic = Annotation(kFamily);
  const auto& base = test_.Header.SelfBaseRange;
  std::int32_t het = base[kBaseFirstSnp];
  while (reference_.Call[basic.IndexMap[het]] != kCallAB) ++het;
  test_.SignalA[basic.IndexMap[het]] = 0.0f;
  test_.Header.SelfBaseRange[kBaseMode] = 2;
  test_.Header.SelfBaseRange[kBaseCopyNumber] = 1;
  const CAnalyzedData analyzed = Normalize();
  for (std::int32_t i = 0; i <= LastX(); ++i) {
    if (i == het) continue;
    ASSERT_TRUE(std::isfinite(analyzed.LogRatio[i])) << i;
    ASSERT_TRUE(std::isfinite(analyzed.LogRatioA[i])) << i;
  }
  EXPECT_TRUE(std::isinf(analyzed.LogRatioB[het]));
}

// The validity rule on the total ratio, without corrections so the ratio is
// exactly the one formed.
TEST_F(SelfNormalizationTest, RatiosAtOrBeyondHundredOrNotANumberAreInvalid) {
  MakePair(0.0f);
  Setting().RegressionMode = 4;
  const CBasicData& basic = Annotation(kFamily);
  struct Case {
    std::int32_t snp;
    float test, reference;
    int valid;
  };
  const Case cases[] = {
      {100, std::ldexp(1.0f, 99), 1.0f, 1},   // 2^99: log2 99
      {101, std::ldexp(1.0f, 100), 1.0f, 0},  // exactly 100
      {102, 1.0f, std::ldexp(1.0f, 100), 0},  // exactly -100
      {103, 1.0f, std::ldexp(1.0f, 99), 1},
      {104, 0.0f, 0.0f, 0},                   // 0/0: not a number
      {105, 5.0f, 0.0f, 0},                   // infinite
  };
  for (const Case& c : cases) {
    const std::int32_t j = basic.IndexMap[c.snp];
    test_.SignalA[j] = c.test;
    test_.SignalB[j] = 0.0f;
    reference_.SignalA[j] = c.reference;
    reference_.SignalB[j] = 0.0f;
  }
  reference_.StoreFile(ArrayFolder() + study_.References.front().Name + ".CFH");
  const CAnalyzedData analyzed = Normalize();
  for (const Case& c : cases) {
    EXPECT_EQ(analyzed.ValidFlag[c.snp], c.valid) << "SNP " << c.snp << " ratio " << analyzed.LogRatio[c.snp];
  }
}

}  // namespace
}  // namespace qova::test
