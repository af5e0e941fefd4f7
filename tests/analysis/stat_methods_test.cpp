#include <gtest/gtest.h>

#include <cmath>

#include "analysis/AssociationMethods.h"

using namespace qova::analysis;

TEST(AssociationMethods, RatioStatisticsOfBalancedAllelesAreZero) {
  const SampleCounts counts{30, 20};
  for (int method : {kAssocModelRatios, kAssocChiRatios, kAssocRatioProduct}) {
    EXPECT_EQ(RatioStatistic(method, 1.0, 1.0, counts), 0.0) << method;
  }
}

TEST(AssociationMethods, RatioStatisticsMatchHandValues) {
  const SampleCounts counts{30, 20};  // Q/P = 2/3, P/Q = 1.5, N = 50
  const double a = 1.5, b = 0.5;
  EXPECT_NEAR(RatioStatistic(kAssocModelRatios, a, b, counts), (0.5 * 50 * 0.5) / ((1.5 + 2.0 / 3) * (0.75 + 1)),
              1e-12);
  EXPECT_NEAR(RatioStatistic(kAssocChiRatios, a, b, counts), 10 * (1.0 / (1.5 + 2.0 / 3)) / 1.75, 1e-12);
  EXPECT_NEAR(RatioStatistic(kAssocRatioProduct, a, b, counts), 10 * 0.5 * 0.5, 1e-12);
}

TEST(AssociationMethods, FractionDifferenceOfPointOneGivesOne) {
  // 10 |pt - pr| with pt = 0.5 (A = B) and pr = 0.4 (A/B = 2/3).
  EXPECT_NEAR(10.0 * std::fabs(AlleleFraction(500, 500) - AlleleFraction(400, 600)), 1.0, 1e-12);
  EXPECT_EQ(10.0 * std::fabs(AlleleFraction(300, 700) - AlleleFraction(600, 1400)), 0.0);
}

TEST(AssociationMethods, ScaledFractionWeighsAlleleB) {
  EXPECT_NEAR(AlleleFraction(100, 200, 0.5), 0.5, 1e-12);
  EXPECT_NEAR(AlleleFraction(100, 100, 3.0), 0.25, 1e-12);
}

TEST(AssociationMethods, ContingencyStatisticKeepsItsOwnDenominator) {
  const SampleCounts counts{30, 20};
  EXPECT_EQ(ContingencyStatistic(0.4, 0.4, counts), 0.0);
  // pt = 0.6, pr = 0.3: D = 0.6 * 0.7 - 0.3 * 0.4 = 0.3.
  const double expected = (50.0 * 30 * 20 * 0.09) / (20 * 30 * 0.6 * 0.3) / (0.4 * 30 + 20 * 0.7);
  EXPECT_NEAR(ContingencyStatistic(0.6, 0.3, counts), expected, 1e-12);
  // Not the textbook chi-square of the same table.
  const double textbook = 50.0 * 30 * 20 * 0.09 / ((30 * 0.6 + 20 * 0.3) * (30 * 0.4 + 20 * 0.7));
  EXPECT_GT(std::fabs(ContingencyStatistic(0.6, 0.3, counts) - textbook), 1.0);
  EXPECT_FALSE(std::isfinite(ContingencyStatistic(0.0, 0.5, counts)));
  EXPECT_FALSE(std::isfinite(ContingencyStatistic(0.6, 0.3, SampleCounts{0, 20})));
}

TEST(AlleleLineFit, FractionsFollowTheGenotypeLines) {
  // References: AA near (1000, 100), AB near (550, 550), BB near (100, 1000).
  AlleleLineFit fit;
  fit.Add(1, 1010, 95);
  fit.Add(1, 990, 105);
  fit.Add(2, 560, 540);
  fit.Add(2, 540, 560);
  fit.Add(3, 100, 1000);
  fit.Add(0, 5000, 5000);  // no call: ignored
  ASSERT_TRUE(fit.Determined());
  EXPECT_NEAR(fit.Fraction(1000, 100), 1.0, 0.02);
  EXPECT_NEAR(fit.Fraction(100, 1000), 0.0, 0.02);
  EXPECT_NEAR(fit.Fraction(550, 550), 0.5, 0.02);
  EXPECT_EQ(fit.Fraction(3000, 0), 1.0);  // clamped
  EXPECT_EQ(fit.Fraction(0, 3000), 0.0);
}

TEST(AlleleLineFit, OneGenotypeClassDeterminesNoLine) {
  struct Case {
    int calls[3];
    bool determined;
  } cases[] = {
      {{1, 1, 1}, false}, {{2, 2, 2}, false}, {{3, 3, 0}, false}, {{0, 0, 0}, false},
      {{1, 2, 2}, true},  {{1, 3, 0}, true},  {{2, 3, 3}, true},
  };
  for (const Case& c : cases) {
    AlleleLineFit fit;
    for (int call : c.calls) fit.Add(call, 500, 500);
    EXPECT_EQ(fit.Determined(), c.determined) << c.calls[0] << c.calls[1] << c.calls[2];
  }
}
