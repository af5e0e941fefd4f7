#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "analysis/Viterbi.h"

using namespace qova::analysis;

namespace {

const double kInf = std::numeric_limits<double>::infinity();

// A decoding problem given as explicit tables.
struct Problem {
  int states = 0;
  std::vector<std::vector<double>> emission;  // [k][s]
  std::vector<TransitionCost> transition;     // [k], k >= 1
};

std::vector<std::uint8_t> Decode(const Problem& p) {
  ViterbiDecoder decoder;
  std::vector<std::uint8_t> path;
  decoder.Decode(
      p.states, p.emission.size(),
      [&](std::size_t k, double* costs) {
        for (int s = 0; s < p.states; ++s) costs[s] = p.emission[k][s];
      },
      [&](std::size_t k) { return p.transition[k]; }, path);
  return path;
}

double PathCost(const Problem& p, const std::vector<std::uint8_t>& path) {
  double cost = p.emission[0][path[0]];
  for (std::size_t k = 1; k < path.size(); ++k) {
    cost += (path[k] == path[k - 1] ? p.transition[k].Stay : p.transition[k].Switch) + p.emission[k][path[k]];
  }
  return cost;
}

// The cheapest cost over every path, by enumeration.
double BruteForceBest(const Problem& p) {
  const std::size_t n = p.emission.size();
  std::vector<std::uint8_t> path(n, 0);
  double best = kInf;
  while (true) {
    best = std::min(best, PathCost(p, path));
    std::size_t k = 0;
    while (k < n && ++path[k] == p.states) path[k++] = 0;
    if (k == n) break;
  }
  return best;
}

// The decoding written out as the plain scan over every predecessor, from
// state 0 up, replacing only on a strictly smaller cost.
std::vector<std::uint8_t> ScanDecode(const Problem& p) {
  const std::size_t n = p.emission.size();
  std::vector<double> cost = p.emission[0];
  std::vector<std::vector<int>> back(n, std::vector<int>(p.states, 0));
  for (std::size_t k = 1; k < n; ++k) {
    std::vector<double> next(p.states);
    for (int s = 0; s < p.states; ++s) {
      double best = cost[0] + (s == 0 ? p.transition[k].Stay : p.transition[k].Switch);
      for (int q = 1; q < p.states; ++q) {
        const double c = cost[q] + (q == s ? p.transition[k].Stay : p.transition[k].Switch);
        if (c < best) {
          best = c;
          back[k][s] = q;
        }
      }
      next[s] = best + p.emission[k][s];
    }
    cost = next;
  }
  std::vector<std::uint8_t> path(n);
  int state = 0;
  for (int s = 1; s < p.states; ++s) {
    if (cost[s] < cost[state]) state = s;
  }
  for (std::size_t k = n; k-- > 0;) {
    path[k] = static_cast<std::uint8_t>(state);
    state = back[k][state];
  }
  return path;
}

}  // namespace

TEST(KosambiTransition, SwitchProbabilityFollowsTheMapFunction) {
  struct Case {
    double distance;
    double expected;
  } cases[] = {
      {0.0, 0.0},
      {-5000.0, 0.0},  // positions out of order
      {std::nan(""), 0.0},
      {1e6, 0.5 * std::tanh(0.02)},
      {5e7, 0.5 * std::tanh(1.0)},
      {1e9, 0.5},
      {1e12, 0.5},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(KosambiSwitchProbability(c.distance), c.expected, 1e-7) << c.distance;
  }
}

TEST(KosambiTransition, CostsAreTheNegativeLogsOfStayingAndSwitching) {
  for (double d : {1.0, 37.0, 1000.0, 6000.0, 49999.0, 50001.0, 400000.0, 499999.0, 500001.0, 3e6, 8e7}) {
    const float r = KosambiSwitchProbability(d);
    EXPECT_NEAR(r, 0.5 * std::tanh(static_cast<float>(2 * d / 1e8)), 1e-7 * r) << d;
    const TransitionCost t = KosambiTransition(d);
    EXPECT_NEAR(t.Stay, -std::log1p(-double(r)), 1e-15 * t.Stay) << d;
    EXPECT_NEAR(t.Switch, -std::log(double(r)), 1e-15 * t.Switch) << d;
  }
}

TEST(KosambiTransition, ZeroDistanceForbidsSwitching) {
  const TransitionCost t = KosambiTransition(0.0);
  EXPECT_EQ(t.Stay, 0.0);
  EXPECT_TRUE(std::isinf(t.Switch));
}

TEST(KosambiTransition, DistantSnpsCostTheSameToStayOrSwitch) {
  const TransitionCost t = KosambiTransition(2e9);
  EXPECT_NEAR(t.Stay, std::log(2.0), 1e-6);
  EXPECT_NEAR(t.Switch, std::log(2.0), 1e-6);
}

TEST(KosambiTransition, ScaledDistanceIsTruncatedAndCannotOverflow) {
  EXPECT_EQ(ScaledDistance(1.5, 3), 4.0);
  EXPECT_EQ(ScaledDistance(100.0, 2'000'000'000), 2e11);  // would wrap in 32 bits
  EXPECT_EQ(ScaledDistance(-1.0, 1000), 0.0);
  EXPECT_EQ(ScaledDistance(std::nan(""), 1000), 0.0);
  EXPECT_EQ(BasePairDistance(2'000'000'000, -2'000'000'000), 0);
  EXPECT_EQ(BasePairDistance(-2'000'000'000, 2'000'000'000), 4'000'000'000LL);
}

TEST(ViterbiDecoder, FindsTheCheapestPathOfRandomProblems) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> cost(0.0, 4.0);
  std::uniform_real_distribution<double> gap(0.0, 3e7);
  for (int trial = 0; trial < 200; ++trial) {
    Problem p;
    p.states = 2 + trial % 6;
    const std::size_t n = 1 + trial % 7;
    if (std::pow(p.states, n) > 200000) continue;
    p.emission.assign(n, std::vector<double>(p.states));
    p.transition.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
      for (double& e : p.emission[k]) e = cost(random);
      p.transition[k] = KosambiTransition(gap(random));
    }
    const std::vector<std::uint8_t> path = Decode(p);
    ASSERT_EQ(path.size(), n);
    EXPECT_NEAR(PathCost(p, path), BruteForceBest(p), 1e-9) << "trial " << trial;
  }
}

TEST(ViterbiDecoder, TiesGoToTheLowerStateAsInAPlainScan) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> small(0, 3);
  const TransitionCost steps[] = {{0.0, kInf}, {0.0, 1.0}, {1.0, 1.0}, {0.0, 2.0}, {kInf, kInf}};
  for (int trial = 0; trial < 2000; ++trial) {
    Problem p;
    p.states = 1 + trial % 7;
    const std::size_t n = 1 + trial % 12;
    p.emission.assign(n, std::vector<double>(p.states));
    p.transition.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
      for (double& e : p.emission[k]) e = small(random) == 3 ? kInf : small(random);
      p.transition[k] = steps[small(random) + (trial % 5 == 0 ? 1 : 0)];
    }
    ASSERT_EQ(Decode(p), ScanDecode(p)) << "trial " << trial;
  }
}

TEST(ViterbiDecoder, SingleObservationTakesTheLowestCostStateAndTheLowerOnTies) {
  Problem p{3, {{2.0, 1.0, 1.0}}, {{}}};
  EXPECT_EQ(Decode(p), (std::vector<std::uint8_t>{1}));
  p.emission = {{0.5, 0.5, 0.5}};
  EXPECT_EQ(Decode(p), (std::vector<std::uint8_t>{0}));
}

TEST(ViterbiDecoder, SnpsAtOneLocusShareTheirState) {
  // The second SNP prefers state 1, but 0 bp from the first it cannot switch.
  Problem p{2, {{0.0, 10.0}, {1.0, 0.0}}, {{}, KosambiTransition(0.0)}};
  EXPECT_EQ(Decode(p), (std::vector<std::uint8_t>{0, 0}));
  // Far apart each follows its own evidence.
  p.transition[1] = KosambiTransition(1e9);
  EXPECT_EQ(Decode(p), (std::vector<std::uint8_t>{0, 1}));
}

TEST(ViterbiDecoder, ImpossibleStatesAreAvoidedWithoutNaN) {
  // State 1 is impossible at the middle observation; switching is impossible
  // at the first step.
  Problem p{2, {{1.0, 0.0}, {0.0, kInf}, {kInf, 0.0}}, {{}, {0.0, kInf}, KosambiTransition(1e7)}};
  EXPECT_EQ(Decode(p), (std::vector<std::uint8_t>{0, 0, 1}));
}

TEST(StateRuns, SplitsAPathIntoMaximalRuns) {
  const std::vector<std::uint8_t> path{1, 1, 0, 2, 2, 2, 1};
  const auto runs = StateRuns(path);
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_EQ(runs[0].First, 0u);
  EXPECT_EQ(runs[0].Last, 1u);
  EXPECT_EQ(runs[0].State, 1);
  EXPECT_EQ(runs[1].First, 2u);
  EXPECT_EQ(runs[1].Last, 2u);
  EXPECT_EQ(runs[2].First, 3u);
  EXPECT_EQ(runs[2].Last, 5u);
  EXPECT_EQ(runs[2].State, 2);
  EXPECT_EQ(runs[3].First, 6u);
  EXPECT_TRUE(StateRuns({}).empty());
}
