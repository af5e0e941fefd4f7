// Data > Sample Manager end to end: a choice in the dialog loads the sample
// and runs the chosen analysis on generated samples.
#include "document/DocumentCommands.h"
#include "tests/document/samplemanager/manager_test_support.h"

namespace qova::test {
namespace {

class SampleManagerCommandTest : public ManagerTest {
 protected:
  // Runs the command with `script` as the user's hands on the dialog.
  void RunManager(const std::function<void(DialogDriver&)>& script) {
    Ui().OnDialog(kSampleManagerDialog, script);
    Run(qova::document::command::kSampleManager);
  }

  static samplegen::StudySpec GainStudy(int references, bool withSelf) {
    samplegen::StudySpec spec = Study(references, withSelf);
    spec.Segments = {samplegen::CopyNumberSegment(2, 1000, 1500, 3)};
    return spec;
  }

  // Share of the planted gain's SNPs that the stored result calls 3 copies.
  [[nodiscard]] double GainRecovered(const std::string& resultFile) const {
    CAnalyzedData stored;
    stored.LoadFileAllocating(ResultPath(resultFile));
    int gained = 0;
    for (std::int32_t i = 1000; i <= 1500; ++i) gained += stored.CopyNumberState[i] == 3 ? 1 : 0;
    return gained / 501.0;
  }
};

TEST_F(SampleManagerCommandTest, AutomaticReferencesNonSelfAnalysisWritesTheResult) {
  WriteStudy(GainStudy(5, false));
  Setting().MAXREF = 3;
  RunManager([](DialogDriver& d) {
    // The first opening lists the TEST samples only.
    EXPECT_EQ(d.Items(ids::kSampleList), std::vector<std::string>{"Test01"});
    d.Select(ids::kSampleList, "Test01").Click(ids::kModeAutomatic).Click(ids::kNonSelfAnalysis);
  });

  ASSERT_TRUE(Exists(ResultPath("Test01.CFN"))) << ::testing::PrintToString(Messages());
  EXPECT_FALSE(Exists(ResultPath("Test01.CFA")));
  EXPECT_GT(GainRecovered("Test01.CFN"), 0.6);
  EXPECT_EQ(Doc().Status, kStatusAnalysis);
  EXPECT_EQ(Doc().ArrayData.Header.SampleName, "Test01");
  // The chosen references were written back into the sample with its result.
  const CArrayData stored = LoadSample("Test01");
  EXPECT_GE(stored.Header.NonSelfReferenceCount, 1);
  EXPECT_LE(stored.Header.NonSelfReferenceCount, 3);
  EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
}

// An empty reference file is told once in the command, as the list opens,
// and not again by the automatic reference choice, which still logs it.
TEST_F(SampleManagerCommandTest, AnUnreadableReferenceIsToldOnceAndTheAnalysisGoesOn) {
  WriteStudy(GainStudy(4, false));
  ASSERT_TRUE(platform::WriteWholeFile(SamplePath("Ref03"), ""));
  Setting().MAXREF = 3;
  std::size_t toldAtOpening = 0;
  RunManager([&](DialogDriver& d) {
    toldAtOpening = Messages().size();
    d.Select(ids::kSampleList, "Test01").Click(ids::kModeAutomatic).Click(ids::kNonSelfAnalysis);
  });
  EXPECT_TRUE(Exists(ResultPath("Test01.CFN")));
  EXPECT_EQ(toldAtOpening, 1u);
  ASSERT_EQ(Messages().size(), 1u) << ::testing::PrintToString(Messages());
  EXPECT_EQ(Messages()[0], "This file could not be read and is left out:\nUnexpected end of file while reading " +
                               platform::NativePath(SamplePath("Ref03")) + ".");
  const std::vector<std::string> log = ErrorLogLines();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find("Reference candidate left out: "), std::string::npos) << log[0];
  EXPECT_EQ(LoadSample("Test01").Header.NonSelfReferences.find("Ref03"), std::string::npos);
}

TEST_F(SampleManagerCommandTest, CancelEnterAndASampleWithoutSelfReferenceChangeNothing) {
  WriteStudy(GainStudy(2, false));
  const std::vector<std::function<void(DialogDriver&)>> closings = {
      [](DialogDriver& d) { d.Select(ids::kSampleList, 0).Click(IDCANCEL); },
      [](DialogDriver& d) { d.Select(ids::kSampleList, 0); Command(d, IDOK); },
      // Its association analysis is not offered.
      [](DialogDriver& d) {
        d.Select(ids::kSampleList, 0);
        EXPECT_FALSE(d.IsEnabled(ids::kAssociationAnalysis));
        d.Cancel();
      },
  };
  for (const auto& close : closings) RunManager(close);
  EXPECT_EQ(Doc().Status, kStatusClean);
  EXPECT_EQ(Doc().ArrayData.Header.SampleName, "");
  EXPECT_TRUE(platform::FindFiles(ResultFolder(), "*.*").empty());
  EXPECT_TRUE(Messages().empty());
}

TEST_F(SampleManagerCommandTest, ASampleFileGoneAfterTheChoiceIsReported) {
  WriteStudy(GainStudy(2, false));
  RunManager([&](DialogDriver& d) {
    d.Select(ids::kSampleList, "Test01");
    ASSERT_TRUE(platform::RemoveFile(SamplePath("Test01")));
    d.Click(ids::kNonSelfAnalysis);
  });
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("was not found"), std::string::npos) << Messages()[0];
  EXPECT_EQ(Doc().Status, kStatusClean);
  EXPECT_FALSE(Exists(ResultPath("Test01.CFN")));
}

}  // namespace
}  // namespace qova::test
