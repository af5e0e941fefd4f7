// Integration of hand-built analysed samples: which SNPs each mode counts,
// where segments start and end under each boundary rule, and the edges of
// chromosomes and runs.
#include <algorithm>
#include <functional>

#include "tests/analysis/IntegrationTestSupport.h"

namespace qova::test {
namespace {

using Segments = std::vector<IntegrationSegment>;

class IntegrationSegmentsTest : public IntegrationTest {
 protected:
  // Integrates one stored sample under `mode` and boundary rule `b`.
  Segments IntegrateOne(CAnalyzedData& sample, AnalysisKind kind, const std::string& mode, int b = 0,
                        std::int32_t minRun = 5) {
    Setting().IntegralMarginMode = b;
    IntegrationData data = Integration(mode, minRun);
    EXPECT_TRUE(data.IntegrateSamples({Store(sample, kind)}));
    return data.Segments;
  }
  Segments OnChromosome(const Segments& all, int c) {
    Segments picked;
    std::copy_if(all.begin(), all.end(), std::back_inserter(picked),
                 [c](const IntegrationSegment& s) { return s.Chromosome == c; });
    return picked;
  }
};

// One boundary of a segment: halfway between the positions of two SNPs (k of
// chromosome 3), the position of one when both are the same; kStart for 0 and
// kEnd for the chromosome's last band end.
struct Edge {
  std::int32_t a, b;
};
constexpr std::int32_t kStart = -1, kEnd = -2;


TEST_F(IntegrationSegmentsTest, BoundaryRulesPlaceRunEndsAndChromosomeEdgesStayFixed) {
  // Chromosome 3: a gain over its first ten SNPs, one in the middle and a
  // loss over its last ten; the same sample under each rule.
  const int c = 3;
  const std::int32_t n = SnpsOf(c);
  struct Case {
    int b;
    const char* mode;
    Edge firstEnd, middleStart, middleEnd, lastStart;
  } cases[] = {
      {0, "AddDel", {9, 9}, {100, 100}, {119, 119}, {n - 10, n - 10}},
      {1, "AddDel", {10, 10}, {99, 99}, {120, 120}, {n - 11, n - 11}},
      {2, "AddDel", {9, 10}, {99, 100}, {119, 120}, {n - 11, n - 10}},
      {7, "AddDel", {9, 9}, {100, 100}, {119, 119}, {n - 10, n - 10}},  // unknown rule: minimum
      {1, "HiAmp", {10, 10}, {99, 99}, {120, 120}, {n - 11, n - 11}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(std::string(test.mode) + " b=" + std::to_string(test.b));
    const bool hiAmp = std::string(test.mode) == "HiAmp";
    CAnalyzedData sample = NormalSample("Edges", AnalysisKind::NonSelf);
    SetStates(sample, Snp(c, 0), Snp(c, 9), hiAmp ? 5 : 3);
    SetStates(sample, Snp(c, 100), Snp(c, 119), hiAmp ? 6 : 4);
    SetStates(sample, Snp(c, n - 10), Snp(c, n - 1), hiAmp ? 5 : 1);
    const Segments found = IntegrateOne(sample, AnalysisKind::NonSelf, test.mode, test.b);
    auto at = [&](Edge e) {
      if (e.a == kStart) return 0;
      if (e.a == kEnd) return ChromosomeEnd(c);
      return static_cast<std::int32_t>((std::int64_t(Pos(Snp(c, e.a))) + Pos(Snp(c, e.b))) / 2);
    };
    const std::int32_t gain = hiAmp ? 1 : IntegrationSegment::kGain;
    const std::int32_t loss = hiAmp ? 1 : IntegrationSegment::kLoss;
    const Segments expected = {
        {0, at({kStart, 0}), at(test.firstEnd), c, gain},
        {0, at(test.middleStart), at(test.middleEnd), c, gain},
        {0, at(test.lastStart), at({kEnd, 0}), c, loss},
    };
    EXPECT_EQ(found, expected);
  }
}

TEST_F(IntegrationSegmentsTest, AddDelOuterBoundariesLetTheStrongerChangeOwnTheGap) {
  // Chromosome 4, b = 1: gain, high amplification, loss, homozygous deletion
  // and gain again, ten SNPs each, between normal SNPs.
  const int c = 4;
  CAnalyzedData sample = NormalSample("Ladder", AnalysisKind::NonSelf);
  const std::int32_t states[] = {3, 5, 1, 0, 3};
  for (int run = 0; run < 5; ++run) SetStates(sample, Snp(c, 10 + 10 * run), Snp(c, 19 + 10 * run), states[run]);
  const Segments found = IntegrateOne(sample, AnalysisKind::NonSelf, "AddDel", 1);
  auto p = [&](std::int32_t k) { return Pos(Snp(c, k)); };
  auto mid = [&](std::int32_t k) { return Mid(Snp(c, k), Snp(c, k + 1)); };
  const Segments expected = {
      {0, p(9), p(19), c, IntegrationSegment::kGain},     // normal before; amplification after: own SNP
      {0, mid(49), p(60), c, IntegrationSegment::kGain},  // deletion before: halfway; normal after
      {0, p(19), mid(29), c, IntegrationSegment::kHighAmplification},  // gain before: its SNP; loss after
      {0, mid(29), p(39), c, IntegrationSegment::kLoss},  // amplification before; deletion after: own SNP
      {0, p(39), mid(49), c, IntegrationSegment::kHomozygousDeletion},  // loss before: its SNP; gain after
  };
  EXPECT_EQ(found, expected);
}

TEST_F(IntegrationSegmentsTest, ModesCountTheirOwnSnps) {
  // Each case builds chromosome 5 of one sample and names the SNP runs (k)
  // that must come out, with b = 0 and minRun 5.
  const int c = 5;
  struct Run {
    std::int32_t first, last, kind;
  };
  struct Case {
    const char* name;
    std::string mode;
    AnalysisKind kind;
    std::function<void(CAnalyzedData&)> build;
    std::vector<Run> expected;
    std::int32_t minRun = 5;
  } cases[] = {
      {"five marked SNPs are kept, four dropped", "HomDel", AnalysisKind::NonSelf,
       [&](CAnalyzedData& s) {
         SetStates(s, Snp(c, 10), Snp(c, 14), 0);
         SetStates(s, Snp(c, 30), Snp(c, 33), 0);
       },
       {{10, 14, 1}}},
      {"a single marked SNP never forms a run", "HomDel", AnalysisKind::NonSelf,
       [&](CAnalyzedData& s) {
         SetStates(s, Snp(c, 0), Snp(c, 0), 0);
         SetStates(s, Snp(c, 40), Snp(c, 40), 0);
       },
       {},
       1},
      {"invalid SNPs neither break nor lengthen a run", "HomDel", AnalysisKind::NonSelf,
       [&](CAnalyzedData& s) {
         SetStates(s, Snp(c, 10), Snp(c, 14), 0);
         s.ValidFlag[std::size_t(Snp(c, 12))] = 0;
         SetStates(s, Snp(c, 30), Snp(c, 36), 0);
         for (std::int32_t k : {31, 33}) {
           s.ValidFlag[std::size_t(Snp(c, k))] = 0;
           s.CopyNumberState[std::size_t(Snp(c, k))] = 2;
         }
       },
       {{30, 36, 1}}},
      {"state markers override the HMM states", "HomDel", AnalysisKind::NonSelf,
       [&](CAnalyzedData& s) {
         s.Markers.push_back({c, Snp(c, 40), Snp(c, 49), 0});
         s.Markers.push_back({c, Snp(c, 45), Snp(c, 49), 2});
       },
       {{40, 44, 1}}},
      {"high amplification is state 5 and above", "HiAmp", AnalysisKind::NonSelf,
       [&](CAnalyzedData& s) {
         SetStates(s, Snp(c, 10), Snp(c, 19), 4);
         SetStates(s, Snp(c, 20), Snp(c, 29), 6);
       },
       {{20, 29, 1}}},
      {"LOH above 30 on a non-self result", "LOH", AnalysisKind::NonSelf,
       [&](CAnalyzedData& s) {
         std::fill(s.LohLikelihood.begin() + Snp(c, 50), s.LohLikelihood.begin() + Snp(c, 70), 31.0f);
         std::fill(s.LohLikelihood.begin() + Snp(c, 80), s.LohLikelihood.begin() + Snp(c, 90), 30.0f);
       },
       {{50, 69, 1}}},
      {"allelic imbalance needs LOH at two copies or more", "AH", AnalysisKind::NonSelf,
       [&](CAnalyzedData& s) {
         std::fill(s.LohLikelihood.begin() + Snp(c, 50), s.LohLikelihood.begin() + Snp(c, 70), 40.0f);
         SetStates(s, Snp(c, 50), Snp(c, 59), 1);
       },
       {{60, 69, 1}}},
      {"a self result has no LOH to count", "LOH", AnalysisKind::Self,
       [&](CAnalyzedData& s) { SetStates(s, Snp(c, 50), Snp(c, 69), 0); }, {}},
      {"a user marker counts its own kind only", "UserMarker3", AnalysisKind::NonSelf,
       [&](CAnalyzedData& s) {
         s.Markers.push_back({c, Snp(c, 10), Snp(c, 29), MarkerRegion::kUserMarkerBase + 3});
         s.Markers.push_back({c, Snp(c, 40), Snp(c, 59), MarkerRegion::kUserMarkerBase + 4});
         s.Markers.push_back({c, Snp(c, 60), Snp(c, 62), MarkerRegion::kUserMarkerBase + 3});  // too short
       },
       {{10, 29, 1}}},
      {"a region beyond the sample's SNPs is cut to them", "UserMarker0", AnalysisKind::NonSelf,
       [&](CAnalyzedData& s) {
         s.Markers.push_back({23, Snp(23, 10), 99999999, MarkerRegion::kUserMarkerBase});
         s.Markers.push_back({23, -500, -100, MarkerRegion::kUserMarkerBase});
       },
       {}},
      {"an unknown mode counts nothing", "Gains", AnalysisKind::NonSelf,
       [&](CAnalyzedData& s) { SetStates(s, Snp(c, 10), Snp(c, 29), 0); }, {}},
  };
  for (Case& test : cases) {
    SCOPED_TRACE(test.name);
    CAnalyzedData sample = NormalSample("Modes", test.kind);
    test.build(sample);
    const Segments found = OnChromosome(IntegrateOne(sample, test.kind, test.mode, 0, test.minRun), c);
    Segments expected;
    for (const Run& run : test.expected) expected.push_back({0, Pos(Snp(c, run.first)), Pos(Snp(c, run.last)), c, run.kind});
    EXPECT_EQ(found, expected);
  }
}

TEST_F(IntegrationSegmentsTest, ChangeComparesEachPairOfNeighbouringValidSnps) {
  const int c = 6;
  const std::int32_t n = SnpsOf(c);
  CAnalyzedData sample = NormalSample("Change", AnalysisKind::NonSelf);
  for (std::int32_t k = 0; k < n; k += 2) sample.CopyNumberState[std::size_t(Snp(c, k))] = 3;
  // Leaving out k = 10 makes 9 and 11, both in state 2, neighbours; leaving
  // out the first shifts the start.
  for (std::int32_t k : {0, 10}) sample.ValidFlag[std::size_t(Snp(c, k))] = 0;
  const Segments found = IntegrateOne(sample, AnalysisKind::NonSelf, "Change");
  std::vector<std::int32_t> valid;
  for (std::int32_t k = 0; k < n; ++k)
    if (sample.ValidFlag[std::size_t(Snp(c, k))] != 0) valid.push_back(k);
  ASSERT_EQ(found.size(), valid.size() - 2);  // n - 1 pairs, one of them equal
  EXPECT_EQ(found.front(), (IntegrationSegment{0, Pos(Snp(c, 1)), Pos(Snp(c, 2)), c, 1}));
  EXPECT_EQ(found.back(), (IntegrationSegment{0, Pos(Snp(c, n - 2)), Pos(Snp(c, n - 1)), c, 1}));
  EXPECT_TRUE(std::none_of(found.begin(), found.end(), [&](const IntegrationSegment& s) {
    return s.Start == Pos(Snp(c, 9));
  }));
}

TEST_F(IntegrationSegmentsTest, MarkedImbalanceLetsKind38ClearKinds37And39) {
  const int c = 7;
  CAnalyzedData sample = NormalSample("Mark", AnalysisKind::NonSelfAllele);
  sample.Markers = {{c, Snp(c, 0), Snp(c, 3), 39},   {c, Snp(c, 20), Snp(c, 45), 38}, {c, Snp(c, 10), Snp(c, 30), 39},
                    {c, Snp(c, 40), Snp(c, 50), 37}, {c, Snp(c, 60), Snp(c, 60), 37}};
  // Validity does not matter here, nor does the run length.
  sample.ValidFlag[std::size_t(Snp(c, 15))] = 0;
  const Segments found = IntegrateOne(sample, AnalysisKind::NonSelfAllele, "AH_Mark");
  auto segment = [&](std::int32_t first, std::int32_t last) {
    return IntegrationSegment{0, Pos(Snp(c, first)), Pos(Snp(c, last)), c, 1};
  };
  EXPECT_EQ(found, (Segments{segment(0, 3), segment(10, 19), segment(46, 50), segment(60, 60)}));
}

TEST_F(IntegrationSegmentsTest, CombinedTypePositionsItsSnpsThroughTheSortMap) {
  const CBasicData& table = global_.BasicData[ArrayClassIndex(kCombinedType)];
  auto sorted = [&](std::int32_t i) {
    return table.Position[std::size_t(table.IndexMap[std::size_t(table.SortMap[std::size_t(i)])])];
  };
  const std::int32_t first = Snp(2, 200, kCombinedType), last = Snp(2, 259, kCombinedType);
  ASSERT_NE(sorted(first), Pos(first, kCombinedType));  // the two orders differ here
  CAnalyzedData sample = NormalSample("Pair", AnalysisKind::NonSelf, kCombinedType);
  SetStates(sample, first, last, 3);
  const Segments found = IntegrateOne(sample, AnalysisKind::NonSelf, "AddDel");
  EXPECT_EQ(found, (Segments{{0, sorted(first), sorted(last), 2, IntegrationSegment::kGain}}));
}

}  // namespace
}  // namespace qova::test
