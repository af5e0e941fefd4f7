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

// Out of order, unknown or equal positions cannot switch state.
TEST(KosambiTransition, NoDistanceForbidsSwitching) {
  for (double d : {0.0, -5000.0, std::nan("")}) {
    const TransitionCost t = KosambiTransition(d);
    EXPECT_EQ(t.Stay, 0.0) << d;
    EXPECT_TRUE(std::isinf(t.Switch)) << d;
  }
}

TEST(KosambiTransition, ScaledDistanceIsTruncatedAndCannotOverflow) {
  EXPECT_EQ(ScaledDistance(1.5, 3), 4.0);
  EXPECT_EQ(ScaledDistance(100.0, 2'000'000'000), 2e11);  // would wrap in 32 bits
  EXPECT_EQ(ScaledDistance(-1.0, 1000), 0.0);
  EXPECT_EQ(ScaledDistance(std::nan(""), 1000), 0.0);
  EXPECT_EQ(BasePairDistance(2'000'000'000, -2'000'000'000), 0);
  EXPECT_EQ(BasePairDistance(-2'000'000'000, 2'000'000'000), 4'000'000'000LL);
}

// The decoder runs on the program's transition costs between SNPs; its path
// must be the cheapest under the Kosambi map function written out here, with
// one Morgan taken as 100 Mb.
TEST(ViterbiDecoder, FindsTheCheapestPathUnderTheKosambiMapOfRandomProblems) {
  auto kosambi = [](double basePairs) {
    const double r = 0.5 * std::tanh(2.0 * basePairs / 1e8);
    return TransitionCost{-std::log(1.0 - r), -std::log(r)};
  };
  std::mt19937 random(7);
  std::uniform_real_distribution<double> cost(0.0, 4.0);
  std::uniform_real_distribution<double> near(1.0, 1e6), far(0.0, 3e7);
  for (int trial = 0; trial < 400; ++trial) {
    Problem program, expected;
    program.states = expected.states = 2 + trial % 6;
    const std::size_t n = 1 + trial % 7;
    if (std::pow(program.states, n) > 200000) continue;
    program.emission.assign(n, std::vector<double>(program.states));
    program.transition.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
      for (double& e : program.emission[k]) e = cost(random);
      const double gap = trial % 2 ? near(random) : far(random);
      program.transition[k] = KosambiTransition(gap);
      expected.transition.push_back(kosambi(gap));
    }
    expected.emission = program.emission;
    const std::vector<std::uint8_t> path = Decode(program);
    ASSERT_EQ(path.size(), n);
    EXPECT_NEAR(PathCost(expected, path), BruteForceBest(expected), 1e-5) << "trial " << trial;
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
