#include "analysis/Viterbi.h"

#include <cmath>

namespace qova::analysis {

namespace {
constexpr double kBasePairsPerMorgan = 100000000.0;
}

// Below these the short series are exact to the precision of their results,
// and most neighbouring SNPs of a dense array lie far below them: the library
// calls would be most of the cost of a transition.
constexpr double kSmallTanhArgument = 0.01;  // next series term under 1e-17 relative
constexpr double kSmallSwitch = 0.001;       // next series term under 1e-18 relative

float KosambiSwitchProbability(double distance) {
  if (!(distance > 0.0)) return 0.0f;
  const auto x = static_cast<float>(2.0 * distance / kBasePairsPerMorgan);
  if (x < kSmallTanhArgument) {
    const double xd = x, x2 = xd * xd;
    return 0.5f * static_cast<float>(xd * (1.0 - x2 * (1.0 / 3.0 - x2 * (2.0 / 15.0 - x2 * (17.0 / 315.0)))));
  }
  return 0.5f * std::tanh(x);
}

TransitionCost KosambiTransition(double distance) {
  const double r = KosambiSwitchProbability(distance);
  TransitionCost t;
  // -ln(1 - r) = r + r^2/2 + r^3/3 + ...
  t.Stay = r < kSmallSwitch
               ? r * (1.0 + r * (1.0 / 2.0 + r * (1.0 / 3.0 + r * (1.0 / 4.0 + r * (1.0 / 5.0 + r * (1.0 / 6.0))))))
               : -std::log(1.0 - r);
  t.Switch = r > 0.0 ? -std::log(r) : kImpossibleCost;
  return t;
}

double ScaledDistance(double factor, std::int64_t distance) {
  const double scaled = factor * static_cast<double>(distance);
  if (!(scaled > 0.0)) return 0.0;
  return std::trunc(scaled);
}

std::vector<StateRun> StateRuns(const std::vector<std::uint8_t>& path) {
  std::vector<StateRun> runs;
  for (std::size_t k = 0; k < path.size(); ++k) {
    if (k == 0 || path[k] != path[k - 1]) {
      runs.push_back({k, k, path[k]});
    } else {
      runs.back().Last = k;
    }
  }
  return runs;
}

}  // namespace qova::analysis
