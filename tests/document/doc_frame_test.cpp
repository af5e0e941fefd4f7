// The main document's frame: a new document, its array-type lookups, its
// command table and update rules, the Sample Manager's keywords, the refresh
// after a store, and the command that writes the annotation tables.
#include <map>

#include "document/DocumentCommands.h"
#include "resources/ReferenceDialogs.h"
#include "tests/document/DocumentTestSupport.h"

namespace qova::test {
namespace {

namespace cmd = qova::document::command;
using platform::ui::DialogDriver;

class DocumentFrameTest : public DocumentTest {};

constexpr UINT kAnalysisCommands[] = {cmd::kManualSelection, cmd::kAutomaticSelection, cmd::kSelectOnlySelfRef,
                                      cmd::kSelfAnalysis, cmd::kReanalysis};

TEST_F(DocumentFrameTest, UpdateRulesFollowTheStatus) {
  for (const char* status : {kStatusClean, kStatusAnalysis, kStatusSingle, kStatusMultiple, kStatusIntegrate}) {
    Doc().Status = status;
    const bool analysis = std::string(status) == kStatusAnalysis;
    for (UINT id : kAnalysisCommands) EXPECT_EQ(Enabled(id), analysis) << status << " " << id;
    for (UINT id : {cmd::kSaveIntegration, cmd::kEditIntegration}) {
      EXPECT_EQ(Enabled(id), std::string(status) == kStatusIntegrate) << status << " " << id;
    }
    for (UINT id : {cmd::kOutputSampleList, cmd::kOutputRawData, cmd::kDataExtract, cmd::kSampleManager, cmd::kBatchAnalysis, cmd::kBatchCombine}) {
      EXPECT_TRUE(Enabled(id)) << status << " " << id;
    }
  }
  // The correction needs a non-self result of the allele-specific mode.
  Doc().Status = kStatusAnalysis;
  Doc().AnalyzedData.IsSelf = false;
  Setting().NONSELFALLELE = 0;
  EXPECT_FALSE(Enabled(cmd::kApplyCorrection));
  Setting().NONSELFALLELE = 1;
  EXPECT_TRUE(Enabled(cmd::kApplyCorrection));
  Doc().AnalyzedData.IsSelf = true;
  EXPECT_FALSE(Enabled(cmd::kApplyCorrection));
}

// Every command of the table has a handler.
TEST_F(DocumentFrameTest, EveryCommandIsRouted) {
  for (UINT id : {cmd::kOutputSampleList, cmd::kOutputRawData, cmd::kDataExtract, cmd::kSampleManager, cmd::kStoreBasicData, cmd::kNothing,
                  cmd::kUpdateFilesToNewestVersion, cmd::kApplyCorrection, cmd::kRefreshFileLists,
                  cmd::kExtractWithoutChp, cmd::kUpdateGenderFromChp, cmd::kDumpCdf, cmd::kAverageArrays,
                  cmd::kCopyListedDataFiles, cmd::kChangeAttributesAsListed, cmd::kConvertAllFiles,
                  cmd::kTransferArrangedData, cmd::kExtractImfFromList, cmd::kImfCorrelation, cmd::kMakeSnpInfo,
                  cmd::kImfToIm2, cmd::kMakeNormalAverage, cmd::kIm2ToIm3, cmd::kMakeCnRegression,
                  cmd::kIm3ToResult, cmd::kEditIntegration}) {
    AFX_CMDHANDLERINFO info;
    EXPECT_TRUE(Doc().OnCmdMsg(id, CN_COMMAND, nullptr, &info)) << id;
  }
  for (UINT id : kAnalysisCommands) {
    AFX_CMDHANDLERINFO info;
    EXPECT_TRUE(Doc().OnCmdMsg(id, CN_COMMAND, nullptr, &info)) << id;
  }
  messages_.Clear();
  Run(cmd::kNothing);
  EXPECT_TRUE(Messages().empty());
}

// What each keyword leaves behind for a study with a paired normal and three
// references; every other text, however close, does nothing at all.
struct KeywordCase {
  const char* keyword;
  const char* written;  // result file, or empty
  bool showsChoice;
  const char* status;
};

class KeywordTest : public DocumentFrameTest, public ::testing::WithParamInterface<KeywordCase> {};

TEST_P(KeywordTest, EachKeywordRunsItsAction) {
  const KeywordCase& c = GetParam();
  WriteStudy(3, true);
  Setting().MAXREF = 2;
  CQOVADoc::SetAssociationDialog([](AssociationChoice& choice) {
    choice.PositiveCount = 3;
    choice.NegativeCount = 2;
    choice.Method = 1;
    return true;
  });
  Ui().OnDialog(qova::resources::kRefSelectDialog,
                [](DialogDriver& d) { d.ToggleItemCheck(qova::resources::kRefSelectCheckList, 0).Ok(); });

  Doc().RunSampleAction("Test01", c.keyword);
  CQOVADoc::SetAssociationDialog(nullptr);

  std::vector<std::string> results = platform::FindFiles(ResultFolder(), "*");
  EXPECT_EQ(results, c.written[0] ? std::vector<std::string>{c.written} : std::vector<std::string>{}) << c.keyword;
  EXPECT_EQ(ShowedDialog(qova::resources::kRefSelectDialog), c.showsChoice) << c.keyword;
  EXPECT_EQ(Doc().Status, c.status) << c.keyword;
  const std::string expectedShown = c.written[0] ? "Test01" : "";
  EXPECT_EQ(Doc().ArrayData.Header.SampleName, expectedShown) << c.keyword;
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, KeywordTest,
    ::testing::Values(KeywordCase{"SelfAnalysis", "Test01.CFS", false, kStatusAnalysis},
                      KeywordCase{"NonSelfAnalysis", "Test01.CFN", false, kStatusAnalysis},
                      KeywordCase{"SelectNonSelfRef", "Test01.CFN", true, kStatusAnalysis},
                      KeywordCase{"SelectNonSelfRef_samesex", "Test01.CFN", true, kStatusAnalysis},
                      KeywordCase{"AutomaticAnalysis", "Test01.CFN", false, kStatusAnalysis},
                      KeywordCase{"AutomaticAnalysis_samesex", "Test01.CFN", false, kStatusAnalysis},
                      KeywordCase{"SelectSelfAsRef", "Test01.CFN", false, kStatusAnalysis},
                      KeywordCase{"AssociationAnalysis", "Test01_A.CFS", false, kStatusSingle},
                      KeywordCase{"selfanalysis", "", false, kStatusClean},
                      KeywordCase{"SelfAnalysis ", "", false, kStatusClean},
                      KeywordCase{"NonSelf", "", false, kStatusClean},
                      KeywordCase{"SelectNonSelfRefs", "", false, kStatusClean},
                      KeywordCase{"", "", false, kStatusClean}));

TEST_F(DocumentFrameTest, AnUnknownKeywordLoadsNothing) {
  // No such sample: loading it would fail.
  Doc().RunSampleAction("Missing", "SELFANALYSIS");
  EXPECT_TRUE(Messages().empty());
  EXPECT_THROW(Doc().RunSampleAction("Missing", kActionSelfAnalysis), CFileException);
}

// Without a method dialog nothing is chosen: the entry ends as a Cancel does.
TEST_F(DocumentFrameTest, TheAssociationEntryKeepsTheSampleNameAndWithoutItsDialogDoesNothing) {
  WriteStudy(1, true);
  CQOVADoc::SetAssociationDialog(nullptr);
  Doc().RunSampleAction("Test01", kActionAssociationAnalysis);
  CArrayData sample = LoadSample("Test01");
  EXPECT_EQ(Doc().AssociationAnalysis(&sample), 0);
  EXPECT_EQ(Messages(), std::vector<std::string>{});
  EXPECT_EQ(Doc().Status, kStatusClean);
  EXPECT_FALSE(Exists(ResultPath("Test01_A.CFS")));

  CQOVADoc::SetAssociationDialog([](AssociationChoice& choice) {
    choice.PositiveCount = 3;
    choice.NegativeCount = 2;
    choice.Method = 1;
    return true;
  });
  Doc().RunSampleAction("Test01", kActionAssociationAnalysis);
  CQOVADoc::SetAssociationDialog(nullptr);
  CAnalyzedData stored;
  stored.LoadFileAllocating(ResultPath("Test01_A.CFS"));
  EXPECT_EQ(stored.Header.SampleName, "Test01_A");
  EXPECT_TRUE(stored.IsSelf);
  EXPECT_EQ(Doc().ArrayData.Header.SampleName, "Test01");
  EXPECT_EQ(Doc().Status, kStatusSingle);
  // The association entry stores no .CFH: the one on disk is the study's.
  EXPECT_EQ(LoadSample("Test01").Header.NonSelfReferenceCount, 1);
  // Re-analysis of an association result repeats a self analysis.
  Doc().Status = kStatusAnalysis;
  Run(cmd::kReanalysis);
  EXPECT_TRUE(Exists(ResultPath("Test01.CFS")));
}

TEST_F(DocumentFrameTest, UpdatingAllFilesRewritesEverySampleAndAnalysesTheTests) {
  WriteStudy(2, true);
  messages_.QueueAnswer(IDCANCEL);
  const std::string before = Bytes(SamplePath("Ref01"));
  Run(cmd::kUpdateFilesToNewestVersion);
  EXPECT_EQ(Bytes(SamplePath("Ref01")), before);

  messages_.QueueAnswer(IDOK);
  Run(cmd::kUpdateFilesToNewestVersion);
  for (const char* name : {"Ref01", "Ref02", "Test01N", "Test01"}) {
    EXPECT_EQ(LoadSample(name).Header.HmmMeans[6], 2.5f) << name;
  }
  EXPECT_EQ(platform::FindFiles(ResultFolder(), "*"), (std::vector<std::string>{"Test01.CFN", "Test01.CFS"}));
  EXPECT_EQ(Doc().Status, kStatusClean);
  EXPECT_EQ(Messages().size(), 2u);
}

class AnnotationStoreTest : public DocumentFrameTest {
 protected:
  // Tables of families 0..6 read from a generated folder; the command writes
  // to the start folder's data folder, which starts empty.
  void LoadAllFamilies() {
    datagen::WriteDataFolder(Root() + "generated/", datagen::AllFamilies());
    for (const qova::core::ArrayFamilyInfo& family : qova::core::kArrayFamilies) {
      CBasicData& table = global_.BasicData[family.family];
      table.Allocate(family.snpCount, family.extended ? 1 : 0);
      table.LoadFile(Root() + "generated/" + family.annotationFile, family.snpCount);
    }
    Setting().StartFolder = Root() + "installed/";
  }
};

TEST_F(AnnotationStoreTest, WritesTheFiveTablesAfterConfirmation) {
  LoadAllFamilies();
  messages_.QueueAnswer(IDYES);
  Run(cmd::kStoreBasicData);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find(Root() + "installed/data"), std::string::npos) << Messages()[0];
  const std::vector<std::string> written = platform::FindFiles(Root() + "installed/data/", "*");
  EXPECT_EQ(written, (std::vector<std::string>{"BasicData100K.dtt", "BasicData500K.dtt", "BasicData500KMendel.dtt",
                                               "BasicDataXba131.dtt", "BasicDataXba142.dtt"}));
  for (const std::string& file : written) {
    EXPECT_EQ(Bytes(Root() + "installed/data/" + file), Bytes(Root() + "generated/" + file)) << file;
  }
}

TEST_F(AnnotationStoreTest, NoWritesWithoutConfirmationAndNoEmptyTables) {
  LoadAllFamilies();
  messages_.QueueAnswer(IDNO);
  Run(cmd::kStoreBasicData);
  EXPECT_TRUE(platform::FindFiles(Root() + "installed/data/", "*").empty());

  global_.BasicData[2].Allocate(0, 0);
  messages_.Clear();
  messages_.QueueAnswer(IDYES);
  Run(cmd::kStoreBasicData);
  EXPECT_EQ(platform::FindFiles(Root() + "installed/data/", "*").size(), 4u);
  EXPECT_FALSE(Exists(Root() + "installed/data/BasicData100K.dtt"));
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_NE(Messages()[1].find("BasicData100K.dtt"), std::string::npos);

  // A data folder that cannot be made is said so, and nothing is written.
  ASSERT_TRUE(platform::WriteWholeFile(Root() + "blocked", "a file where the start folder should be"));
  Setting().StartFolder = Root() + "blocked/";
  messages_.Clear();
  messages_.QueueAnswer(IDYES);
  Run(cmd::kStoreBasicData);
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_NE(Messages()[1].find("cannot be created"), std::string::npos) << Messages()[1];
}

}  // namespace
}  // namespace qova::test
