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

}  // namespace
