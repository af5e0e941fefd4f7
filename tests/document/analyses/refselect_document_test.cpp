// The main document's choice of non-self references: automatic under the
// AUTO settings, by hand through the check-list dialog, the paired normal
// sample as the only reference, and the superseded choice.
#include "analysis/Analysis.h"
#include "document/DocumentCommands.h"
#include "document/analyses/ReferenceSelection.h"
#include "resources/ReferenceDialogs.h"
#include "tests/document/DocumentTestSupport.h"

using namespace qova::document::analyses;
namespace analyses = qova::document::analyses;

namespace qova::test {
namespace {

using platform::ui::DialogDriver;
using qova::resources::kRefSelectCheckList;
using qova::resources::kRefSelectDialog;

class ReferenceChoiceTest : public DocumentTest {
 protected:
  // Every reference of the folder ranked as the engine scores it against `test`.
  std::vector<analyses::RankedReference> Ranked(const CArrayData& test, bool excludeSelf = false) {
    CAnalysis engine(global_);
    engine.ArrayDataFolder = ArrayFolder();
    analyses::ReferenceRanking ranking;
    for (const std::string& file : platform::FindFiles(ArrayFolder(), "*.CFH")) {
      CArrayData candidate;
      candidate.LoadFile(ArrayFolder() + file);
      const std::string& name = candidate.Header.SampleName;
      if (candidate.Header.IsTest != 0 || (excludeSelf && name == test.Header.SelfReference)) continue;
      ranking.Insert(engine.CalcCorrectedSD(test, candidate, Annotation()), name);
    }
    return ranking.Entries();
  }
  static std::vector<analyses::RankedReference> First(std::vector<analyses::RankedReference> all, std::size_t n) {
    all.resize(std::min(n, all.size()));
    return all;
  }
  // A reference sample of its own individual.
  void WriteReference(const std::string& name, const std::string& sex, std::uint64_t individual) {
    samplegen::SampleSpec spec;
    spec.Name = name;
    spec.Sex = sex;
    spec.Individual = individual;
    WriteSample(spec);
  }
};

TEST_F(ReferenceChoiceTest, FixedNumberTakesTheMaxrefBestScores) {
  WriteStudy(6, true);
  Setting().MAXREF = 3;
  CArrayData sample = LoadSample("Test01");
  ASSERT_EQ(Doc().SelectNonSelfReferences(&sample, TRUE, FALSE, analyses::kReferenceFixedNumber, FALSE), CQOVADoc::kSucceeded);
  const std::vector<analyses::RankedReference> best = First(Ranked(sample), 3);
  EXPECT_EQ(sample.Header.NonSelfReferenceCount, 3);
  EXPECT_EQ(sample.Header.NonSelfReferences, analyses::FormatReferenceList(best));
  // The paired normal shares the test's genotypes and matches it best.
  EXPECT_EQ(best[0].Name, "Test01N");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ReferenceChoiceTest, AutomaticModeTakesTheOptimisedNumberOfTheBest) {
  WriteStudy(5, false);
  Setting().MAXREF = 4;
  CArrayData sample = LoadSample("Test01");
  Doc().SelectNonSelfReferences(&sample, TRUE, FALSE, analyses::kReferenceAutomatic, FALSE);
  const int k = sample.Header.NonSelfReferenceCount;
  ASSERT_GE(k, 1);
  ASSERT_LE(k, 4);
  EXPECT_EQ(sample.Header.NonSelfReferences, analyses::FormatReferenceList(First(Ranked(sample), std::size_t(k))));
  // The optimisation worked on a result of its own: the shown one is untouched.
  EXPECT_EQ(Doc().AnalyzedData.Header.SampleName, "");
}

TEST_F(ReferenceChoiceTest, CurrentModesKeepReferencesTheSampleAlreadyHas) {
  WriteStudy(3, false);
  Setting().MAXREF = 2;
  for (int mode : {analyses::kReferenceCurrentOrAuto, analyses::kReferenceCurrentOrFixed}) {
    CArrayData sample = LoadSample("Test01");
    const SampleHeader before = sample.Header;
    Doc().SelectNonSelfReferences(&sample, TRUE, FALSE, mode, FALSE);
    EXPECT_EQ(sample.Header, before) << mode;
  }
  CArrayData bare = LoadSample("Test01");
  bare.Header.NonSelfReferenceCount = 0;
  bare.SetNonSelfReferences("");
  Doc().SelectNonSelfReferences(&bare, TRUE, FALSE, analyses::kReferenceCurrentOrFixed, FALSE);
  EXPECT_EQ(bare.Header.NonSelfReferences, analyses::FormatReferenceList(First(Ranked(bare), 2)));
}

TEST_F(ReferenceChoiceTest, FiltersOfTheSettingsApply) {
  WriteStudy(2, true);
  WriteReference("Male01", "M", 501);
  Setting().MAXREF = 10;
  Setting().EXCLUDESELF = 1;
  CArrayData sample = LoadSample("Test01");
  Doc().SelectNonSelfReferences(&sample, TRUE, TRUE, analyses::kReferenceFixedNumber, FALSE);
  EXPECT_EQ(sample.Header.NonSelfReferenceCount, 2);
  EXPECT_EQ(sample.Header.NonSelfReferences.find("Test01N"), std::string::npos);
  EXPECT_EQ(sample.Header.NonSelfReferences.find("Male01"), std::string::npos);

  // A test of unknown sex has no reference of the same sex.
  sample.Header.Sex.clear();
  Doc().SelectNonSelfReferences(&sample, TRUE, TRUE, analyses::kReferenceFixedNumber, FALSE);
  EXPECT_EQ(sample.Header.NonSelfReferenceCount, 0);
  EXPECT_EQ(sample.Header.NonSelfReferences, "");
}

TEST_F(ReferenceChoiceTest, ManualChoiceWritesTheCheckedNamesInRankingOrder) {
  WriteStudy(3, true);
  std::vector<std::string> lines;
  Ui().OnDialog(kRefSelectDialog, [&](DialogDriver& d) {
    lines = d.Items(kRefSelectCheckList);
    d.ToggleItemCheck(kRefSelectCheckList, 2).ToggleItemCheck(kRefSelectCheckList, 0).Ok();
  });
  Doc().RunSampleAction("Test01", kActionSelectNonSelfRef);

  const std::vector<analyses::RankedReference> ranked = Ranked(LoadSample("Test01"));
  ASSERT_EQ(lines.size(), 4u);
  for (std::size_t i = 0; i < ranked.size(); ++i) EXPECT_EQ(lines[i], analyses::FormatCandidateLine(ranked[i]));
  EXPECT_EQ(Messages(), std::vector<std::string>{"2 items selected \n as references"});
  // The analysis followed and stored the sample with its new references.
  EXPECT_TRUE(Exists(ResultPath("Test01.CFN")));
  const CArrayData stored = LoadSample("Test01");
  EXPECT_EQ(stored.Header.NonSelfReferenceCount, 2);
  EXPECT_EQ(stored.Header.NonSelfReferences, analyses::FormatReferenceList({ranked[0], ranked[2]}));
}

TEST_F(ReferenceChoiceTest, CancelKeepsTheReferencesAndSkipsTheAnalysis) {
  WriteStudy(3, true);
  const std::string before = Bytes(SamplePath("Test01"));
  Ui().OnDialog(kRefSelectDialog, [](DialogDriver& d) { d.ToggleItemCheck(kRefSelectCheckList, 1).Cancel(); });
  Doc().RunSampleAction("Test01", kActionSelectNonSelfRef);
  EXPECT_FALSE(Exists(ResultPath("Test01.CFN")));
  EXPECT_EQ(Bytes(SamplePath("Test01")), before);
  EXPECT_EQ(Doc().Status, kStatusClean);
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(ErrorLogLines().empty());
}

TEST_F(ReferenceChoiceTest, SameSexManualChoiceListsOnlyThatSex) {
  WriteStudy(2, false);
  WriteReference("Male01", "M", 501);
  std::vector<std::string> lines;
  Ui().OnDialog(kRefSelectDialog, [&](DialogDriver& d) {
    lines = d.Items(kRefSelectCheckList);
    d.Cancel();
  });
  Doc().RunSampleAction("Test01", kActionSelectNonSelfRefSameSex);
  ASSERT_EQ(lines.size(), 2u);
  for (const std::string& line : lines) EXPECT_EQ(line.find("Male01"), std::string::npos);
}

TEST_F(ReferenceChoiceTest, AFolderWithoutSamplesIsReportedAndChangesNothing) {
  WriteStudy(1, false);
  CArrayData sample = LoadSample("Test01");
  const SampleHeader before = sample.Header;
  for (const std::string& file : platform::FindFiles(ArrayFolder(), "*.CFH")) platform::RemoveFile(ArrayFolder() + file);
  EXPECT_EQ(Doc().SelectNonSelfReferences(&sample, TRUE, FALSE, analyses::kReferenceAutomatic, FALSE), CQOVADoc::kSucceeded);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Failure to open the reference file"});
  EXPECT_EQ(sample.Header, before);
}

TEST_F(ReferenceChoiceTest, SelfAsReferenceNamesOnlyThePairedNormal) {
  WriteStudy(2, true);
  Doc().RunSampleAction("Test01", kActionSelectSelfAsRef);
  const CArrayData stored = LoadSample("Test01");
  ASSERT_TRUE(Exists(ResultPath("Test01.CFN")));
  CAnalysis engine(global_);
  const float score = engine.CalcCorrectedSD(stored, LoadSample("Test01N"), Annotation());
  EXPECT_EQ(stored.Header.NonSelfReferenceCount, 1);
  EXPECT_EQ(stored.Header.NonSelfReferences, analyses::FormatReferenceEntry(score, "Test01N"));
}

TEST_F(ReferenceChoiceTest, SelfAsReferenceWithoutOneIsRefusedWithoutAnalysis) {
  WriteStudy(2, false);
  const std::string before = Bytes(SamplePath("Test01"));
  Doc().RunSampleAction("Test01", kActionSelectSelfAsRef);
  EXPECT_EQ(Messages(), std::vector<std::string>{"This sample does not have self reference"});
  EXPECT_FALSE(Exists(ResultPath("Test01.CFN")));
  EXPECT_EQ(Bytes(SamplePath("Test01")), before);
}

TEST_F(ReferenceChoiceTest, SupersededChoiceFillsTheFiveBestCandidates) {
  WriteStudy(6, true);
  CArrayData work;
  CArrayData sample = LoadSample("Test01");
  const SampleHeader before = sample.Header;
  Doc().SelectNonSelfReferencesOld(&work, &sample);
  std::string names;
  for (const RankedReference& r : First(Ranked(sample), 5)) names += r.Name + "$";
  EXPECT_EQ(sample.Header.RefCandidateCount, 5);
  EXPECT_EQ(sample.Header.RefCandidates, names);
  EXPECT_EQ(sample.Header.NonSelfReferences, before.NonSelfReferences);
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(ReferenceChoiceTest, NoticesOfALongCommandAreSummedUpInOneBox) {
  WriteStudy(1, false);
  CArrayData work;
  CArrayData sample = LoadSample("Test01");
  Doc().BeginCollectingNotices();
  for (int i = 0; i < 3; ++i) Doc().SelectNonSelfReferencesOld(&work, &sample);
  EXPECT_TRUE(Messages().empty());
  Doc().EndCollectingNotices();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("deleted soon! (3 times)"), std::string::npos) << Messages()[0];
}

}  // namespace
}  // namespace qova::test
