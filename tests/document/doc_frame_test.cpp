// The main document's frame: a new document, its array-type lookups, its
// command table and update rules, the Sample Manager's keywords, the refresh
// after a store, and the command that writes the annotation tables.
#include <map>

#include "document/DocumentCommands.h"
#include "resources/ReferenceDialogs.h"
#include "tests/document/DocumentTestSupport.h"

namespace qova::test {
namespace {

namespace cmd = qova::command;
using platform::ui::DialogDriver;

class DocumentFrameTest : public DocumentTest {};

TEST_F(DocumentFrameTest, ANewDocumentIsCleanWithFullSizeSamplesAndTheFolders) {
  EXPECT_EQ(Doc().Status, kStatusClean);
  EXPECT_EQ(Doc().Integration, nullptr);
  EXPECT_TRUE(Doc().DisplayList.empty());
  EXPECT_TRUE(Doc().LoadedResults.empty());
  EXPECT_EQ(Doc().ArrayData.Capacity(), 540000);
  for (const auto* array : {&Doc().AnalyzedData.LogRatio, &Doc().AnalyzedData.LogRatioA, &Doc().AnalyzedData.LohLikelihood}) {
    EXPECT_EQ(array->size(), 540000u);
  }
  EXPECT_EQ(Doc().ArrayDataFolder, ArrayFolder());
  EXPECT_EQ(Doc().AnalysisResultFolder, ResultFolder());
  EXPECT_EQ(Doc().DataFolder, Root() + "Cel/");
  EXPECT_EQ(Doc().LibraryFolder, Root() + "Library/");
  EXPECT_EQ(Doc().OutputFolder, Root() + "Output/");
  EXPECT_EQ(Doc().StartFolder, Root());
  EXPECT_EQ(Doc().BasicData, global_.BasicData.get());
  EXPECT_EQ(Doc().SnpCount[12], 500446);
  EXPECT_EQ(Doc().ChromosomeStarts[3][1], 57244);
  EXPECT_EQ(Doc().LastXSnpIndex[0], 11343);
  EXPECT_EQ(Doc().OnNewDocument(), TRUE);

  // The folders are copied once: later settings reach only later documents.
  Setting().DefaultArrayDataFolder = Root() + "Elsewhere/";
  EXPECT_EQ(Doc().ArrayDataFolder, ArrayFolder());
  EXPECT_EQ(CQOVADoc().ArrayDataFolder, Root() + "Elsewhere/");
}

TEST_F(DocumentFrameTest, ArrayTypeLookupsCompareNamesExactly) {
  const std::map<std::string, std::pair<int, int>> expected = {
      {"Mapping50K_Hind240", {2, 2}}, {"Mapping50K_Xba240", {3, 2}},   {"Mapping50K_Hind+Xba", {4, 2}},
      {"Mendel_Sty", {5, 3}},         {"Mendel_Nsp", {6, 3}},          {"Mendel_Sty+Nsp", {7, 3}},
      {"Mapping10K_Xba131", {0, 0}},  {"Mapping10K_Xba142", {1, 1}},   {"Mapping250K_Sty", {8, 4}},
      {"Mapping250K_Nsp", {9, 4}},    {"Mapping250K_Sty+Nsp", {10, 4}}, {"Agilent244K", {11, 5}},
      {"GenomeWideSNP_5", {12, 6}},   {"mendel_sty+nsp", {0, 0}},      {"", {0, 0}},
      {"Mendel_Sty+Nsp ", {0, 0}},
  };
  for (const auto& [name, indexes] : expected) {
    EXPECT_EQ(Doc().ArrayTypeIndex(name), indexes.first) << name;
    EXPECT_EQ(Doc().ArrayClassIndex(name), indexes.second) << name;
  }
}

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
    for (UINT id : {cmd::kDataExtract, cmd::kSampleManager, cmd::kBatchAnalysis, cmd::kBatchCombine}) {
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

// Commands of later versions say so, and every command of the table has a
// handler.
TEST_F(DocumentFrameTest, EveryCommandIsRoutedAndPendingOnesSaySo) {
  const UINT pending[] = {cmd::kDisplaySamples,
                          cmd::kOutputRawData,
                          cmd::kOutputSampleList,
                          cmd::kExtractImfFromList, cmd::kImfCorrelation,     cmd::kMakeSnpInfo,
                          cmd::kImfToIm2,          cmd::kMakeNormalAverage,  cmd::kIm2ToIm3,
                          cmd::kMakeCnRegression,  cmd::kIm3ToResult,
                          cmd::kOpenIntegration,
                          cmd::kSaveIntegration,   cmd::kEditIntegration};
  for (UINT id : pending) {
    AFX_CMDHANDLERINFO info;
    EXPECT_TRUE(Doc().OnCmdMsg(id, CN_COMMAND, nullptr, &info)) << id;
    messages_.Clear();
    Run(id);
    ASSERT_EQ(Messages().size(), 1u) << id;
    EXPECT_NE(Messages()[0].find("is not yet available"), std::string::npos) << Messages()[0];
  }
  for (UINT id : {cmd::kDataExtract, cmd::kSampleManager, cmd::kStoreBasicData, cmd::kNothing,
                  cmd::kUpdateFilesToNewestVersion, cmd::kApplyCorrection, cmd::kRefreshFileLists,
                  cmd::kExtractWithoutChp, cmd::kUpdateGenderFromChp, cmd::kDumpCdf, cmd::kAverageArrays,
                  cmd::kCopyListedDataFiles, cmd::kChangeAttributesAsListed, cmd::kConvertAllFiles,
                  cmd::kTransferArrangedData}) {
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

TEST_F(DocumentFrameTest, TheAssociationEntryKeepsTheSampleNameAndSaysWhenItIsMissing) {
  WriteStudy(1, true);
  Doc().RunSampleAction("Test01", kActionAssociationAnalysis);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("not yet available"), std::string::npos);
  EXPECT_EQ(Doc().Status, kStatusClean);

  CQOVADoc::SetAssociationDialog([](AssociationChoice& choice) {
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

// Stores reach the documents that show the same sample: an extracted sample
// only those in "Analysis", a result also those in "Single" with the same kind.
TEST_F(DocumentFrameTest, StoresRefreshTheDocumentsThatShowTheSample) {
  WriteStudy(1, true);
  Doc().RunSampleAction("Test01", kActionSelfAnalysis);
  ASSERT_EQ(Doc().Status, kStatusAnalysis);
  CQOVADoc single;
  single.RunSampleAction("Test01", kActionSelfAnalysis);
  single.Status = kStatusSingle;

  CArrayData sample = LoadSample("Test01");
  sample.Header.Attribute1 = "changed";
  sample.SignalA[5] = 12345.0f;
  sample.StoreFile(SamplePath("Test01"));
  EXPECT_EQ(Doc().ArrayData.Header.Attribute1, "changed");
  EXPECT_EQ(Doc().ArrayData.SignalA[5], 12345.0f);
  EXPECT_EQ(single.ArrayData.Header.Attribute1, "");

  CAnalyzedData result;
  result.LoadFileAllocating(ResultPath("Test01.CFS"));
  result.LogRatio[7] = 9.5f;
  result.StoreFile(ResultPath("Test01.CFS"));
  EXPECT_EQ(Doc().AnalyzedData.LogRatio[7], 9.5f);
  EXPECT_EQ(single.AnalyzedData.LogRatio[7], 9.5f);
  // A non-self result of the same sample reaches neither.
  CAnalyzedData nonSelf(LoadSample("Test01"), AnalysisKind::NonSelf);
  nonSelf.LogRatio[7] = -3.0f;
  nonSelf.StoreFile(ResultPath("Test01.CFN"));
  EXPECT_EQ(Doc().AnalyzedData.LogRatio[7], 9.5f);
  EXPECT_EQ(single.AnalyzedData.LogRatio[7], 9.5f);
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
    for (const qova::ArrayFamilyInfo& family : qova::kArrayFamilies) {
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
}

}  // namespace
}  // namespace qova::test
