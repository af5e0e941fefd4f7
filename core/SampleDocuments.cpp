#include "core/SampleDocuments.h"

#include <algorithm>

namespace qova::core {

namespace {

std::vector<ISampleDocument*>& Documents() {
  static std::vector<ISampleDocument*> documents;
  return documents;
}

bool IsOpen(ISampleDocument* document) {
  const auto& documents = Documents();
  return std::find(documents.begin(), documents.end(), document) != documents.end();
}

// Refreshing updates views, which may open or close documents: walk a copy and
// skip any document that has gone meanwhile.
template <typename Visit>
void ForEachOpenDocument(Visit visit) {
  for (ISampleDocument* document : OpenSampleDocuments()) {
    if (IsOpen(document)) visit(*document);
  }
}

}  // namespace

void RegisterSampleDocument(ISampleDocument* document) {
  if (document != nullptr && !IsOpen(document)) Documents().push_back(document);
}

void UnregisterSampleDocument(ISampleDocument* document) { std::erase(Documents(), document); }

std::vector<ISampleDocument*> OpenSampleDocuments() { return Documents(); }

void RefreshDocumentsAfterStore(const CArrayData& stored, const std::string& sampleName) {
  ForEachOpenDocument([&](ISampleDocument& document) {
    if (document.GetStatus() == kDocumentStatusAnalysis && document.GetExtractedSampleName() == sampleName) {
      document.RefreshSampleData(stored);
    }
  });
}

void RefreshDocumentsAfterStore(const CAnalyzedData& stored, const std::string& sampleName, bool isSelf) {
  ForEachOpenDocument([&](ISampleDocument& document) {
    const std::string status = document.GetStatus();
    if ((status == kDocumentStatusAnalysis || status == kDocumentStatusSingle) &&
        document.GetAnalyzedSampleName() == sampleName && document.GetAnalyzedIsSelf() == isSelf) {
      document.SetAnalyzedData(stored);
    }
  });
}

}  // namespace qova::core
