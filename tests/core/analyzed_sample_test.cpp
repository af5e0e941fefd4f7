// The analysed sample in memory: which arrays each kind has, the result made
// from an extracted sample, the displayed copy-number state, and the refresh
// of open documents after a store.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/SampleDocuments.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "tests/core/SampleBytes.h"

namespace {

TEST(AnalyzedSample, KindOfFileComesFromTheExtension) {
  const std::vector<std::pair<const char*, std::optional<AnalysisKind>>> cases = {
      {"S01.CFS", AnalysisKind::Self},       {"c:\\res\\S01_A.CFS", AnalysisKind::Self},
      {"S01.CFN", AnalysisKind::NonSelf},    {"s01.cfn", AnalysisKind::NonSelf},
      {"S01.CFA", AnalysisKind::NonSelfAllele}, {"/r/S.x.Cfa", AnalysisKind::NonSelfAllele},
      {"S01.CFH", std::nullopt},             {"CFA", std::nullopt},
  };
  for (const auto& [name, kind] : cases) EXPECT_EQ(AnalysisKindOfFile(name), kind) << name;
  EXPECT_EQ(NonSelfAnalysisKind(true), AnalysisKind::NonSelfAllele);
  EXPECT_EQ(NonSelfAnalysisKind(false), AnalysisKind::NonSelf);
}

TEST(AnalyzedSample, AllocateMakesTheArraysOfTheKindOnly) {
  struct Case {
    AnalysisKind kind;
    bool allele, loh;
  };
  for (const Case& c : {Case{AnalysisKind::Self, true, false}, Case{AnalysisKind::NonSelf, false, true},
                        Case{AnalysisKind::NonSelfAllele, true, true}}) {
    SCOPED_TRACE(AnalysisFileExtension(c.kind));
    CAnalyzedData d;
    d.AllocateMax();
    d.Markers = {{1, 2, 3, 4}};
    d.Allocate(1000, c.kind);
    EXPECT_TRUE(d.Markers.empty());
    for (const auto* v : {&d.LogRatio}) EXPECT_EQ(v->size(), 1000u);
    for (const auto* v : {&d.CopyNumberState, &d.ValidFlag, &d.CallTest, &d.EditedCopyNumberState}) {
      EXPECT_EQ(v->size(), 1000u);
    }
    const std::size_t allele = c.allele ? 1000 : 0;
    EXPECT_EQ(d.LogRatioA.size(), allele);
    EXPECT_EQ(d.LogRatioB.size(), allele);
    EXPECT_EQ(d.AlleleStateA.size(), allele);
    EXPECT_EQ(d.AlleleStateB.size(), allele);
    EXPECT_EQ(d.CallReference.size(), allele);
    EXPECT_EQ(d.LohLikelihood.size(), c.loh ? 1000u : 0u);
    EXPECT_EQ(std::count(d.ValidFlag.begin(), d.ValidFlag.end(), 1), 1000);
    EXPECT_EQ(std::count(d.CopyNumberState.begin(), d.CopyNumberState.end(), 0), 1000);
  }
}

TEST(AnalyzedSample, AllocateMaxHoldsEveryArrayAtFullCapacity) {
  CAnalyzedData d;
  d.AllocateMax();
  for (const auto* v : {&d.LogRatioA, &d.LogRatioB, &d.LogRatio, &d.LohLikelihood}) EXPECT_EQ(v->size(), 540000u);
  for (const auto* v : {&d.CopyNumberState, &d.AlleleStateA, &d.AlleleStateB, &d.ValidFlag, &d.CallTest,
                        &d.CallReference, &d.EditedCopyNumberState}) {
    EXPECT_EQ(v->size(), 540000u);
  }
  d.FreeArrays();
  EXPECT_TRUE(d.LogRatio.empty());
  EXPECT_TRUE(d.EditedCopyNumberState.empty());
  EXPECT_EQ(d.LogRatio.capacity(), 0u) << "freed, not just emptied";
}

TEST(AnalyzedSample, ResultOfAnExtractedSampleStartsWithEverySnpValid) {
  CArrayData source = qova::test::MakeSample("Mendel_Nsp", "T07");
  source.Markers = {{3, 300000, 300100, 34}};
  const CAnalyzedData d(source, AnalysisKind::NonSelf);
  EXPECT_EQ(d.Header, source.Header);
  EXPECT_EQ(d.Markers, source.Markers);
  EXPECT_EQ(d.AnalysisArrayType, "Mendel_Nsp");
  EXPECT_FALSE(d.IsSelf);
  ASSERT_EQ(d.ValidFlag.size(), 534500u);
  EXPECT_EQ(std::count(d.ValidFlag.begin(), d.ValidFlag.end(), 1), 534500);
  EXPECT_TRUE(d.LogRatioA.empty());

  const CAnalyzedData self(source, AnalysisKind::Self);
  EXPECT_TRUE(self.IsSelf);
  EXPECT_EQ(self.LogRatioA.size(), 534500u);
}

// The displayed state after a load: the HMM states with the HMM-kind regions
// laid over them, later regions winning, each cut to the sample's range.
TEST(AnalyzedSample, EditedStateFollowsTheMarkerRegions) {
  struct Case {
    const char* what;
    MarkerRegionList markers;
    std::vector<std::pair<std::int32_t, std::int32_t>> expected;  // {SNP, state}
  };
  // A Mendel_Nsp sample covers 267269..534499; its HMM states are all 2.
  const std::vector<Case> cases = {
      {"no markers", {}, {{267269, 2}, {400000, 2}, {534499, 2}}},
      {"kind 3 over 300100..300200", {{1, 300100, 300200, 3}},
       {{300099, 2}, {300100, 3}, {300200, 3}, {300201, 2}}},
      {"a user kind changes nothing", {{1, 300100, 300200, 33}}, {{300150, 2}}},
      {"the later of two overlapping regions wins",
       {{1, 300100, 300200, 0}, {1, 300150, 300250, 5}},
       {{300120, 0}, {300150, 5}, {300250, 5}, {300251, 2}}},
      {"an earlier region shows where the later does not reach",
       {{1, 300150, 300250, 5}, {1, 300100, 300160, 1}},
       {{300100, 1}, {300160, 1}, {300161, 5}}},
      {"a region reaching below the range is cut", {{1, 100, 267300, 4}},
       {{267269, 4}, {267300, 4}, {267301, 2}}},
      {"a region reaching past the range is cut", {{23, 534400, 999999, 6}}, {{534399, 2}, {534499, 6}}},
      {"regions outside or reversed are skipped",
       {{1, 0, 1000, 6}, {1, 600000, 700000, 6}, {1, 300200, 300100, 6}, {1, -50, -1, 6}},
       {{267269, 2}, {300150, 2}, {534499, 2}}},
      {"a negative kind is skipped", {{1, 300100, 300200, -1}}, {{300150, 2}}},
      {"kind 31 is still a state", {{1, 300100, 300200, 31}}, {{300150, 31}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CAnalyzedData d(qova::test::MakeSample("Mendel_Nsp"), AnalysisKind::NonSelf);
    std::fill(d.CopyNumberState.begin(), d.CopyNumberState.end(), 2);
    std::fill(d.EditedCopyNumberState.begin(), d.EditedCopyNumberState.end(), 9);
    d.Markers = c.markers;

    CMemFile file;
    CArchive out(&file, CArchive::store);
    d.SerializeSample(out, AnalysisKind::NonSelf, FALSE);
    out.Close();
    CAnalyzedData loaded;
    loaded.AllocateMax();
    std::fill(loaded.EditedCopyNumberState.begin(), loaded.EditedCopyNumberState.end(), 9);
    CMemFile in(file.Bytes());
    CArchive ar(&in, CArchive::load);
    loaded.SerializeSample(ar, AnalysisKind::NonSelf, FALSE);

    for (const auto& [snp, state] : c.expected) EXPECT_EQ(loaded.EditedCopyNumberState[snp], state) << "SNP " << snp;
    EXPECT_EQ(loaded.EditedCopyNumberState[267268], 9) << "outside the range nothing is written";
    EXPECT_EQ(loaded.CopyNumberState[300150], 2) << "the HMM result stays";
  }
}

// A main document as the stores see it.
class FakeDocument : public ISampleDocument {
 public:
  FakeDocument(std::string status, std::string name, bool isSelf)
      : status_(std::move(status)), name_(std::move(name)), isSelf_(isSelf) {}
  std::string GetStatus() const override { return status_; }
  std::string GetExtractedSampleName() const override { return name_; }
  std::string GetAnalyzedSampleName() const override { return name_; }
  bool GetAnalyzedIsSelf() const override { return isSelf_; }
  void RefreshSampleData(const CArrayData&) override { ++extractedRefreshes; }
  void SetAnalyzedData(const CAnalyzedData& stored) override {
    ++analyzedRefreshes;
    seenSD = stored.SampleSD;
  }
  int extractedRefreshes = 0;
  int analyzedRefreshes = 0;
  float seenSD = 0.0f;

 private:
  std::string status_, name_;
  bool isSelf_;
};

TEST(AnalyzedSample, StoreRefreshesOnlyDocumentsShowingTheSameResult) {
  struct Case {
    const char* status;
    const char* name;
    bool isSelf;
    bool refreshed;
  };
  const Case cases[] = {
      {"Analysis", "S01", false, true},  {"Single", "S01", false, true},  {"Multiple", "S01", false, false},
      {"Clean", "S01", false, false},    {"Analysis", "S01", true, false}, {"Single", "S02", false, false},
      {"Analysis", "s01", false, false},
  };
  std::vector<std::unique_ptr<FakeDocument>> documents;
  std::vector<std::unique_ptr<qova::ScopedSampleDocument>> registrations;
  for (const Case& c : cases) {
    documents.push_back(std::make_unique<FakeDocument>(c.status, c.name, c.isSelf));
    registrations.push_back(std::make_unique<qova::ScopedSampleDocument>(documents.back().get()));
  }

  CAnalyzedData d(qova::test::MakeSample("Mapping10K_Xba131", "S01"), AnalysisKind::NonSelf);
  d.SampleSD = 0.3f;
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  d.SerializeSample(ar, AnalysisKind::NonSelf, FALSE);
  ar.Close();

  for (std::size_t k = 0; k < documents.size(); ++k) {
    const Case& c = cases[k];
    EXPECT_EQ(documents[k]->analyzedRefreshes, c.refreshed ? 1 : 0) << c.status << " " << c.name << " " << c.isSelf;
    EXPECT_EQ(documents[k]->extractedRefreshes, 0);
    if (c.refreshed) {
      EXPECT_EQ(documents[k]->seenSD, 0.3f);
    }
  }
}

TEST(AnalyzedSample, RefusedStoreRefreshesNoDocument) {
  FakeDocument document("Analysis", "S01", false);
  qova::ScopedSampleDocument registration(&document);
  CAnalyzedData d(qova::test::MakeSample("Mapping10K_Xba131", "S01"), AnalysisKind::NonSelf);
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  EXPECT_THROW(d.SerializeSample(ar, AnalysisKind::NonSelfAllele, FALSE), CArchiveException);
  EXPECT_EQ(document.analyzedRefreshes, 0);
}

}  // namespace
