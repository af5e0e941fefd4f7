// The small parameter dialogs as a user works them: averaging, baseline and
// contamination. Each refuses what it cannot use with its own words and
// leaves the caller's members alone unless OK is accepted.
#include "analysis/Average.h"
#include "analysis/BaseSet.h"
#include "analysis/Contamination.h"
#include "resources/ParameterDialogs.h"
#include "tests/core/CoreDialogTestSupport.h"

namespace qova::test {
namespace {

using platform::ui::DialogDriver;
using namespace qova::resources;

using ParameterDialogTest = CoreDialogTest;

TEST_F(ParameterDialogTest, AveragingTakesOneToFiftyAndTheCheckedModes) {
  struct Case {
    const char* typed;
    std::function<void(DialogDriver&)> act;
    std::vector<std::string> messages;
    int number, mode, draw;
  };
  const std::vector<Case> cases = {
      {"0", [](DialogDriver&) {}, {"Please enter an integer between 1 and 50."}, 7, 0, 0},
      {"51", [](DialogDriver&) {}, {"Please enter an integer between 1 and 50."}, 7, 0, 0},
      {"five", [](DialogDriver&) {}, {"Please enter an integer."}, 7, 0, 0},
      {"1", [](DialogDriver&) {}, {}, 1, 1, 2},
      {"50", [](DialogDriver& d) { d.Click(kAverageIncludeAll).Click(kAveragePoints); }, {}, 50, 2, 1},
      // States no click reaches (an automatic radio cannot be unchecked).
      {"2", [](DialogDriver& d) { d.Window().CheckDlgButton(kAverageExcludeMaxMin, BST_UNCHECKED); },
       {"Select Averaging Mode"}, 7, 0, 0},
      {"2", [](DialogDriver& d) { d.Window().CheckDlgButton(kAverageLines, BST_UNCHECKED); }, {"Select Draw Mode"}, 7, 0,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    messages_.Clear();
    std::string label, shownNumber;
    bool excludeChecked = false, linesChecked = false;
    Ui().OnDialog(kAverageDialog, [&](DialogDriver& d) {
      label = d.Text(kAverageNumberLabel);
      shownNumber = d.Text(kAverageNumber);
      excludeChecked = d.IsChecked(kAverageExcludeMaxMin);
      linesChecked = d.IsChecked(kAverageLines);
      c.act(d);
      d.Type(kAverageNumber, c.typed).Ok();
      if (d.IsOpen()) d.Cancel();
    });
    CAverage dialog;
    dialog.AveragingNumber = 7;
    EXPECT_EQ(dialog.DoModal(), c.messages.empty() ? IDOK : IDCANCEL);
    EXPECT_EQ(label, "Enter Averaging Number (1-50)");
    EXPECT_EQ(shownNumber, "7");
    EXPECT_TRUE(excludeChecked && linesChecked);
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(dialog.AveragingNumber, c.number);
    EXPECT_EQ(dialog.AveragingMode, c.mode);
    EXPECT_EQ(dialog.DrawMode, c.draw);
  }
}

TEST_F(ParameterDialogTest, AveragingOpensWithTheCallersChoiceAndOkKeepsIt) {
  struct Case {
    int mode, draw;
    UINT modeShown, drawShown;
    int modeAfter, drawAfter;
  };
  const Case cases[] = {
      {0, 0, kAverageExcludeMaxMin, kAverageLines, 1, 2},  // no choice yet
      {1, 2, kAverageExcludeMaxMin, kAverageLines, 1, 2},
      {2, 1, kAverageIncludeAll, kAveragePoints, 2, 1},
      {2, 2, kAverageIncludeAll, kAverageLines, 2, 2},
      {1, 1, kAverageExcludeMaxMin, kAveragePoints, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.mode << "," << c.draw);
    std::vector<UINT> checked;
    std::string shownNumber;
    Ui().OnDialog(kAverageDialog, [&](DialogDriver& d) {
      shownNumber = d.Text(kAverageNumber);
      for (UINT id : {kAverageExcludeMaxMin, kAverageIncludeAll, kAveragePoints, kAverageLines})
        if (d.IsChecked(id)) checked.push_back(id);
      d.Ok();
    });
    CAverage dialog;
    dialog.AveragingNumber = 30;
    dialog.AveragingMode = c.mode;
    dialog.DrawMode = c.draw;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(shownNumber, "30");
    EXPECT_EQ(checked, (std::vector<UINT>{c.modeShown, c.drawShown}));
    EXPECT_EQ(dialog.AveragingNumber, 30);
    EXPECT_EQ(dialog.AveragingMode, c.modeAfter);
    EXPECT_EQ(dialog.DrawMode, c.drawAfter);
  }
}

TEST_F(ParameterDialogTest, BaselineOffersTheAlleleRowsOnlyWithAlleleData) {
  const UINT alleleControls[] = {kBaseSetLarger, kBaseSetSmaller, 1059, 1006, 1007, 1008, 1009, 1010, 1011, 1012};
  for (const std::uint8_t flags : {std::uint8_t(0), std::uint8_t(4)}) {
    SCOPED_TRACE(int(flags));
    std::vector<bool> enabled;
    std::vector<UINT> checked;
    Ui().OnDialog(kBaseSetDialog, [&](DialogDriver& d) {
      for (UINT id : alleleControls) enabled.push_back(d.IsEnabled(id));
      for (UINT id : {kBaseSetBoth, kBaseSetLarger, kBaseSetSmaller, 1017u, 1018u, 1057u, 1058u, 1059u, 1006u, 1007u,
                      1008u, 1009u, 1010u, 1011u, 1012u})
        if (d.IsChecked(id)) checked.push_back(id);
      d.Ok();
    });
    CBaseSet dialog;
    dialog.Flags = flags;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(enabled, std::vector<bool>(std::size(alleleControls), flags == 4));
    EXPECT_EQ(checked, (std::vector<UINT>{kBaseSetBoth, 1018, 1007, 1009}));
    EXPECT_EQ(dialog.BaseMode, 1);
    EXPECT_EQ(dialog.BothN, 2);
    EXPECT_EQ(dialog.LargerN, 2);
    EXPECT_EQ(dialog.SmallerN, 0);
  }
}

TEST_F(ParameterDialogTest, BaselineTakesTheRowOfTheChosenModeOrSaysWhatIsMissing) {
  // Unchecked buttons are states no click reaches: the program's own checks
  // stand in for them.
  const auto uncheck = [](std::vector<UINT> ids) {
    return [ids](DialogDriver& d) {
      for (UINT id : ids) d.Window().CheckDlgButton(int(id), BST_UNCHECKED);
    };
  };
  struct Case {
    const char* what;
    std::uint8_t flags;
    std::function<void(DialogDriver&)> act;
    const char* message;  // null: accepted
    int mode, n;
  };
  const std::vector<Case> cases = {
      {"smaller allele, n=3", 4, [](DialogDriver& d) { d.Click(kBaseSetSmaller).Click(1012); }, nullptr, 3, 3},
      {"larger allele, n=0", 4, [](DialogDriver& d) { d.Click(kBaseSetLarger).Click(1059); }, nullptr, 2, 0},
      {"both alleles, n=4", 0, [](DialogDriver& d) { d.Click(1058); }, nullptr, 1, 4},
      {"no mode", 4, uncheck({kBaseSetBoth}), "Select base mode ", 9, 9},
      {"an allele mode without allele data", 0,
       [](DialogDriver& d) {
         d.Window().CheckDlgButton(kBaseSetBoth, BST_UNCHECKED);
         d.Window().CheckDlgButton(kBaseSetLarger, BST_CHECKED);
       },
       "Select both allelic mode for non-self analysis", 9, 9},
      {"both alleles without n", 4, uncheck({1018}), "Select one ", 9, 9},
      {"larger allele without n", 4,
       [&](DialogDriver& d) {
         d.Click(kBaseSetLarger);
         uncheck({1007})(d);
       },
       "Select one ", 9, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    messages_.Clear();
    Ui().OnDialog(kBaseSetDialog, [&](DialogDriver& d) {
      c.act(d);
      d.Ok();
      if (d.IsOpen()) d.Cancel();
    });
    CBaseSet dialog;
    dialog.Flags = c.flags;
    dialog.BaseMode = dialog.BothN = dialog.LargerN = dialog.SmallerN = 9;
    EXPECT_EQ(dialog.DoModal(), c.message ? IDCANCEL : IDOK);
    EXPECT_EQ(Messages(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    EXPECT_EQ(dialog.BaseMode, c.mode);
    const int n[] = {dialog.BothN, dialog.LargerN, dialog.SmallerN};
    EXPECT_EQ(c.mode >= 1 && c.mode <= 3 ? n[c.mode - 1] : dialog.BothN, c.n);
  }
}

// A dialog whose OK must first get a choice the dialog does not start with:
// every refusal text, then Cancel leaves the caller's members.
TEST_F(ParameterDialogTest, ContaminationNeedsTheNumberOfLoci) {
  struct Case {
    UINT click;
    std::vector<std::string> messages;
    int loci;
  };
  const std::vector<Case> cases = {{0, {"Select one "}, -1}, {kContaminationOneLocus, {}, 1},
                                   {kContaminationThreeLoci, {}, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.click);
    messages_.Clear();
    bool anyChecked = true;
    Ui().OnDialog(kContaminationDialog, [&](DialogDriver& d) {
      anyChecked = d.IsChecked(kContaminationOneLocus) || d.IsChecked(kContaminationThreeLoci);
      if (c.click != 0) d.Click(c.click);
      d.Ok();
      if (d.IsOpen()) d.Cancel();
    });
    CContamination dialog;
    dialog.Loci = -1;
    EXPECT_EQ(dialog.DoModal(), c.messages.empty() ? IDOK : IDCANCEL);
    EXPECT_FALSE(anyChecked);
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(dialog.Loci, c.loci);
  }
}

TEST_F(ParameterDialogTest, SelfContaminationStartsWithBothAllelesAndOneLocus) {
  struct Case {
    std::vector<UINT> clicks;
    int allele, loci;
  };
  const std::vector<Case> cases = {
      {{}, 1, 1},
      {{kContaminationSelfSmaller, kContaminationSelfThreeLoci}, 3, 3},
      {{kContaminationSelfLarger}, 2, 1},
  };
  for (const Case& c : cases) {
    Ui().OnDialog(kContaminationSelfDialog, [&](DialogDriver& d) {
      for (UINT id : c.clicks) d.Click(id);
      d.Ok();
    });
    CContaminationSelfMode dialog;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.Allele, c.allele);
    EXPECT_EQ(dialog.Loci, c.loci);
  }
  // Cancel leaves the caller's members.
  Ui().OnDialog(kContaminationSelfDialog, [](DialogDriver& d) { d.Click(kContaminationSelfSmaller).Cancel(); });
  CContaminationSelfMode dialog;
  dialog.Allele = 9;
  dialog.Loci = 9;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.Allele, 9);
  EXPECT_EQ(dialog.Loci, 9);
  EXPECT_TRUE(Messages().empty());
}

}  // namespace
}  // namespace qova::test
