// The integration parameters dialog as a real Qt window: its controls follow
// the same rules as headless, and a picture of it is kept for people to look at.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "analysis/IntegrationParameters.h"
#include "resources/IntegrationDialog.h"
#include "tests/platform_qt/qt_fixture.h"

namespace qova::test {
namespace {

using namespace qova::resources;

class QtIntegrationDialogTest : public QtUiTest {};

TEST_F(QtIntegrationDialogTest, ChoosesAModeAndIsPhotographed) {
  CIntegrationParameters dialog;
  dialog.HasLohLikelihood = false;
  dialog.IntegrationExists = true;
  dialog.Title = "Tumours";
  bool saved = false, lohEnabled = true;
  QTimer user;
  WhileModal(user, [&](QWidget* modal) {
    auto find = [&](unsigned id) { return modal->findChild<QWidget*>(QString::number(id)); };
    auto* gains = qobject_cast<QRadioButton*>(find(kIntegrationGainsAndLosses));
    auto* run = qobject_cast<QLineEdit*>(find(kIntegrationRunEdit));
    auto* ok = qobject_cast<QPushButton*>(find(IDOK));
    ASSERT_TRUE(gains && run && ok && find(kIntegrationLoh));
    lohEnabled = find(kIntegrationLoh)->isEnabled();
    QTest::mouseClick(gains, Qt::LeftButton);
    run->selectAll();
    QTest::keyClicks(run, "8");
    saved = modal->grab().save(ArtefactPath("dialog-150.png"));
    QTest::mouseClick(ok, Qt::LeftButton);
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_FALSE(lohEnabled);
  EXPECT_EQ(dialog.Mode, "AddDel");
  EXPECT_EQ(dialog.MinRun, 8);
  EXPECT_EQ(dialog.Title, "Tumours");
  EXPECT_TRUE(saved);
}

}  // namespace
}  // namespace qova::test
