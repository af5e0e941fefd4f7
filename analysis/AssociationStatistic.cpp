// The per-SNP association statistic of one self-referenced sample: it replaces
// the total log2 ratio, so the views draw it like a copy-number profile.
#include <cmath>
#include <limits>

#include "analysis/Analysis.h"
#include "analysis/AnalysisMath.h"
#include "analysis/AssociationMethods.h"
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/BasicData.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

using namespace qova::analysis;

namespace {

constexpr const char* kNoSelfReference = "The self reference file does not exist in the ArrayData folder";

bool ReadsSelfReference(int method) { return method == kAssocModeling || method >= kAssocSignalRatios; }
bool ReadsNonSelfReferences(int method) {
  return method == kAssocModeling || method == kAssocScaledFractions || method == kAssocChiScaled;
}

}  // namespace

int CAnalysis::CalcAssociationStatistic(const CArrayData& test, CAnalyzedData& analyzed, const CBasicData& basic,
                                        int positiveCount, int negativeCount, int method) {
  if (method < 0 || method >= kAssociationMethodCount) return 0;
  const char* sample = test.Header.SampleName.c_str();
  const ArrayTypeRanges ranges = RangesOf(test.Header.ArrayType);
  const auto size = static_cast<std::size_t>(ranges.SnpCount);
  std::string problem = SizeProblem(ranges, basic, &analyzed, &test);
  if (problem.empty() && (analyzed.LogRatioA.size() < size || analyzed.LogRatioB.size() < size)) {
    problem = "the analysed sample has no allele ratios";
  }
  if (!problem.empty()) {
    LogError(platform::Format("The association statistic of sample %s is not computed: %s\n", sample,
                              problem.c_str()));
    return 1;
  }

  // Every file the method needs is found before anything changes, so a
  // failure leaves the normalised ratios in place.
  CArrayData self;
  if (ReadsSelfReference(method)) {
    if (!platform::FileExists(ArrayDataFolder + test.Header.SelfReference + ".CFH")) {
      AfxMessageBox(kNoSelfReference);
      return 1;
    }
    if (!LoadReferenceSample(test.Header.SelfReference, test.Header, self)) {
      AfxMessageBox(platform::Format("The self reference %s cannot be read", test.Header.SelfReference.c_str()));
      return 1;
    }
  }
  std::vector<std::string> references;
  if (ReadsNonSelfReferences(method)) {
    references = ReferenceNames(test.Header);
    if (references.empty()) {
      LogError(platform::Format("The reference is not selected for test sample %s\n", sample));
      return 1;
    }
    for (const std::string& name : references) {
      if (!platform::FileExists(ArrayDataFolder + name + ".CFH")) {
        LogError(platform::Format("The reference file does not exist for test sample %s\n", sample));
        return 1;
      }
    }
  }

  const std::int32_t first = ranges.First;
  const std::int32_t last = ranges.LastX;
  const SampleCounts counts{static_cast<double>(positiveCount), static_cast<double>(negativeCount)};
  std::vector<double> statistic(size, std::numeric_limits<double>::quiet_NaN());
  const auto& map = basic.IndexMap;
  const auto& testA = test.SignalA;
  const auto& testB = test.SignalB;

  switch (method) {
    case kAssocModelRatios:
    case kAssocChiRatios:
    case kAssocRatioProduct:
      for (std::int32_t i = first; i <= last; ++i) {
        statistic[i] = RatioStatistic(method, Exp2(analyzed.LogRatioA[i]), Exp2(analyzed.LogRatioB[i]), counts);
      }
      break;
    case kAssocSignalRatios:
      for (std::int32_t i = first; i <= last; ++i) {
        const std::int32_t j = map[i];
        statistic[i] = std::fabs(static_cast<double>(testA[j]) / testB[j] - static_cast<double>(self.SignalA[j]) /
                                                                                  self.SignalB[j]);
      }
      break;
    case kAssocFractions:
    case kAssocChiFractions:
      for (std::int32_t i = first; i <= last; ++i) {
        const std::int32_t j = map[i];
        const double pt = AlleleFraction(testA[j], testB[j]);
        const double pr = AlleleFraction(self.SignalA[j], self.SignalB[j]);
        statistic[i] = method == kAssocFractions ? 10.0 * std::fabs(pt - pr) : ContingencyStatistic(pt, pr, counts);
      }
      break;
    case kAssocScaledFractions:
    case kAssocChiScaled: {
      // k: the mean A/B signal balance of the references called AB here.
      std::vector<double> balance(size, 0.0);
      std::vector<std::int32_t> heterozygous(size, 0);
      CArrayData reference;
      for (const std::string& name : references) {
        if (!LoadReferenceSample(name, test.Header, reference)) {
          LogError(platform::Format("The reference file %s cannot be read for test sample %s\n", name.c_str(),
                                    sample));
          return 1;
        }
        for (std::int32_t i = first; i <= last; ++i) {
          const std::int32_t j = map[i];
          const double ratio = static_cast<double>(reference.SignalA[j]) / reference.SignalB[j];
          if (reference.Call[j] != kCallAB || !std::isfinite(ratio)) continue;
          balance[i] += ratio;
          ++heterozygous[i];
        }
      }
      for (std::int32_t i = first; i <= last; ++i) {
        if (heterozygous[i] == 0) continue;
        const std::int32_t j = map[i];
        const double k = balance[i] / heterozygous[i];
        const double pt = AlleleFraction(testA[j], testB[j], k);
        const double pr = AlleleFraction(self.SignalA[j], self.SignalB[j], k);
        statistic[i] =
            method == kAssocScaledFractions ? 10.0 * std::fabs(pt - pr) : ContingencyStatistic(pt, pr, counts);
      }
      break;
    }
    case kAssocModeling:
      if (!ModelAlleleFractions(test, self, references, basic, counts, statistic)) return 1;
      break;
    default:
      break;
  }

  // A statistic that is not a number (a zero signal or count, too few
  // references of a genotype) marks the SNP unused instead of drawing it.
  std::int32_t valid = 0;
  for (std::int32_t i = first; i <= last; ++i) {
    if (std::isfinite(statistic[i])) {
      analyzed.LogRatio[i] = static_cast<float>(statistic[i]);
    } else {
      analyzed.LogRatio[i] = 0.0f;
      analyzed.ValidFlag[i] = 0;
    }
    if (analyzed.ValidFlag[i] != 0) ++valid;
  }
  return valid > 0 ? 0 : kNoValidAssociationSnp;
}

bool CAnalysis::ModelAlleleFractions(const CArrayData& test, const CArrayData& self,
                                     const std::vector<std::string>& references, const CBasicData& basic,
                                     const qova::analysis::SampleCounts& counts, std::vector<double>& statistic) {
  const ArrayTypeRanges ranges = RangesOf(test.Header.ArrayType);
  const std::int32_t first = ranges.First;
  const std::int32_t last = ranges.LastX;
  const auto& map = basic.IndexMap;

  // A reference's signals brought to the test's level: scaled by the
  // fragment-length and GC curves fitted to its total ratio against the test.
  CAnalyzedData work;
  work.Header = test.Header;
  work.AnalysisArrayType = test.Header.ArrayType;
  work.Allocate(ranges.SnpCount, AnalysisKind::NonSelf);
  const auto levelScale = [&](const CArrayData& reference, std::vector<double>& scale) {
    std::fill(work.ValidFlag.begin(), work.ValidFlag.end(), 1);
    for (std::int32_t i = first; i <= last; ++i) {
      const std::int32_t j = map[i];
      work.LogRatio[i] = Log2Ratio(reference.SignalA[j] + reference.SignalB[j], test.SignalA[j] + test.SignalB[j]);
    }
    CorrectFragmentLengthAndGc(work, basic, first, last, false);
    scale.assign(work.LogRatio.size(), 0.0);
    for (std::int32_t i = first; i <= last; ++i) {
      const std::int32_t j = map[i];
      const double totalTest = static_cast<double>(test.SignalA[j]) + test.SignalB[j];
      const double totalReference = static_cast<double>(reference.SignalA[j]) + reference.SignalB[j];
      scale[i] = totalTest * Exp2(work.LogRatio[i]) / totalReference;
    }
  };

  std::vector<AlleleLineFit> lines(static_cast<std::size_t>(ranges.SnpCount));
  std::vector<double> scale;
  CArrayData reference;
  for (const std::string& name : references) {
    if (!LoadReferenceSample(name, test.Header, reference)) {
      LogError(platform::Format("The reference file %s cannot be read for test sample %s\n", name.c_str(),
                                test.Header.SampleName.c_str()));
      return false;
    }
    levelScale(reference, scale);
    for (std::int32_t i = first; i <= last; ++i) {
      const std::int32_t j = map[i];
      const double expectedA = scale[i] * reference.SignalA[j];
      const double expectedB = scale[i] * reference.SignalB[j];
      // A reference without signal here says nothing about the lines.
      if (!std::isfinite(expectedA) || !std::isfinite(expectedB)) continue;
      lines[i].Add(reference.Call[j], expectedA, expectedB);
    }
  }

  levelScale(self, scale);
  for (std::int32_t i = first; i <= last; ++i) {
    if (!lines[i].Determined()) continue;
    const std::int32_t j = map[i];
    const double pt = lines[i].Fraction(test.SignalA[j], test.SignalB[j]);
    const double pr = lines[i].Fraction(scale[i] * self.SignalA[j], scale[i] * self.SignalB[j]);
    statistic[i] = ContingencyStatistic(pt, pr, counts);
  }
  return true;
}
