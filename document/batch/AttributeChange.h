#pragma once
// Rewriting one attribute or the TEST flag in the files of a set of samples:
// each sample's .CFH and those of its results that exist (the self result and
// the non-self result of the current kind).
#include <string>
#include <vector>

struct SampleHeader;

namespace qova::document::batch {

struct AttributeChange {
  enum Mode : int { kSetAttribute = 0, kSetTest = 1, kSetReference = 2 };
  int Mode = kSetAttribute;
  int Attribute = 0;  // 0..4, for kSetAttribute
  std::string Value;

  void ApplyTo(SampleHeader& header) const;
};

struct SampleFolders {
  std::string ArrayData;        // with their trailing separators
  std::string AnalysisResult;
  std::string NonSelfExtension;  // ".CFN" or ".CFA"
};

// Applies `change` to every named sample. A sample whose .CFH cannot be read
// or written is skipped, and its results are left as they are; each result is
// rewritten in the layout of its own extension. Returns one line per failure,
// "<name>: <reason>".
[[nodiscard]] std::vector<std::string> ChangeSampleFiles(const std::vector<std::string>& names,
                                                         const AttributeChange& change, const SampleFolders& folders);

}  // namespace qova::document::batch
