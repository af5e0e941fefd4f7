// The Display Samples dialog on the offscreen Qt platform, listing the
// demo's results with one group, photographed.
#ifdef QOVA_TEST_WITH_QT
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <optional>
#include <sstream>

#include "core/GroupsFile.h"
#include "platform/Profile.h"
#include "platform/qt/QtBackend.h"
#include "tests/document/display/display_samples_test_support.h"
#include "tools/demo/Demo.h"

#include "tests/app/DemoOnQt.h"

namespace qova::test {
namespace {

class DisplaySamplesWindowTest : public DisplaySamplesTest {
 protected:
  DemoOnQt demo_{Root() + "demo/", kSmallType};
};

TEST_F(DisplaySamplesWindowTest, TheDemosResultsAreListedWithTheirGroup) {
  const std::string results = Root() + "demo/Results/";
  std::vector<std::string> members;
  for (const std::string& file : platform::FindFiles(results, "*.CFN")) members.push_back(platform::StemOf(file));
  ASSERT_FALSE(members.empty());
  CGrouP groups;
  groups.Groups.push_back(SampleGroup{0, static_cast<std::int32_t>(members.size()), members, "Demo tumours"});
  ASSERT_TRUE(qova::core::StoreGroupsFile(results, groups));

  CSelectResult dialog;
  dialog.m_strResultFolder = results;
  QStringList listed;
  QStringList offered;
  QTimer::singleShot(200, [&] {
    QWidget* window = QApplication::activeModalWidget();
    ASSERT_NE(window, nullptr);
    auto* list = window->findChild<QListWidget*>(QString::number(display_ids::kSampleList));
    auto* combo = window->findChild<QComboBox*>(QString::number(display_ids::kGroups));
    ASSERT_NE(list, nullptr);
    ASSERT_NE(combo, nullptr);
    for (int i = 0; i < list->count(); ++i) listed << list->item(i)->text();
    for (int i = 0; i < combo->count(); ++i) offered << combo->itemText(i);
    // Tick the first result by mouse: its check mark sits at the left end of its row.
    if (list->count() > 0) {
      const QRect row = list->visualItemRect(list->item(0));
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(row.left() + row.height() / 2, row.center().y()));
    }
    combo->setCurrentIndex(0);
    const std::filesystem::path artefacts = std::filesystem::path(BinaryDir()) / "artefacts";
    std::filesystem::create_directories(artefacts);
    window->grab().save(QString::fromStdString((artefacts / "display_samples.png").string()));
    QTest::mouseClick(window->findChild<QPushButton*>(QString::number(display_ids::kMultiDisplay)), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_FALSE(listed.isEmpty());
  EXPECT_EQ(offered, QStringList{"Demo tumours"});
  EXPECT_EQ(dialog.m_strMode, "MultipleSamples");
  ASSERT_EQ(dialog.m_listFiles.size(), 1u);
  EXPECT_EQ(dialog.m_listFiles[0], listed[0].toStdString() + ".CFN");
  EXPECT_EQ(demo_.Shown(), std::vector<std::string>{});
}

}  // namespace
}  // namespace qova::test
#endif
