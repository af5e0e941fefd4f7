// An export's Save As in the program on the offscreen Qt platform, on the
// demo with a graph window open: the file dialog opens in the Output folder
// the settings hold, before and after Default Setting moves it to another
// study, and the bare name the user types is saved there. Each Save As is
// photographed (build/artefacts/export_save_as_*.png).
#ifdef QOVA_TEST_WITH_QT
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QTabWidget>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/File.h"
#include "resources/CommandIds.h"
#include "resources/SettingPages.h"
#include "tests/app/DemoAppOnQt.h"

namespace qova::test {
namespace {

namespace res = qova::resources;

class ExportFolderWindowTest : public DemoAppOnQtTest {};

TEST_F(ExportFolderWindowTest, TheSaveAsOpensInTheOutputFolderTheSettingsHoldAndABareNameIsSavedThere) {
  QMainWindow* window = Start();
  ASSERT_NE(window, nullptr);
  const std::string demoOutput = Root() + "demo/Output/", studyOutput = Path("study2/Output/");
  ASSERT_TRUE(platform::CreateFolders(studyOutput));

  const std::filesystem::path artefacts = std::filesystem::path(BinaryDir()) / "artefacts";
  std::filesystem::create_directories(artefacts);
  std::string typed;                // the name the user types into the Save As
  std::vector<std::string> opened;  // the folder each Save As showed
  bool sheetDone = false;
  ModalHand hand([&](QWidget* modal) {
    if (auto* files = qobject_cast<QFileDialog*>(modal)) {
      if (files->fileMode() == QFileDialog::Directory) {
        // Default Setting's folder chooser: the new study's Output folder.
        files->setDirectory(QString::fromStdString(studyOutput));
        QTest::mouseClick(files->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open), Qt::LeftButton);
        return;
      }
      opened.push_back(files->directory().absolutePath().toStdString() + "/");
      if (!opened.back().starts_with(Root())) {
        // Nothing is saved outside the test's folder.
        QTest::mouseClick(files->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
        return;
      }
      files->grab().save(QString::fromStdString((artefacts / ("export_save_as_" + typed + ".png")).string()));
      EXPECT_TRUE(TypeIntoFileDialog(files, typed));
    } else if (auto* tabs = modal->findChild<QTabWidget*>(); tabs && !sheetDone) {
      // Program Setting, on its Folders page: Output files' Set, then OK.
      sheetDone = true;
      QTest::mouseClick(tabs->currentWidget()->findChild<QPushButton*>(
                            QString::number(res::settings::folders::kOutputSet)),
                        Qt::LeftButton);
      QTest::mouseClick(modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }
  });

  CMDIChildWnd* sample = Main().MDIGetActive();
  ASSERT_TRUE(ChooseFromMenuBar(*window, res::kCmdNewGraph));
  CMDIChildWnd* graph = Main().MDIGetActive();
  ASSERT_NE(graph, sample);
  const struct {
    const char* name;
    std::string folder;
    UINT settingFirst;  // Default Setting before the export, or 0
  } steps[] = {
      {"first.txt", demoOutput, 0},
      {"second.txt", studyOutput, res::kCmdDefaultSetting},
  };
  for (const auto& step : steps) {
    if (step.settingFirst) {
      // The graph's menus have no Parameter menu: through the main window.
      ASSERT_TRUE(Activate(sample));
      ASSERT_TRUE(ChooseFromMenuBar(*window, step.settingFirst));
      ASSERT_TRUE(sheetDone);
      ASSERT_TRUE(Activate(graph));
    }
    typed = step.name;
    ASSERT_TRUE(ChooseFromMenuBar(*window, res::kCmdGraphOutputSampleOrder)) << step.name;
    ASSERT_FALSE(opened.empty()) << step.name;
    EXPECT_EQ(opened.back(), step.folder) << step.name;
    std::string bytes;
    EXPECT_TRUE(platform::ReadWholeFile(step.folder + step.name, bytes)) << step.name;
    EXPECT_EQ(bytes, "Sample_name\n") << step.name;
  }
  EXPECT_EQ(opened.size(), 2u);
  EXPECT_EQ(demo_.Shown(), std::vector<std::string>{});
}

}  // namespace
}  // namespace qova::test
#endif
