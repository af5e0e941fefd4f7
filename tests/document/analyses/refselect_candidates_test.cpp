// Which samples may serve as non-self references, how they are ranked, how
// many the automatic choice takes, and the texts of the reference list.
#include <sys/stat.h>

#include <cmath>
#include <limits>
#include <map>

#include "core/SampleFileList.h"
#include "document/analyses/ReferenceSelection.h"
#include "tests/document/DocumentTestSupport.h"

using namespace qova::document::analyses;
namespace analyses = qova::document::analyses;

namespace qova::test {
namespace {

std::vector<std::string> NamesOf(const ReferenceRanking& ranking) {
  std::vector<std::string> names;
  for (const RankedReference& entry : ranking.Entries()) names.push_back(entry.Name);
  return names;
}

TEST(ReferenceRankingTest, AscendingScoresWithTiesInTheOrderFound) {
  analyses::ReferenceRanking ranking;
  ranking.Insert(0.3f, "a");
  ranking.Insert(0.1f, "b");
  ranking.Insert(0.3f, "c");
  ranking.Insert(0.1f, "d");
  ranking.Insert(0.2f, "e");
  ranking.Insert(0.1f, "f");
  EXPECT_EQ(NamesOf(ranking), (std::vector<std::string>{"b", "d", "f", "e", "a", "c"}));
  EXPECT_EQ(ranking.Best(2), (std::vector<analyses::RankedReference>{{0.1f, "b"}, {0.1f, "d"}}));
  EXPECT_EQ(ranking.Best(10).size(), 6u);
}

TEST(ReferenceTextTest, ListEntriesAndDialogLinesUseSixDecimals) {
  EXPECT_EQ(analyses::FormatReferenceEntry(0.25f, "Ref01"), "0.250000$Ref01$");
  EXPECT_EQ(analyses::FormatReferenceList({{0.125f, "B"}, {0.5f, "A"}}), "0.125000$B$0.500000$A$");
  EXPECT_EQ(analyses::FormatReferenceList({}), "");
  EXPECT_EQ(analyses::FormatCandidateLine({0.1875f, "Ref 7"}), "Ref 7    0.187500");
}

// The AUTO settings and the candidate's header against one test sample.
struct FilterCase {
  const char* what;
  std::function<void(CProgramSetting&)> settings;
  std::function<void(SampleHeader&)> candidate;
  bool sameSex;
  bool admitted;
  const char* testSex = "F";
};

SampleHeader TestHeader() {
  SampleHeader test;
  test.SampleName = "T1";
  test.ArrayType = kSmallType;
  test.IsTest = 1;
  test.Sex = "F";
  test.SelfReference = "T1N";
  test.Attribute1 = "a1";
  test.Attribute2 = "a2";
  test.Attribute3 = "a3";
  test.Attribute4 = "a4";
  test.Attribute5 = "a5";
  return test;
}

SampleHeader CandidateHeader() {
  SampleHeader candidate = TestHeader();
  candidate.SampleName = "R1";
  candidate.IsTest = 0;
  candidate.SelfReference.clear();
  return candidate;
}

class ReferenceFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(ReferenceFilterTest, AdmitsExactlyTheMatchingReferenceSamples) {
  const FilterCase& c = GetParam();
  CProgramSetting setting;
  setting.LIMITREF = 0;
  setting.EXCLUDESELF = 0;
  if (c.settings) c.settings(setting);
  SampleHeader test = TestHeader();
  SampleHeader candidate = CandidateHeader();
  if (c.candidate) c.candidate(candidate);
  test.Sex = c.testSex;
  EXPECT_EQ(ReferenceFilter::For(test, setting, c.sameSex).Admits(candidate), c.admitted) << c.what;
}

const auto Set = [](auto member, auto value) {
  return [member, value](auto& object) { object.*member = value; };
};

INSTANTIATE_TEST_SUITE_P(
    Rules, ReferenceFilterTest,
    ::testing::Values(
        FilterCase{"a plain reference", nullptr, nullptr, false, true},
        FilterCase{"a test sample", nullptr, Set(&SampleHeader::IsTest, 1), false, false},
        FilterCase{"another array type", nullptr, Set(&SampleHeader::ArrayType, std::string("Mapping10K_Xba142")),
                   false, false},
        FilterCase{"the type in other case", nullptr,
                   Set(&SampleHeader::ArrayType, std::string("mapping10k_xba131")), false, false},
        FilterCase{"the test's own name", nullptr, Set(&SampleHeader::SampleName, std::string("T1")), false, false},
        FilterCase{"the paired normal kept", nullptr, Set(&SampleHeader::SampleName, std::string("T1N")), false,
                   true},
        FilterCase{"the paired normal excluded", Set(&CProgramSetting::EXCLUDESELF, 1),
                   Set(&SampleHeader::SampleName, std::string("T1N")), false, false},
        FilterCase{"another sample while excluding", Set(&CProgramSetting::EXCLUDESELF, 1), nullptr, false, true},
        FilterCase{"same sex", nullptr, nullptr, true, true},
        FilterCase{"other sex", nullptr, Set(&SampleHeader::Sex, std::string("M")), true, false},
        FilterCase{"other sex without the rule", nullptr, Set(&SampleHeader::Sex, std::string("M")), false, true},
        FilterCase{"candidate of unknown sex", nullptr, Set(&SampleHeader::Sex, std::string()), true, false},
        FilterCase{"test of unknown sex", nullptr, Set(&SampleHeader::Sex, std::string()), true, false, ""},
        FilterCase{"own attribute 2 equal",
                   [](CProgramSetting& s) { s.LIMITREF = 1, s.LIMITREFATTR = 2, s.LIMITREFIDENT = 1; }, nullptr,
                   false, true},
        FilterCase{"own attribute 2 differs",
                   [](CProgramSetting& s) { s.LIMITREF = 1, s.LIMITREFATTR = 2, s.LIMITREFIDENT = 1; },
                   Set(&SampleHeader::Attribute2, std::string("x")), false, false},
        FilterCase{"attribute 2 differs without the limit", nullptr, Set(&SampleHeader::Attribute2, std::string("x")),
                   false, true},
        FilterCase{"attribute 0 means attribute 5",
                   [](CProgramSetting& s) { s.LIMITREF = 1, s.LIMITREFATTR = 0, s.LIMITREFIDENT = 1; },
                   Set(&SampleHeader::Attribute5, std::string("x")), false, false},
        FilterCase{"attribute 7 means attribute 5",
                   [](CProgramSetting& s) { s.LIMITREF = 1, s.LIMITREFATTR = 7, s.LIMITREFIDENT = 1; },
                   Set(&SampleHeader::Attribute1, std::string("x")), false, true},
        FilterCase{"fixed text matches",
                   [](CProgramSetting& s) {
                     s.LIMITREF = 1, s.LIMITREFATTR = 3, s.LIMITREFIDENT = 0, s.LIMITREFSTR = "lab B";
                   },
                   Set(&SampleHeader::Attribute3, std::string("lab B")), false, true},
        FilterCase{"fixed text differs from the candidate",
                   [](CProgramSetting& s) {
                     s.LIMITREF = 1, s.LIMITREFATTR = 3, s.LIMITREFIDENT = 0, s.LIMITREFSTR = "lab B";
                   },
                   nullptr, false, false}));

struct CountCase {
  int ranked, maxReferences, mode, optimised, expected;
};

TEST(AutomaticReferenceCountTest, TakesTheBestUpToMaxOptimisedInModesZeroAndTwo) {
  const CountCase cases[] = {
      {25, 10, analyses::kReferenceAutomatic, 4, 4},      {25, 10, analyses::kReferenceFixedNumber, 4, 10},
      {25, 10, analyses::kReferenceCurrentOrAuto, 7, 7},  {25, 10, analyses::kReferenceCurrentOrFixed, 7, 10},
      {3, 10, analyses::kReferenceAutomatic, 2, 2},       {3, 10, analyses::kReferenceFixedNumber, 2, 3},
      {0, 10, analyses::kReferenceAutomatic, 5, 0},       {5, 0, analyses::kReferenceAutomatic, 5, 0},
      {5, -3, analyses::kReferenceFixedNumber, 5, 0},     {5, 3, analyses::kReferenceAutomatic, 9, 3},
      {5, 3, analyses::kReferenceAutomatic, 0, 1},
  };
  for (const CountCase& c : cases) {
    int askedWith = -1;
    const int count = analyses::AutomaticReferenceCount(c.ranked, c.maxReferences, c.mode, [&](int m) {
      askedWith = m;
      return c.optimised;
    });
    EXPECT_EQ(count, c.expected) << c.ranked << " " << c.maxReferences << " " << c.mode;
    const bool optimises = (c.mode == 0 || c.mode == 2) && std::min(c.ranked, c.maxReferences) > 0;
    EXPECT_EQ(askedWith, optimises ? std::min(c.ranked, c.maxReferences) : -1);
  }
}

class CandidateSearchTest : public SampleFolderTest {
 protected:
  // Scores by name; names not listed score 1.
  ReferenceScorer ScoresOf(std::map<std::string, float> scores) {
    return [scores](const CArrayData& candidate) {
      auto it = scores.find(candidate.Header.SampleName);
      return it == scores.end() ? 1.0f : it->second;
    };
  }
  ReferenceFilter FilterFor(const std::string& name) {
    return ReferenceFilter::For(LoadSample(name).Header, Setting(), false);
  }
  CandidateSource Folder() {
    CandidateSource source;
    source.ArrayDataFolder = ArrayFolder();
    return source;
  }
};

TEST_F(CandidateSearchTest, RanksEveryReferenceOfTheFolderByScore) {
  WriteStudy(3);
  const CandidateSearch search =
      FindCandidates(FilterFor("Test01"), Folder(), ScoresOf({{"Ref01", 0.3f}, {"Ref02", 0.1f}, {"Test01N", 0.2f}}));
  EXPECT_FALSE(search.NoSampleFile);
  EXPECT_TRUE(search.Skipped.empty());
  EXPECT_EQ(NamesOf(search.Ranking), (std::vector<std::string>{"Ref02", "Test01N", "Ref01", "Ref03"}));
}

TEST_F(CandidateSearchTest, UnreadableOrUnscorableCandidatesAreSkippedAndNamed) {
  WriteStudy(2, false);
  ASSERT_TRUE(platform::WriteWholeFile(SamplePath("Broken"), "not a sample"));
  // A reference whose per-SNP part is cut short: its header passes the filter.
  std::string bytes = Bytes(SamplePath("Ref02"));
  ASSERT_TRUE(platform::WriteWholeFile(SamplePath("Short"), bytes.substr(0, bytes.size() / 2)));
  const CandidateSearch search = FindCandidates(
      FilterFor("Test01"), Folder(), ScoresOf({{"Ref01", std::numeric_limits<float>::quiet_NaN()}}));
  EXPECT_EQ(NamesOf(search.Ranking), std::vector<std::string>{"Ref02"});
  ASSERT_EQ(search.Skipped.size(), 3u);
  EXPECT_NE(search.Skipped[0].find("Broken.CFH"), std::string::npos);
  EXPECT_NE(search.Skipped[1].find("Ref01.CFH"), std::string::npos);
  EXPECT_NE(search.Skipped[2].find("Short.CFH"), std::string::npos);
}

TEST_F(CandidateSearchTest, AnEmptyFolderIsToldApartFromOneWithoutCandidates) {
  const ReferenceFilter filter = ReferenceFilter::For(TestHeader(), Setting(), false);
  EXPECT_TRUE(analyses::FindCandidates(filter, Folder(), ScoresOf({})).NoSampleFile);
  samplegen::SampleSpec spec;
  spec.Name = "T1";
  spec.IsTest = true;
  WriteSample(spec);
  const CandidateSearch search = FindCandidates(filter, Folder(), ScoresOf({}));
  EXPECT_FALSE(search.NoSampleFile);
  EXPECT_TRUE(search.Ranking.Empty());
}

TEST_F(CandidateSearchTest, TheSampleIndexGivesTheSameCandidates) {
  WriteStudy(3);
  const ReferenceFilter filter = FilterFor("Test01");
  const auto scores = ScoresOf({{"Ref03", 0.05f}, {"Test01N", 0.5f}});
  analyses::CandidateSource index = Folder();
  index.Index = global_.FileList.get();
  index.RefreshIndex = false;
  // Without a refresh there is no index yet, and no candidate.
  EXPECT_TRUE(analyses::FindCandidates(filter, index, scores).Ranking.Empty());

  index.RefreshIndex = true;
  const CandidateSearch fromIndex = FindCandidates(filter, index, scores);
  EXPECT_TRUE(Exists(ArrayFolder() + "filelist_CFH.lst"));
  EXPECT_FALSE(fromIndex.NoSampleFile);
  EXPECT_EQ(NamesOf(fromIndex.Ranking), NamesOf(analyses::FindCandidates(filter, Folder(), scores).Ranking));
  EXPECT_EQ(NamesOf(fromIndex.Ranking), (std::vector<std::string>{"Ref03", "Test01N", "Ref01", "Ref02"}));
}

}  // namespace
}  // namespace qova::test
