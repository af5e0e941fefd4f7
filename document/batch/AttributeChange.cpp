#include "document/batch/AttributeChange.h"

#include <exception>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "document/SampleFilter.h"
#include "platform/Paths.h"

namespace qova::document::batch {

void AttributeChange::ApplyTo(SampleHeader& header) const {
  switch (Mode) {
    case kSetTest:
      header.IsTest = 1;
      break;
    case kSetReference:
      header.IsTest = 0;
      break;
    default:
      AttributeOf(header, Attribute) = Value;
      break;
  }
}

namespace {

void ChangeResult(const std::string& path, const AttributeChange& change) {
  CAnalyzedData result;
  result.LoadFileAllocating(path);
  change.ApplyTo(result.Header);
  result.StoreFile(path);
}

}  // namespace

std::vector<std::string> ChangeSampleFiles(const std::vector<std::string>& names, const AttributeChange& change,
                                           const SampleFolders& folders) {
  std::vector<std::string> failures;
  for (const std::string& name : names) {
    const std::string self = platform::JoinPath(folders.AnalysisResult, name + ".CFS");
    const std::string nonSelf = platform::JoinPath(folders.AnalysisResult, name + folders.NonSelfExtension);
    const bool hasSelf = platform::FileExists(self);
    const bool hasNonSelf = platform::FileExists(nonSelf);
    std::string current;
    try {
      current = "the sample file";
      CArrayData sample;
      sample.LoadFile(platform::JoinPath(folders.ArrayData, name + ".CFH"));
      change.ApplyTo(sample.Header);
      sample.StoreFile(platform::JoinPath(folders.ArrayData, name + ".CFH"));
      current = "the self result";
      if (hasSelf) ChangeResult(self, change);
      current = "the non-self result";
      if (hasNonSelf) ChangeResult(nonSelf, change);
    } catch (const std::exception& error) {
      failures.push_back(name + ": " + current + ": " + error.what());
    }
  }
  return failures;
}

}  // namespace qova::document::batch
