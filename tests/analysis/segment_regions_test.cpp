// Marker regions from the allele states, the AI/LOH/UPD cascade and the
// gain/loss model, on hand-built samples whose expected regions are known.
#include "platform/MessageBox.h"
#include "tests/analysis/HmmTestSupport.h"

namespace qova::test {
namespace {

constexpr std::int32_t kAiKind = 32 + 7;   // default MARKAI
constexpr std::int32_t kLohKind = 32 + 3;  // default MARKLOH
constexpr std::int32_t kUpdKind = 32 + 1;  // default MARKUPD

class SegmentRegionsTest : public HandBuiltTest {
 protected:
  // Heterozygous SNPs of chromosome c from `from` (offset in the chromosome)
  // with the allele states of a gain of A and a loss of B on `flagged` of them.
  void GainLoss(int c, std::int32_t from, std::int32_t flagged) {
    Fill(analyzed_.AlleleStateA, Start(c) + from, Start(c) + from + flagged - 1, 3);
    Fill(analyzed_.AlleleStateB, Start(c) + from, Start(c) + from + flagged - 1, 0);
  }
};

TEST_F(SegmentRegionsTest, AlleleStateSegmentsOfFiveOrMoreSnpsBecomeKind39) {
  Fill(analyzed_.AlleleStateA, 0, static_cast<std::int32_t>(analyzed_.AlleleStateA.size()) - 1, 2);
  Fill(analyzed_.AlleleStateB, 0, static_cast<std::int32_t>(analyzed_.AlleleStateB.size()) - 1, 1);
  GainLoss(3, 2, 4);   // four, then an unflagged SNP ends the run as its fifth
  GainLoss(4, 2, 3);   // three and the ending SNP: too short
  GainLoss(8, 0, 6);
  analyzed_.ValidFlag[Start(8) + 2] = 0;           // skipped, does not break the run
  analyzed_.CallReference[Start(8) + 3] = kCallA;  // homozygous: skipped as well
  GainLoss(23, 0, 20);                             // X has no allele-state segments
  sample_.Markers = {{1, 0, 5, 34}, {2, 10, 20, kAiKind}, {3, 0, 3, 3}};

  Engine()->ExtractAlleleStateSegments(sample_, analyzed_);

  const MarkerRegionList expected = {
      {1, 0, 5, 34}, {3, 0, 3, 3}, {3, Start(3) + 2, Start(3) + 6, kAiKind}, {8, Start(8), Start(8) + 6, kAiKind}};
  EXPECT_EQ(sample_.Markers, expected);
}

class CascadeTest : public SegmentRegionsTest {
 protected:
  // On chromosome 5: allelic imbalance over SNPs 100..299 of the chromosome,
  // LOH over 150..249 inside it, UPD over 180..219 inside that.
  void PlantCascade() {
    const std::int32_t c5 = Start(5);
    Fill(analyzed_.LogRatioA, c5 + 100, c5 + 299, 0.3f);
    Fill(analyzed_.LogRatioB, c5 + 100, c5 + 299, 0.0f);
    Fill(analyzed_.LogRatioA, c5 + 150, c5 + 249, 0.05f);
    Fill(analyzed_.LogRatioB, c5 + 150, c5 + 249, -0.5f);
    Fill(analyzed_.LogRatioA, c5 + 180, c5 + 219, 0.5f);
    // Chromosome 7 shows imbalance only at homozygous SNPs: no region.
    Fill(analyzed_.LogRatioA, Start(7), Start(8) - 1, 1.0f);
    Fill(analyzed_.CallReference, Start(7), Start(8) - 1, kCallA);
  }
  MarkerRegionList Expected() const {
    const std::int32_t c5 = Start(5);
    return {{1, 0, 5, 34},
            {3, 0, 3, 3},
            {5, c5 + 100, c5 + 299, kAiKind},
            {5, c5 + 150, c5 + 249, kLohKind},
            {5, c5 + 180, c5 + 219, kUpdKind}};
  }
};

TEST_F(CascadeTest, FindsNestedImbalanceLohAndUpdRegions) {
  PlantCascade();
  // Earlier cascade regions go; other user markers and state markers stay.
  sample_.Markers = {{1, 0, 5, 34}, {2, 10, 20, kAiKind}, {3, 0, 3, 3}, {4, 1, 2, kLohKind}, {6, 1, 2, kUpdKind}};
  EXPECT_EQ(Engine()->RunTwoStateSegmentHMM(sample_, analyzed_, basic_), 0);
  EXPECT_EQ(sample_.Markers, Expected());
}

TEST_F(CascadeTest, RunningTwiceGivesOneSetOfRegions) {
  PlantCascade();
  sample_.Markers = {{1, 0, 5, 34}, {3, 0, 3, 3}};
  auto engine = Engine();
  ASSERT_EQ(engine->RunTwoStateSegmentHMM(sample_, analyzed_, basic_), 0);
  ASSERT_EQ(engine->RunTwoStateSegmentHMM(sample_, analyzed_, basic_), 0);
  EXPECT_EQ(sample_.Markers, Expected());
}

TEST_F(CascadeTest, UnusableSettingsAreRefusedAndLeaveTheMarkers) {
  PlantCascade();
  struct Case {
    const char* name;
    void (*change)(CProgramSetting&);
  } cases[] = {
      {"alpha above 1", [](CProgramSetting& s) { s.ALPHA = 1.5f; }},
      {"beta not a number", [](CProgramSetting& s) { s.BETAS = std::nanf(""); }},
      {"negative Kosambi factor", [](CProgramSetting& s) { s.KOSAMBIL = -1.0f; }},
      {"negative marker number", [](CProgramSetting& s) { s.MARKLOH = -30; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Setting() = CProgramSetting();
    c.change(Setting());
    sample_.Markers = {{1, 0, 5, 34}};
    EXPECT_EQ(Engine()->RunTwoStateSegmentHMM(sample_, analyzed_, basic_), 1);
    EXPECT_EQ(sample_.Markers, (MarkerRegionList{{1, 0, 5, 34}}));
  }
  EXPECT_EQ(ErrorLogLines().size(), 4u);
}

class GainLossTest : public SegmentRegionsTest {};

TEST_F(GainLossTest, RunsAboveAndBelowTheThresholdsBecomeGainAndLossRegions) {
  Fill(analyzed_.LogRatio, Start(2) + 50, Start(2) + 149, 0.3f);
  analyzed_.ValidFlag[Start(2) + 50] = 0;  // not in the model's list
  Fill(analyzed_.LogRatio, Start(4) + 10, Start(4) + 59, -0.3f);
  analyzed_.LogRatio[Start(6) + 10] = 0.3f;  // one SNP alone does not pay two switches
  analyzed_.Markers = {{1, 0, 1, 32}, {1, 3, 4, 38}, {1, 5, 6, 36}};

  Engine()->RunGainLossHMM(analyzed_, basic_, GainLossParameters{});

  const MarkerRegionList expected = {
      {1, 5, 6, 36}, {2, Start(2) + 51, Start(2) + 149, 38}, {4, Start(4) + 10, Start(4) + 59, 32}};
  EXPECT_EQ(analyzed_.Markers, expected);
}

TEST_F(GainLossTest, DistantSnpsWithALargeKosambiRateFollowEachObservation) {
  // 40 SNPs 25 Mb apart; times a rate of 100 the distance passes 2^31.
  const std::int32_t c9 = Start(9);
  for (std::int32_t k = 0; k < 40; ++k) basic_.Position[basic_.IndexMap[c9 + k]] = 1'000'000 + 25'000'000 * k;
  Fill(analyzed_.ValidFlag, c9 + 40, Start(10) - 1, 0);
  analyzed_.LogRatio[c9 + 10] = 0.3f;
  analyzed_.LogRatio[c9 + 20] = -0.3f;
  GainLossParameters p;
  p.KosambiFactor = 100.0f;
  Engine()->RunGainLossHMM(analyzed_, basic_, p);
  const MarkerRegionList expected = {{9, c9 + 10, c9 + 10, 38}, {9, c9 + 20, c9 + 20, 32}};
  EXPECT_EQ(analyzed_.Markers, expected);
}

TEST_F(GainLossTest, ParametersThatMakeAnEmissionNegativeAreRefusedWithAMessage) {
  Fill(analyzed_.LogRatio, Start(2) + 50, Start(2) + 149, 0.3f);
  analyzed_.Markers = {{1, 0, 1, 32}};
  for (GainLossParameters p : {GainLossParameters{0.06f, -0.06f, 0.6f, 0.05f, 0.01f, 1.0f},
                               GainLossParameters{0.06f, -0.06f, 0.05f, 0.7f, 0.4f, 1.0f}}) {
    platform::ScopedRecordingSink messages;
    Engine()->RunGainLossHMM(analyzed_, basic_, p);
    EXPECT_EQ(messages.AllShown().size(), 1u);
    EXPECT_EQ(analyzed_.Markers, (MarkerRegionList{{1, 0, 1, 32}}));
  }
}

}  // namespace
}  // namespace qova::test
