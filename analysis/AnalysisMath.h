#pragma once
// The arithmetic every operation of the engine shares, so that one SNP gets the
// same value whichever path computed it.
#include <cmath>
#include <cstdint>

namespace qova::analysis {

// ln 2 held as a float: the log2 ratios divide by exactly this value.
inline constexpr float kLn2 = 0.693147180559945309f;

// log2 of a ratio already formed in float: the natural logarithm is taken in
// double, rounded to float, and divided by ln 2 as a float. A zero ratio gives
// -infinity, a zero denominator +infinity, 0/0 NaN: the validity rule drops
// them later.
[[nodiscard]] inline float Log2OfRatio(float ratio) {
  return static_cast<float>(std::log(static_cast<double>(ratio))) / kLn2;
}
[[nodiscard]] inline float Log2Ratio(float numerator, float denominator) {
  return Log2OfRatio(numerator / denominator);
}

// 2^v in double, as the linear-scale sums of the references use it.
[[nodiscard]] inline double Exp2(float v) { return std::exp2(static_cast<double>(v)); }

// The validity rule of every log2 ratio: strictly between -100 and 100 (NaN
// fails both comparisons).
[[nodiscard]] inline bool IsUsableRatio(float v) { return v > -100.0f && v < 100.0f; }

// An annotation row the fragment-length and GC fits can use: a fragment of
// 1..10000 bp and a GC fraction strictly between 0 and 1.
[[nodiscard]] inline bool HasUsableAnnotation(std::int32_t fragmentLength, float gcContent) {
  return fragmentLength >= 1 && fragmentLength <= 10000 && gcContent > 0.0f && gcContent < 1.0f;
}

// SD of n values from their sum and sum of squares, as the engine reports it:
// sqrt((n*S2 - S1^2) / (n*(n-1))), in double, the variance clamped at 0 (it
// can come out a hair below 0 from rounding). NaN when n < 2.
[[nodiscard]] inline double SampleSD(double n, double sum, double sumOfSquares) {
  if (n < 2.0) return std::nan("");
  const double variance = (n * sumOfSquares - sum * sum) / (n * (n - 1.0));
  return std::sqrt(variance > 0.0 ? variance : 0.0);
}

}  // namespace qova::analysis
