// The random generator: the published SFMT-19937 sequence on both
// regenerations, and the uniform draw below a bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "analysis/SfmtRandom.h"

namespace {

TEST(SfmtRandomTest, MatchesTheReferenceOutputForSeed1234OnBothPaths) {
  const std::uint32_t first[10] = {3440181298U, 1564997079U, 1510669302U, 2930277156U, 1452439940U,
                                   3796268453U, 423124208U,  2143818589U, 3827219408U, 2987036003U};
  for (bool fast : {false, true}) {
    SfmtRandom random;
    random.UseFastPath(fast);
    random.Seed(1234);
    std::vector<std::uint32_t> out;
    for (int i = 0; i < 1000; ++i) out.push_back(random.Next());
    for (int i = 0; i < 10; ++i) EXPECT_EQ(out[i], first[i]) << "output " << i << (fast ? " fast" : " plain");
    EXPECT_EQ(out[623], 2570786021U) << fast;
    EXPECT_EQ(out[624], 3899704621U) << fast;
    EXPECT_EQ(out[999], 1168395933U) << fast;
  }
}

TEST(SfmtRandomTest, BothRegenerationsLeaveTheSameStates) {
  for (std::uint32_t seed : {0U, 1U, 100U, 4294967295U}) {
    SfmtRandom plain, fast;
    plain.Seed(seed);
    fast.Seed(seed);
    for (int round = 0; round < 1000; ++round) {
      plain.RegeneratePlain();
      fast.RegenerateFast();
      ASSERT_EQ(plain.State(), fast.State()) << "seed " << seed << " round " << round;
    }
  }
}

TEST(SfmtRandomTest, SeedingRestartsTheOutputAndCertifiesThePeriod) {
  SfmtRandom random;
  SfmtRandom seededWith1;
  seededWith1.Seed(1);
  EXPECT_EQ(random.State(), seededWith1.State());
  EXPECT_EQ(random.Index(), SfmtRandom::kStateWords);
  random.Seed(100);
  (void)random.Below(7);
  EXPECT_EQ(random.CachedBound(), 7);
  random.Seed(100);
  EXPECT_EQ(random.Index(), SfmtRandom::kStateWords);
  EXPECT_EQ(random.CachedBound(), 0);
  // The first output is word 0 of the first regenerated state.
  SfmtRandom copy = random;
  copy.Regenerate();
  EXPECT_EQ(random.Next(), copy.State()[0]);
  // Seed 2 fails the parity check (seed 1 passes): bit 0 of word 0 is flipped.
  random.Seed(2);
  EXPECT_EQ(random.State()[0], 3U);
  random.Seed(1);
  EXPECT_EQ(random.State()[0], 1U);
}

TEST(SfmtRandomTest, BelowEdgeCases) {
  SfmtRandom random;
  random.Seed(100);
  const SfmtRandom before = random;
  // No draw below 0 or a negative bound.
  EXPECT_EQ(random.Below(0), 0U);
  EXPECT_EQ(random.Below(-5), 0U);
  EXPECT_EQ(random.State(), before.State());
  EXPECT_EQ(random.Index(), before.Index());
  // Below 1 is always 0 but takes one output.
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(random.Below(1), 0U);
    EXPECT_EQ(random.Index(), i);
  }
  EXPECT_EQ(random.ScaledBound(), 1U << 31);
  EXPECT_EQ(random.Shift(), 31);
  // The scaling follows the bound.
  (void)random.Below(3);
  EXPECT_EQ(random.ScaledBound(), 3U << 29);
  EXPECT_EQ(random.Shift(), 29);
  (void)random.Below((1 << 30) + 1);
  EXPECT_EQ(random.ScaledBound(), (1U << 30) + 1);
  EXPECT_EQ(random.Shift(), 0);
  // The same seed and the same draws give the same numbers.
  std::vector<std::uint32_t> runs[2];
  for (auto& run : runs) {
    random.Seed(100);
    for (std::int32_t n : {200, 200, 7, 200, 1, 1000, 200}) run.push_back(random.Below(n));
  }
  EXPECT_EQ(runs[0], runs[1]);
}

// A chi-square test of the draw's frequencies over n cells (or, for a huge n,
// over 64 equal ranges), at a level no fair generator fails by chance here.
TEST(SfmtRandomTest, BelowShowsNoBias) {
  SfmtRandom random;
  random.Seed(4357);
  for (std::int32_t n : {3, 7, 1000, (1 << 30) + 1}) {
    const int cells = n <= 1000 ? n : 64;
    const int draws = std::max(200 * cells, 30000);
    std::vector<double> count(static_cast<std::size_t>(cells), 0.0);
    for (int i = 0; i < draws; ++i) {
      const std::uint32_t r = random.Below(n);
      ASSERT_LT(r, static_cast<std::uint32_t>(n));
      const auto cell = static_cast<std::size_t>(static_cast<std::uint64_t>(r) * cells / static_cast<std::uint64_t>(n));
      count[cell] += 1.0;
    }
    double chi = 0.0;
    for (std::size_t c = 0; c < count.size(); ++c) {
      // Exact cell probabilities (the ranges of 2^30 + 1 differ by at most one value).
      const double lo = std::ceil(static_cast<double>(c) * n / cells);
      const double hi = std::ceil(static_cast<double>(c + 1) * n / cells);
      const double expected = draws * (hi - lo) / n;
      chi += (count[c] - expected) * (count[c] - expected) / expected;
    }
    // Mean cells - 1, standard deviation sqrt(2 (cells - 1)): six deviations.
    const double limit = (cells - 1) + 6.0 * std::sqrt(2.0 * (cells - 1));
    EXPECT_LT(chi, limit) << "n " << n;
  }
}

}  // namespace
