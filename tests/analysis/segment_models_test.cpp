#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/SegmentModels.h"

using namespace qova::analysis;

namespace {

std::vector<std::pair<std::size_t, std::size_t>> Segments(const std::vector<int>& flags) {
  std::vector<bool> bits(flags.begin(), flags.end());
  std::vector<std::pair<std::size_t, std::size_t>> out;
  for (const StateRun& run : AlleleStateSegments(bits)) out.emplace_back(run.First, run.Last);
  return out;
}

using Ranges = std::vector<std::pair<std::size_t, std::size_t>>;

}  // namespace

TEST(AlleleStateSegments, RunsEndAtTheFirstSnpWithoutTheGainLossPattern) {
  struct Case {
    const char* name;
    std::vector<int> flags;
    Ranges expected;
  } cases[] = {
      {"four flagged then one without: five SNPs ending at it", {1, 1, 1, 1, 0, 0, 0}, {{0, 4}}},
      {"three flagged then one without: too short", {1, 1, 1, 0, 0, 0}, {}},
      {"a single flagged SNP starts no run", {1, 0, 1, 0, 1, 0, 1, 0}, {}},
      {"run in the middle", {0, 0, 1, 1, 1, 1, 1, 1, 0, 0}, {{2, 8}}},
      {"two runs", {1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 0, 0}, {{0, 4}, {5, 10}}},
      // The list's last SNP is never counted: a run reaching it ends before it.
      {"run to the end stops one short", {0, 1, 1, 1, 1, 1, 1}, {{1, 5}}},
      {"five flagged SNPs that are the whole list give four", {1, 1, 1, 1, 1}, {}},
      {"empty", {}, {}},
      {"one SNP", {1}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Segments(c.flags), c.expected) << c.name;
}

TEST(TwoStateEmission, RefusesParametersThatAreNotProbabilities) {
  struct Case {
    float alpha, beta;
  } cases[] = {{1.5f, 0.1f}, {0.1f, -0.2f}, {std::nanf(""), 0.1f}, {0.0f, 1.0f}, {1.0f, 0.0f}};
  for (const Case& c : cases) {
    std::string why;
    EXPECT_FALSE(TwoStateEmission(c.alpha, c.beta, &why)) << c.alpha << " " << c.beta;
    EXPECT_FALSE(why.empty());
  }
}

TEST(GainLossEmission, SymbolsFollowTheThresholds) {
  const GainLossParameters p;  // 0.06 and -0.06
  EXPECT_EQ(GainLossSymbol(0.07f, p), 2);
  EXPECT_EQ(GainLossSymbol(0.06f, p), 1);  // strictly above the gain threshold
  EXPECT_EQ(GainLossSymbol(0.0f, p), 1);
  EXPECT_EQ(GainLossSymbol(-0.06f, p), 1);
  EXPECT_EQ(GainLossSymbol(-0.07f, p), 0);
  EXPECT_EQ(GainLossSymbol(std::nanf(""), p), 1);
}

TEST(DecodeSymbols, ClustersOfEventsBecomeRunsAndIsolatedOnesDoNot) {
  const auto e = TwoStateEmission(0.17f, 0.06f);
  ASSERT_TRUE(e);
  std::vector<std::uint8_t> symbols(60, 0);
  for (int k = 20; k < 40; ++k) symbols[k] = k == 30 ? 0 : 1;  // a block with one miss
  symbols[5] = 1;                                              // an isolated hit
  std::vector<std::int32_t> positions(60);
  for (int k = 0; k < 60; ++k) positions[k] = 1'000'000 + 10'000 * k;
  ViterbiDecoder decoder;
  std::vector<std::uint8_t> path;
  DecodeSymbols(decoder, *e, symbols, positions, 1.0, path);
  std::vector<std::uint8_t> expected(60, 0);
  for (int k = 20; k < 40; ++k) expected[k] = 1;
  EXPECT_EQ(path, expected);

  // With a Kosambi factor of 0 no switch is possible: the whole list stays in
  // the state its majority favours.
  DecodeSymbols(decoder, *e, symbols, positions, 0.0, path);
  EXPECT_EQ(path, std::vector<std::uint8_t>(60, 0));
}
