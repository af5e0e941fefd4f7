// The copy-number models find what the sample generator planted in a whole
// GenomeWideSNP_5 sample at a realistic noise level (samplegen::kDefaultNoise:
// each allele signal of a sample varies with a natural-log SD of 0.1, which
// with the planted events gives the total log2 ratio of the test against its
// normal sample an SD of 0.18 over the autosomes), after the self
// normalisation with its fragment-length and GC fits.
#include <cstdio>

#include "tests/analysis/AnalysisTestSupport.h"

namespace qova::test {
namespace {

using samplegen::CopyNeutralLohSegment;
using samplegen::CopyNumberSegment;
using samplegen::PlantedSegment;

constexpr const char* kType = "GenomeWideSNP_5";
constexpr int kType12 = 12;

class RecoveryTest : public AnalysisTest {
 protected:
  static std::int32_t Start(int c) { return qova::core::kArrayChromosomeStarts[kType12][c]; }

  // Events of every planted kind, from 120 to 6000 SNPs long.
  static std::vector<PlantedSegment> Segments() {
    return {
        CopyNumberSegment(1, Start(1) + 12000, Start(1) + 12400, 0),
        CopyNumberSegment(2, Start(2) + 5000, Start(2) + 9999, 1),
        CopyNumberSegment(3, Start(3) + 20000, Start(3) + 25999, 3),
        CopyNumberSegment(5, Start(5) + 1000, Start(5) + 2999, 4),
        CopyNeutralLohSegment(7, Start(7) + 3000, Start(7) + 7999),
        CopyNumberSegment(10, Start(10) + 10000, Start(10) + 10149, 1),
        CopyNumberSegment(12, Start(12) + 15000, Start(12) + 15119, 3),
        CopyNumberSegment(17, Start(17) + 500, Start(17) + 899, 0),
    };
  }

  void SetUp() override {
    samplegen::StudySpec spec;
    spec.ArrayType = kType;
    spec.Seed = 5;
    spec.Segments = Segments();
    spec.NonSelfReferences = 0;
    WriteStudy(spec);
    CArrayData test = LoadSample(spec.TestName);
    analyzed_ = AnalyzedFor(test, true);
    ASSERT_EQ(Engine()->NormalizeBySelfReference(test, Annotation(6), analyzed_), 0);
  }

  struct Tally {
    long inside = 0, insideRight = 0;
    long outside = 0, outsideMoved = 0;
    long lohHeterozygous = 0, lohAlleleLost = 0;
  };

  Tally Count() const {
    const std::vector<PlantedSegment> segments = Segments();
    Tally t;
    for (std::int32_t i = Start(1); i < Start(24); ++i) {
      if (analyzed_.ValidFlag[i] != 1) continue;
      const PlantedSegment* s = samplegen::PlantedSegmentAt(segments, i);
      if (s == nullptr) {
        ++t.outside;
        t.outsideMoved += analyzed_.CopyNumberState[i] != 2;
        continue;
      }
      ++t.inside;
      t.insideRight += analyzed_.CopyNumberState[i] == s->TotalCopies();
      if (s->IsCopyNeutralLoh() && analyzed_.CallReference[i] == kCallAB) {
        ++t.lohHeterozygous;
        t.lohAlleleLost += analyzed_.AlleleStateB[i] == 0;
      }
    }
    return t;
  }

  CAnalyzedData analyzed_;
};

TEST_F(RecoveryTest, PlantedStatesAreRecoveredUnderBothEmissionModels) {
  for (int normal : {0, 1}) {
    SCOPED_TRACE(normal ? "normal" : "log-F");
    Setting().UseNormalDistribution = normal;
    std::fill(analyzed_.CopyNumberState.begin(), analyzed_.CopyNumberState.end(), -1);
    std::fill(analyzed_.AlleleStateB.begin(), analyzed_.AlleleStateB.end(), -1);
    auto engine = Engine();
    ASSERT_EQ(engine->RunTotalCopyNumberHMM(analyzed_, Annotation(6)), 0);
    ASSERT_EQ(engine->RunAlleleSpecificHMM(analyzed_, Annotation(6), 2), 0);
    const Tally t = Count();
    std::printf("%s, SD of the ratios %.3f: %ld of %ld SNPs in planted segments right, %ld of %ld outside moved, "
                "LOH allele lost at %ld of %ld\n",
                normal ? "normal" : "log-F", engine->CalcSD(analyzed_), t.insideRight, t.inside, t.outsideMoved,
                t.outside, t.lohAlleleLost, t.lohHeterozygous);
    ASSERT_GT(t.inside, 15000);
    EXPECT_GE(t.insideRight, 0.99 * t.inside);
    EXPECT_LT(t.outsideMoved, 0.001 * t.outside);
    ASSERT_GT(t.lohHeterozygous, 500);
    EXPECT_GE(t.lohAlleleLost, 0.99 * t.lohHeterozygous);
  }
}

}  // namespace
}  // namespace qova::test
