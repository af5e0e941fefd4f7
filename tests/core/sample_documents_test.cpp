// Which open documents a stored sample refreshes, and documents that close
// while they are being refreshed.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/SampleDocuments.h"
#include "tests/core/SampleBytes.h"

namespace core = qova::core;

namespace {

// A document that records what the stores asked of it.
class RecordingDocument : public ISampleDocument {
 public:
  RecordingDocument(std::string status, std::string name, bool isSelf = false)
      : status_(std::move(status)), name_(std::move(name)), isSelf_(isSelf) {}
  std::string GetStatus() const override { return status_; }
  std::string GetExtractedSampleName() const override { return name_; }
  std::string GetAnalyzedSampleName() const override { return name_; }
  bool GetAnalyzedIsSelf() const override { return isSelf_; }
  void RefreshSampleData(const CArrayData& stored) override {
    ++extracted;
    seenVersion = stored.Header.Version;
    if (onRefresh) onRefresh();
  }
  void SetAnalyzedData(const CAnalyzedData& stored) override {
    ++analyzed;
    seenSD = stored.SampleSD;
  }

  int extracted = 0;
  int analyzed = 0;
  std::string seenVersion;
  float seenSD = 0.0f;
  std::function<void()> onRefresh;

 private:
  std::string status_, name_;
  bool isSelf_;
};

TEST(SampleDocumentsTest, StoresRefreshOnlyTheDocumentsShowingTheStoredSample) {
  struct Case {
    const char* status;
    const char* name;
    bool isSelf;
    int extracted, analyzed;  // refreshes after a .CFH and a .CFN store of S01
  };
  const Case cases[] = {
      {"Analysis", "S01", false, 1, 1}, {"Single", "S01", false, 0, 1}, {"Multiple", "S01", false, 0, 0},
      {"Clean", "S01", false, 0, 0},    {"Analysis", "S01", true, 1, 0}, {"Single", "S02", false, 0, 0},
      {"Analysis", "s01", false, 0, 0}, {"Analysis", "S02", false, 0, 0},
  };
  std::vector<std::unique_ptr<RecordingDocument>> documents;
  std::vector<std::unique_ptr<core::ScopedSampleDocument>> registrations;
  for (const Case& c : cases) {
    documents.push_back(std::make_unique<RecordingDocument>(c.status, c.name, c.isSelf));
    registrations.push_back(std::make_unique<core::ScopedSampleDocument>(documents.back().get()));
  }

  CArrayData sample = qova::test::MakeSample("Mapping10K_Xba131", "S01");
  qova::test::StoreToBytes(sample);
  qova::test::StoreToBytes(sample, TRUE, FALSE);  // a data-only pass is no new sample
  CAnalyzedData result(qova::test::MakeSample("Mapping10K_Xba131", "S01"), AnalysisKind::NonSelf);
  result.SampleSD = 0.3f;
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  result.SerializeSample(ar, AnalysisKind::NonSelf, FALSE);
  ar.Close();

  for (std::size_t k = 0; k < documents.size(); ++k) {
    const Case& c = cases[k];
    SCOPED_TRACE(std::string(c.status) + " " + c.name + (c.isSelf ? " self" : ""));
    EXPECT_EQ(documents[k]->extracted, c.extracted);
    EXPECT_EQ(documents[k]->analyzed, c.analyzed);
    if (c.extracted) {
      EXPECT_EQ(documents[k]->seenVersion, "1.001");
    }
    if (c.analyzed) {
      EXPECT_EQ(documents[k]->seenSD, 0.3f);
    }
  }
}

TEST(SampleDocumentsTest, DocumentsLeaveTheListAndAreNotCalledAfterClosing) {
  RecordingDocument first("Analysis", "S01");
  auto second = std::make_unique<RecordingDocument>("Analysis", "S01");
  core::RegisterSampleDocument(&first);
  core::RegisterSampleDocument(second.get());
  core::RegisterSampleDocument(&first);  // registering twice keeps one entry
  EXPECT_EQ(core::OpenSampleDocuments(), (std::vector<ISampleDocument*>{&first, second.get()}));

  // Refreshing the first closes the second, as a view update may.
  first.onRefresh = [&] {
    core::UnregisterSampleDocument(second.get());
    second.reset();
  };
  CArrayData sample;
  core::RefreshDocumentsAfterStore(sample, "S01");
  EXPECT_EQ(first.extracted, 1);
  EXPECT_EQ(second, nullptr);
  core::UnregisterSampleDocument(&first);
  EXPECT_TRUE(core::OpenSampleDocuments().empty());
}

}  // namespace
