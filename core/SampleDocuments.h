#pragma once
// The open main documents, as the sample stores see them. Storing a sample
// refreshes every open document that shows the same sample, so that what is on
// screen matches what was written. The document layer sits above core, so the
// stores reach it through this interface: a main document registers itself
// while it is open and answers the few questions the stores ask.
#include <string>
#include <vector>

class CArrayData;
class CAnalyzedData;

// The display modes a main document reports that the stores care about.
inline constexpr const char* kDocumentStatusAnalysis = "Analysis";
inline constexpr const char* kDocumentStatusSingle = "Single";

class ISampleDocument {
 public:
  virtual ~ISampleDocument() = default;

  // The document's display mode: "Clean", "Analysis", "Single", "Multiple",
  // "Integral" or "Integrate".
  [[nodiscard]] virtual std::string GetStatus() const = 0;
  // SampleName of the document's extracted sample.
  [[nodiscard]] virtual std::string GetExtractedSampleName() const = 0;
  // SampleName and self/non-self kind of the document's analysed sample.
  [[nodiscard]] virtual std::string GetAnalyzedSampleName() const = 0;
  [[nodiscard]] virtual bool GetAnalyzedIsSelf() const = 0;

  // Copies the just-stored extracted sample (header, markers, every per-SNP
  // value below its SnpCount) into the document's own and updates the views.
  // `stored` may be the document's own sample.
  virtual void RefreshSampleData(const CArrayData& stored) = 0;
  // The same for a just-stored analysed sample.
  virtual void SetAnalyzedData(const CAnalyzedData& stored) = 0;
};

namespace qova::core {

// A document joins the list when it opens and leaves it before it is
// destroyed; the list keeps the order of opening.
void RegisterSampleDocument(ISampleDocument* document);
void UnregisterSampleDocument(ISampleDocument* document);
[[nodiscard]] std::vector<ISampleDocument*> OpenSampleDocuments();

// Registers for the lifetime of the object (a document member, or a test's).
class ScopedSampleDocument {
 public:
  explicit ScopedSampleDocument(ISampleDocument* document) : document_(document) {
    RegisterSampleDocument(document_);
  }
  ~ScopedSampleDocument() { UnregisterSampleDocument(document_); }
  ScopedSampleDocument(const ScopedSampleDocument&) = delete;
  ScopedSampleDocument& operator=(const ScopedSampleDocument&) = delete;

 private:
  ISampleDocument* document_;
};

// After an extracted sample was stored: every document in status "Analysis"
// whose extracted sample has the same name (exact compare) gets RefreshSampleData.
void RefreshDocumentsAfterStore(const CArrayData& stored, const std::string& sampleName);
// After an analysed sample was stored: every document in status "Analysis" or
// "Single" whose analysed sample has the same name and the same self/non-self
// kind gets SetAnalyzedData.
void RefreshDocumentsAfterStore(const CAnalyzedData& stored, const std::string& sampleName, bool isSelf);

}  // namespace qova::core
