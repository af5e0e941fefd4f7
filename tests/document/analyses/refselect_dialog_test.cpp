// The two reference dialogs, driven as a user would: the check list of
// candidate references and the chooser of one reference sample.
#include "document/analyses/RefSelect.h"
#include "document/analyses/SelectRef.h"
#include "resources/ReferenceDialogs.h"
#include "tests/document/DocumentTestSupport.h"

namespace qova::test {
namespace {

using platform::ui::DialogDriver;
using namespace qova::resources;

class ReferenceDialogTest : public DocumentTest {
 protected:
  void WriteSampleOf(const std::string& name, bool isTest, const char* type = kSmallType) {
    CArrayData sample(name, type, global_.TypeInfo(ArrayTypeIndex(type)), CTime::GetCurrentTime());
    sample.Header.IsTest = isTest ? 1 : 0;
    sample.StoreFile(SamplePath(name));
  }
};

TEST_F(ReferenceDialogTest, CheckListConfirmsTheCountAndHandsBackTheFlags) {
  std::vector<std::string> shown;
  bool cancelVisible = true;
  std::string caption;
  Ui().OnDialog(kRefSelectDialog, [&](DialogDriver& d) {
    shown = d.Items(kRefSelectCheckList);
    cancelVisible = d.IsVisible(IDCANCEL);
    caption = d.Caption();
    d.ToggleItemCheck(kRefSelectCheckList, 0).ToggleItemCheck(kRefSelectCheckList, 1).Ok();
  });
  CRefSelect dialog;
  dialog.SetCandidates({{0.11f, "RefA"}, {0.22f, "RefB"}, {0.33f, "RefC"}});
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(shown, (std::vector<std::string>{"RefA    0.110000", "RefB    0.220000", "RefC    0.330000"}));
  EXPECT_FALSE(cancelVisible);
  EXPECT_EQ(caption, "Dialog");
  EXPECT_EQ(Messages(), std::vector<std::string>{"2 items selected \n as references"});
  EXPECT_EQ(dialog.SelectedFlags, (std::vector<BYTE>{1, 1, 0}));
  EXPECT_TRUE(dialog.IsSelected(1));
  EXPECT_FALSE(dialog.IsSelected(2));
  EXPECT_FALSE(dialog.IsSelected(7));
}

TEST_F(ReferenceDialogTest, CheckListStaysOpenUntilSomethingIsChecked) {
  bool stayedOpen = false;
  Ui().OnDialog(kRefSelectDialog, [&](DialogDriver& d) {
    d.Ok();
    stayedOpen = d.IsOpen();
    d.ToggleItemCheck(kRefSelectCheckList, 2).Ok();
  });
  CRefSelect dialog;
  dialog.SetCandidates({{0.11f, "RefA"}, {0.22f, "RefB"}, {0.33f, "RefC"}});
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Select samples", "1 items selected \n as references"}));
  EXPECT_EQ(dialog.SelectedFlags, (std::vector<BYTE>{0, 0, 1}));
}

TEST_F(ReferenceDialogTest, ChooserListsReferenceSamplesOfTheTypeSorted) {
  WriteSampleOf("Zeta", false);
  WriteSampleOf("alpha", false);
  WriteSampleOf("Mid", true);
  WriteSampleOf("Other", false, "Mapping10K_Xba142");
  ASSERT_TRUE(platform::WriteWholeFile(SamplePath("Broken"), "not a sample"));
  std::vector<std::string> referencesOnly, everything;
  bool checkedAtStart = false;
  Ui().OnDialog(kSelectRefDialog, [&](DialogDriver& d) {
    checkedAtStart = d.IsChecked(kSelectRefShowReferencesOnly);
    referencesOnly = d.Items(kSelectRefSampleList);
    d.Click(kSelectRefShowReferencesOnly);
    everything = d.Items(kSelectRefSampleList);
    d.Select(kSelectRefSampleList, "Mid").Ok();
  });
  CSelectRef dialog;
  dialog.ArrayType = kSmallType;
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(checkedAtStart);
  EXPECT_EQ(referencesOnly, (std::vector<std::string>{"alpha", "Zeta"}));
  EXPECT_EQ(everything, (std::vector<std::string>{"alpha", "Mid", "Zeta"}));
  EXPECT_EQ(dialog.ChosenName, "Mid");
  EXPECT_FALSE(dialog.ReferencesOnly);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ReferenceDialogTest, ChooserNeedsAChoiceAndSaysWhenTheFolderIsEmpty) {
  bool stayedOpen = false;
  Ui().OnDialog(kSelectRefDialog, [&](DialogDriver& d) {
    d.Ok();
    stayedOpen = d.IsOpen();
    d.Cancel();
  });
  CSelectRef dialog(ArrayFolder());
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"error", "Select Reference"}));
  EXPECT_EQ(dialog.ChosenName, "");
}

}  // namespace
}  // namespace qova::test
