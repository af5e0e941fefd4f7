// The permutation test of the association against its straightforward
// evaluation, on any number of threads, with Cancel, and at its edges.
#include <cstring>
#include <tuple>

#include "analysis/PermutationCounter.h"
#include "tests/analysis/AssociationTestSupport.h"

namespace qova::test {
namespace {

class AssociationPermutationTest : public AssociationDataTest {
 protected:
  static constexpr std::int32_t kFirst = 0;
  static constexpr std::int32_t kLastTested = 10031;  // the last SNP of X

  // 20 cases and 20 controls with calls at 300 SNPs, and two more SNPs called
  // in just two samples (so many permutations leave a row empty).
  static std::vector<std::vector<std::uint8_t>> SmallSet() {
    arraygen::CaseControlSpec spec;
    spec.Cases = 20;
    spec.Controls = 20;
    spec.AssociatedSnps = 5;
    spec.Seed = 11;
    std::vector<std::vector<std::uint8_t>> calls = arraygen::MakeCaseControlCalls(spec).Calls;
    for (std::size_t s = 0; s < calls.size(); ++s) {
      for (std::size_t i = 0; i < calls[s].size(); ++i) {
        if (i < 4000 || i >= 4300) calls[s][i] = 0;
      }
    }
    // A case and a control: AB and AB, AA and BB.
    calls[3][5000] = calls[30][5000] = 2;
    calls[3][5001] = 1;
    calls[30][5001] = 3;
    return calls;
  }

  static void ExpectEqualsPlain(const AssociationData& data, const PlainEvaluation& plain) {
    EXPECT_EQ(data.valid, plain.valid);
    std::vector<std::int32_t> histogram(plain.histogram.begin(), plain.histogram.end());
    EXPECT_EQ(data.nullHistogram, histogram);
    ASSERT_EQ(data.pValue.size(), plain.pValue.size());
    for (std::size_t i = 0; i < plain.valid.size(); ++i) {
      if (plain.valid[i] == 0) continue;
      // Bit for bit.
      EXPECT_EQ(std::memcmp(&data.chiSquare[i], &plain.chiSquare[i], sizeof(float)), 0) << i;
      EXPECT_EQ(std::memcmp(&data.pValue[i], &plain.pValue[i], sizeof(float)), 0) << i;
    }
  }
};

TEST_F(AssociationPermutationTest, EqualsTheStraightforwardEvaluationOnAnyNumberOfThreads) {
  const std::vector<std::vector<std::uint8_t>> calls = SmallSet();
  const PlainEvaluation plain = EvaluatePlainly(calls, 20, kFirst, kLastTested, AssociationData::kPermutations);
  EXPECT_EQ(std::count(plain.valid.begin(), plain.valid.end(), 1), 302);
  // Threads, the popcount instruction, and tally cells: the two SNPs with 38
  // no calls of 40 samples need 21 rows of 41 cells, the others a few.
  const std::tuple<int, bool, std::size_t> runs[] = {
      {1, true, analysis::PermutationCounter::kTallyCells}, {4, true, 41 * 5}, {3, false, 41 * 21}};
  for (const auto& [threads, popcountInstruction, tallyCells] : runs) {
    SCOPED_TRACE(testing::Message() << threads << " threads, " << tallyCells << " cells");
    analysis::PermutationCounter::UsePopcountInstruction(popcountInstruction);
    analysis::PermutationCounter::SetTallyCells(tallyCells);
    AssociationData data(global_);
    SetCalls(data, 20, calls);
    data.workerThreads = threads;
    // Batches that do not divide the 10,000 permutations, and the size chosen by the SNP count.
    data.permutationBatch = threads == 4 ? 0 : 999;
    ASSERT_TRUE(data.PermutationTest());
    ExpectEqualsPlain(data, plain);
  }
  analysis::PermutationCounter::UsePopcountInstruction(true);
  analysis::PermutationCounter::SetTallyCells(analysis::PermutationCounter::kTallyCells);
}

// Cancel in the first batch lets it finish; later, the batch in progress is
// dropped. Either way the result is that of the batches completed.
TEST_F(AssociationPermutationTest, CancelKeepsTheNullDistributionOfThePermutationsCompleted) {
  const std::vector<std::vector<std::uint8_t>> calls = SmallSet();
  for (int cancelAtPump : {1, 4}) {
    SCOPED_TRACE(testing::Message() << "Cancel at pump " << cancelAtPump);
    AssociationData data(global_);
    SetCalls(data, 20, calls);
    data.workerThreads = 2;
    data.permutationBatch = 7;
    app_.pumps = 0;
    app_.cancelAtPump = cancelAtPump;
    app_.statusTexts.clear();
    ASSERT_TRUE(data.PermutationTest());
    EXPECT_EQ(app_.statusTexts, std::vector<std::string>{"Permutation"});
    std::int64_t counted = 0;
    for (std::int32_t h : data.nullHistogram) counted += h;
    const int permutations = static_cast<int>(counted / 302);
    EXPECT_EQ(counted % 302, 0);
    EXPECT_EQ(permutations % 7, 0);
    if (cancelAtPump == 1) {
      EXPECT_EQ(permutations, 7);
    }
    EXPECT_LT(permutations, 7 * cancelAtPump + 1);
    ExpectEqualsPlain(data, EvaluatePlainly(calls, 20, kFirst, kLastTested, permutations));
  }

  // Batches sized by the SNP count: 1,677 permutations, then 2,000 at a
  // time. Cancel once the bar shows the second batch under way drops it.
  arraygen::CaseControlSpec spec;
  AssociationData data(global_);
  SetCalls(data, 100, arraygen::MakeCaseControlCalls(spec).Calls);
  app_.cancelAtPump = 0;
  app_.cancelAtPosition = 17;
  ASSERT_TRUE(data.PermutationTest());
  const auto valid = std::count(data.valid.begin(), data.valid.end(), 1);
  std::int64_t counted = 0;
  for (std::int32_t h : data.nullHistogram) counted += h;
  // The second batch may also have finished before Cancel was seen; a part
  // of it is never kept.
  ASSERT_EQ(counted % valid, 0);
  EXPECT_EQ((counted / valid - (1 << 24) / valid) % 2000, 0) << counted / valid << " permutations";
}

TEST_F(AssociationPermutationTest, InvalidSnpsKeepTheirValuesAndLargeStatisticsShareTheTopBin) {
  // 30 cases and 30 controls. SNP 10: cases AA, controls BB (chi-square 120);
  // SNP 11: every sample AA; SNP 12: no case called; SNP 13 and 14: mixed.
  std::vector<std::vector<std::uint8_t>> calls(60, std::vector<std::uint8_t>(10204, 0));
  for (std::size_t s = 0; s < 60; ++s) {
    const bool isCase = s < 30;
    calls[s][10] = isCase ? 1 : 3;
    calls[s][11] = 1;
    calls[s][12] = isCase ? 0 : 2;
    calls[s][13] = static_cast<std::uint8_t>(1 + s % 3);
    calls[s][14] = static_cast<std::uint8_t>(1 + (s * 7 / 5) % 3);
  }
  AssociationData data(global_);
  SetCalls(data, 30, calls);
  std::fill(data.chiSquare.begin(), data.chiSquare.end(), -1.0f);
  std::fill(data.pValue.begin(), data.pValue.end(), 7.0f);
  ASSERT_TRUE(data.PermutationTest());
  EXPECT_EQ((std::vector<std::int32_t>(data.valid.begin() + 10, data.valid.begin() + 15)),
            (std::vector<std::int32_t>{1, 0, 0, 1, 1}));
  EXPECT_EQ(data.chiSquare[10], 120.0f);
  // No permuted table reaches 100 here, so the top bin is empty.
  EXPECT_EQ(data.nullHistogram[10000], 0);
  EXPECT_EQ(data.pValue[10], 0.0f);
  for (std::size_t i : {11u, 12u}) {
    EXPECT_EQ(data.chiSquare[i], -1.0f) << i;
    EXPECT_EQ(data.pValue[i], 7.0f) << i;
  }
  ExpectEqualsPlain(data, EvaluatePlainly(calls, 30, kFirst, kLastTested, AssociationData::kPermutations));

  // With no valid SNP the permutations still run, but nothing is counted or written.
  for (auto& sample : calls) sample[10] = sample[13] = sample[14] = 0;
  SetCalls(data, 30, calls);
  std::fill(data.pValue.begin(), data.pValue.end(), 7.0f);
  ASSERT_TRUE(data.PermutationTest());
  EXPECT_EQ(data.nullHistogram, std::vector<std::int32_t>(10001, 0));
  EXPECT_EQ(data.pValue, std::vector<float>(10204, 7.0f));
  SfmtRandom unused;
  unused.Seed(100);
  EXPECT_NE(TheRandom().State(), unused.State());
}

}  // namespace
}  // namespace qova::test
