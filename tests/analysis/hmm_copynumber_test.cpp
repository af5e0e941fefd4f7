// The total and allele copy-number models on hand-built ratio series.
#include <random>

#include "tests/analysis/HmmTestSupport.h"

namespace qova::test {
namespace {

constexpr std::int32_t kUntouched = 9;

class CopyNumberHmmTest : public HandBuiltTest {
 protected:
  void SetUp() override {
    HandBuiltTest::SetUp();
    // Ratios of a normal genome with a little noise, so the spread is real.
    std::mt19937 random(3);
    std::normal_distribution<float> noise(0.0f, 0.04f);
    for (float& x : analyzed_.LogRatio) x = noise(random);
    for (float& x : analyzed_.LogRatioA) x = noise(random);
    Fill(analyzed_.CopyNumberState, 0, Last(), kUntouched);
    Fill(analyzed_.AlleleStateA, 0, Last(), kUntouched);
  }
  std::int32_t Last() const { return static_cast<std::int32_t>(analyzed_.LogRatio.size()) - 1; }

  // Adds `shift` to the ratios of SNPs from..to of chromosome c.
  static void Shift(std::vector<float>& ratios, int c, std::int32_t from, std::int32_t to, float shift) {
    for (std::int32_t i = Start(c) + from; i <= Start(c) + to; ++i) ratios[i] += shift;
  }

  int RunTotal() { return Engine()->RunTotalCopyNumberHMM(analyzed_, basic_); }

  // The states of chromosome c's SNPs from..to that the model wrote.
  std::vector<std::int32_t> States(int c, std::int32_t from, std::int32_t to) const {
    return {analyzed_.CopyNumberState.begin() + Start(c) + from, analyzed_.CopyNumberState.begin() + Start(c) + to + 1};
  }
};

TEST_F(CopyNumberHmmTest, TotalModelFindsPlantedStatesUnderBothEmissionModels) {
  Shift(analyzed_.LogRatio, 2, 100, 299, 0.657f);  // four copies
  Shift(analyzed_.LogRatio, 6, 50, 199, -0.49f);   // one copy
  Shift(analyzed_.LogRatio, 9, 20, 149, -1.24f);   // none
  for (int normal : {0, 1}) {
    SCOPED_TRACE(normal ? "normal" : "log-F");
    Setting().UseNormalDistribution = normal;
    ASSERT_EQ(RunTotal(), 0);
    for (std::int32_t i = 0; i <= Last(); ++i) {
      const int c = global_.ChromosomeOfSnp(kSmallTypeIndex, i);
      const std::int32_t k = i - Start(c);
      int expected = 2;
      if (c == 2 && k >= 100 && k <= 299) expected = 4;
      if (c == 6 && k >= 50 && k <= 199) expected = 1;
      if (c == 9 && k >= 20 && k <= 149) expected = 0;
      if (c == 0) expected = kUntouched;  // after X: no chromosome of the model
      ASSERT_EQ(analyzed_.CopyNumberState[i], expected) << "SNP " << i;
    }
  }
}

TEST_F(CopyNumberHmmTest, TotalModelWritesOnlyValidSnps) {
  for (std::int32_t i = Start(3); i < Start(4); i += 7) analyzed_.ValidFlag[i] = 0;
  analyzed_.ValidFlag[Start(5)] = 2;  // only 1 counts as valid
  ASSERT_EQ(RunTotal(), 0);
  for (std::int32_t i = Start(3); i < Start(6); ++i) {
    EXPECT_EQ(analyzed_.CopyNumberState[i] == kUntouched, analyzed_.ValidFlag[i] != 1) << i;
  }
}

TEST_F(CopyNumberHmmTest, AlleleModelDecodesOnlyValidHeterozygousReferenceCalls) {
  Shift(analyzed_.LogRatioA, 2, 100, 299, -0.7f);  // allele lost
  for (std::int32_t i = Start(2); i < Start(3); i += 3) analyzed_.CallReference[i] = kCallA;
  for (std::int32_t i = Start(2); i < Start(3); i += 5) analyzed_.ValidFlag[i] = 0;
  ASSERT_EQ(Engine()->RunAlleleSpecificHMM(analyzed_, basic_, 1), 0);
  for (std::int32_t i = Start(2); i < Start(3); ++i) {
    const bool used = analyzed_.ValidFlag[i] == 1 && analyzed_.CallReference[i] == kCallAB;
    const std::int32_t k = i - Start(2);
    const int expected = !used ? kUntouched : (k >= 100 && k <= 299 ? 0 : 1);
    ASSERT_EQ(analyzed_.AlleleStateA[i], expected) << "SNP " << i;
  }
  EXPECT_EQ(analyzed_.AlleleStateB[Start(2)], 0) << "allele B is another run";
}

TEST_F(CopyNumberHmmTest, CombinedSampleTakesPositionsThroughTheSortMap) {
  Shift(analyzed_.LogRatio, 4, 100, 299, 0.657f);
  // Through the sort map every SNP of chromosome 4 sits at its first SNP.
  for (std::int32_t i = Start(4); i < Start(5); ++i) basic_.SortMap[i] = Start(4);
  ASSERT_EQ(RunTotal(), 0);
  EXPECT_EQ(States(4, 100, 100)[0], 4) << "not combined: positions from the index map";

  analyzed_.Header.Combined = true;
  ASSERT_EQ(RunTotal(), 0);
  const std::vector<std::int32_t> states = States(4, 0, Start(5) - Start(4) - 1);
  EXPECT_EQ(std::count(states.begin(), states.end(), states[0]), static_cast<long>(states.size()));
}

TEST_F(CopyNumberHmmTest, HmmRunsOnTheMovingAverageWhenAWindowIsSet) {
  // Three SNPs a billion bases apart: switching is free, each SNP follows its
  // own observation.
  Fill(analyzed_.ValidFlag, Start(21), Start(22) - 1, 0);
  const float values[3] = {0.0f, 0.9f, 0.0f};
  for (std::int32_t k = 0; k < 3; ++k) {
    analyzed_.ValidFlag[Start(21) + k] = 1;
    analyzed_.LogRatio[Start(21) + k] = values[k];
    basic_.Position[basic_.IndexMap[Start(21) + k]] = 1'000'000 + 1'000'000'000 * k;
  }
  Setting().MovingAverageWindow = 1;
  ASSERT_EQ(RunTotal(), 0);
  EXPECT_EQ(States(21, 0, 2), (std::vector<std::int32_t>{2, 5, 2}));
  Setting().MovingAverageWindow = 3;  // the middle SNP averages to 0.3
  ASSERT_EQ(RunTotal(), 0);
  EXPECT_EQ(States(21, 1, 1)[0], 3);
  EXPECT_EQ(analyzed_.LogRatio[Start(21) + 1], 0.9f) << "the ratios themselves stay";
}

TEST_F(CopyNumberHmmTest, NoUsableSpreadSkipsDecodingAndSaysWhy) {
  struct Case {
    const char* name;
    void (*spoil)(CAnalyzedData&);
  } cases[] = {
      {"all ratios equal", [](CAnalyzedData& a) { std::fill(a.LogRatio.begin(), a.LogRatio.end(), 0.25f); }},
      {"one valid SNP", [](CAnalyzedData& a) {
         std::fill(a.ValidFlag.begin(), a.ValidFlag.end(), 0);
         a.ValidFlag[10] = 1;
       }},
      {"spread factor not a number", [](CAnalyzedData& a) { a.Header.HmmSdFactors[3] = std::nanf(""); }},
      {"negative spread factor", [](CAnalyzedData& a) { a.Header.HmmSdFactors[0] = -1.0f; }},
      {"mean not finite", [](CAnalyzedData& a) { a.Header.HmmMeans[6] = INFINITY; }},
  };
  std::size_t lines = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CAnalyzedData spoiled = analyzed_;
    c.spoil(spoiled);
    EXPECT_EQ(Engine()->RunTotalCopyNumberHMM(spoiled, basic_), 1);
    EXPECT_EQ(std::count(spoiled.CopyNumberState.begin(), spoiled.CopyNumberState.end(), kUntouched),
              static_cast<long>(spoiled.CopyNumberState.size()));
    const std::vector<std::string> log = ErrorLogLines();
    ASSERT_EQ(log.size(), ++lines);
    EXPECT_NE(log.back().find("HMM is not run for sample S"), std::string::npos) << log.back();
  }
}

TEST_F(CopyNumberHmmTest, InfiniteAlleleRatioNeitherSpoilsTheSpreadNorTheDecoding) {
  Shift(analyzed_.LogRatioA, 2, 100, 299, -0.7f);
  analyzed_.LogRatioA[Start(2) + 150] = -INFINITY;  // an allele without signal
  analyzed_.LogRatioA[Start(2) + 20] = std::nanf("");
  ASSERT_EQ(Engine()->RunAlleleSpecificHMM(analyzed_, basic_, 1), 0);
  EXPECT_EQ(analyzed_.AlleleStateA[Start(2) + 150], 0);
  EXPECT_EQ(analyzed_.AlleleStateA[Start(2) + 20], 1) << "a NaN takes its neighbours' state";
  EXPECT_EQ(analyzed_.AlleleStateA[Start(2) + 200], 0);
}

}  // namespace
}  // namespace qova::test
