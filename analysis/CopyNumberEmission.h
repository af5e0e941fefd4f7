#pragma once
// The emission densities of the copy-number HMMs: how likely a log2 ratio x is
// in each copy-number state, from the state means and spread factors of the
// sample's header and the spread sigma of its ratios.
//
// Two models: a normal density whose standardised distance is clamped to
// [-3, 3] (so an outlier cannot decide a state on its own), and the log-F(3, 9)
// density on x clamped to [-4, 4], whose heavier tails tolerate the outliers of
// real arrays.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "analysis/Viterbi.h"

namespace qova::analysis {

class CopyNumberEmission {
 public:
  static constexpr int kMaxStates = ViterbiDecoder::kMaxStates;

  // The model of `states` states with means[s] and spread factors[s] around a
  // sample spread of `sigma`; `normal` chooses the normal model, else log-F.
  // Nothing when a state's spread factors[s]*sigma is not a positive finite
  // number or a mean is not finite: such a model has no usable density, and
  // decoding with it would put every SNP in state 0. `problem` then says why.
  [[nodiscard]] static std::optional<CopyNumberEmission> Make(int states, const float* means, const float* factors,
                                                             float sigma, bool normal, std::string* problem = nullptr);

  [[nodiscard]] int States() const { return states_; }

  // The density of x in state s as the float the engine reports.
  [[nodiscard]] float Density(double x, int s) const;
  // -ln of the density of x in state s, evaluated in logarithms so that no
  // density underflows to 0 or overflows: always finite for a finite or
  // infinite x.
  [[nodiscard]] double Cost(double x, int s) const;
  // Cost(x, s) for every state into costs[0..States()-1]. A NaN observation
  // carries no information: every state costs 0.
  void Costs(double x, double* costs) const;

 private:
  int states_ = 0;
  bool normal_ = false;
  std::array<double, kMaxStates> mean_{};
  std::array<double, kMaxStates> spread_{};    // factor * sigma, as a float
  std::array<double, kMaxStates> scale_{};     // log-F: k of the state
  std::array<double, kMaxStates> logConst_{};  // ln of the density's constant factor
};

}  // namespace qova::analysis
