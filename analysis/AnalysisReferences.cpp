// How many of the best-ranked candidate references a non-self analysis should
// average: the number whose joint use gives the test sample the smallest SD.
#include <cmath>

#include "analysis/Analysis.h"
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/BasicData.h"
#include "core/ProgramSetting.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

int CAnalysis::NormalizeForReferenceSelection(const CArrayData& test, CAnalyzedData& analyzed,
                                              const std::vector<std::string>& candidates, int n,
                                              const CBasicData& basic) {
  const char* sample = test.Header.SampleName.c_str();
  const int count = std::min(n, static_cast<int>(candidates.size()));
  const bool alleles = Setting().NONSELFALLELE != 0;
  const ArrayTypeRanges ranges = RangesOf(test.Header.ArrayType);
  std::string problem = SizeProblem(ranges, basic, &analyzed, &test);
  const auto size = static_cast<std::size_t>(ranges.SnpCount);
  if (problem.empty() && alleles &&
      (analyzed.LogRatioA.size() < size || analyzed.LogRatioB.size() < size ||
       analyzed.CallReference.size() < size || analyzed.LohLikelihood.size() < size)) {
    problem = "the analysed sample has no room for the allele ratios";
  }
  if (!problem.empty()) {
    LogError(platform::Format("The references of sample %s cannot be chosen: %s\n", sample, problem.c_str()));
    return 1;
  }
  if (count < 1) return 1;

  // The sums over the first k candidates are the sums over the first k - 1
  // plus candidate k, so each candidate is read and corrected once. Each one
  // starts from the validity the normalisation starts with, as it would in a
  // normalisation against exactly those k references.
  NonSelfSums sums;
  StartNonSelf(test, basic, analyzed, alleles, sums);
  const std::vector<std::int32_t> startValidity(analyzed.ValidFlag.begin(), analyzed.ValidFlag.begin() + size);

  int chosen = 1;
  float smallest = 0.0f;
  bool found = false;
  CArrayData reference;
  for (int k = 1; k <= count; ++k) {
    const std::string& name = candidates[k - 1];
    // A candidate that cannot be read ends the trial: the caller takes the
    // leading k candidates, so none after it can be chosen either.
    if (!platform::FileExists(ArrayDataFolder + name + ".CFH")) {
      LogError(platform::Format("The candidate reference %s does not exist for test sample %s\n", name.c_str(),
                                sample));
      break;
    }
    if (!LoadReferenceSample(name, test.Header, reference)) {
      LogError(platform::Format("The candidate reference %s cannot be read for test sample %s\n", name.c_str(),
                                sample));
      break;
    }
    std::copy(startValidity.begin(), startValidity.end(), analyzed.ValidFlag.begin());
    AddNonSelfReference(reference, basic, analyzed, sums);
    FinishNonSelf(test, basic, analyzed, sums);
    const float sd = CalcSD(analyzed);
    // An SD that could not be computed (too few valid SNPs) ranks nowhere.
    if (!(std::isfinite(sd) && sd > 0.0f)) continue;
    if (!found || sd < smallest) {
      found = true;
      smallest = sd;
      chosen = k;
    }
  }
  return chosen;
}
