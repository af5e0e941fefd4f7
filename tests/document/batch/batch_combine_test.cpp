// Automation > Batch Combine: the results of the Hind240 and Xba240 arrays of
// one set joined into Mapping50K_Hind+Xba results, and how missing and
// mismatched pairs are logged.
#include <gmock/gmock.h>

#include "core/ArrayTypes.h"
#include "document/batch/CombineResults.h"
#include "document/DocumentCommands.h"
#include "tests/document/DocumentTestSupport.h"

namespace core = qova::core;

namespace qova::test {
namespace {

using Names = std::vector<std::string>;

constexpr int kFamily = 2;
constexpr int kHind = 2, kXba = 3, kCombined = 4;

class BatchCombineTest : public DocumentTest {
 protected:
  // Both halves of a set with a one-copy loss of chromosome 5, analysed self
  // and non-self: "H" (Hind240) and "X" (Xba240).
  BatchCombineTest() {
    datagen::WriteDataFolder(Root() + "data/", {kFamily});
    const std::int32_t rows = core::kArrayFamilies[kFamily].snpCount;
    global_.BasicData[kFamily].Allocate(rows, 0);
    global_.BasicData[kFamily].LoadFile(global_.DataFolder() + datagen::AnnotationFileName(kFamily), rows);
    for (const auto& [name, type] : {std::pair{"H", kHind}, std::pair{"X", kXba}}) {
      samplegen::StudySpec spec = Study(3, true, name);
      spec.ArrayType = core::kArrayTypes[type].name;
      spec.Segments = {samplegen::CopyNumberSegment(5, core::kArrayChromosomeStarts[type][5],
                                                    core::kArrayChromosomeStarts[type][6] - 1, 1)};
      samplegen::WriteStudy(ArrayFolder(), global_.BasicData[kFamily], spec);
      // Before the next study replaces the references "Ref01"...: both kinds
      // of non-self result.
      Doc().RunSampleAction(name, kActionSelfAnalysis);
      Setting().NONSELFALLELE = 1;
      Doc().RunSampleAction(name, kActionNonSelfAnalysis);
      Setting().NONSELFALLELE = 0;
      Doc().RunSampleAction(name, kActionNonSelfAnalysis);
    }
    messages_.Clear();
  }

  void RunWithList(const std::string& list) {
    EXPECT_TRUE(platform::WriteWholeFile(Root() + "pairs.txt", list));
    Ui().OnFileDialog([this](platform::ui::FileDialogRequest& request) {
      request.chosen = {Root() + "pairs.txt"};
      return true;
    });
    Run(qova::document::command::kBatchCombine);
  }

  CAnalyzedData Load(const std::string& file) const {
    CAnalyzedData result;
    result.LoadFileAllocating(ResultPath(file));
    return result;
  }
};

TEST_F(BatchCombineTest, PairsInEitherOrderGiveCombinedResultsWithTheSecondHeader) {
  const std::string shown = Doc().AnalyzedData.Header.SampleName, status = Doc().GetStatus();
  RunWithList("H\tX\n\t\tX\t\tH\tignored\n");
  EXPECT_EQ(Messages(), Names{"Automatic combination completed"});
  EXPECT_TRUE(ErrorLogLines().empty());
  for (const auto& [name, second] : {std::pair{"H_AND_X", "X"}, std::pair{"X_AND_H", "H"}}) {
    for (const char* extension : {".CFS", ".CFN"}) {
      const CAnalyzedData combined = Load(std::string(name) + extension);
      const CAnalyzedData half = Load(std::string(second) + extension);
      EXPECT_EQ(combined.Header.SampleName, name);
      EXPECT_EQ(combined.Header.ArrayType, "Mapping50K_Hind+Xba");
      EXPECT_EQ(combined.Header.FirstSnpIndex, global_.ArrayFirstSnpIndex[kCombined]);
      EXPECT_EQ(combined.Header.LastSnpIndex, global_.ArrayLastSnpIndex[kCombined]);
      EXPECT_TRUE(combined.Header.Combined);
      EXPECT_EQ(combined.IsSelf, std::string(extension) == ".CFS");
      EXPECT_EQ(combined.Header.SelfReference, half.Header.SelfReference) << "the second half's header";
    }
  }
  // Written only: the document goes on showing what it showed.
  EXPECT_EQ(Doc().GetStatus(), status);
  EXPECT_EQ(Doc().AnalyzedData.Header.SampleName, shown);
}

TEST_F(BatchCombineTest, ALossPlantedOnBothHalvesIsCalledOnTheCombinedResult) {
  RunWithList("H\tX\n");
  for (const char* extension : {".CFS", ".CFN"}) {
    const CAnalyzedData combined = Load(std::string("H_AND_X") + extension);
    const std::int32_t first = core::kArrayChromosomeStarts[kCombined][5], end = core::kArrayChromosomeStarts[kCombined][6];
    int lost = 0;
    for (std::int32_t i = first; i < end; ++i) lost += combined.CopyNumberState[i] == 1 ? 1 : 0;
    EXPECT_GE(lost, (end - first) * 95 / 100) << extension;
    int elsewhere = 0;
    for (std::int32_t i = core::kArrayChromosomeStarts[kCombined][1]; i < first; ++i) {
      elsewhere += combined.CopyNumberState[i] == 1 ? 1 : 0;
    }
    EXPECT_LT(elsewhere, (first - core::kArrayChromosomeStarts[kCombined][1]) / 20) << extension;
  }
}

TEST_F(BatchCombineTest, TheAlleleSpecificSwitchCombinesTheCfaResults) {
  Setting().NONSELFALLELE = 1;
  RunWithList("H\tX\n");
  EXPECT_TRUE(Exists(ResultPath("H_AND_X.CFA")));
  EXPECT_FALSE(Exists(ResultPath("H_AND_X.CFN")));
  EXPECT_EQ(Load("H_AND_X.CFA").Header.ArrayType, "Mapping50K_Hind+Xba");
}

TEST_F(BatchCombineTest, MissingAndMismatchedPairsAreLoggedAndTheRestGoesOn) {
  platform::RemoveFile(ResultPath("X.CFS"));
  RunWithList("H\tNobody\nH\tH\nH\tX\nLonely\n");
  EXPECT_THAT(ErrorLogLines(), ::testing::ElementsAre("H and Nobody : Cannot find files",
                                                      "H and H : Different Array type",
                                                      "H and H : Different Array type",
                                                      "Lonely and  : Cannot find files"));
  EXPECT_TRUE(Exists(ResultPath("H_AND_X.CFN")));
  EXPECT_FALSE(Exists(ResultPath("H_AND_X.CFS")));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "Some errors happened.\nCheck " + Root() + "errorlog.txt");
}

TEST_F(BatchCombineTest, AnUnreadableResultIsLoggedWithItsReason) {
  EXPECT_TRUE(platform::WriteWholeFile(ResultPath("X.CFS"), "broken"));
  RunWithList("H\tX\n");
  const Names log = ErrorLogLines();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_THAT(log[0], ::testing::StartsWith("H and X : "));
  EXPECT_GT(log[0].size(), std::string("H and X : ").size());
  EXPECT_TRUE(Exists(ResultPath("H_AND_X.CFN")));
}

TEST_F(BatchCombineTest, AnEmptyListCompletesAndAnUnreadableListSaysSo) {
  RunWithList("");
  EXPECT_EQ(Messages(), Names{"Automatic combination completed"});
  messages_.Clear();
  Ui().OnFileDialog([this](platform::ui::FileDialogRequest& request) {
    request.chosen = {Root() + "missing.txt"};
    return true;
  });
  Run(qova::document::command::kBatchCombine);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_THAT(Messages()[0], ::testing::HasSubstr("missing.txt cannot be read"));
}

}  // namespace
}  // namespace qova::test
