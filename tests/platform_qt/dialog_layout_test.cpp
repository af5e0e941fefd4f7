// Every dialog template the program registers, laid out on Qt's offscreen
// platform: nothing overlaps, nothing is cut off, every caption fits. A
// picture of each lands in <build>/artefacts/dialogs/<template id>.png.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/ui/Dialog.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Resources.h"
#include "resources/AllResources.h"
#include "tests/platform_qt/qt_fixture.h"
#include "tests/platform_qt/DialogLayout.h"
#include "tests/support/TempHome.h"

namespace qova::test {
namespace {

using namespace platform::ui;
using ::testing::HasSubstr;

class DialogLayoutTest : public QtUiTest {};

TEST_F(DialogLayoutTest, EveryRegisteredTemplateLaysOutCleanly) {
  qova::resources::RegisterAllResources();
  RegisterFrameworkDialogs();
  const std::filesystem::path pictures = std::filesystem::path(BinaryDir()) / "artefacts" / "dialogs";
  std::filesystem::create_directories(pictures);
  std::vector<UINT> ids = Resources::Instance().DialogIds();
  EXPECT_GE(ids.size(), 7u);  // Sample Manager, Extract Data, the calendar, progress, About, two reference dialogs
  for (UINT id : ids) {
    const bool picturedElsewhere = std::ranges::find(kDialogsPicturedWithContents, id) != std::end(kDialogsPicturedWithContents);
    const std::string picture = picturedElsewhere ? "" : (pictures / (std::to_string(id) + ".png")).string();
    std::vector<std::string> faults = DialogLayoutFaults(id, picture);
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
  }
}

TEST_F(DialogLayoutTest, AFaultNamesTheTemplateTheControlsAndTheirRectangles) {
  const struct {
    const char* what;
    std::vector<ControlTemplate> controls;
    std::vector<const char*> named;  // what the single fault must say
  } cases[] = {
      {"two edits on one spot",
       {Edit(1001, {10, 10, 60, 12}), Edit(1002, {40, 14, 60, 12})},
       {"template 9301", "control 1001 (", "control 1002 (", "overlap"}},
      {"a button past the right edge",
       {PushButton(1003, "OK", {150, 10, 50, 14})},
       {"template 9301", "control 1003 \"OK\"", "outside the client area"}},
      {"a label too narrow for its word",
       {Static(IDC_STATIC, "Incomprehensibilities", {10, 10, 20, 8})},
       {"template 9301", "control static \"Incomprehensibilities\"", "too small for its text"}},
      {"a check box whose text runs under its neighbour",
       {CheckBox(1004, "Transfer the diploid region", {10, 10, 40, 10}), CheckBox(1005, "x", {52, 10, 30, 10})},
       {"control 1004", "too small for its text"}},
      {"a group box cutting through a list",
       {GroupBox("Options", {5, 5, 100, 40}), ListBox(1006, {80, 20, 60, 40})},
       {"control static \"Options\"", "control 1006", "overlap"}},
  };
  for (const auto& c : cases) {
    Resources::Instance().AddDialog({9301, "Faulty", {180, 80}, WS_CAPTION, "MS Shell Dlg", 8, c.controls});
    std::vector<std::string> faults = DialogLayoutFaults(9301);
    ASSERT_EQ(faults.size(), 1u) << c.what << (faults.empty() ? "" : ": " + faults[0]);
    for (const char* part : c.named) EXPECT_THAT(faults[0], HasSubstr(part)) << c.what;
  }
  // Held by a group box, a combo's drop-down extent and hidden alternatives are not overlaps.
  Resources::Instance().AddDialog({9302, "Sound", {180, 80}, WS_CAPTION, "MS Shell Dlg", 8,
                                   {GroupBox("Filter", {5, 5, 120, 70}), CheckBox(1001, "Array Type", {10, 16, 80, 10}),
                                    ComboBox(1002, {10, 28, 100, 120}), CheckBox(1003, "Sex", {10, 44, 60, 10}),
                                    Hidden(RadioButton(1004, "Yes", {12, 44, 30, 10}))}});
  EXPECT_EQ(DialogLayoutFaults(9302), std::vector<std::string>{});
}

TEST_F(DialogLayoutTest, TheFocusStartsOnTheFirstTabStopAndTabWalksTheTemplatesStops) {
  Resources::Instance().AddDialog({9303, "Keys", {180, 80}, WS_CAPTION, "MS Shell Dlg", 8,
                                   {Static(IDC_STATIC, "Name", {5, 8, 30, 8}), Edit(1001, {40, 6, 60, 12}),
                                    CheckBox(1002, "Sorted", {40, 22, 60, 10}),
                                    RadioButton(1003, "A", {40, 36, 30, 10}, WS_GROUP | WS_TABSTOP),
                                    RadioButton(1004, "B", {75, 36, 30, 10}), PushButton(IDOK, "OK", {120, 6, 50, 14}),
                                    Hidden(PushButton(1005, "More", {120, 24, 50, 14}))}});
  CDialog dialog;
  ASSERT_TRUE(dialog.Create(9303));
  EXPECT_EQ(DialogLayoutFaults(dialog), std::vector<std::string>{});
  QWidget* host = platform::qt::WidgetOf(dialog);
  ASSERT_NE(host->focusWidget(), nullptr);
  EXPECT_EQ(host->focusWidget()->objectName(), "1001");
  // Moved behind the template's back, the focus and the order are reported.
  QWidget::setTabOrder(host->findChild<QWidget*>("1002"), host->findChild<QWidget*>("1001"));
  host->findChild<QWidget*>("1")->setFocus();
  std::vector<std::string> faults = DialogLayoutFaults(dialog);
  ASSERT_EQ(faults.size(), 2u);
  EXPECT_THAT(faults[0], HasSubstr("template 9303: the focus is on 1, not on 1001"));
  EXPECT_THAT(faults[1], HasSubstr("template 9303: Tab goes to 1002, 1001, 1003, 1, not 1001, 1002, 1003, 1"));
  dialog.DestroyWindow();
}

}  // namespace
}  // namespace qova::test
