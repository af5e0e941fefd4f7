#pragma once
// The decoding shared by every hidden Markov model of the engine: the Kosambi
// transition between neighbouring SNPs and a Viterbi decoder over costs
// (negative natural logarithms, in double, so that long chromosomes neither
// underflow nor lose the small differences between paths).
//
// Every model here uses the same transition shape: staying in a state has
// probability 1 - r, moving to any one other state r (r is not divided among
// the other states, so the rows do not sum to one; the decisions depend on it).
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace qova::analysis {

inline constexpr double kImpossibleCost = std::numeric_limits<double>::infinity();

// Base pairs from one SNP position to the next. Positions that do not increase
// (duplicates, or a table out of order) give 0: the two SNPs are then taken as
// one locus rather than producing a negative switching probability.
[[nodiscard]] inline std::int64_t BasePairDistance(std::int32_t from, std::int32_t to) {
  const std::int64_t d = static_cast<std::int64_t>(to) - static_cast<std::int64_t>(from);
  return d > 0 ? d : 0;
}

// Kosambi map function with 1 Morgan = 10^8 bp: the probability r of a switch
// between two loci d bp apart, 0.5 tanh(2d / 10^8) with the tanh of a float.
// A distance that is not positive (or NaN) gives 0, a very large one 0.5.
[[nodiscard]] float KosambiSwitchProbability(double distance);

// The costs of one step: -ln(1 - r) to stay, -ln(r) to move to another state.
struct TransitionCost {
  double Stay = 0.0;
  double Switch = kImpossibleCost;
};

[[nodiscard]] TransitionCost KosambiTransition(double distance);

// The models whose distance is scaled by a factor take the scaled distance
// truncated to whole base pairs. The product is formed in double, so a factor
// of 100 on a gap of a whole chromosome cannot overflow; a factor that is
// negative or not a number gives 0.
[[nodiscard]] double ScaledDistance(double factor, std::int64_t distance);

// Viterbi decoding over one sequence of observations. The working tables are
// kept between calls, so one decoder serves every chromosome of a sample
// without reallocating.
class ViterbiDecoder {
 public:
  static constexpr int kMaxStates = 8;

  // Decodes `n` observations with `states` states (1..kMaxStates).
  //   emission(k, costs): fills costs[0..states-1] with the emission costs of
  //     observation k; each cost is finite or +infinity (impossible), never
  //     NaN or -infinity.
  //   transition(k): the TransitionCost of the step from k-1 to k (k >= 1).
  // There is no start prior. At each step and state the best predecessor is
  // searched from state 0 upwards and replaced only by a strictly smaller cost,
  // so ties go to the lower state; the final state is chosen the same way.
  // Writes path[0..n-1].
  template <class Emission, class Transition>
  void Decode(int states, std::size_t n, Emission&& emission, Transition&& transition,
              std::vector<std::uint8_t>& path) {
    path.assign(n, 0);
    if (n == 0 || states < 1 || states > kMaxStates) return;
    back_.resize(n * static_cast<std::size_t>(states));

    double cost[kMaxStates];
    double next[kMaxStates];
    double emit[kMaxStates];
    emission(std::size_t{0}, emit);
    for (int s = 0; s < states; ++s) {
      cost[s] = emit[s];
      back_[s] = 0;
    }
    for (std::size_t k = 1; k < n; ++k) {
      const TransitionCost t = transition(k);
      emission(k, emit);
      std::uint8_t* back = &back_[k * static_cast<std::size_t>(states)];
      // Every move to another state costs the same, so the best predecessor of
      // s other than s itself is the cheapest state of the switched costs, or
      // the second cheapest when that is s. Ties go to the lower state, as a
      // scan from state 0 that replaces only on a strictly smaller cost gives.
      double switched[kMaxStates];
      double firstCost = cost[0] + t.Switch;
      double secondCost = kImpossibleCost;
      int first = 0;
      int second = -1;  // none cheaper than impossible
      switched[0] = firstCost;
      for (int p = 1; p < states; ++p) {
        const double c = cost[p] + t.Switch;
        switched[p] = c;
        if (c < firstCost) {
          secondCost = firstCost;
          second = first;
          firstCost = c;
          first = p;
        } else if (c < secondCost) {
          secondCost = c;
          second = p;
        }
      }
      for (int s = 0; s < states; ++s) {
        const int other = s == first ? second : first;
        const double stay = cost[s] + t.Stay;
        const bool moves = other >= 0 && (switched[other] < stay || (switched[other] == stay && other < s));
        next[s] = (moves ? switched[other] : stay) + emit[s];
        back[s] = static_cast<std::uint8_t>(moves ? other : s);
      }
      for (int s = 0; s < states; ++s) cost[s] = next[s];
    }

    int state = 0;
    for (int s = 1; s < states; ++s) {
      if (cost[s] < cost[state]) state = s;
    }
    path[n - 1] = static_cast<std::uint8_t>(state);
    for (std::size_t k = n - 1; k > 0; --k) {
      state = back_[k * static_cast<std::size_t>(states) + static_cast<std::size_t>(state)];
      path[k - 1] = static_cast<std::uint8_t>(state);
    }
  }

 private:
  std::vector<std::uint8_t> back_;
};

// A maximal run of one state in a decoded path: positions first..last in the
// path (inclusive).
struct StateRun {
  std::size_t First = 0;
  std::size_t Last = 0;
  int State = 0;
};

// Every maximal run of equal states in `path`, in path order; runs of one step
// count.
[[nodiscard]] std::vector<StateRun> StateRuns(const std::vector<std::uint8_t>& path);

}  // namespace qova::analysis
