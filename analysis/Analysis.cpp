#include "analysis/Analysis.h"

#include <algorithm>
#include <exception>

#include "analysis/AnalysisMath.h"
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "platform/ErrorLog.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

CAnalysis::CAnalysis(const CGlobalData& global) : global_(global) {}
CAnalysis::~CAnalysis() = default;

const CProgramSetting& CAnalysis::Setting() const { return *global_.ProgramSetting; }

ArrayTypeRanges CAnalysis::RangesOf(const std::string& arrayType) const {
  const int type = ArrayTypeIndex(arrayType);
  ArrayTypeRanges ranges;
  ranges.Type = type;
  ranges.ChromosomeStarts = global_.ArrayChromosomeStarts[type];
  ranges.First = global_.ArrayFirstSnpIndex[type];
  ranges.Last = global_.ArrayLastSnpIndex[type];
  ranges.LastX = global_.ArrayLastSnpIndexX[type];
  ranges.LastAutosomes = global_.ArrayLastSnpIndexAutosomes[type];
  ranges.SnpCount = global_.ArraySnpCount[type];
  return ranges;
}

namespace {

template <typename T>
bool TooShort(const std::vector<T>& column, std::int32_t needed) {
  return static_cast<std::int64_t>(column.size()) < needed;
}

}  // namespace

std::string CAnalysis::SizeProblem(const ArrayTypeRanges& ranges, const CBasicData& basic,
                                   const CAnalyzedData* analyzed, const CArrayData* extracted, unsigned needs) {
  const std::int32_t n = ranges.SnpCount;
  if (basic.Capacity() < n || TooShort(basic.IndexMap, n) || TooShort(basic.SortMap, n) ||
      TooShort(basic.FragmentLength, n) || TooShort(basic.GcContent, n) || TooShort(basic.Heterozygosity, n)) {
    return platform::Format("the annotation table holds %d SNPs, the array type needs %d", basic.Capacity(), n);
  }
  if (analyzed != nullptr &&
      (TooShort(analyzed->LogRatio, n) || TooShort(analyzed->ValidFlag, n) || TooShort(analyzed->CallTest, n))) {
    return platform::Format("the analysed sample %s has room for %d SNPs, the array type needs %d",
                            analyzed->Header.SampleName.c_str(), static_cast<int>(analyzed->LogRatio.size()), n);
  }
  if (analyzed != nullptr && (needs & kNeedsAlleles) != 0 &&
      (TooShort(analyzed->LogRatioA, n) || TooShort(analyzed->LogRatioB, n) || TooShort(analyzed->CallReference, n))) {
    return "the analysed sample " + analyzed->Header.SampleName + " has no room for the allele ratios";
  }
  if (analyzed != nullptr && (needs & kNeedsLoh) != 0 && TooShort(analyzed->LohLikelihood, n)) {
    return "the analysed sample " + analyzed->Header.SampleName + " has no room for the LOH likelihood";
  }
  if (extracted != nullptr && extracted->Capacity() < n) {
    return platform::Format("the sample %s has room for %d SNPs, the array type needs %d",
                            extracted->Header.SampleName.c_str(), extracted->Capacity(), n);
  }
  return {};
}

void CAnalysis::LogError(const std::string& line) {
  // The log brings its own line end; the messages carry theirs as written.
  std::string_view text = line;
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  platform::AppendErrorLog(text);
}

std::vector<std::string> CAnalysis::ReferenceNames(const SampleHeader& header) {
  return NonSelfReferenceNames(header);
}

bool CAnalysis::LoadReferenceSample(const std::string& name, const SampleHeader& test, CArrayData& reference) const {
  const std::int32_t snpCount = RangesOf(test.ArrayType).SnpCount;
  reference.Allocate(snpCount);
  try {
    reference.LoadFile(ArrayDataFolder + name + ".CFH");
  } catch (const std::exception&) {
    return false;
  }
  return reference.Header.ArrayType == test.ArrayType && reference.Capacity() >= snpCount;
}

std::int32_t CAnalysis::UsableFlag(std::int32_t i) const {
  if (UsableSnps.empty()) return 1;
  return i >= 0 && static_cast<std::size_t>(i) < UsableSnps.size() && UsableSnps[i] != 0 ? 1 : 0;
}

void CAnalysis::StartValidity(CAnalyzedData& analyzed, std::int32_t first, std::int32_t last) const {
  for (std::int32_t i = first; i <= last; ++i) analyzed.ValidFlag[i] = UsableFlag(i);
}

void CAnalysis::InvalidateOutOfRange(CAnalyzedData& analyzed, std::int32_t first, std::int32_t last) {
  for (std::int32_t i = first; i <= last; ++i) {
    if (!qova::analysis::IsUsableRatio(analyzed.LogRatio[i])) analyzed.ValidFlag[i] = 0;
  }
}
