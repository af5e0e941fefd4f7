#pragma once
// Joining the analysed results of the two arrays of a two-array set (one per
// restriction enzyme) into one result of the combined array type, named
// first + "_AND_" + second, with the combined-sample analysis steps run on it.
#include <string>

#include "core/AnalyzedData.h"

class CGlobalData;

namespace qova::document::batch {

struct CombineRequest {
  std::string ResultFolder;  // inputs and output, with its trailing separator
  std::string First;         // sample names, without folder or extension
  std::string Second;
  AnalysisKind Kind = AnalysisKind::Self;  // .CFS, or the non-self .CFN / .CFA
};

struct CombineOutcome {
  enum Status { kWritten, kNotFound, kDifferentArrayType, kFailed };
  Status Result = kFailed;
  std::string Reason;      // why not, for kFailed
  std::string Path;        // what was written, for kWritten
  CAnalyzedData Combined;  // what was written, for kWritten
};

// The combined type index of two array types in either order (a Hind240 and
// an Xba240 array, a Mendel Sty and Nsp, a 250K Sty and Nsp), or -1.
[[nodiscard]] int CombinedArrayType(int firstType, int secondType);

// Reads both results (the first whole, then the second into the same object,
// whose header it leaves), builds the combined result and stores it. The
// combined result carries the second result's header with the combined type,
// its ranges and name, and the combined flag. Nothing is written unless both
// files exist, their types make a pair and both could be read and analysed.
[[nodiscard]] CombineOutcome CombineResults(const CGlobalData& global, const CombineRequest& request);

}  // namespace qova::document::batch
