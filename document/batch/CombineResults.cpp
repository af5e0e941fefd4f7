#include "document/batch/CombineResults.h"

#include <exception>

#include "analysis/Analysis.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "core/GlobalData.h"
#include "platform/Paths.h"

namespace core = qova::core;

namespace qova::document::batch {

namespace {

struct SetPair {
  int first, second, combined;
};
// The two arrays of each set and the type that holds both.
constexpr SetPair kSets[] = {{2, 3, 4}, {5, 6, 7}, {8, 9, 10}};

}  // namespace

int CombinedArrayType(int firstType, int secondType) {
  for (const SetPair& set : kSets) {
    if ((firstType == set.first && secondType == set.second) || (firstType == set.second && secondType == set.first)) {
      return set.combined;
    }
  }
  return -1;
}

CombineOutcome CombineResults(const CGlobalData& global, const CombineRequest& request) {
  CombineOutcome outcome;
  const std::string extension = AnalysisFileExtension(request.Kind);
  const std::string first = platform::JoinPath(request.ResultFolder, request.First + extension);
  const std::string second = platform::JoinPath(request.ResultFolder, request.Second + extension);
  if (!platform::FileExists(first) || !platform::FileExists(second)) {
    outcome.Result = CombineOutcome::kNotFound;
    return outcome;
  }
  const bool self = request.Kind == AnalysisKind::Self;
  try {
    CAnalyzedData both;
    both.LoadFile(first, true);
    const int firstType = ArrayTypeIndex(both.Header.ArrayType);
    both.LoadFile(second, true);
    const int combined = CombinedArrayType(firstType, ArrayTypeIndex(both.Header.ArrayType));
    if (combined < 0) {
      outcome.Result = CombineOutcome::kDifferentArrayType;
      return outcome;
    }
    const int family = core::kArrayTypes[static_cast<std::size_t>(combined)].family;
    if (!global.HasBasicData(family)) {
      outcome.Reason = "the annotation table of " + std::string(core::kArrayTypes[static_cast<std::size_t>(combined)].name) +
                       " is not loaded";
      return outcome;
    }
    const CBasicData& basic = global.BasicData[family];
    // The two halves occupy disjoint ranges of the family's arrays.
    both.LoadFileAllocating(first);
    both.LoadFile(second);

    CAnalyzedData& result = outcome.Combined;
    result.Allocate(both.Header.SnpCount, request.Kind);
    result.Header = both.Header;
    result.IsSelf = self;
    result.Header.SelfAnalyzed = self;
    result.Header.Combined = true;
    const char* name = core::kArrayTypes[static_cast<std::size_t>(combined)].name;
    result.Header.ArrayType = name;
    result.AnalysisArrayType = name;
    result.Header.FirstSnpIndex = global.ArrayFirstSnpIndex[combined];
    result.Header.LastSnpIndex = global.ArrayLastSnpIndex[combined];
    result.Header.LastAutosomeSnpIndex = global.ArrayLastSnpIndexAutosomes[combined];
    result.Header.LastXSnpIndex = global.ArrayLastSnpIndexX[combined];
    result.Header.SampleName = request.First + "_AND_" + request.Second;

    CAnalysis engine(global);
    engine.ResultFolder = request.ResultFolder;
    // The LOH score of a non-self result assumes one heterozygosity
    // everywhere, as the analyses of its halves did.
    engine.SetUniformHeterozygosity(kNonSelfHeterozygosity);
    engine.CopyToCombinedArray(both, basic, result);
    if (!self) engine.AnalyzeLOHWithLD(result, basic);
    if (engine.RunTotalCopyNumberHMM(result, basic) != 0 ||
        (self && (engine.RunAlleleSpecificHMM(result, basic, 1) != 0 ||
                  engine.RunAlleleSpecificHMM(result, basic, 2) != 0))) {
      outcome.Reason = "the combined sample cannot be analysed (see the lines above)";
      return outcome;
    }
    result.SampleSD = engine.CalcSD(result);
    result.MeanState = engine.CalcMeanState(result);
    result.RebuildEditedCopyNumberState();
    outcome.Path = platform::JoinPath(request.ResultFolder, result.Header.SampleName + extension);
    result.StoreFile(outcome.Path);
  } catch (const std::exception& error) {
    outcome.Reason = error.what();
    return outcome;
  }
  outcome.Result = CombineOutcome::kWritten;
  return outcome;
}

}  // namespace qova::document::batch
