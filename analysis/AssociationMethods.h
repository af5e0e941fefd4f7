#pragma once
// The per-SNP formulas of the association statistic of one self-referenced
// sample: how far the test sample's allele balance is from its paired
// reference's, scaled by the two sample counts of the association dialog
// (P "positive", Q "negative", N = P + Q). Pure functions, in double; a zero
// signal or count gives a non-finite value, which the caller excludes.
#include <cstdint>
#include <string>

namespace qova::analysis {

struct SampleCounts {
  double P = 0.0;
  double Q = 0.0;
  [[nodiscard]] double N() const { return P + Q; }
};

// The statistic methods, numbered as the association dialog lists them.
enum AssociationMethod {
  kAssocModeling = 0,        // method 6 on allele fractions modelled from the references' genotype classes
  kAssocModelRatios = 1,     // from the allele ratios a, b and the counts
  kAssocChiRatios = 2,
  kAssocRatioProduct = 3,    // 10 (a - 1)(1 - b)
  kAssocSignalRatios = 4,    // |At/Bt - Ar/Br|
  kAssocFractions = 5,       // 10 |pt - pr|
  kAssocChiFractions = 6,
  kAssocScaledFractions = 7, // method 5 with allele B scaled by the references' A/B balance
  kAssocChiScaled = 8,       // method 6 likewise
};
inline constexpr int kAssociationMethodCount = 9;

// Why a statistic left no SNP valid, for the user: the methods that weigh by
// the counts divide by both, so a count of 0 leaves no number anywhere.
[[nodiscard]] std::string AssociationEmptyReason(int method, const SampleCounts& counts);

// Methods 1 to 3 on the allele ratios a = 2^LogRatioA and b = 2^LogRatioB.
[[nodiscard]] double RatioStatistic(int method, double a, double b, const SampleCounts& counts);

// The allele-A fraction A / (A + k B) of a pair of signals (k = 1 plain).
[[nodiscard]] double AlleleFraction(double a, double b, double k = 1.0);

// Method 6 on the allele fractions pt (test) and pr (reference).
[[nodiscard]] double ContingencyStatistic(double pt, double pr, const SampleCounts& counts);

// Straight lines e = alpha + beta g of each allele's expected signal against
// the genotype g (+1 AA, 0 AB, -1 BB), fitted by least squares over the
// references of one SNP.
class AlleleLineFit {
 public:
  // One reference called `call` (1 AA, 2 AB, 3 BB; others ignored) with its
  // allele signals brought to the test's level.
  void Add(std::int32_t call, double expectedA, double expectedB);

  // True when the references span at least two genotype classes; with one
  // class the lines are not determined.
  [[nodiscard]] bool Determined() const;
  // The allele-A fraction of a signal pair along the fitted lines: 1 for an
  // AA-like pair, 0 for a BB-like one, clamped to 0..1. Only when Determined().
  [[nodiscard]] double Fraction(double a, double b) const;

 private:
  struct Line {
    double Alpha = 0.0;
    double Beta = 0.0;
  };
  [[nodiscard]] Line FitLine(double sumE, double sumGE) const;

  std::int32_t countAA_ = 0, countAB_ = 0, countBB_ = 0;
  double sumA_ = 0.0, sumGA_ = 0.0, sumB_ = 0.0, sumGB_ = 0.0;
};

}  // namespace qova::analysis
