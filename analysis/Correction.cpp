// Fragment-length and GC correction: a quadratic curve fitted by least squares
// to the total log2 ratio against one annotation value per SNP, subtracted from
// the ratios.
#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

#include "analysis/Analysis.h"
#include "analysis/AnalysisMath.h"
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/BasicData.h"
#include "core/ProgramSetting.h"
#include "platform/Strings.h"

using qova::analysis::HasUsableAnnotation;
using qova::analysis::Log2Ratio;

namespace {

// RegressionMode values of the settings record.
enum RegressionSetting {
  kRegressBoth = 0,
  kRegressFragmentLengthOnly = 1,
  kRegressGcOnly = 2,
  kRegressMeanOnly = 3,
  kRegressNone = 4,
};

// Below this share of the terms they come from, the spreads and the
// determinant of the fit are rounding noise and the quadratic is not
// determined by the data.
constexpr double kDegenerateShare = 1e-9;

}  // namespace

const CAnalysis::Regressors& CAnalysis::RegressorsOf(const CBasicData& basic, const ArrayTypeRanges& ranges) {
  if (regressors_.Basic == &basic && regressors_.Type == ranges.Type) return regressors_;
  regressors_.Basic = &basic;
  regressors_.Type = ranges.Type;
  const auto n = static_cast<std::size_t>(ranges.SnpCount);
  regressors_.FragmentLength.assign(n, 0.0f);
  regressors_.GcContent.assign(n, 0.0f);
  regressors_.Usable.assign(n, 0);
  for (std::int32_t i = ranges.First; i <= ranges.LastX; ++i) {
    const std::int32_t j = basic.IndexMap[i];
    regressors_.FragmentLength[i] = static_cast<float>(basic.FragmentLength[j]);
    regressors_.GcContent[i] = basic.GcContent[j];
    regressors_.Usable[i] = HasUsableAnnotation(basic.FragmentLength[j], basic.GcContent[j]) ? 1 : 0;
  }
  return regressors_;
}

const float* CAnalysis::FitQuadraticCorrection(CAnalyzedData& analyzed, const CBasicData& basic, int mode) {
  coefficients_ = {0.0f, 0.0f, 0.0f};
  const ArrayTypeRanges ranges = RangesOf(analyzed.Header.ArrayType);
  if (const std::string problem = SizeProblem(ranges, basic, &analyzed, nullptr); !problem.empty()) {
    LogError("The correction is not applied: " + problem + "\n");
    return coefficients_.data();
  }

  const Regressors& regressors = RegressorsOf(basic, ranges);
  // The last SNP of X is left out of the screen, as it always was.
  for (std::int32_t i = ranges.First; i < ranges.LastX; ++i) {
    if (regressors.Usable[i] == 0) analyzed.ValidFlag[i] = 0;
  }
  const std::vector<float>& regressor =
      mode == kFitFragmentLength ? regressors.FragmentLength : regressors.GcContent;

  // The least-squares quadratic, computed on orthogonal regressors: 1, the
  // centred x (u), and the part of u^2 that neither explains (v). Summing raw
  // powers of fragment lengths in the thousands (x^4 near 10^13) and taking
  // their differences loses the very spread the fit needs; the orthogonal
  // form keeps it, and says directly when the data cannot determine a
  // quadratic. Ratios that are not finite (a zero intensity) stay out: one of
  // them would make every coefficient NaN.
  const auto [first, last] =
      ranges.ClampToRatios(analyzed.IsSelf ? analyzed.Header.SelfBaseRange : analyzed.Header.NonSelfBaseRange);
  // The SNPs the fit uses, listed once without a branch: in the
  // allele-specific normalisation most SNPs are out, in no pattern a branch
  // could predict, and three passes go over them.
  if (const auto span = static_cast<std::size_t>(std::max(last - first + 1, 0)); fitSnps_.size() < span) {
    fitSnps_.resize(span);
  }
  std::size_t count = 0;
  for (std::int32_t i = first; i <= last; ++i) {
    fitSnps_[count] = i;
    count += static_cast<std::size_t>(static_cast<int>(analyzed.ValidFlag[i] == 1) &
                                     static_cast<int>(std::isfinite(analyzed.LogRatio[i])));
  }
  const std::span<const std::int32_t> snps(fitSnps_.data(), count);
  const auto xOf = [&](std::int32_t i) { return static_cast<double>(regressor[i]); };

  double n = 0.0, sumX = 0.0, sumY = 0.0;
  for (const std::int32_t i : snps) {
    n += 1.0;
    sumX += xOf(i);
    sumY += analyzed.LogRatio[i];
  }
  if (n < 1.0) return coefficients_.data();

  const int setting = Setting().RegressionMode;
  if (setting == kRegressNone) return coefficients_.data();
  const bool meanOnly = setting == kRegressMeanOnly || (setting == kRegressFragmentLengthOnly && mode == kFitGcContent) ||
                        (setting == kRegressGcOnly && mode == kFitFragmentLength);
  if (meanOnly) {
    coefficients_[0] = static_cast<float>(sumY / n);
    return coefficients_.data();
  }
  if (n < 3.0) return coefficients_.data();

  const double centre = sumX / n;
  double su2 = 0.0, su3 = 0.0, su4 = 0.0, sx2 = 0.0;
  for (const std::int32_t i : snps) {
    const double x = xOf(i);
    const double u = x - centre;
    su2 += u * u;
    su3 += u * u * u;
    su4 += u * u * u * u;
    sx2 += x * x;
  }
  // x (nearly) constant: no line, let alone a quadratic.
  if (!(su2 > kDegenerateShare * sx2)) return coefficients_.data();
  const double meanU2 = su2 / n;
  const double slopeU2 = su3 / su2;  // v = u^2 - meanU2 - slopeU2 * u

  const double meanY = sumY / n;
  double suy = 0.0, svy = 0.0, sv2 = 0.0;
  for (const std::int32_t i : snps) {
    const double u = xOf(i) - centre;
    const double v = u * u - meanU2 - slopeU2 * u;
    const double y = analyzed.LogRatio[i] - meanY;
    suy += u * y;
    svy += v * y;
    sv2 += v * v;
  }
  // x takes (nearly) two values: u^2 is a line in u and the quadratic is not
  // determined.
  if (!(sv2 > kDegenerateShare * su4)) return coefficients_.data();

  const double b2 = svy / sv2;
  const double b1 = suy / su2;
  // y = meanY + b1 u + b2 (u^2 - meanU2 - slopeU2 u), then u = x - centre.
  const double a2 = b2;
  const double a1 = b1 - b2 * slopeU2;
  const double a0 = meanY - b2 * meanU2;
  coefficients_[2] = static_cast<float>(a2);
  coefficients_[1] = static_cast<float>(a1 - 2.0 * a2 * centre);
  coefficients_[0] = static_cast<float>(a0 - a1 * centre + a2 * centre * centre);
  return coefficients_.data();
}

CAnalysis::CorrectionCurve CAnalysis::CorrectSeries(CAnalyzedData& analyzed, const CBasicData& basic, int mode,
                                                   std::int32_t first, std::int32_t last, bool alleles) {
  const float* c = FitQuadraticCorrection(analyzed, basic, mode);
  const CorrectionCurve curve{{c[0], c[1], c[2]}};
  if (c[0] == 0.0f && c[1] == 0.0f && c[2] == 0.0f) return curve;
  const Regressors& regressors = RegressorsOf(basic, RangesOf(analyzed.Header.ArrayType));
  const std::vector<float>& regressor = mode == kFitFragmentLength ? regressors.FragmentLength : regressors.GcContent;
  for (std::int32_t i = first; i <= last; ++i) {
    const float x = regressor[i];
    analyzed.LogRatio[i] = curve.Subtract(analyzed.LogRatio[i], x);
    if (alleles) {
      analyzed.LogRatioA[i] = curve.Subtract(analyzed.LogRatioA[i], x);
      analyzed.LogRatioB[i] = curve.Subtract(analyzed.LogRatioB[i], x);
    }
  }
  return curve;
}

CAnalysis::CorrectionCurves CAnalysis::CorrectFragmentLengthAndGc(CAnalyzedData& analyzed, const CBasicData& basic,
                                                                 std::int32_t first, std::int32_t last, bool alleles) {
  CorrectionCurves curves;
  curves.FragmentLength = CorrectSeries(analyzed, basic, kFitFragmentLength, first, last, alleles);
  curves.GcContent = CorrectSeries(analyzed, basic, kFitGcContent, first, last, alleles);
  return curves;
}

float CAnalysis::CalcCorrectedSD(const CArrayData& test, const CArrayData& reference, const CBasicData& basic) {
  const float unscorable = std::numeric_limits<float>::infinity();
  const ArrayTypeRanges ranges = RangesOf(test.Header.ArrayType);
  std::string problem = SizeProblem(ranges, basic, nullptr, &test);
  if (problem.empty()) problem = SizeProblem(ranges, basic, nullptr, &reference);
  if (!problem.empty()) {
    LogError("The reference " + reference.Header.SampleName + " cannot be scored: " + problem + "\n");
    return unscorable;
  }

  CAnalyzedData work;
  work.Header = test.Header;
  work.AnalysisArrayType = test.Header.ArrayType;
  work.Allocate(ranges.SnpCount, AnalysisKind::NonSelf);
  const auto [first, last] = ranges.ClampToRatios(test.Header.NonSelfBaseRange);
  for (std::int32_t i = first; i <= last; ++i) {
    const std::int32_t j = basic.IndexMap[i];
    work.LogRatio[i] = Log2Ratio(test.SignalA[j] + test.SignalB[j], reference.SignalA[j] + reference.SignalB[j]);
  }
  CorrectFragmentLengthAndGc(work, basic, first, last, false);

  double n = 0, sum = 0, sumOfSquares = 0;
  for (std::int32_t i = first; i <= last; ++i) {
    const double y = work.LogRatio[i];
    if (work.ValidFlag[i] == 0 || !std::isfinite(y)) continue;
    n += 1;
    sum += y;
    sumOfSquares += y * y;
  }
  const double sd = qova::analysis::SampleSD(n, sum, sumOfSquares);
  if (!std::isfinite(sd) || !(sd > 0.0)) {
    LogError("The reference " + reference.Header.SampleName + " cannot be scored against test sample " +
             test.Header.SampleName + "\n");
    return unscorable;
  }
  return static_cast<float>(sd);
}
