// Data > DisplaySamples on the document: the display list, several results
// side by side, the integral view and its files, reading the shown results
// again, and opening one result with its extracted sample.
#include <gmock/gmock.h>

#include "analysis/IntegrationData.h"
#include "core/ArrayTypes.h"
#include "core/GroupsFile.h"
#include "document/DocumentCommands.h"
#include "resources/CommandIds.h"
#include "resources/IntegrationDialog.h"
#include "tests/document/display/display_samples_test_support.h"

namespace core = qova::core;

namespace qova::test {
namespace {

using ::testing::HasSubstr;
using Names = std::vector<std::string>;
namespace ids = qova::resources::display;

class DisplayCommandTest : public DisplaySamplesTest {
 protected:
  // "T1" and "T2", each with a one-copy loss (chromosome 5 or 7) and its
  // normal, analysed self (.CFS) and non-self (.CFN).
  DisplayCommandTest() {
    int chromosome = 5;
    for (const char* name : {"T1", "T2"}) {
      samplegen::StudySpec spec = Study(3, true, name);
      spec.Seed = static_cast<std::uint64_t>(chromosome);
      spec.Segments = {samplegen::CopyNumberSegment(chromosome, core::kArrayChromosomeStarts[0][chromosome],
                                                    core::kArrayChromosomeStarts[0][chromosome + 1] - 1, 1)};
      WriteStudy(spec);
      Doc().RunSampleAction(name, kActionSelfAnalysis);
      Doc().RunSampleAction(name, kActionNonSelfAnalysis);
      chromosome += 2;
    }
    Doc().Status = kStatusClean;
    messages_.Clear();
  }

  // Runs the command: the dialog checks `names` of the kind and presses `button`.
  void Display(const Names& names, unsigned button, bool self = true) {
    Ui().OnDialog(qova::resources::kDisplaySamplesDialog, [=](DialogDriver& d) {
      d.Click(self ? ids::kSelfAnalysis : ids::kNonSelfAnalysis);
      CheckLines(d, names);
      d.Click(button);
      if (d.IsOpen()) d.Cancel();
    });
    Run(qova::resources::kCmdDisplaySamples);
  }

  // Answers the integration dialog with `mode` (a radio) or "Add current set".
  void AnswerIntegration(unsigned button, const std::string& title = "") {
    Ui().OnDialog(qova::resources::kIntegrationDialog, [=](DialogDriver& d) {
      if (!title.empty()) d.Type(qova::resources::kIntegrationTitle, title);
      if (button == IDCANCEL) {
        d.Cancel();
        return;
      }
      d.Click(button).Ok();
    });
  }

  std::string ChooseFile(const std::string& path) {
    Ui().OnFileDialog([path](platform::ui::FileDialogRequest& request) {
      request.chosen = {path};
      return true;
    });
    return path;
  }

  [[nodiscard]] Names LoadedNames() {
    Names names;
    for (const auto& result : Doc().LoadedResults) names.push_back(result->Header.SampleName);
    return names;
  }
};

TEST_F(DisplayCommandTest, OkWithoutAModeReplacesOnlyTheDisplayList) {
  Doc().DisplayList = {"old.CFS"};
  Doc().Status = kStatusAnalysis;
  Ui().OnDialog(qova::resources::kDisplaySamplesDialog, [](DialogDriver& d) { d.Ok(); });
  Run(qova::resources::kCmdDisplaySamples);
  EXPECT_TRUE(Doc().DisplayList.empty());
  EXPECT_EQ(Doc().Status, kStatusAnalysis);
  Ui().OnDialog(qova::resources::kDisplaySamplesDialog, [](DialogDriver& d) { d.Cancel(); });
  Doc().DisplayList = {"kept.CFS"};
  Run(qova::resources::kCmdDisplaySamples);
  EXPECT_EQ(Doc().DisplayList, (Names{"kept.CFS"}));
}

TEST_F(DisplayCommandTest, MultipleReadsEveryFileAndAFailureKeepsTheOldDisplay) {
  Display({"T2", "T1"}, ids::kMultiDisplay);
  EXPECT_EQ(Doc().Status, kStatusMultiple);
  EXPECT_EQ(Doc().GetTitle(), "Multiple");
  EXPECT_EQ(LoadedNames(), (Names{"T1", "T2"}));
  EXPECT_TRUE(Doc().LoadedResults[0]->IsSelf);

  Display({"T2"}, ids::kMultiDisplay, false);
  EXPECT_EQ(LoadedNames(), (Names{"T2"}));
  EXPECT_FALSE(Doc().LoadedResults[0]->IsSelf);

  // A group names a sample whose file is gone.
  CGrouP groups;
  groups.Groups.push_back(SampleGroup{1, 2, {"T1", "gone"}, "with gone"});
  ASSERT_TRUE(core::StoreGroupsFile(ResultFolder(), groups));
  Ui().OnDialog(qova::resources::kDisplaySamplesDialog, [](DialogDriver& d) {
    d.Click(ids::kSelfAnalysis).Select(ids::kGroups, "with gone").Click(ids::kSelectGroup).Click(ids::kMultiDisplay);
  });
  Run(qova::resources::kCmdDisplaySamples);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_THAT(Messages()[0], HasSubstr("gone.CFS"));
  EXPECT_EQ(LoadedNames(), (Names{"T2"}));
  EXPECT_EQ(Doc().Status, kStatusMultiple);
}

TEST_F(DisplayCommandTest, OpenSingleResultFindsTheExtractedSampleOfAnyKindInAnyCase) {
  EXPECT_EQ(Doc().OpenSingleResult(nullptr, "t1.cfs"), CQOVADoc::kSucceeded);
  EXPECT_EQ(Doc().Status, kStatusAnalysis);
  EXPECT_EQ(Doc().GetTitle(), "T1");
  EXPECT_EQ(Doc().ArrayData.Header.SampleName, "T1");
  EXPECT_TRUE(Doc().AnalyzedData.IsSelf);

  Setting().NONSELFALLELE = 1;
  Doc().ArrayData.Header.SampleName = "none";
  EXPECT_EQ(Doc().OpenSingleResult(nullptr, "T2.CFN"), CQOVADoc::kSucceeded);
  EXPECT_EQ(Doc().Status, kStatusAnalysis);
  EXPECT_EQ(Doc().ArrayData.Header.SampleName, "T2");

  // Without its extracted sample: "Single".
  ASSERT_TRUE(platform::RemoveFile(SamplePath("T1")));
  EXPECT_EQ(Doc().OpenSingleResult(nullptr, "T1.CFS"), CQOVADoc::kSucceeded);
  EXPECT_EQ(Doc().Status, kStatusSingle);
  EXPECT_EQ(Doc().GetTitle(), "T1");
  EXPECT_TRUE(Messages().empty());

  // A result that cannot be read changes nothing.
  ASSERT_TRUE(platform::WriteWholeFile(ResultPath("bad.CFS"), "short"));
  EXPECT_EQ(Doc().OpenSingleResult(nullptr, "bad.CFS"), CQOVADoc::kFailed);
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Doc().AnalyzedData.Header.SampleName, "T1");
  EXPECT_EQ(Doc().Status, kStatusSingle);
}

TEST_F(DisplayCommandTest, TheIntegralViewIsBuiltAddedToAndLeftAloneOnCancel) {
  AnswerIntegration(qova::resources::kIntegrationGainsAndLosses, "Set1");
  Display({"T1"}, ids::kIntegralView);
  ASSERT_NE(Doc().Integration, nullptr);
  EXPECT_EQ(Doc().Status, kStatusIntegrate);
  EXPECT_EQ(Doc().GetTitle(), "Integral");
  EXPECT_EQ(Doc().Integration->SampleNames, (Names{"T1.CFS"}));
  EXPECT_FALSE(Doc().Integration->Segments.empty());
  const auto first = Doc().Integration;

  AnswerIntegration(qova::resources::kIntegrationAddCurrentSet);
  Display({"T1", "T2"}, ids::kIntegralView);
  EXPECT_EQ(Doc().Integration->SampleNames, (Names{"T1.CFS", "T2.CFS"}));
  EXPECT_EQ(Doc().Integration->Mode, "AddDel");
  EXPECT_EQ(first->SampleNames, (Names{"T1.CFS"}));  // built beside it

  const auto shown = Doc().Integration;
  Doc().SetTitle("kept");
  AnswerIntegration(IDCANCEL);
  Display({"T2"}, ids::kIntegralView);
  EXPECT_EQ(Doc().Integration, shown);
  EXPECT_EQ(Doc().GetTitle(), "kept");
  EXPECT_EQ(Doc().Status, kStatusIntegrate);
  EXPECT_TRUE(Messages().empty());

  // A sample that cannot be read fails the new integration: the shown one stays.
  ASSERT_TRUE(platform::RemoveFile(ResultPath("T2.CFS")));
  AnswerIntegration(qova::resources::kIntegrationGainsAndLosses);
  Doc().DisplayList = {"T2.CFS"};
  EXPECT_FALSE(Doc().BuildIntegralView(TRUE));
  EXPECT_EQ(Doc().Integration, shown);
  EXPECT_EQ(Doc().GetTitle(), "kept");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_THAT(Messages()[0], HasSubstr("T2.CFS"));
}

// "LOH" and "Allelic Imbalance(LOH+CN)" read the LOH likelihood, which only
// the non-self results hold.
TEST_F(DisplayCommandTest, TheLohModesAreOfferedForTheResultsThatHoldAnLohLikelihood) {
  for (const bool self : {true, false}) {
    std::vector<bool> enabled;
    Ui().OnDialog(qova::resources::kIntegrationDialog, [&](DialogDriver& d) {
      for (unsigned id : {qova::resources::kIntegrationLoh, qova::resources::kIntegrationAllelicImbalance,
                          qova::resources::kIntegrationMarkedImbalance})
        enabled.push_back(d.IsEnabled(id));
      d.Cancel();
    });
    Display({"T1", "T2"}, ids::kIntegralView, self);
    EXPECT_EQ(enabled, (std::vector<bool>{!self, !self, true})) << (self ? "self" : "non-self");
  }
}

TEST_F(DisplayCommandTest, AnIntegrationSavedAndOpenedAgainIsTheSame) {
  EXPECT_FALSE(Enabled(qova::document::command::kSaveIntegration));
  AnswerIntegration(qova::resources::kIntegrationGainsAndLosses, "figure");
  Display({"T1", "T2"}, ids::kIntegralView);
  ASSERT_TRUE(Enabled(qova::document::command::kSaveIntegration));
  const IntegrationData built = *Doc().Integration;
  ChooseFile(Root() + "Set1.cfi");
  Run(qova::document::command::kSaveIntegration);
  ASSERT_TRUE(Exists(Root() + "Set1.cfi"));

  Doc().Status = kStatusClean;
  Doc().Integration.reset();
  Run(qova::document::command::kOpenIntegration);
  ASSERT_NE(Doc().Integration, nullptr);
  EXPECT_EQ(Doc().Integration->Segments, built.Segments);
  EXPECT_EQ(Doc().Integration->SampleNames, built.SampleNames);
  EXPECT_EQ(Doc().Integration->Title, "figure");
  EXPECT_EQ(Doc().Status, kStatusIntegrate);
  EXPECT_EQ(Doc().GetTitle(), "Integral: Set1");

  // A damaged file keeps what is shown.
  const std::string bytes = Bytes(Root() + "Set1.cfi");
  ASSERT_TRUE(platform::WriteWholeFile(Root() + "bad.cfi", bytes.substr(0, bytes.size() - 7)));
  const auto shown = Doc().Integration;
  ChooseFile(Root() + "bad.cfi");
  Run(qova::document::command::kOpenIntegration);
  EXPECT_EQ(Doc().Integration, shown);
  EXPECT_EQ(Doc().GetTitle(), "Integral: Set1");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_THAT(Messages()[0], HasSubstr("bad.cfi"));

  // A damaged version is quoted with its control bytes written out.
  ASSERT_EQ(bytes.substr(0, 6), std::string("\x05" "1.000"));
  ASSERT_TRUE(platform::WriteWholeFile(Root() + "version.cfi", "\x05" "1\x1b[0\xff" + bytes.substr(6)));
  ChooseFile(Root() + "version.cfi");
  messages_.Clear();
  Run(qova::document::command::kOpenIntegration);
  EXPECT_EQ(Doc().Integration, shown);
  EXPECT_EQ(Messages(), std::vector<std::string>{Root() + "version.cfi: the version \"1\\x1B[0\\xFF\" is not the 1.000 "
                                                 "of an integration file"});
}

TEST_F(DisplayCommandTest, RefreshReadsTheShownResultsAgainByStatus) {
  Display({"T1", "T2"}, ids::kMultiDisplay);
  CAnalyzedData changed;
  changed.LoadFileAllocating(ResultPath("T2.CFS"));
  changed.SampleSD = 0.125f;
  changed.StoreFile(ResultPath("T2.CFS"));
  ASSERT_TRUE(platform::RemoveFile(ResultPath("T1.CFS")));
  const float oldT1 = Doc().LoadedResults[0]->SampleSD;
  CQOVADoc::RefreshDisplayedResults(Doc());
  EXPECT_EQ(Doc().LoadedResults[1]->SampleSD, 0.125f);
  EXPECT_EQ(Doc().LoadedResults[0]->SampleSD, oldT1);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_THAT(Messages()[0], HasSubstr("T1.CFS"));

  messages_.Clear();
  AnswerIntegration(qova::resources::kIntegrationGainsAndLosses);
  Display({"T2"}, ids::kIntegralView);
  const auto segments = Doc().Integration->Segments;
  Doc().Integration->Segments.clear();
  CQOVADoc::RefreshDisplayedResults(Doc());
  EXPECT_EQ(Doc().Integration->Segments, segments);

  Doc().Status = kStatusSingle;
  Doc().Integration->Segments.clear();
  CQOVADoc::RefreshDisplayedResults(Doc());
  EXPECT_TRUE(Doc().Integration->Segments.empty());
  EXPECT_TRUE(Messages().empty());
}

// The halves of one individual's 50K set: "A1" on Hind240, "B2" on Xba240,
// each with a one-copy loss of chromosome 5, analysed self and non-self with
// the allele-specific switch on.
class DisplayCombineTest : public DisplaySamplesTest {
 protected:
  static constexpr int kFamily = 2;
  DisplayCombineTest() {
    datagen::WriteDataFolder(Root() + "data/", {kFamily});
    const std::int32_t rows = core::kArrayFamilies[kFamily].snpCount;
    global_.BasicData[kFamily].Allocate(rows, 0);
    global_.BasicData[kFamily].LoadFile(global_.DataFolder() + datagen::AnnotationFileName(kFamily), rows);
    Setting().NONSELFALLELE = 1;
    for (const auto& [name, type] : {std::pair{"A1", 2}, std::pair{"B2", 3}}) {
      samplegen::StudySpec spec = Study(3, true, name);
      spec.ArrayType = core::kArrayTypes[type].name;
      spec.Segments = {samplegen::CopyNumberSegment(5, core::kArrayChromosomeStarts[type][5],
                                                    core::kArrayChromosomeStarts[type][6] - 1, 1)};
      samplegen::WriteStudy(ArrayFolder(), global_.BasicData[kFamily], spec);
      Doc().RunSampleAction(name, kActionSelfAnalysis);
      Doc().RunSampleAction(name, kActionNonSelfAnalysis);
    }
    messages_.Clear();
  }

  void Combine(const Names& names, bool self) {
    Ui().OnDialog(qova::resources::kDisplaySamplesDialog, [=](DialogDriver& d) {
      d.Click(self ? ids::kSelfAnalysis : ids::kNonSelfAnalysis);
      CheckLines(d, names);
      d.Click(ids::kCombine);
      if (d.IsOpen()) d.Cancel();
    });
    Run(qova::resources::kCmdDisplaySamples);
  }
};

TEST_F(DisplayCombineTest, TwoHalvesBecomeOneResultUnderTheSecondHeader) {
  Combine({"A1", "B2"}, true);
  ASSERT_TRUE(Exists(ResultPath("A1_AND_B2.CFS"))) << ::testing::PrintToString(Messages());
  CAnalyzedData second;
  second.LoadFile(ResultPath("B2.CFS"), true);
  CAnalyzedData combined;
  combined.LoadFileAllocating(ResultPath("A1_AND_B2.CFS"));
  EXPECT_EQ(combined.Header.ArrayType, "Mapping50K_Hind+Xba");
  EXPECT_EQ(combined.Header.SampleName, "A1_AND_B2");
  EXPECT_EQ(combined.Header.CreateTime, second.Header.CreateTime);
  EXPECT_TRUE(combined.Header.Combined);
  EXPECT_EQ(Doc().GetTitle(), "A1_AND_B2");
  EXPECT_EQ(Doc().Status, kStatusSingle);
  EXPECT_EQ(Doc().AnalyzedData.Header.SampleName, "A1_AND_B2");

  Combine({"A1", "B2"}, false);
  EXPECT_TRUE(Exists(ResultPath("A1_AND_B2.CFA")));
  EXPECT_FALSE(Exists(ResultPath("A1_AND_B2.CFN")));
  EXPECT_FALSE(Doc().AnalyzedData.IsSelf);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(DisplayCombineTest, ARefusedPairWritesNothing) {
  WriteResult("A3.CFS", {}, "Mapping50K_Hind240");
  const auto before = platform::FindFiles(ResultFolder(), "*");
  const std::string status = Doc().Status;
  Combine({"A1", "A3"}, true);
  EXPECT_EQ(Messages(), (Names{"Wrong combination"}));
  EXPECT_EQ(platform::FindFiles(ResultFolder(), "*"), before);
  EXPECT_EQ(Doc().Status, status);
}

}  // namespace
}  // namespace qova::test
