// The program on the offscreen Qt platform with a graph, two windows on a
// sample and a study tiled in its workspace: after a command that ran
// modally over the main window (Batch Analysis with its dialog and progress,
// CalcChi2 with its progress, a File > Open refused after its file dialog),
// the window the user made active is still the active one, on the screen
// and in the program.
#ifdef QOVA_TEST_WITH_QT
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include <functional>
#include <string>

#include "document/QOVADoc.h"
#include "platform/File.h"
#include "resources/BatchDialogs.h"
#include "resources/CommandIds.h"
#include "tests/app/DemoAppOnQt.h"
#include "tests/views/graph/GraphTestSupport.h"

namespace qova::test {
namespace {

namespace res = qova::resources;

class ActiveWindowTest : public DemoAppOnQtTest {};

TEST_F(ActiveWindowTest, TheWindowActiveBeforeACommandIsActiveAfterIt) {
  const std::string graph = Path("graph2.txt"), broken = Path("broken.txt"), study = Path("study.AAD");
  ASSERT_TRUE(platform::WriteWholeFile(graph, PatternChangeText(6)));
  ASSERT_TRUE(platform::WriteWholeFile(broken, std::string(kChangeHeader) + "S1\t1\t3\n"));
  WriteAssociationFile(study);

  QMainWindow* window = Start();
  ASSERT_NE(window, nullptr);
  auto* area = window->findChild<QMdiArea*>("mdi");
  ASSERT_NE(area, nullptr);

  // The graph first, then a sample in two windows and a study, tiled.
  app_->CloseAllDocuments(FALSE);
  ASSERT_NE(app_->OpenDocumentFile(graph.c_str()), nullptr);
  ASSERT_TRUE(Choose(ID_FILE_NEW));
  auto* doc = dynamic_cast<CQOVADoc*>(Main().GetActiveDocument());
  ASSERT_NE(doc, nullptr);
  ASSERT_EQ(doc->OpenSingleResult(nullptr, "Tumour01.CFS"), CQOVADoc::kSucceeded);
  CMDIChildWnd* sample1 = Main().MDIGetActive();
  ASSERT_TRUE(Choose(ID_WINDOW_NEW));
  CMDIChildWnd* sample2 = Main().MDIGetActive();
  ASSERT_NE(app_->OpenDocumentFile(study.c_str()), nullptr);
  CMDIChildWnd* studyWindow = Main().MDIGetActive();
  ASSERT_TRUE(Choose(ID_WINDOW_TILE_HORZ));
  QTest::qWait(30);
  ASSERT_EQ(Main().MDIChildren().size(), 4u);

  const struct {
    const char* what;
    CMDIChildWnd* active;
    std::function<void()> command;
  } cases[] = {
      {"Batch Analysis of every sample, Automatic Analysis", sample1,
       [this] {
         bool started = false;
         ModalHand hand([&started](QWidget* modal) {
           auto* checkAll = modal->findChild<QPushButton*>(QString::number(res::batch::kCheckAll));
           auto* automatic = modal->findChild<QPushButton*>(QString::number(res::batch::kAutomaticAnalysis));
           if (!checkAll || !automatic) return;
           QTest::mouseClick(checkAll, Qt::LeftButton);
           started = true;
           QTest::mouseClick(automatic, Qt::LeftButton);
         });
         ASSERT_TRUE(Choose(res::kCmdBatchAnalysis));
         EXPECT_TRUE(started);
       }},
      {"CalcChi2 of the study", studyWindow, [this] { ASSERT_TRUE(Choose(res::kCmdCalcChi2)); }},
      {"File > Open of a change text that does not fit", sample2,
       [this, broken] {
         bool chosen = false;
         ModalHand hand([broken, &chosen](QWidget* modal) { chosen = TypeIntoFileDialog(modal, broken) || chosen; });
         ASSERT_TRUE(Choose(ID_FILE_OPEN));
         EXPECT_TRUE(chosen);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(Activate(c.active));
    ASSERT_EQ(Main().MDIGetActive(), c.active);
    const std::string title = c.active->GetWindowText();
    c.command();
    QTest::qWait(50);
    EXPECT_EQ(Main().MDIChildren().size(), 4u);
    EXPECT_EQ(Main().MDIGetActive(), c.active);
    EXPECT_EQ(area->activeSubWindow(), platform::qt::WidgetOf(*c.active));
    EXPECT_EQ(window->windowTitle().toStdString(), "QOVA - " + title);
    // The menus are the active window's, so the next command goes to it.
    EXPECT_EQ(Main().CurrentMenu(), &c.active->m_menu);
  }
  // The refused file was named; nothing else was said.
  ASSERT_EQ(demo_.Shown().size(), 1u);
  EXPECT_NE(demo_.Shown()[0].find("line 2"), std::string::npos) << demo_.Shown()[0];
}

}  // namespace
}  // namespace qova::test
#endif
