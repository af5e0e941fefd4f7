// Log2 ratios of a test sample against its paired normal sample.
#include <algorithm>
#include <cmath>
#include <utility>

#include "analysis/Analysis.h"
#include "analysis/AnalysisMath.h"
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/BasicData.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

using qova::analysis::Log2Ratio;

namespace {

constexpr const char* kSelfReferenceMissing = "The self reference file does not exist in the ArrayData folder";

// Baseline mode of a base range that takes the shift from the total HMM means.
constexpr std::int32_t kBaselineFromTotalMeans = 1;
constexpr std::int32_t kBaselineFromAlleleA = 2;

void ShiftAll(CAnalyzedData& analyzed, std::int32_t first, std::int32_t last, float shift) {
  for (std::int32_t i = first; i <= last; ++i) {
    analyzed.LogRatio[i] += shift;
    analyzed.LogRatioA[i] += shift;
    analyzed.LogRatioB[i] += shift;
  }
}

}  // namespace

int CAnalysis::NormalizeBySelfReference(CArrayData& test, const CBasicData& basic, CAnalyzedData& analyzed) {
  const std::string path = ArrayDataFolder + test.Header.SelfReference + ".CFH";
  if (test.Header.SelfReference.empty() || !platform::FileExists(path)) {
    AfxMessageBox(kSelfReferenceMissing);
    return 1;
  }
  const ArrayTypeRanges ranges = RangesOf(test.Header.ArrayType);
  if (const std::string problem = SizeProblem(ranges, basic, &analyzed, &test, kNeedsAlleles); !problem.empty()) {
    AfxMessageBox("The sample cannot be analysed: " + problem);
    return 1;
  }
  CArrayData reference;
  if (!LoadReferenceSample(test.Header.SelfReference, test.Header, reference)) {
    AfxMessageBox("The self reference file cannot be read: " + path);
    return 1;
  }

  const std::int32_t first = ranges.First;
  const std::int32_t last = ranges.LastX;
  StartValidity(analyzed, ranges.First, ranges.Last);
  for (std::int32_t i = first; i <= last; ++i) {
    const std::int32_t j = basic.IndexMap[i];
    analyzed.LogRatio[i] = Log2Ratio(test.SignalA[j] + test.SignalB[j], reference.SignalA[j] + reference.SignalB[j]);
    analyzed.LogRatioA[i] = Log2Ratio(test.SignalA[j], reference.SignalA[j]);
    analyzed.LogRatioB[i] = Log2Ratio(test.SignalB[j], reference.SignalB[j]);
    analyzed.CallTest[i] = test.Call[j];
    analyzed.CallReference[i] = reference.Call[j];
  }

  CorrectFragmentLengthAndGc(analyzed, basic, first, last, true);

  const auto& base = analyzed.Header.SelfBaseRange;
  const std::int32_t mode = base[kBaseMode];
  const std::int32_t copies = base[kBaseCopyNumber];
  if (mode == kBaselineFromTotalMeans) {
    if (copies != 2 && copies >= 0 && copies < kHmmStateCount) {
      ShiftAll(analyzed, first, last, analyzed.Header.HmmMeans[copies]);
    }
  } else if (copies >= 0 && copies < kAlleleHmmStateCount) {
    // The heterozygous SNPs of the base range carry the allele baseline. An
    // allele ratio that is not finite (a zero allele signal) says nothing
    // about it; with no usable SNP there is no shift at all.
    const std::vector<float>& allele = mode == kBaselineFromAlleleA ? analyzed.LogRatioA : analyzed.LogRatioB;
    const auto [from, to] = ranges.ClampToRatios(base);
    double sum = 0.0;
    double count = 0.0;
    for (std::int32_t i = from; i <= to; ++i) {
      if (analyzed.ValidFlag[i] != 1 || analyzed.CallReference[i] != kCallAB || !std::isfinite(allele[i])) continue;
      sum += allele[i];
      count += 1.0;
    }
    if (count > 0.0) {
      const float mean = static_cast<float>(sum / count);
      ShiftAll(analyzed, first, last, -(mean - analyzed.Header.AlleleHmmMeans[copies]));
    }
  }

  for (std::int32_t i = first; i <= last; ++i) {
    if (analyzed.LogRatioA[i] < analyzed.LogRatioB[i]) std::swap(analyzed.LogRatioA[i], analyzed.LogRatioB[i]);
  }
  InvalidateOutOfRange(analyzed, first, last);
  return 0;
}
