#pragma once
// The small models that turn per-SNP evidence into marker regions: hidden
// Markov models over a few discrete observations (the two-state models of
// allelic imbalance, LOH and UPD, and the loss / normal / gain model), and the
// runs of allele states that mark a gain of one allele with a loss of the
// other.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/Analysis.h"
#include "analysis/Viterbi.h"

namespace qova::analysis {

// Emission costs of a model whose observations are symbols 0..Symbols-1:
// Cost[s][o] = -ln P(o | s), +infinity where the probability is 0.
struct DiscreteEmission {
  static constexpr int kMaxStates = 3;
  static constexpr int kMaxSymbols = 3;
  int States = 0;
  int Symbols = 0;
  double Cost[kMaxStates][kMaxSymbols] = {};
};

// The two-state model (0 normal, 1 event) over a 0/1 observation: state 0
// shows 1 with probability alpha, state 1 shows 0 with probability beta.
// Nothing, with the reason in `problem`, when alpha or beta is not a
// probability or when one observation is impossible in both states (every SNP
// would then tie and fall to state 0).
[[nodiscard]] std::optional<DiscreteEmission> TwoStateEmission(float alpha, float beta,
                                                              std::string* problem = nullptr);

// The loss / normal / gain model over observations 0 (below the loss
// threshold), 1 (between) and 2 (above the gain threshold). Nothing, with the
// reason, when the parameters make a probability negative (a > 0.5 or
// b + c > 1), are not numbers, or leave an observation impossible in every
// state, or when the Kosambi factor is negative or not finite.
[[nodiscard]] std::optional<DiscreteEmission> GainLossEmission(const GainLossParameters& parameters,
                                                              std::string* problem = nullptr);

// The symbol of a total log2 ratio in the gain/loss model; a NaN ratio is
// "between".
[[nodiscard]] std::uint8_t GainLossSymbol(float logRatio, const GainLossParameters& parameters);

// Decodes a symbol sequence at the given SNP positions (bp, in order) with
// Kosambi transitions on the distances scaled by `kosambiFactor`.
void DecodeSymbols(ViterbiDecoder& decoder, const DiscreteEmission& emission, const std::vector<std::uint8_t>& symbols,
                   const std::vector<std::int32_t>& positions, double kosambiFactor, std::vector<std::uint8_t>& path);

// The allele-state segments of one chromosome's heterozygous SNPs, given per
// SNP whether it shows a gain of one allele with a loss of the other. A run
// starts where two flagged SNPs follow each other and takes SNPs up to and
// including the first unflagged one; the last SNP of the list is never taken,
// so a run that reaches it ends just before it. Runs of at least
// kMinAlleleSegment SNPs are returned as index ranges into the list.
inline constexpr std::size_t kMinAlleleSegment = 5;
[[nodiscard]] std::vector<StateRun> AlleleStateSegments(const std::vector<bool>& flags);

}  // namespace qova::analysis
