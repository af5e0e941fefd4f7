#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/ArrayData.h"
#include "core/SampleDocuments.h"

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
  void RefreshSampleData(const CArrayData&) override {
    ++extracted;
    if (onRefresh) onRefresh();
  }
  void SetAnalyzedData(const CAnalyzedData&) override { ++analyzed; }

  int extracted = 0;
  int analyzed = 0;
  std::function<void()> onRefresh;

 private:
  std::string status_, name_;
  bool isSelf_;
};

// Only the address is passed on; the refresh never looks inside.
const CAnalyzedData& SomeAnalyzedSample() {
  static char storage;
  return reinterpret_cast<const CAnalyzedData&>(storage);
}

TEST(SampleDocumentsTest, AnalysedStoreReachesAnalysisAndSingleDocumentsOfTheSameKind) {
  RecordingDocument analysis("Analysis", "S01"), single("Single", "S01"), self("Analysis", "S01", true),
      multiple("Multiple", "S01"), otherName("Single", "S02");
  qova::ScopedSampleDocument r1(&analysis), r2(&single), r3(&self), r4(&multiple), r5(&otherName);
  qova::RefreshDocumentsAfterStore(SomeAnalyzedSample(), "S01", false);
  EXPECT_EQ(analysis.analyzed, 1);
  EXPECT_EQ(single.analyzed, 1);
  EXPECT_EQ(self.analyzed, 0);
  EXPECT_EQ(multiple.analyzed, 0);
  EXPECT_EQ(otherName.analyzed, 0);
  EXPECT_EQ(analysis.extracted, 0);
}

TEST(SampleDocumentsTest, NamesCompareExactly) {
  RecordingDocument doc("Analysis", "s01");
  qova::ScopedSampleDocument registration(&doc);
  CArrayData sample;
  qova::RefreshDocumentsAfterStore(sample, "S01");
  EXPECT_EQ(doc.extracted, 0);
  qova::RefreshDocumentsAfterStore(sample, "s01");
  EXPECT_EQ(doc.extracted, 1);
}

TEST(SampleDocumentsTest, DocumentsLeaveTheListAndAreNotCalledAfterClosing) {
  RecordingDocument first("Analysis", "S01");
  auto second = std::make_unique<RecordingDocument>("Analysis", "S01");
  qova::RegisterSampleDocument(&first);
  qova::RegisterSampleDocument(second.get());
  qova::RegisterSampleDocument(&first);  // registering twice keeps one entry
  EXPECT_EQ(qova::OpenSampleDocuments(), (std::vector<ISampleDocument*>{&first, second.get()}));

  // Refreshing the first closes the second, as a view update may.
  first.onRefresh = [&] {
    qova::UnregisterSampleDocument(second.get());
    second.reset();
  };
  CArrayData sample;
  qova::RefreshDocumentsAfterStore(sample, "S01");
  EXPECT_EQ(first.extracted, 1);
  EXPECT_EQ(second, nullptr);
  qova::UnregisterSampleDocument(&first);
  EXPECT_TRUE(qova::OpenSampleDocuments().empty());
}

}  // namespace
