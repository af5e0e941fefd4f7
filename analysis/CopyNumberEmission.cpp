#include "analysis/CopyNumberEmission.h"

#include <cmath>

#include "platform/Strings.h"

namespace qova::analysis {

namespace {

// 1 / sqrt(2 pi), as the normal model has always written it.
constexpr double kInverseSqrtTwoPi = 0.39894228;
constexpr double kNormalClamp = 3.0;

// The log-F(3, 9) model: its constant, the clamp of the observation, and the
// two constants of the scale k = 1.7 sqrt(0.2959 / spread), which are floats.
constexpr double kLogFConstant = 2381277.0;
constexpr double kLogFClamp = 4.0;
constexpr float kLogFScale = 1.7f;
constexpr float kLogFVariance = 0.2959f;

double Clamp(double v, double limit) { return v < -limit ? -limit : (v > limit ? limit : v); }

// ln(3 e^v + 9) without overflow for large v. The exponential and the
// logarithm are taken in float, as precise as the float density the model
// reports and several times faster than in double; the part that grows with v
// stays in double.
double LogFDenominator(double v) {
  const auto f = static_cast<float>(v);
  if (f > 0.0f) return v + static_cast<double>(std::log(3.0f + 9.0f * std::exp(-f)));
  return static_cast<double>(std::log(3.0f * std::exp(f) + 9.0f));
}

}  // namespace

std::optional<CopyNumberEmission> CopyNumberEmission::Make(int states, const float* means, const float* factors,
                                                           float sigma, bool normal, std::string* problem) {
  const auto refuse = [problem](std::string why) -> std::optional<CopyNumberEmission> {
    if (problem != nullptr) *problem = std::move(why);
    return std::nullopt;
  };
  if (states < 1 || states > kMaxStates) return refuse(platform::Format("%d states", states));
  if (!(std::isfinite(sigma) && sigma > 0.0f)) {
    return refuse(platform::Format("the spread of the ratios is %g", static_cast<double>(sigma)));
  }
  CopyNumberEmission model;
  model.states_ = states;
  model.normal_ = normal;
  for (int s = 0; s < states; ++s) {
    const float spread = factors[s] * sigma;
    if (!std::isfinite(means[s])) return refuse(platform::Format("the mean of state %d is not a number", s));
    if (!(std::isfinite(spread) && spread > 0.0f)) {
      return refuse(platform::Format("the spread of state %d is %g", s, static_cast<double>(spread)));
    }
    model.mean_[s] = means[s];
    model.spread_[s] = spread;
    if (normal) {
      model.logConst_[s] = std::log(kInverseSqrtTwoPi / spread);
    } else {
      const float k = kLogFScale * std::sqrt(kLogFVariance / spread);
      if (!(std::isfinite(k) && k > 0.0f)) return refuse(platform::Format("the spread of state %d is too small", s));
      model.scale_[s] = k;
      model.logConst_[s] = std::log(static_cast<double>(k) * kLogFConstant);
    }
  }
  return model;
}

double CopyNumberEmission::Cost(double x, int s) const {
  if (normal_) {
    // A clamped z also takes an infinite x to the edge of the density.
    const double z = Clamp((x - mean_[s]) / spread_[s], kNormalClamp);
    return 0.5 * z * z - logConst_[s];
  }
  const double u = scale_[s] * (Clamp(x, kLogFClamp) - mean_[s]);
  return 6.0 * LogFDenominator(2.0 * u) - 3.0 * u - logConst_[s];
}

void CopyNumberEmission::Costs(double x, double* costs) const {
  if (std::isnan(x)) {
    for (int s = 0; s < states_; ++s) costs[s] = 0.0;
    return;
  }
  for (int s = 0; s < states_; ++s) costs[s] = Cost(x, s);
}

float CopyNumberEmission::Density(double x, int s) const {
  return static_cast<float>(std::exp(-Cost(x, s)));
}

}  // namespace qova::analysis
