#include "analysis/AssociationMethods.h"

#include <cmath>

namespace qova::analysis {

double RatioStatistic(int method, double a, double b, const SampleCounts& counts) {
  const double p = counts.P, q = counts.Q;
  switch (method) {
    case kAssocModelRatios:
      return ((a - 1.0) * counts.N() * (1.0 - b)) / ((a + q / p) * (b * p / q + 1.0));
    case kAssocChiRatios:
      return 10.0 * ((a - b) * (a - b) / (a + q / p)) / (b * p / q + 1.0);
    case kAssocRatioProduct:
      return 10.0 * (a - 1.0) * (1.0 - b);
    default:
      return std::nan("");
  }
}

std::string AssociationEmptyReason(int method, const SampleCounts& counts) {
  const bool weighsByCounts = method != kAssocRatioProduct && method != kAssocSignalRatios &&
                              method != kAssocFractions && method != kAssocScaledFractions;
  if (weighsByCounts && (counts.P <= 0.0 || counts.Q <= 0.0)) {
    return "the method needs samples of both kinds, a number of positive and of negative samples above 0";
  }
  return "no SNP has a statistic that is a number (its signals or its references' genotypes do not give one)";
}

double AlleleFraction(double a, double b, double k) { return a / (a + k * b); }

double ContingencyStatistic(double pt, double pr, const SampleCounts& counts) {
  // Not the textbook 2x2 chi-square, N P Q D^2 / ((P pt + Q pr) (P (1 - pt) +
  // Q (1 - pr))): where the textbook divides by the pooled allele-A weight
  // P pt + Q pr, this divides by the product Q P pt pr. Stored association
  // results were computed this way and are compared with new ones, so the
  // formula stays as it is.
  const double p = counts.P, q = counts.Q;
  const double d = pt * (1.0 - pr) - pr * (1.0 - pt);
  return (counts.N() * p * q * d * d) / (q * p * pt * pr) / ((1.0 - pt) * p + q * (1.0 - pr));
}

void AlleleLineFit::Add(std::int32_t call, double expectedA, double expectedB) {
  double g = 0.0;
  switch (call) {
    case 1:
      g = 1.0;
      ++countAA_;
      break;
    case 2:
      ++countAB_;
      break;
    case 3:
      g = -1.0;
      ++countBB_;
      break;
    default:
      return;
  }
  sumA_ += expectedA;
  sumGA_ += g * expectedA;
  sumB_ += expectedB;
  sumGB_ += g * expectedB;
}

bool AlleleLineFit::Determined() const {
  // Two of the three classes empty leaves a single genotype: no slope.
  return countAA_ + countAB_ != 0 && countAA_ + countBB_ != 0 && countAB_ + countBB_ != 0;
}

AlleleLineFit::Line AlleleLineFit::FitLine(double sumE, double sumGE) const {
  const double n = countAA_ + countAB_ + countBB_;
  const double sumG = countAA_ - countBB_;
  const double sumG2 = countAA_ + countBB_;
  const double determinant = sumG2 * n - sumG * sumG;
  Line line;
  line.Beta = (n * sumGE - sumG * sumE) / determinant;
  line.Alpha = (sumE - line.Beta * sumG) / n;
  return line;
}

double AlleleLineFit::Fraction(double a, double b) const {
  const Line la = FitLine(sumA_, sumGA_);
  const Line lb = FitLine(sumB_, sumGB_);
  const double along = ((a - la.Alpha) * la.Beta + (b - lb.Alpha) * lb.Beta) / (la.Beta * la.Beta + lb.Beta * lb.Beta);
  const double p = (along + 1.0) / 2.0;
  if (std::isnan(p)) return p;
  return p < 0.0 ? 0.0 : (p > 1.0 ? 1.0 : p);
}

}  // namespace qova::analysis
