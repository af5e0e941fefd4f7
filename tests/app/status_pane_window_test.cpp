// The status bar of the program on the offscreen Qt platform, on the demo:
// Data > Extract Data chosen from the menu bar leaves its summary in the
// message pane; Data > Sample Manager, chosen next and closed, leaves "Ready".
// The window is photographed after each (build/artefacts/status_pane_*.png).
#ifdef QOVA_TEST_WITH_QT
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <filesystem>
#include <string>

#include "resources/CommandIds.h"
#include "resources/ExtractDialogs.h"
#include "tests/app/DemoAppOnQt.h"

namespace qova::test {
namespace {

namespace res = qova::resources;

class StatusPaneWindowTest : public DemoAppOnQtTest {};

TEST_F(StatusPaneWindowTest, TheExtractionsSummaryGoesWhenTheSampleManagerIsChosen) {
  QMainWindow* window = Start();
  ASSERT_NE(window, nullptr);
  auto* pane = window->findChild<QLabel*>("pane0");
  ASSERT_NE(pane, nullptr);
  // The user takes every file found as a non-paired test, and closes the
  // Sample Manager.
  int extractDialogs = 0, managers = 0;
  ModalHand hand([&](QWidget* modal) {
    if (auto* found = modal->findChild<QListWidget*>(QString::number(res::kExtractFoundFiles))) {
      ++extractDialogs;
      found->selectAll();
      QTest::mouseClick(modal->findChild<QPushButton*>(QString::number(res::kExtractAddNonPairedTest)), Qt::LeftButton);
      QTest::mouseClick(modal->findChild<QPushButton*>(QString::number(IDOK)), Qt::LeftButton);
    } else if (auto* cancel = modal->findChild<QPushButton*>(QString::number(IDCANCEL))) {
      ++managers;
      QTest::mouseClick(cancel, Qt::LeftButton);
    }
  });
  const std::filesystem::path artefacts = std::filesystem::path(BinaryDir()) / "artefacts";
  std::filesystem::create_directories(artefacts);

  const std::string into = "Extracted 9 of 9 samples into " + platform::NativePath(Root() + "demo/ArrayData/") +
                           ", 9 replaced (attributes kept)";
  const struct {
    UINT command;
    std::string pane;
    const char* picture;
  } steps[] = {
      {res::kCmdExtractData, into, "status_pane_after_extract.png"},
      {res::kCmdSampleManager, "Ready", "status_pane_after_sample_manager.png"},
  };
  for (const auto& step : steps) {
    ASSERT_TRUE(ChooseFromMenuBar(*window, step.command)) << step.command;
    QTest::qWait(50);
    EXPECT_EQ(pane->text().toStdString(), step.pane) << step.command;
    window->grab().save(QString::fromStdString((artefacts / step.picture).string()));
  }
  EXPECT_EQ(extractDialogs, 1);
  EXPECT_EQ(managers, 1);
  EXPECT_EQ(demo_.Shown(), std::vector<std::string>{});
}

}  // namespace
}  // namespace qova::test
#endif
