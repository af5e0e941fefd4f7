// The synthetic-sample generator: determinism, calls that follow the planted
// copies, ratios near the HMM means, and studies written as the program
// expects to find them.
#include <cmath>

#include "tests/analysis/AnalysisTestSupport.h"

using namespace qova::core;

namespace qova::test {
namespace {

constexpr int kFamily = 0;

class SampleGenTest : public AnalysisTest {
 protected:
  samplegen::SampleGenerator Generator(std::uint64_t seed = 5) const {
    return samplegen::SampleGenerator(kSmallType, Annotation(kFamily), seed);
  }
  static samplegen::SampleSpec Spec(const std::string& name, std::uint64_t individual) {
    samplegen::SampleSpec spec;
    spec.Name = name;
    spec.Individual = individual;
    return spec;
  }
  static std::int32_t Start(int chromosome) { return qova::core::kArrayChromosomeStarts[kSmallTypeIndex][chromosome]; }
};

TEST_F(SampleGenTest, SameSeedSameSample) {
  const auto spec = Spec("A", 1);
  const CArrayData a = Generator().Make(spec), b = Generator().Make(spec);
  EXPECT_EQ(a.SignalA, b.SignalA);
  EXPECT_EQ(a.SignalB, b.SignalB);
  EXPECT_EQ(a.Call, b.Call);
  const CArrayData other = Generator(6).Make(spec);
  EXPECT_NE(a.SignalA, other.SignalA);
}

TEST_F(SampleGenTest, OneIndividualHasOneGenotype) {
  const CArrayData tumour = Generator().Make(Spec("T", 42)), normal = Generator().Make(Spec("N", 42));
  const CArrayData stranger = Generator().Make(Spec("X", 43));
  int same = 0, sameAsStranger = 0, called = 0;
  for (std::size_t j = 0; j < tumour.Call.size(); ++j) {
    if (tumour.Call[j] == kCallNone || normal.Call[j] == kCallNone) continue;
    ++called;
    same += tumour.Call[j] == normal.Call[j];
    sameAsStranger += tumour.Call[j] == stranger.Call[j];
  }
  EXPECT_EQ(same, called);
  EXPECT_LT(sameAsStranger, called * 9 / 10);
}

// Planted events against the same individual's normal sample without bias:
// mean total ratios near the default HMM state means, and heterozygous calls
// only where both alleles are left.
TEST_F(SampleGenTest, EventsMoveRatiosAndCalls) {
  const CBasicData& basic = Annotation(kFamily);
  const std::int32_t c1 = Start(1);
  struct Event {
    samplegen::PlantedSegment segment;
    double meanRatio;
    bool heterozygousCalls;
  };
  const Event events[] = {
      {samplegen::CopyNumberSegment(1, c1 + 0, c1 + 149, 0), -1.24, false},
      {samplegen::CopyNumberSegment(1, c1 + 150, c1 + 299, 1), -0.49, false},
      {samplegen::CopyNumberSegment(1, c1 + 300, c1 + 449, 3), 0.3, true},
      {samplegen::CopyNumberSegment(1, c1 + 450, c1 + 599, 4), 0.6, true},
      {samplegen::CopyNeutralLohSegment(1, c1 + 600, c1 + 749), 0.0, false},
  };
  samplegen::SampleSpec tumour = Spec("T", 42);
  for (const Event& e : events) tumour.Segments.push_back(e.segment);
  const CArrayData t = Generator().Make(tumour), n = Generator().Make(Spec("N", 42));
  for (const Event& e : events) {
    SCOPED_TRACE(e.segment.TotalCopies());
    double sum = 0;
    int count = 0, heterozygous = 0;
    for (std::int32_t i = e.segment.FirstSnp; i <= e.segment.LastSnp; ++i) {
      const std::int32_t j = basic.IndexMap[i];
      sum += Log2((double(t.SignalA[j]) + t.SignalB[j]) / (double(n.SignalA[j]) + n.SignalB[j]));
      ++count;
      heterozygous += t.Call[j] == kCallAB;
      EXPECT_EQ(samplegen::PlantedTotalCopies(tumour.Segments, i), e.segment.TotalCopies());
    }
    EXPECT_NEAR(sum / count, e.meanRatio, 0.1);
    if (e.heterozygousCalls) {
      EXPECT_GT(heterozygous, 10);
    } else {
      EXPECT_EQ(heterozygous, 0);
    }
  }
  EXPECT_EQ(samplegen::PlantedTotalCopies(tumour.Segments, c1 + 800), 2);
}

TEST_F(SampleGenTest, MalesAreHemizygousOnX) {
  samplegen::SampleSpec male = Spec("M", 1);
  male.Sex = "M";
  const CArrayData m = Generator().Make(male);
  const CBasicData& basic = Annotation(kFamily);
  for (std::int32_t i = Start(23); i < Start(24); ++i) ASSERT_NE(m.Call[basic.IndexMap[i]], kCallAB) << i;
  EXPECT_EQ(m.Header.Sex, "M");
}

TEST_F(SampleGenTest, SegmentsOutsideTheirChromosomeAreRefused) {
  samplegen::SampleSpec spec = Spec("S", 1);
  for (const samplegen::PlantedSegment& bad :
       {samplegen::PlantedSegment{1, Start(2) - 5, Start(2) + 5, 1, 0}, samplegen::PlantedSegment{24, 0, 1, 1, 0},
        samplegen::PlantedSegment{2, Start(2) + 9, Start(2) + 3, 1, 0},
        samplegen::PlantedSegment{2, Start(2), Start(2) + 3, 3, 2}}) {
    spec.Segments = {bad};
    EXPECT_THROW((void)Generator().Make(spec), std::invalid_argument);
  }
}

TEST_F(SampleGenTest, StudyFilesNameTheirReferences) {
  samplegen::StudySpec spec;
  spec.ArrayType = kSmallType;
  spec.NonSelfReferences = 2;
  const samplegen::Study study = WriteStudy(spec);
  ASSERT_EQ(study.References.size(), 3u);
  EXPECT_EQ(study.NonSelfReferenceNames(), (std::vector<std::string>{"Ref01", "Ref02"}));
  const CArrayData test = LoadSample("Test01");
  EXPECT_EQ(test.Header.IsTest, 1);
  EXPECT_EQ(test.Header.SelfReference, "Test01N");
  EXPECT_EQ(test.Header.NonSelfReferences, "0.000000$Ref01$0.000000$Ref02$");
  EXPECT_EQ(test.Header.NonSelfReferenceCount, 2);
  const CArrayData normal = LoadSample("Test01N");
  EXPECT_EQ(normal.Header.SelfReference, "Test01");
  EXPECT_EQ(normal.Header.IsTest, 0);
  EXPECT_NE(study.Test.Spec.Bias, study.References[0].Spec.Bias);
}

TEST_F(SampleGenTest, StudiesOfEveryFamilyMake) {
  for (const ArrayTypeInfo& type : kArrayTypes) {
    if (type.family == 3 || type.family == 4 || type.family == 6) continue;  // the big ones cost seconds each
    SCOPED_TRACE(type.name);
    const samplegen::SampleGenerator generator(type.name, Annotation(type.family), 1);
    const CArrayData sample = generator.Make(Spec("S", 1));
    EXPECT_EQ(sample.Header.ArrayType, type.name);
    EXPECT_GT(sample.SignalA[type.firstSnp], 0.0f);
    EXPECT_GT(sample.SignalB[type.lastSnp], 0.0f);
  }
}

}  // namespace
}  // namespace qova::test
