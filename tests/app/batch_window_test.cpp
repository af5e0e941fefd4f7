// The batch dialog on the offscreen Qt platform, listing the demo's samples:
// the user checks them with the mouse and the check marks are what the
// dialog reads.
#ifdef QOVA_TEST_WITH_QT
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <optional>
#include <sstream>

#include "platform/Profile.h"
#include "platform/qt/QtBackend.h"
#include "tests/document/batch/batch_test_support.h"
#include "tools/demo/Demo.h"

#include "tests/app/DemoOnQt.h"

namespace qova::test {
namespace {

class BatchWindowTest : public BatchTest {
 protected:
  DemoOnQt demo_{Root() + "demo/", kSmallType};
};

TEST_F(BatchWindowTest, TheDemosTestSamplesAreListedAndCheckedByMouse) {
  CBatchSelect dialog;
  dialog.ArrayDataFolder = Root() + "demo/ArrayData/";
  QStringList listed;
  QTimer::singleShot(200, [&] {
    QWidget* window = QApplication::activeModalWidget();
    ASSERT_NE(window, nullptr);
    auto* list = window->findChild<QListWidget*>(QString::number(batch_ids::kSampleList));
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < list->count(); ++i) {
      listed << list->item(i)->text();
      const QRect row = list->visualItemRect(list->item(i));
      // The check mark sits at the left end of its row.
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(row.left() + row.height() / 2, row.center().y()));
    }
    const std::filesystem::path artefacts = std::filesystem::path(BinaryDir()) / "artefacts";
    std::filesystem::create_directories(artefacts);
    window->grab().save(QString::fromStdString((artefacts / "batch_analysis_dialog.png").string()));
    QTest::mouseClick(window->findChild<QPushButton*>(QString::number(batch_ids::kSelectNonSelfRefs)), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  ASSERT_FALSE(listed.isEmpty());
  std::vector<std::string> names;
  for (const QString& name : listed) names.push_back(name.toStdString());
  EXPECT_EQ(dialog.SampleNames, names);
  EXPECT_EQ(dialog.Action, "SelectNonSelfRefs_SameSexMinus_TransferMinus");
  EXPECT_EQ(demo_.Shown(), std::vector<std::string>{});
}

}  // namespace
}  // namespace qova::test
#endif
