// Log2 ratios of a test sample against unrelated reference samples. Each
// reference is first corrected for its own fragment-length and GC bias relative
// to the test; the corrected references are then averaged in linear scale.
#include <algorithm>
#include <cmath>

#include "analysis/Analysis.h"
#include "analysis/AnalysisMath.h"
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/BasicData.h"
#include "core/ProgramSetting.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

using qova::analysis::Exp2;
using qova::analysis::Log2OfRatio;
using qova::analysis::Log2Ratio;

namespace {

// An allele-specific SNP is taken as heterozygous in the reference pool when
// its ratios look balanced or its LOH score is this high.
constexpr float kBalancedAlleleMargin = 0.1f;
constexpr float kLohScoreForHeterozygous = 30.0f;

// Replaces the allele signals by their values without the share each allele
// leaks into the other's probes (leak rate c). A signal that comes out at or
// below 0 becomes 1.0, so that its ratio stays finite.
void CompensateLeakage(std::vector<float>& a, std::vector<float>& b, float c) {
  const float scale = 1.0f - c * c;
  for (std::size_t j = 0; j < a.size(); ++j) {
    float ca = (a[j] - c * b[j]) / scale;
    float cb = (b[j] - c * a[j]) / scale;
    a[j] = ca > 0.0f ? ca : 1.0f;
    b[j] = cb > 0.0f ? cb : 1.0f;
  }
}

bool UsesLeakageCompensation(const CProgramSetting& setting) {
  const float c = setting.MorekomiRate;
  return setting.MorekomiCompensation != 0 && std::isfinite(c) && c * c != 1.0f;
}

// The total-HMM baseline of a non-self base range: mode 1 with N copies other
// than 2 moves the ratios to the mean of state N.
void ApplyNonSelfBaseline(CAnalyzedData& analyzed, std::int32_t first, std::int32_t last) {
  const auto& base = analyzed.Header.NonSelfBaseRange;
  const std::int32_t copies = base[kBaseCopyNumber];
  if (base[kBaseMode] != 1 || copies == 2 || copies < 0 || copies >= kHmmStateCount) return;
  const float shift = analyzed.Header.HmmMeans[copies];
  for (std::int32_t i = first; i <= last; ++i) analyzed.LogRatio[i] += shift;
}

}  // namespace

int CAnalysis::NormalizeByReferences(CArrayData& test, const CBasicData& basic, CAnalyzedData& analyzed) {
  const char* kind = test.Header.IsTest != 0 ? "test" : "reference";
  const char* name = test.Header.SampleName.c_str();
  const std::vector<std::string> names = ReferenceNames(test.Header);
  if (names.empty()) {
    LogError(platform::Format("The reference is not selected for %s sample %s\n", kind, name));
    return 1;
  }
  for (const std::string& reference : names) {
    if (!platform::FileExists(ArrayDataFolder + reference + ".CFH")) {
      LogError(platform::Format("The reference file does not exist for %s sample %s\n", kind, name));
      return 1;
    }
  }

  const bool alleles = Setting().NONSELFALLELE != 0;
  const ArrayTypeRanges ranges = RangesOf(test.Header.ArrayType);
  const std::string problem =
      SizeProblem(ranges, basic, &analyzed, &test, alleles ? kNeedsAlleles | kNeedsLoh : kNeedsTotal);
  if (!problem.empty()) {
    LogError(platform::Format("The %s sample %s cannot be analysed: %s\n", kind, name, problem.c_str()));
    return 1;
  }

  NonSelfSums sums;
  StartNonSelf(test, basic, analyzed, alleles, sums);
  // One reference in memory at a time: ten references of the largest arrays
  // would otherwise hold some 65 MB for nothing.
  CArrayData reference;
  for (const std::string& referenceName : names) {
    if (!LoadReferenceSample(referenceName, test.Header, reference)) {
      LogError(platform::Format("The reference file %s cannot be read for %s sample %s\n", referenceName.c_str(),
                                kind, name));
      return 1;
    }
    AddNonSelfReference(reference, basic, analyzed, sums);
  }
  FinishNonSelf(test, basic, analyzed, sums);
  return 0;
}

void CAnalysis::StartNonSelf(const CArrayData& test, const CBasicData& basic, CAnalyzedData& analyzed, bool alleles,
                             NonSelfSums& sums) {
  const ArrayTypeRanges ranges = RangesOf(test.Header.ArrayType);
  const auto n = static_cast<std::size_t>(ranges.SnpCount);
  sums = NonSelfSums{};
  sums.Alleles = alleles;
  // The test's values are gathered into position order once; each reference
  // is then read through the index map a single time.
  sums.TestA.assign(n, 0.0f);
  sums.TestB.assign(n, 0.0f);
  sums.TestTotal.assign(n, 0.0f);
  StartValidity(analyzed, ranges.First, ranges.Last);
  for (std::int32_t i = ranges.First; i <= ranges.LastX; ++i) {
    const std::int32_t j = basic.IndexMap[i];
    sums.TestA[i] = test.SignalA[j];
    sums.TestB[i] = test.SignalB[j];
    sums.TestTotal[i] = test.SignalA[j] + test.SignalB[j];
    analyzed.CallTest[i] = test.Call[j];
  }

  if (!alleles) {
    sums.Total.assign(n, 0.0);
    return;
  }
  if (UsesLeakageCompensation(Setting())) CompensateLeakage(sums.TestA, sums.TestB, Setting().MorekomiRate);
  sums.CountAB.assign(n, 0);
  sums.CountSame.assign(n, 0);
  sums.SumABA.assign(n, 0.0);
  sums.SumABB.assign(n, 0.0);
  sums.SumSame.assign(n, 0.0);
  AnalyzeLOHWithLD(analyzed, basic);
}

void CAnalysis::AddNonSelfReference(const CArrayData& reference, const CBasicData& basic, CAnalyzedData& analyzed,
                                    NonSelfSums& sums) {
  const ArrayTypeRanges ranges = RangesOf(analyzed.Header.ArrayType);
  const std::int32_t first = ranges.First;
  const std::int32_t last = ranges.LastX;
  ++sums.References;

  if (!sums.Alleles) {
    std::vector<float> referenceTotal(static_cast<std::size_t>(ranges.SnpCount));
    for (std::int32_t j = 0; j < ranges.SnpCount; ++j) referenceTotal[j] = reference.SignalA[j] + reference.SignalB[j];
    for (std::int32_t i = first; i <= last; ++i) {
      analyzed.LogRatio[i] = Log2Ratio(referenceTotal[basic.IndexMap[i]], sums.TestTotal[i]);
    }
    CorrectFragmentLengthAndGc(analyzed, basic, first, last, false);
    for (std::int32_t i = first; i <= last; ++i) sums.Total[i] += Exp2(analyzed.LogRatio[i]);
    return;
  }

  std::vector<float>& refA = sums.ReferenceA;
  std::vector<float>& refB = sums.ReferenceB;
  std::vector<std::int32_t>& refCall = sums.ReferenceCall;
  refA.resize(static_cast<std::size_t>(ranges.SnpCount));
  refB.resize(refA.size());
  refCall.resize(refA.size());
  for (std::int32_t i = first; i <= last; ++i) {
    const std::int32_t j = basic.IndexMap[i];
    refA[i] = reference.SignalA[j];
    refB[i] = reference.SignalB[j];
    refCall[i] = reference.Call[j];
  }
  if (UsesLeakageCompensation(Setting())) CompensateLeakage(refA, refB, Setting().MorekomiRate);

  for (std::int32_t i = first; i <= last; ++i) {
    const float aRef = refA[i], bRef = refB[i];
    const float aTest = sums.TestA[i], bTest = sums.TestB[i];
    const std::int32_t call = analyzed.CallTest[i];
    // A heterozygous reference adds both allele ratios to its class sums
    // (below); the last step writes both allele ratios of every SNP anew.
    if (refCall[i] == kCallAB) {
      analyzed.LogRatioA[i] = Log2Ratio(aRef, aTest);
      analyzed.LogRatioB[i] = Log2Ratio(bRef, bTest);
    }
    // Where both samples carry the same genotype the ratio comes from the
    // alleles they actually have. Elsewhere the SNP takes no part in the fits
    // or the sums; its total ratio is kept only where no reference class
    // gives one, and the last step forms it there from the last reference.
    const bool valid = call == refCall[i] && (call == kCallA || call == kCallAB || call == kCallB);
    if (valid && call == kCallA) {
      analyzed.LogRatio[i] = Log2Ratio(aRef, aTest);
    } else if (valid && call == kCallB) {
      analyzed.LogRatio[i] = Log2Ratio(bRef, bTest);
    } else if (valid) {
      analyzed.LogRatio[i] = Log2OfRatio((aRef / aTest + bRef / bTest) / 2.0f);
    }
    analyzed.ValidFlag[i] = valid ? UsableFlag(i) : 0;
  }
  // The curves are fitted on the total ratio and subtracted from it. The
  // allele ratios are corrected by them where a class sum takes them, not
  // over the whole sample; where the reference is homozygous like the test
  // the total ratio is that allele's, corrected already.
  const CorrectionCurves curves = CorrectFragmentLengthAndGc(analyzed, basic, first, last, false);
  sums.ReferenceCurves = curves;
  const Regressors& regressors = RegressorsOf(basic, ranges);
  const auto corrected = [&](float ratio, std::int32_t i) {
    return curves.Subtract(ratio, regressors.FragmentLength[i], regressors.GcContent[i]);
  };

  for (std::int32_t i = first; i <= last; ++i) {
    if (refCall[i] == kCallAB) {
      ++sums.CountAB[i];
      sums.SumABA[i] += Exp2(corrected(analyzed.LogRatioA[i], i));
      sums.SumABB[i] += Exp2(corrected(analyzed.LogRatioB[i], i));
    } else if (refCall[i] == analyzed.CallTest[i] && (refCall[i] == kCallA || refCall[i] == kCallB)) {
      ++sums.CountSame[i];
      sums.SumSame[i] += Exp2(analyzed.LogRatio[i]);
    }
  }
}

void CAnalysis::FinishNonSelf(const CArrayData& test, const CBasicData& basic, CAnalyzedData& analyzed,
                              const NonSelfSums& sums) {
  const ArrayTypeRanges ranges = RangesOf(test.Header.ArrayType);
  const std::int32_t first = ranges.First;
  const std::int32_t last = ranges.LastX;

  if (!sums.Alleles) {
    // The sums hold reference/test; n over them is the test over the mean
    // corrected reference.
    const double n = sums.References;
    for (std::int32_t i = first; i <= last; ++i) {
      analyzed.LogRatio[i] = Log2OfRatio(static_cast<float>(n / sums.Total[i]));
    }
  } else {
    // The corrected total ratio of the last reference, at a SNP where its
    // call differs from the test's (nowhere else is it asked for).
    const Regressors& regressors = RegressorsOf(basic, ranges);
    const auto lastReferenceTotal = [&](std::int32_t i) {
      const float ratio = Log2Ratio(sums.ReferenceA[i] + sums.ReferenceB[i], sums.TestA[i] + sums.TestB[i]);
      return sums.ReferenceCurves.Subtract(ratio, regressors.FragmentLength[i], regressors.GcContent[i]);
    };
    for (std::int32_t i = first; i <= last; ++i) {
      analyzed.ValidFlag[i] = UsableFlag(i);
      const std::int32_t call = analyzed.CallTest[i];
      if (sums.CountAB[i] == 0) {
        analyzed.LogRatioA[i] = 0.0f;
        analyzed.LogRatioB[i] = 0.0f;
        analyzed.CallReference[i] = kCallA;
      } else {
        const double n = sums.CountAB[i];
        const double sa = sums.SumABA[i], sb = sums.SumABB[i];
        analyzed.LogRatioA[i] = Log2OfRatio(static_cast<float>(n / std::min(sa, sb)));
        analyzed.LogRatioB[i] = Log2OfRatio(static_cast<float>(n / std::max(sa, sb)));
        analyzed.LogRatio[i] = Log2OfRatio(static_cast<float>((n / sa + n / sb) / 2.0));
        const bool balanced = call == kCallAB || analyzed.LogRatioB[i] >= -kBalancedAlleleMargin ||
                              analyzed.LogRatioA[i] <= kBalancedAlleleMargin ||
                              analyzed.LohLikelihood[i] >= kLohScoreForHeterozygous;
        analyzed.CallReference[i] = balanced ? kCallAB : kCallA;
      }
      if (analyzed.CallReference[i] == kCallA) {
        // Not heterozygous here: the total comes from the references of the
        // test's own homozygous genotype, if there are any.
        if ((call == kCallA || call == kCallB) && sums.CountSame[i] > 0) {
          analyzed.LogRatio[i] = Log2OfRatio(static_cast<float>(sums.CountSame[i] / sums.SumSame[i]));
        } else {
          analyzed.ValidFlag[i] = 0;
          // No reference class gives a total here, and none was
          // heterozygous: the SNP keeps the last reference's total ratio.
          if (sums.CountAB[i] == 0 && sums.References > 0) analyzed.LogRatio[i] = lastReferenceTotal(i);
        }
      }
      if (i > ranges.LastAutosomes && analyzed.CallReference[i] != kCallAB) analyzed.ValidFlag[i] = 0;
    }
  }
  ApplyNonSelfBaseline(analyzed, first, last);
  InvalidateOutOfRange(analyzed, first, last);
}
