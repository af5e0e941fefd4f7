// The integration parameters dialog, driven headlessly as a user would.
#include "analysis/IntegrationParameters.h"

#include <gtest/gtest.h>

#include "platform/MessageBox.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Headless.h"
#include "platform/ui/Resources.h"
#include "resources/IntegrationDialog.h"

namespace qova::test {
namespace {

using platform::ui::DialogDriver;
using namespace qova::resources;

class IntegrationDialogTest : public ::testing::Test {
 protected:
  IntegrationDialogTest() {
    platform::ui::SetBackend(nullptr);
    platform::ui::Headless().Reset();
    platform::ui::Resources::Instance().Clear();
  }
  ~IntegrationDialogTest() override { platform::ui::Headless().Reset(); }
  static platform::ui::HeadlessUi& Ui() { return platform::ui::Headless(); }

  platform::ScopedRecordingSink messages_;
};

TEST_F(IntegrationDialogTest, EachModeRadioHandsBackItsModeWithOrderTitleAndCount) {
  struct Case {
    unsigned radio;
    const char* mode;
  } cases[] = {{kIntegrationGainsAndLosses, "AddDel"},   {kIntegrationHomozygousDeletions, "HomDel"},
               {kIntegrationHighAmplifications, "HiAmp"}, {kIntegrationLoh, "LOH"},
               {kIntegrationAllelicImbalance, "AH"},      {kIntegrationCopyNumberChange, "Change"},
               {kIntegrationMarkedImbalance, "AH_Mark"}};
  for (const Case& test : cases) {
    SCOPED_TRACE(test.mode);
    Ui().OnDialog(kIntegrationDialog, [&](DialogDriver& d) {
      EXPECT_EQ(d.Caption(), "Set the Integration Parameters");
      EXPECT_TRUE(d.IsChecked(kIntegrationOrderByAmount));
      EXPECT_EQ(d.Text(kIntegrationTitle), "Old title");
      EXPECT_EQ(d.Text(kIntegrationRunEdit), "5");
      d.Click(test.radio).Click(kIntegrationOrderById).Spin(kIntegrationRunUpDown, 2);
      d.Type(kIntegrationTitle, "Tumours").Ok();
    });
    CIntegrationParameters dialog;
    dialog.Order = "Amount";
    dialog.Title = "Old title";
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.Mode, test.mode);
    EXPECT_EQ(dialog.Order, "ID");
    EXPECT_EQ(dialog.Title, "Tumours");
    EXPECT_EQ(dialog.MinRun, 7);
    EXPECT_FALSE(dialog.AddCurrentSet);
  }
  EXPECT_TRUE(messages_.Empty());
}

TEST_F(IntegrationDialogTest, MissingChoicesKeepItOpenUntilAMarkerNumberIsPicked) {
  std::vector<std::string> markerItems;
  bool openAfterNothing = false, openAfterNoNumber = false;
  Ui().OnDialog(kIntegrationDialog, [&](DialogDriver& d) {
    markerItems = d.Items(kIntegrationMarkerNumber);
    d.Ok();
    openAfterNothing = d.IsOpen();
    d.Click(kIntegrationUserMarker).Ok();
    openAfterNoNumber = d.IsOpen();
    d.Select(kIntegrationMarkerNumber, "4").Ok();
  });
  CIntegrationParameters dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(markerItems, (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6"}));
  EXPECT_TRUE(openAfterNothing);
  EXPECT_TRUE(openAfterNoNumber);
  EXPECT_EQ(messages_.Texts(), (std::vector<std::string>{"Select One Option", "Select Marker Number"}));
  EXPECT_EQ(dialog.Mode, "UserMarker4");
  EXPECT_EQ(dialog.Order, "ID");
  EXPECT_EQ(dialog.MinRun, 5);
}

TEST_F(IntegrationDialogTest, AddCurrentSetDisablesTheChoicesAndSkipsTheChecks) {
  const unsigned choices[] = {kIntegrationGainsAndLosses, kIntegrationHomozygousDeletions,
                              kIntegrationHighAmplifications, kIntegrationLoh, kIntegrationAllelicImbalance,
                              kIntegrationCopyNumberChange, kIntegrationMarkedImbalance, kIntegrationUserMarker,
                              kIntegrationMarkerNumber, kIntegrationRunEdit, kIntegrationRunUpDown};
  std::vector<unsigned> enabledWhileAdding, disabledAfter;
  Ui().OnDialog(kIntegrationDialog, [&](DialogDriver& d) {
    d.Click(kIntegrationAddCurrentSet);
    for (unsigned id : choices)
      if (d.IsEnabled(id)) enabledWhileAdding.push_back(id);
    d.Click(kIntegrationAddCurrentSet);
    for (unsigned id : choices)
      if (!d.IsEnabled(id)) disabledAfter.push_back(id);
    d.Click(kIntegrationAddCurrentSet).Click(kIntegrationOrderByAmount).Type(kIntegrationTitle, "More").Ok();
  });
  CIntegrationParameters dialog;
  dialog.IntegrationExists = true;
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(enabledWhileAdding.empty());
  EXPECT_TRUE(disabledAfter.empty());
  EXPECT_TRUE(messages_.Empty());
  EXPECT_TRUE(dialog.AddCurrentSet);
  EXPECT_EQ(dialog.Order, "Amount");
  EXPECT_EQ(dialog.Title, "More");
  EXPECT_EQ(dialog.Mode, "");
}

TEST_F(IntegrationDialogTest, WithoutLohLikelihoodOrAnIntegrationTheirChoicesAreDisabled) {
  std::vector<bool> enabled;
  Ui().OnDialog(kIntegrationDialog, [&](DialogDriver& d) {
    for (unsigned id : {kIntegrationLoh, kIntegrationAllelicImbalance, kIntegrationAddCurrentSet, kIntegrationHomozygousDeletions})
      enabled.push_back(d.IsEnabled(id));
    d.Cancel();
  });
  CIntegrationParameters dialog;
  dialog.HasLohLikelihood = false;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(enabled, (std::vector<bool>{false, false, false, true}));
}

TEST_F(IntegrationDialogTest, RunLengthStaysWithinTwoToFifteen) {
  struct Case {
    int spin;
    const char* typed;
    std::int32_t expected;
  } cases[] = {{20, nullptr, 15}, {-20, nullptr, 2}, {-3, nullptr, 2}, {0, "99", 15}, {0, "1", 2}, {0, "12", 12},
               {4, "", 9}};
  for (const Case& test : cases) {
    SCOPED_TRACE(testing::Message() << test.spin << " " << (test.typed ? test.typed : "-"));
    Ui().OnDialog(kIntegrationDialog, [&](DialogDriver& d) {
      d.Click(kIntegrationCopyNumberChange).Spin(kIntegrationRunUpDown, test.spin);
      if (test.typed) d.Type(kIntegrationRunEdit, test.typed);
      d.Ok();
    });
    CIntegrationParameters dialog;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.MinRun, test.expected);
  }
}

}  // namespace
}  // namespace qova::test
