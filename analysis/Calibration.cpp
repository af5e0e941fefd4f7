#include "analysis/Calibration.h"

#include <cmath>

namespace qova::analysis {

namespace {

// The model's background of the total and of one allele, and their sums
// with the normal signal.
constexpr double kTotalBackground = 1.47;
constexpr double kTotalNormal = 3.47;
constexpr double kAlleleBackground = 0.735;
constexpr double kAlleleNormal = 1.735;

template <std::size_t N>
std::optional<std::array<float, N>> Means(int firstState, double c, double normalCopies, double background,
                                          double normal) {
  std::array<float, N> means{};
  for (std::size_t s = 0; s < N; ++s) {
    const double k = firstState + double(s);
    const double ratio = (k * (1.0 - c) + normalCopies * c + background) / normal;
    if (!(ratio > 0.0) || !std::isfinite(ratio)) return std::nullopt;
    means[s] = float(std::log2(ratio));
  }
  return means;
}

}  // namespace

std::optional<AmplitudeAdjustment> ChooseAmplitudeAdjustment(double a, double b) {
  if ((0 < b && b < a) || (a < b && b < 0)) return AmplitudeAdjustment{2, a / b};
  if ((0 < a && a < b) || (b < a && a < 0)) return AmplitudeAdjustment{1, b / a};
  return std::nullopt;
}

double ContaminationRate(ContaminationSignal signal, int loci, double m) {
  const double observed = std::exp2(m);
  switch (signal) {
    case ContaminationSignal::kLargerAllele: return (kAlleleNormal + 1.0) - kAlleleNormal * observed;
    case ContaminationSignal::kSmallerAllele: return kAlleleNormal * observed - kAlleleBackground;
    case ContaminationSignal::kBothAlleles: break;
  }
  if (loci == 3) return (kTotalNormal + 1.0) - kTotalNormal * observed;
  return kTotalNormal * observed - (kTotalBackground + 1.0);
}

std::optional<std::array<float, 5>> TotalMeansWithContamination(double c) {
  return Means<5>(1, c, 2.0, kTotalBackground, kTotalNormal);
}

std::optional<std::array<float, 4>> AlleleMeansWithContamination(double c) {
  return Means<4>(0, c, 1.0, kAlleleBackground, kAlleleNormal);
}

}  // namespace qova::analysis
