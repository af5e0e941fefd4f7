// Closing a window of the running program in every state and every way a
// user closes one: the others stay open and working. Run headless, with the
// system's workspace reporting its maximised hand-off back as the screen's
// does, and on the offscreen Qt platform with the real workspace.
#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/File.h"
#include "platform/ui/UserInput.h"
#include "tests/app/AppTestSupport.h"
#include "tests/platform/ui_workspace.h"
#include "tests/views/graph/GraphTestSupport.h"
#ifdef QOVA_TEST_WITH_QT
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include "platform/qt/QtBackend.h"
#endif

namespace qova::test {
namespace {

enum class Kind { Main, Study, Graph };
enum class Shown { Maximised, Restored, Minimised };
enum class Closed { FileClose, CloseBox, Document };

struct CloseCase {
  const char* what;
  Kind closed;
  std::optional<Kind> beside;  // the window left open, if any
  Shown state;                 // of the closed window
  Closed how;
  bool closedIsActive;                  // else the window beside is active
  Shown besideState = Shown::Restored;  // when it is the active one
  bool closedFirst = false;             // opened before the window beside
};

// The closed window is opened after the one beside it, as File > New opens
// a window over a maximised one, unless the case says otherwise.
const std::vector<CloseCase>& CloseCases() {
  static const std::vector<CloseCase> cases = {
      {"a maximised main window by File > Close beside another", Kind::Main, Kind::Main, Shown::Maximised,
       Closed::FileClose, true},
      {"a maximised main window by its close box beside a study", Kind::Main, Kind::Study, Shown::Maximised,
       Closed::CloseBox, true},
      {"a maximised study by File > Close beside a main window", Kind::Study, Kind::Main, Shown::Maximised,
       Closed::FileClose, true},
      {"a maximised graph by its close box beside a main window", Kind::Graph, Kind::Main, Shown::Maximised,
       Closed::CloseBox, true},
      {"a maximised main document of two windows beside a graph", Kind::Main, Kind::Graph, Shown::Maximised,
       Closed::Document, true},
      {"a maximised study of two windows beside a main window", Kind::Study, Kind::Main, Shown::Maximised,
       Closed::Document, true},
      {"a restored main window by File > Close beside a study", Kind::Main, Kind::Study, Shown::Restored,
       Closed::FileClose, true},
      {"a maximised main window opened first, by File > Close, beside a graph", Kind::Main, Kind::Graph,
       Shown::Maximised, Closed::FileClose, true, Shown::Restored, true},
      {"a restored graph by File > Close beside a study", Kind::Graph, Kind::Study, Shown::Restored,
       Closed::FileClose, true},
      {"a minimised study by its close box beside a graph", Kind::Study, Kind::Graph, Shown::Minimised,
       Closed::CloseBox, true},
      {"a minimised main window by File > Close beside another", Kind::Main, Kind::Main, Shown::Minimised,
       Closed::FileClose, true},
      {"an inactive minimised main window by its close box beside a maximised study", Kind::Main, Kind::Study,
       Shown::Minimised, Closed::CloseBox, false, Shown::Maximised},
      {"an inactive restored graph by its close box beside a main window", Kind::Graph, Kind::Main, Shown::Restored,
       Closed::CloseBox, false},
      {"the last window, a maximised main one, by File > Close", Kind::Main, std::nullopt, Shown::Maximised,
       Closed::FileClose, true},
      {"the last window, a maximised study, by its close box", Kind::Study, std::nullopt, Shown::Maximised,
       Closed::CloseBox, true},
      {"the last window, a maximised graph of two windows", Kind::Graph, std::nullopt, Shown::Maximised,
       Closed::Document, true},
      {"the last window, a minimised graph, by File > Close", Kind::Graph, std::nullopt, Shown::Minimised,
       Closed::FileClose, true},
  };
  return cases;
}

int ShowStateOf(Shown state) {
  switch (state) {
    case Shown::Maximised: return SW_SHOWMAXIMIZED;
    case Shown::Minimised: return SW_MINIMIZE;
    case Shown::Restored: break;
  }
  return SW_RESTORE;
}

// What a user does with the windows: through the user-input layer headless,
// through the widgets on screen.
struct Hands {
  std::function<void(CMDIChildWnd&, Shown)> place;
  std::function<void(CMDIChildWnd&)> closeBox;
  std::function<void()> settle = [] {};
};

// Runs the cases on the started program; `afterEach` checks what only the
// screen shows.
class CloseWindowBase : public AppTest {
 protected:
  CloseWindowBase() {
    study_ = home_.Path("study.AAD");
    WriteAssociationFile(study_);
    graph_ = home_.Path("changes.txt");
    EXPECT_TRUE(platform::WriteWholeFile(graph_, PatternChangeText(3)));
  }

  void Run(const CloseCase& c, const std::function<void(CMDIFrameWnd&)>& afterEach) {
    SCOPED_TRACE(c.what);
    CMDIFrameWnd& main = MainFrame();
    App().CloseAllDocuments(FALSE);
    hands_.settle();
    ASSERT_TRUE(main.MDIChildren().empty());
    CMDIChildWnd* closed = c.closedFirst ? Open(c.closed) : nullptr;
    CMDIChildWnd* beside = c.beside ? Open(*c.beside) : nullptr;
    if (!c.closedFirst) closed = Open(c.closed);
    ASSERT_TRUE(closed && (beside || !c.beside));
    // A document of two windows closes the first one made, while active.
    if (c.how == Closed::Document) {
      ASSERT_TRUE(Choose(ID_WINDOW_NEW));
    }
    Activate(*closed);
    hands_.place(*closed, c.state);
    if (!c.closedIsActive) {
      Activate(*beside);
      hands_.place(*beside, c.besideState);
    }
    ASSERT_EQ(main.MDIGetActive(), c.closedIsActive ? closed : beside);
    const bool besideMaximised = beside && (c.closedIsActive ? c.state == Shown::Maximised
                                                             : c.besideState == Shown::Maximised);

    switch (c.how) {
      case Closed::FileClose:
      case Closed::Document: ASSERT_TRUE(Choose(ID_FILE_CLOSE)); break;
      case Closed::CloseBox: hands_.closeBox(*closed); break;
    }
    hands_.settle();

    if (!beside) {
      EXPECT_TRUE(main.MDIChildren().empty());
      EXPECT_EQ(main.MDIGetActive(), nullptr);
      EXPECT_EQ(main.GetWindowText(), "QOVA");
      EXPECT_EQ(main.CurrentMenu(), &main.m_menu);
      // The program goes on: a new document opens its window.
      EXPECT_TRUE(Choose(ID_FILE_NEW));
      EXPECT_EQ(main.MDIChildren().size(), 1u);
      afterEach(main);
      return;
    }
    ASSERT_EQ(main.MDIChildren(), std::vector<CMDIChildWnd*>{beside});
    ASSERT_EQ(main.MDIGetActive(), beside);
    CView* view = beside->GetActiveView();
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->GetDocument(), nullptr);
    EXPECT_EQ(view->GetParentFrame(), beside);
    EXPECT_EQ(beside->m_hWnd->maximized, besideMaximised);
    const std::string name = beside->GetWindowText();
    EXPECT_EQ(main.GetWindowText(), besideMaximised ? "QOVA - [" + name + "]" : "QOVA - " + name);
    EXPECT_EQ(main.CurrentMenu(), &beside->m_menu);
    afterEach(main);
    // The window left open still works: Window > New Window opens a second one on its document.
    ASSERT_TRUE(Choose(ID_WINDOW_NEW));
    ASSERT_EQ(main.MDIChildren().size(), 2u);
    EXPECT_EQ(main.MDIGetActive()->GetActiveDocument(), view->GetDocument());
    hands_.settle();
  }

  // Window > 1, 2 ... as the user picks it.
  void Activate(CMDIChildWnd& child) {
    const std::vector<CMDIChildWnd*> children = MainFrame().MDIChildren();
    const auto index = std::find(children.begin(), children.end(), &child) - children.begin();
    EXPECT_TRUE(Choose(UINT(AFX_IDM_FIRST_MDICHILD + index)));
    hands_.settle();
  }

  CMDIChildWnd* Open(Kind kind) {
    CMDIFrameWnd& main = MainFrame();
    CMDIChildWnd* before = main.MDIGetActive();
    switch (kind) {
      case Kind::Main: EXPECT_TRUE(Choose(ID_FILE_NEW)); break;
      case Kind::Study: EXPECT_NE(App().OpenDocumentFile(study_.c_str()), nullptr); break;
      case Kind::Graph: EXPECT_NE(App().OpenDocumentFile(graph_.c_str()), nullptr); break;
    }
    hands_.settle();
    CMDIChildWnd* opened = main.MDIGetActive();
    return opened != before ? opened : nullptr;
  }

  Hands hands_;
  std::string study_;
  std::string graph_;
};

class CloseWindowTest : public CloseWindowBase {
 protected:
  CloseWindowTest() { EXPECT_TRUE(Start()); }
};

TEST_F(CloseWindowTest, ClosingAWindowInAnyStateLeavesTheOthersOpenAndWorking) {
  hands_.place = [](CMDIChildWnd& child, Shown state) {
    platform::ui::input::PlaceWindow(child, child.m_hWnd->rect, ShowStateOf(state));
  };
  hands_.closeBox = [](CMDIChildWnd& child) { platform::ui::input::Close(child); };
  // Every window joins the workspace as it opens.
  hands_.settle = [this] { WorkspacePeer::Join(MainFrame()); };
  for (const CloseCase& c : CloseCases()) Run(c, [](CMDIFrameWnd&) {});
  EXPECT_TRUE(messages_.Empty()) << messages_.Texts().front();
  EXPECT_TRUE(Ui().Failures().empty());
}

#ifdef QOVA_TEST_WITH_QT
class CloseWindowOnQtTest : public CloseWindowBase {
 protected:
  CloseWindowOnQtTest() {
    platform::qt::InstallQtBackend();
    boxes_.emplace();
    EXPECT_TRUE(Start());
    window_ = platform::qt::WidgetOf(MainFrame());
    if (window_) window_->resize(1000, 700);
    QTest::qWait(20);
  }
  ~CloseWindowOnQtTest() override {
    app_.reset();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    boxes_.reset();
    platform::qt::UninstallQtBackend();
  }

  static QMdiSubWindow* SubWindowOf(CMDIChildWnd& child) {
    return qobject_cast<QMdiSubWindow*>(platform::qt::WidgetOf(child));
  }

  QWidget* window_ = nullptr;
  std::optional<platform::ScopedRecordingSink> boxes_;
};

TEST_F(CloseWindowOnQtTest, ClosingAWindowInAnyStateLeavesTheOthersOpenAndWorking) {
  ASSERT_NE(window_, nullptr);
  hands_.place = [](CMDIChildWnd& child, Shown state) {
    QMdiSubWindow* sub = SubWindowOf(child);
    ASSERT_NE(sub, nullptr);
    switch (state) {
      case Shown::Maximised: sub->showMaximized(); break;
      case Shown::Minimised: sub->showMinimized(); break;
      case Shown::Restored: sub->showNormal(); break;
    }
    QApplication::processEvents();
  };
  hands_.closeBox = [](CMDIChildWnd& child) {
    QMdiSubWindow* sub = SubWindowOf(child);
    ASSERT_NE(sub, nullptr);
    sub->close();
  };
  hands_.settle = [] { QTest::qWait(10); };
  auto* area = window_->findChild<QMdiArea*>("mdi");
  ASSERT_NE(area, nullptr);
  for (const CloseCase& c : CloseCases()) {
    Run(c, [&](CMDIFrameWnd& main) {
      // The screen shows what the program holds.
      EXPECT_EQ(area->subWindowList().size(), qsizetype(main.MDIChildren().size()));
      CMDIChildWnd* active = main.MDIGetActive();
      ASSERT_NE(active, nullptr);
      QMdiSubWindow* sub = SubWindowOf(*active);
      EXPECT_EQ(area->activeSubWindow(), sub);
      ASSERT_NE(sub, nullptr);
      EXPECT_EQ(sub->isMaximized(), active->m_hWnd->maximized);
      EXPECT_EQ(window_->windowTitle().toStdString(), main.GetWindowText());
    });
  }
  EXPECT_EQ(boxes_->Texts(), std::vector<std::string>{});
}
#endif

}  // namespace
}  // namespace qova::test
