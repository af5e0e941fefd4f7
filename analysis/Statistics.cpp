// Small numerical services over an analysed sample: the moving average the
// HMMs may run on, the SD and mean state stored with each result, and the copy
// that reorders a sample into a combined one.
#include <algorithm>
#include <cmath>

#include "analysis/Analysis.h"
#include "analysis/AnalysisMath.h"
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/BasicData.h"
#include "core/ProgramSetting.h"
#include "platform/Strings.h"

void CAnalysis::SmoothMovingAverage(const CAnalyzedData& analyzed, std::vector<float>& output, int series) {
  const ArrayTypeRanges ranges = RangesOf(analyzed.Header.ArrayType);
  const auto n = static_cast<std::size_t>(ranges.SnpCount);
  const std::vector<float>& values = series == kSeriesAlleleA   ? analyzed.LogRatioA
                                     : series == kSeriesAlleleB ? analyzed.LogRatioB
                                                                : analyzed.LogRatio;
  const bool alleles = series == kSeriesAlleleA || series == kSeriesAlleleB;
  if (values.size() < n || analyzed.ValidFlag.size() < n || (alleles && analyzed.CallReference.size() < n)) {
    LogError("The ratios of sample " + analyzed.Header.SampleName + " cannot be smoothed: the sample has no room " +
             "for the array type's SNPs\n");
    return;
  }
  if (output.size() < n) output.resize(n, 0.0f);

  const int window = std::max(1, Setting().MovingAverageWindow);
  const int left = window / 2;
  const int right = window - left - 1;
  const std::vector<std::int32_t>& valid = analyzed.ValidFlag;
  for (int c = 1; c <= kChromosomeX; ++c) {
    const std::int32_t begin = ranges.ChromosomeBegin(c);
    const std::int32_t end = ranges.ChromosomeEnd(c);
    for (std::int32_t i = begin; i < end; ++i) {
      if (valid[i] == 0 || (alleles && analyzed.CallReference[i] != kCallAB)) continue;
      // Neighbours count by validity alone, also for the allele series: a
      // homozygous neighbour contributes its allele ratio.
      double sum = values[i];
      int count = 1;
      int added = 0;
      for (std::int32_t k = i - 1; k >= begin && added < left; --k) {
        if (valid[k] == 0) continue;
        sum += values[k];
        ++added;
      }
      count += added;
      added = 0;
      for (std::int32_t k = i + 1; k < end && added < right; ++k) {
        if (valid[k] == 0) continue;
        sum += values[k];
        ++added;
      }
      count += added;
      output[i] = static_cast<float>(sum / count);
    }
  }
}

float CAnalysis::CalcSD(const CAnalyzedData& analyzed) {
  const ArrayTypeRanges ranges = RangesOf(analyzed.Header.ArrayType);
  const auto [first, last] = ranges.ClampToRatios(analyzed.Header.NonSelfBaseRange);
  const std::int32_t size = static_cast<std::int32_t>(std::min(analyzed.LogRatio.size(), analyzed.ValidFlag.size()));
  double n = 0, sum = 0, sumOfSquares = 0;
  for (std::int32_t i = first; i <= std::min(last, size - 1); ++i) {
    const double y = analyzed.LogRatio[i];
    if (analyzed.ValidFlag[i] == 0 || !std::isfinite(y)) continue;
    n += 1;
    sum += y;
    sumOfSquares += y * y;
  }
  const double sd = qova::analysis::SampleSD(n, sum, sumOfSquares);
  if (!std::isfinite(sd)) {
    LogError(platform::Format("The SD of sample %s cannot be computed: %d SNPs of its base range are valid\n",
                              analyzed.Header.SampleName.c_str(), static_cast<int>(n)));
    return 0.0f;
  }
  return static_cast<float>(sd);
}

float CAnalysis::CalcMeanState(const CAnalyzedData& analyzed) {
  const std::int32_t size =
      static_cast<std::int32_t>(std::min(analyzed.CopyNumberState.size(), analyzed.ValidFlag.size()));
  const std::int32_t first = std::max(0, analyzed.Header.FirstSnpIndex);
  const std::int32_t last = std::min(analyzed.Header.LastAutosomeSnpIndex, size - 1);
  std::int64_t sum = 0;
  std::int64_t count = 0;
  for (std::int32_t i = first; i <= last; ++i) {
    if (analyzed.ValidFlag[i] == 0) continue;
    sum += analyzed.CopyNumberState[i];
    ++count;
  }
  if (count == 0) return 0.0f;
  return static_cast<float>(sum) / static_cast<float>(count);
}

namespace {

template <typename T>
bool CanCopy(const std::vector<T>& source, const std::vector<T>& destination, std::int32_t sourceSize,
             std::int32_t destinationSize) {
  return static_cast<std::int64_t>(source.size()) >= sourceSize &&
         static_cast<std::int64_t>(destination.size()) >= destinationSize;
}

template <typename T>
void CopySorted(const std::vector<T>& source, std::vector<T>& destination, const std::vector<std::int32_t>& sortMap,
                std::int32_t last) {
  for (std::int32_t i = 0; i <= last; ++i) destination[i] = source[sortMap[i]];
}

}  // namespace

void CAnalysis::CopyToCombinedArray(const CAnalyzedData& source, const CBasicData& basic, CAnalyzedData& destination) {
  const ArrayTypeRanges ranges = RangesOf(destination.Header.ArrayType);
  const std::int32_t last = ranges.LastX;
  const bool alleles = destination.Header.SelfAnalyzed;
  // The destination is written up to the end of X, the source read wherever
  // SortMap points.
  const std::int32_t destinationSize = last + 1;
  const std::int32_t sourceSize = static_cast<std::int32_t>(source.LogRatio.size());
  bool fits = static_cast<std::int64_t>(basic.SortMap.size()) >= destinationSize &&
              CanCopy(source.LogRatio, destination.LogRatio, sourceSize, destinationSize) &&
              CanCopy(source.CopyNumberState, destination.CopyNumberState, sourceSize, destinationSize) &&
              CanCopy(source.ValidFlag, destination.ValidFlag, sourceSize, destinationSize) &&
              CanCopy(source.CallTest, destination.CallTest, sourceSize, destinationSize);
  for (std::int32_t i = 0; fits && i < destinationSize; ++i) {
    fits = basic.SortMap[i] >= 0 && basic.SortMap[i] < sourceSize;
  }
  if (alleles) {
    fits = fits && CanCopy(source.LogRatioA, destination.LogRatioA, sourceSize, destinationSize) &&
           CanCopy(source.LogRatioB, destination.LogRatioB, sourceSize, destinationSize) &&
           CanCopy(source.AlleleStateA, destination.AlleleStateA, sourceSize, destinationSize) &&
           CanCopy(source.AlleleStateB, destination.AlleleStateB, sourceSize, destinationSize) &&
           CanCopy(source.CallReference, destination.CallReference, sourceSize, destinationSize);
  }
  if (!fits) {
    LogError("The sample " + source.Header.SampleName + " cannot be combined: its arrays do not fit the type " +
             destination.Header.ArrayType + "\n");
    return;
  }

  const std::vector<std::int32_t>& sortMap = basic.SortMap;
  CopySorted(source.LogRatio, destination.LogRatio, sortMap, last);
  CopySorted(source.CopyNumberState, destination.CopyNumberState, sortMap, last);
  CopySorted(source.ValidFlag, destination.ValidFlag, sortMap, last);
  CopySorted(source.CallTest, destination.CallTest, sortMap, last);
  if (alleles) {
    CopySorted(source.LogRatioA, destination.LogRatioA, sortMap, last);
    CopySorted(source.LogRatioB, destination.LogRatioB, sortMap, last);
    CopySorted(source.AlleleStateA, destination.AlleleStateA, sortMap, last);
    CopySorted(source.AlleleStateB, destination.AlleleStateB, sortMap, last);
    CopySorted(source.CallReference, destination.CallReference, sortMap, last);
  }
}
