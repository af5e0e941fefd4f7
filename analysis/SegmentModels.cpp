#include "analysis/SegmentModels.h"

#include <cmath>

#include "platform/Strings.h"

namespace qova::analysis {

namespace {

double CostOf(double probability) {
  return probability > 0.0 ? -std::log(probability) : kImpossibleCost;
}

bool IsProbability(double p) { return p >= 0.0 && p <= 1.0; }  // false for NaN

// Fills the costs from probabilities P[s][o] and checks that every
// observation is possible in some state.
std::optional<DiscreteEmission> FromProbabilities(int states, int symbols, const double (*p)[3],
                                                  std::string* problem) {
  DiscreteEmission e;
  e.States = states;
  e.Symbols = symbols;
  for (int o = 0; o < symbols; ++o) {
    bool possible = false;
    for (int s = 0; s < states; ++s) {
      e.Cost[s][o] = CostOf(p[s][o]);
      possible = possible || p[s][o] > 0.0;
    }
    if (!possible) {
      if (problem != nullptr) *problem = platform::Format("observation %d is impossible in every state", o);
      return std::nullopt;
    }
  }
  return e;
}

}  // namespace

std::optional<DiscreteEmission> TwoStateEmission(float alpha, float beta, std::string* problem) {
  if (!IsProbability(alpha) || !IsProbability(beta)) {
    if (problem != nullptr) {
      *problem = platform::Format("alpha %g and beta %g must lie between 0 and 1", static_cast<double>(alpha),
                                  static_cast<double>(beta));
    }
    return std::nullopt;
  }
  const double a = alpha, b = beta;
  const double p[2][3] = {{1.0 - a, a, 0.0}, {b, 1.0 - b, 0.0}};
  return FromProbabilities(2, 2, p, problem);
}

std::optional<DiscreteEmission> GainLossEmission(const GainLossParameters& parameters, std::string* problem) {
  const double a = parameters.NormalGivenAberration;
  const double b = parameters.AberrationGivenNormal;
  const double c = parameters.GainGivenLoss;
  const auto refuse = [problem](const char* why) -> std::optional<DiscreteEmission> {
    if (problem != nullptr) *problem = why;
    return std::nullopt;
  };
  if (!IsProbability(a) || !IsProbability(b) || !IsProbability(c)) {
    return refuse("The probabilities must lie between 0 and 1.");
  }
  if (a > 0.5) return refuse("P(normal|gain or loss) must not exceed 0.5.");
  if (b + c > 1.0) return refuse("P(gain or loss| normal) and P(gain|loss) must not add up to more than 1.");
  if (!(std::isfinite(parameters.KosambiFactor) && parameters.KosambiFactor >= 0.0f)) {
    return refuse("The Kosambi rate must not be negative.");
  }
  if (!(std::isfinite(parameters.GainThreshold) && std::isfinite(parameters.LossThreshold))) {
    return refuse("The thresholds must be numbers.");
  }
  const double p[3][3] = {{1.0 - b - c, b, c}, {a, 1.0 - 2.0 * a, a}, {c, b, 1.0 - b - c}};
  auto e = FromProbabilities(3, 3, p, nullptr);
  if (!e) return refuse("With these probabilities some ratios fit no state.");
  return e;
}

std::uint8_t GainLossSymbol(float logRatio, const GainLossParameters& parameters) {
  if (logRatio > parameters.GainThreshold) return 2;
  if (logRatio < parameters.LossThreshold) return 0;
  return 1;
}

void DecodeSymbols(ViterbiDecoder& decoder, const DiscreteEmission& emission, const std::vector<std::uint8_t>& symbols,
                   const std::vector<std::int32_t>& positions, double kosambiFactor, std::vector<std::uint8_t>& path) {
  decoder.Decode(
      emission.States, symbols.size(),
      [&](std::size_t k, double* costs) {
        for (int s = 0; s < emission.States; ++s) costs[s] = emission.Cost[s][symbols[k]];
      },
      [&](std::size_t k) {
        return KosambiTransition(ScaledDistance(kosambiFactor, BasePairDistance(positions[k - 1], positions[k])));
      },
      path);
}

std::vector<StateRun> AlleleStateSegments(const std::vector<bool>& flags) {
  std::vector<StateRun> segments;
  const std::size_t n = flags.size();
  std::size_t k = 0;
  while (k + 1 < n) {
    if (!(flags[k] && flags[k + 1])) {
      ++k;
      continue;
    }
    StateRun run{k, k};
    std::size_t count = 0;
    while (k + 1 < n) {
      run.Last = k;
      ++count;
      const bool ends = !flags[k];
      ++k;
      if (ends) break;
    }
    if (count >= kMinAlleleSegment) segments.push_back(run);
  }
  return segments;
}

}  // namespace qova::analysis
