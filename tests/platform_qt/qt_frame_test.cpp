// The main window, MDI children and views as real Qt windows: menus with
// update-UI, painting through the drawing context, mouse, scroll bars,
// timers, the progress pump, popup menus and the common dialogs.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <functional>

#include "platform/qt/QtBackend.h"
#include "platform/ui/App.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DC.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Frame.h"
#include "platform/ui/UserInput.h"
#include "tests/platform_qt/qt_fixture.h"
#include "tests/support/TempHome.h"

namespace {

using namespace platform::ui;

constexpr UINT kMainFrame = 128;
constexpr UINT kDocType = 129;
constexpr UINT kMaybe = 32902;
constexpr UINT kAsk = 32903;
constexpr UINT kProgressTemplate = 154;

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

class CQtDoc : public CDocument {
  DECLARE_DYNCREATE(CQtDoc)
 public:
  bool maybeEnabled = true;

 protected:
  void OnMaybe() { Log().push_back("maybe"); }
  void OnUpdateMaybe(CCmdUI* ui) { ui->Enable(maybeEnabled); }
  void OnAsk() { Log().push_back(AfxMessageBox("Go to download page?", MB_YESNO) == IDYES ? "yes" : "no"); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CQtDoc, CDocument)
BEGIN_MESSAGE_MAP(CQtDoc, CDocument)
  ON_COMMAND(kMaybe, &CQtDoc::OnMaybe)
  ON_UPDATE_COMMAND_UI(kMaybe, &CQtDoc::OnUpdateMaybe)
  ON_COMMAND(kAsk, &CQtDoc::OnAsk)
END_MESSAGE_MAP()

// A view that paints a red block and marks a press with an inverted band.
class CQtView : public CView {
  DECLARE_DYNCREATE(CQtView)
 public:
  int ticks = 0;
  UINT lastScroll = 0xFFFF;
  void OnDraw(CDC* pDC) override {
    CRect block(10, 10, 60, 40);
    pDC->FillSolidRect(&block, RGB(255, 0, 0));
    pDC->TextOut(10, 50, GetDocument()->GetTitle());
  }
  void OnLButtonDown(UINT flags, CPoint point) override {
    Log().push_back("down " + std::to_string(point.x) + "," + std::to_string(point.y) +
                    ((flags & MK_LBUTTON) ? " left" : ""));
    CClientDC dc(this);
    CRect band(point.x, 0, point.x + 5, 100);
    dc.InvertRect(&band);
  }
  void OnLButtonUp(UINT, CPoint) override { Log().push_back("up"); }
  void OnTimer(UINT_PTR id) override {
    if (id == 7) ++ticks;
  }
  void OnVScroll(UINT code, UINT, CScrollBar*) override {
    lastScroll = code;
    if (code == SB_LINEDOWN) SetScrollPos(SB_VERT, GetScrollPos(SB_VERT) + 10);
  }
};
IMPLEMENT_DYNCREATE(CQtView, CView)

class CQtChild : public CMDIChildWnd {
  DECLARE_DYNCREATE(CQtChild)
};
IMPLEMENT_DYNCREATE(CQtChild, CMDIChildWnd)

class CQtMainFrame : public CMDIFrameWnd {
  DECLARE_DYNCREATE(CQtMainFrame)
 public:
  CToolBar m_wndToolBar;
  CStatusBar m_wndStatusBar;
  int OnCreate(LPCREATESTRUCT cs) override {
    if (CMDIFrameWnd::OnCreate(cs) == -1) return -1;
    if (!m_wndToolBar.CreateEx(this) || !m_wndToolBar.LoadToolBar(kMainFrame)) return -1;
    static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 4)) return -1;
    return 0;
  }
};
IMPLEMENT_DYNCREATE(CQtMainFrame, CMDIFrameWnd)

class CQtApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    CWinApp::InitInstance();
    AddDocTemplate(
        new CMultiDocTemplate(kDocType, RUNTIME_CLASS(CQtDoc), RUNTIME_CLASS(CQtChild), RUNTIME_CLASS(CQtView)));
    auto* frame = new CQtMainFrame;
    if (!frame->LoadFrame(kMainFrame)) {
      delete frame;
      return FALSE;
    }
    m_pMainWnd = frame;
    CCommandLineInfo info;
    if (!ProcessShellCommand(info)) return FALSE;
    frame->ShowWindow(SW_SHOW);
    return TRUE;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CQtApp, CWinApp)
  ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
END_MESSAGE_MAP()

class QtFrameTest : public qova::test::QtUiTest {
 protected:
  QtFrameTest() {
    Log().clear();
    auto& res = Resources::Instance();
    res.AddString(AFX_IDS_APP_TITLE, "QOVA");
    res.AddString(kDocType, "\nDoc\nDoc\n\n\nDoc.Document\nDoc.Document");
    res.AddString(ID_INDICATOR_CAPS, "CAP");
    res.AddString(ID_INDICATOR_NUM, "NUM");
    res.AddString(ID_INDICATOR_SCRL, "SCRL");
    res.AddString(kMaybe, "Do the maybe thing\nMaybe");
    res.AddMenu({kMainFrame, {Popup("&File", {MenuItem("&New(QOVA)", ID_FILE_NEW), MenuItem("E&xit", ID_APP_EXIT)})}});
    res.AddMenu({kDocType,
                 {Popup("&File", {MenuItem("&New(QOVA)", ID_FILE_NEW), MenuItem("&Close", ID_FILE_CLOSE)}),
                  Popup("&Data", {MenuItem("&Maybe\tF6", kMaybe), MenuSeparator(), MenuItem("&Ask", kAsk)}),
                  Popup("&Window", {MenuItem("&New Window", ID_WINDOW_NEW), MenuItem("&Cascade", ID_WINDOW_CASCADE),
                                    MenuItem("&Tile", ID_WINDOW_TILE_HORZ),
                                    MenuItem("&Arrange Icons", ID_WINDOW_ARRANGE)})}});
    res.AddAccelerators({kMainFrame, {{FVIRTKEY, WORD(VK_F6), WORD(kMaybe)}}});
    res.AddToolBar({kMainFrame, {kMaybe, 0, kAsk}});
    res.AddDialog({kProgressTemplate, "Progress", {200, 80}, DS_MODALFRAME | WS_POPUP | WS_CAPTION, "MS Shell Dlg", 8,
                   {Progress(1071, {7, 30, 186, 14}), Static(1072, "", {7, 50, 186, 10}),
                    PushButton(IDCANCEL, "Cancel", {143, 62, 50, 14})}});
    app_ = std::make_unique<CQtApp>();
    EXPECT_TRUE(app_->InitInstance());
    window_ = qobject_cast<QMainWindow*>(platform::qt::WidgetOf(*app_->m_pMainWnd));
  }
  ~QtFrameTest() override { app_.reset(); }

  CQtMainFrame& Frame() { return *static_cast<CQtMainFrame*>(app_->m_pMainWnd); }
  CQtView* View() { return static_cast<CQtView*>(Frame().MDIGetActive()->GetActiveView()); }
  QAbstractScrollArea* ViewWidget() { return qobject_cast<QAbstractScrollArea*>(platform::qt::WidgetOf(*View())); }
  QMenu* Menu(int index) { return window_->menuBar()->findChild<QMenu*>(QString("menu%1").arg(index)); }
  QAction* Action(QMenu* menu, const QString& text) {
    for (QAction* a : menu->actions())
      if (a->text() == text) return a;
    return nullptr;
  }
  // Lets the windows settle: shown, laid out and painted.
  void Settle() {
    window_->resize(800, 600);
    QTest::qWait(30);
  }

  std::unique_ptr<CQtApp> app_;
  QMainWindow* window_ = nullptr;
};

TEST_F(QtFrameTest, MainWindowShowsTheDocumentsMenuAndFollowsUpdateUi) {
  ASSERT_NE(window_, nullptr);
  Settle();
  EXPECT_EQ(window_->windowTitle(), "QOVA - Doc1");
  QStringList titles;
  for (QAction* a : window_->menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"&File", "&Data", "&Window"}));
  QMenu* data = Menu(1);
  ASSERT_NE(data, nullptr);
  static_cast<CQtDoc*>(Frame().GetActiveDocument())->maybeEnabled = false;
  emit data->aboutToShow();
  QAction* maybe = Action(data, "&Maybe\tF6");
  ASSERT_NE(maybe, nullptr);
  EXPECT_FALSE(maybe->isEnabled());
  maybe->trigger();  // a disabled command is not dispatched even so
  EXPECT_TRUE(Log().empty());
  static_cast<CQtDoc*>(Frame().GetActiveDocument())->maybeEnabled = true;
  emit data->aboutToShow();
  maybe = Action(data, "&Maybe\tF6");
  EXPECT_TRUE(maybe->isEnabled());
  maybe->trigger();
  EXPECT_EQ(Log(), std::vector<std::string>{"maybe"});
  // The tool bar and the status bar came from the resources.
  auto* toolBar = window_->findChild<QToolBar*>("toolbar");
  ASSERT_NE(toolBar, nullptr);
  EXPECT_EQ(toolBar->actions().size(), 3);
  EXPECT_EQ(toolBar->actions()[0]->text(), "Maybe");
  EXPECT_NE(window_->statusBar()->findChild<QWidget*>("pane1"), nullptr);
}

TEST_F(QtFrameTest, AStatusTextStaysInTheMessagePaneAfterTheMenuIsUsed) {
  ASSERT_NE(window_, nullptr);
  Settle();
  auto* pane = window_->statusBar()->findChild<QLabel*>("pane0");
  ASSERT_NE(pane, nullptr);
  const std::string done = "Extracted 9 of 9 samples into /home/user/demo/ArrayData/";
  platform::ui::ShowStatusText(done);
  QTest::qWait(30);
  EXPECT_EQ(pane->text().toStdString(), done);
  EXPECT_TRUE(pane->isVisible());
  // A menu's fly-by help passes over it and leaves it as it was.
  QMenu* data = Menu(1);
  ASSERT_NE(data, nullptr);
  emit data->aboutToShow();
  window_->statusBar()->showMessage("Do the maybe thing");
  window_->statusBar()->clearMessage();
  QTest::qWait(30);
  EXPECT_EQ(pane->text().toStdString(), done);
  EXPECT_TRUE(pane->isVisible());
  window_->grab().save(ArtefactPath("status_bar_after_a_command.png"));
  // A summary longer than the window is cut at its edge; the window keeps its width.
  std::string longer = done;
  for (int k = 1; k <= 40; ++k) longer += "; Sample" + std::to_string(k) + " 245505 of 262264";
  platform::ui::ShowStatusText(longer);
  QTest::qWait(30);
  EXPECT_EQ(window_->width(), 800);
  EXPECT_LE(window_->minimumSizeHint().width(), 800);
}

TEST_F(QtFrameTest, ViewPaintsThroughTheDrawingContextAndMouseFeedbackIsWipedByARepaint) {
  Settle();
  QWidget* viewport = ViewWidget()->viewport();
  QImage painted = viewport->grab().toImage();
  EXPECT_EQ(painted.pixelColor(30, 20), QColor(255, 0, 0));
  EXPECT_EQ(painted.pixelColor(70, 20), QColor(255, 255, 255));
  QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(30, 20));
  EXPECT_EQ(Log(), (std::vector<std::string>{"down 30,20 left", "up"}));
  QTest::qWait(20);
  QImage marked = viewport->grab().toImage();
  EXPECT_EQ(marked.pixelColor(31, 20), QColor(0, 255, 255));  // inverted red
  EXPECT_EQ(marked.pixelColor(31, 80), QColor(0, 0, 0));      // inverted white
  window_->grab().save(ArtefactPath("main_window.png"));
  View()->Invalidate();
  QTest::qWait(20);
  EXPECT_EQ(viewport->grab().toImage().pixelColor(31, 20), QColor(255, 0, 0));
}

TEST_F(QtFrameTest, ScrollBarsMirrorTheViewAndReportActions) {
  Settle();
  SCROLLINFO info;
  info.fMask = SIF_ALL;
  info.nMin = 0;
  info.nMax = 1000;
  info.nPage = 100;
  info.nPos = 50;
  View()->SetScrollInfo(SB_VERT, &info);
  QScrollBar* bar = ViewWidget()->verticalScrollBar();
  EXPECT_EQ(bar->maximum(), 901);
  EXPECT_EQ(bar->pageStep(), 100);
  EXPECT_EQ(bar->value(), 50);
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(View()->lastScroll, SB_LINEDOWN);
  EXPECT_EQ(View()->GetScrollPos(SB_VERT), 60);
  EXPECT_EQ(bar->value(), 60);
}

TEST_F(QtFrameTest, TimersTickOnQtsClock) {
  View()->SetTimer(7, 10);
  // A loaded machine may run the timer late: wait for ticks, not for a time.
  for (int waited = 0; View()->ticks < 2 && waited < 5000; waited += 20) QTest::qWait(20);
  View()->KillTimer(7);
  int ticks = View()->ticks;
  EXPECT_GE(ticks, 2);
  QTest::qWait(50);
  EXPECT_EQ(View()->ticks, ticks);
}

TEST_F(QtFrameTest, NewWindowAddsAnMdiChildAndClosingItKeepsTheDocument) {
  Settle();
  Frame().SendMessage(WM_COMMAND, ID_WINDOW_NEW);
  auto* mdi = window_->findChild<QMdiArea*>("mdi");
  ASSERT_NE(mdi, nullptr);
  EXPECT_EQ(mdi->subWindowList().size(), 2);
  EXPECT_EQ(window_->windowTitle(), "QOVA - Doc1:2");
  mdi->activeSubWindow()->close();
  QApplication::processEvents();
  EXPECT_EQ(Frame().MDIChildren().size(), 1u);
  EXPECT_EQ(window_->windowTitle(), "QOVA - Doc1");
  mdi->subWindowList().front()->close();
  QApplication::processEvents();
  EXPECT_EQ(Frame().MDIGetActive(), nullptr);
  EXPECT_EQ(window_->windowTitle(), "QOVA");
}

QStringList WindowListOf(QMenu* menu, QString* checked) {
  emit menu->aboutToShow();
  QStringList names;
  bool past = false;
  for (QAction* a : menu->actions()) {
    if (a->isSeparator()) {
      past = true;
    } else if (past) {
      names << a->text();
    }
    if (past && a->isChecked()) *checked = a->text();
  }
  return names;
}

TEST_F(QtFrameTest, TheWindowMenuListsTheWindowsAndArrangesThemInTheWorkspace) {
  Settle();
  Frame().SendMessage(WM_COMMAND, ID_WINDOW_NEW);
  Frame().SendMessage(WM_COMMAND, ID_WINDOW_NEW);
  QApplication::processEvents();
  auto* mdi = window_->findChild<QMdiArea*>("mdi");
  QMenu* windows = Menu(2);
  ASSERT_TRUE(mdi && windows);
  QString checked;
  EXPECT_EQ(WindowListOf(windows, &checked), (QStringList{"&1 Doc1:1", "&2 Doc1:2", "&3 Doc1:3"}));
  EXPECT_EQ(checked, "&3 Doc1:3");
  Action(windows, "&1 Doc1:1")->trigger();
  EXPECT_EQ(mdi->activeSubWindow(), mdi->subWindowList().front());
  WindowListOf(windows, &checked);
  EXPECT_EQ(checked, "&1 Doc1:1");

  const QRect workspace = mdi->viewport()->rect();
  auto geometries = [&] {
    std::vector<QRect> all;
    for (QMdiSubWindow* sub : mdi->subWindowList()) all.push_back(sub->geometry());
    return all;
  };
  Action(windows, "&Cascade")->trigger();
  std::vector<QRect> cascaded = geometries();
  for (size_t i = 0; i < cascaded.size(); ++i) {
    EXPECT_TRUE(workspace.contains(cascaded[i])) << i;
    for (size_t j = 0; j < i; ++j) EXPECT_NE(cascaded[i].topLeft(), cascaded[j].topLeft());
  }
  EXPECT_EQ(mdi->activeSubWindow(), mdi->subWindowList().front());  // still active, now on top
  window_->grab().save(ArtefactPath("mdi_cascaded.png"));
  Action(windows, "&Tile")->trigger();
  std::vector<QRect> tiled = geometries();
  int area = 0;
  for (size_t i = 0; i < tiled.size(); ++i) {
    EXPECT_TRUE(workspace.contains(tiled[i])) << i;
    for (size_t j = 0; j < i; ++j) EXPECT_FALSE(tiled[i].intersects(tiled[j])) << i << " " << j;
    area += tiled[i].width() * tiled[i].height();
  }
  EXPECT_GT(area, workspace.width() * workspace.height() * 9 / 10);
  window_->grab().save(ArtefactPath("mdi_tiled.png"));

  // A maximised child: the system's title, and the model knows.
  mdi->activeSubWindow()->showMaximized();
  QApplication::processEvents();
  BOOL maximized = FALSE;
  EXPECT_NE(Frame().MDIGetActive(&maximized), nullptr);
  EXPECT_TRUE(maximized);
  EXPECT_EQ(window_->windowTitle(), "QOVA - [Doc1:1]");
  Action(windows, "&Cascade")->trigger();
  QApplication::processEvents();
  EXPECT_FALSE(mdi->activeSubWindow()->isMaximized());
  EXPECT_EQ(window_->windowTitle(), "QOVA - Doc1:1");
}

TEST_F(QtFrameTest, AfterTileTheMainTitleNamesTheActiveWindowAlone) {
  Settle();
  Frame().SendMessage(WM_COMMAND, ID_WINDOW_NEW);
  QTest::qWait(30);
  auto* mdi = window_->findChild<QMdiArea*>("mdi");
  QMenu* windows = Menu(2);
  ASSERT_TRUE(mdi && windows);
  mdi->activeSubWindow()->showMaximized();
  QTest::qWait(30);
  EXPECT_EQ(window_->windowTitle(), "QOVA - [Doc1:2]");
  // The other window, maximised in its turn, then both tiled.
  QString checked;
  WindowListOf(windows, &checked);
  Action(windows, "&1 Doc1:1")->trigger();
  QTest::qWait(30);
  EXPECT_EQ(window_->windowTitle(), "QOVA - [Doc1:1]");
  Action(windows, "&Tile")->trigger();
  QTest::qWait(30);
  EXPECT_EQ(window_->windowTitle(), "QOVA - Doc1:1");
  WindowListOf(windows, &checked);
  Action(windows, "&2 Doc1:2")->trigger();
  QTest::qWait(30);
  EXPECT_EQ(window_->windowTitle(), "QOVA - Doc1:2");
}

// The Restore button at the right of the menu bar while a window is
// maximised: the middle of the three the maximised window puts there.
void ClickRestoreInTheMenuBar(QMainWindow& window) {
  QWidget* buttons = window.menuBar()->cornerWidget(Qt::TopRightCorner);
  ASSERT_NE(buttons, nullptr);
  QTest::mouseClick(buttons, Qt::LeftButton, {}, buttons->rect().center());
  QTest::qWait(30);
}

TEST_F(QtFrameTest, NewWindowWhileMaximisedThenRestoreBringsEveryWindowBackWithItsFrameAtItsPlace) {
  Settle();
  auto* mdi = window_->findChild<QMdiArea*>("mdi");
  ASSERT_NE(mdi, nullptr);
  auto placeOf = [](CMDIChildWnd* child) {
    const CRect& r = child->m_hWnd->rect;
    return QRect(r.left, r.top, r.Width(), r.Height());
  };
  auto subOf = [](CMDIChildWnd* child) { return qobject_cast<QMdiSubWindow*>(platform::qt::WidgetOf(*child)); };
  // Which window is active when Restore is pressed: the new one, or the
  // first one chosen again from the Window menu.
  const struct {
    const char* activeAtRestore;
    const char* title;
  } cases[] = {{"&2 Doc1:2", "QOVA - Doc1:2"}, {"&1 Doc1:1", "QOVA - Doc1:1"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.activeAtRestore);
    while (Frame().MDIChildren().size() > 1) Frame().MDIChildren().back()->SendMessage(WM_CLOSE);
    QTest::qWait(30);
    CMDIChildWnd* first = Frame().MDIChildren().front();
    const QRect firstPlace = placeOf(first);
    subOf(first)->showMaximized();
    QTest::qWait(30);
    Frame().SendMessage(WM_COMMAND, ID_WINDOW_NEW);
    QTest::qWait(30);
    ASSERT_EQ(Frame().MDIChildren().size(), 2u);
    CMDIChildWnd* second = Frame().MDIChildren().back();
    const QRect secondPlace = placeOf(second);
    EXPECT_NE(secondPlace, firstPlace);
    EXPECT_EQ(window_->windowTitle().toStdString(), "QOVA - [Doc1:2]");
    // The first hands its maximised state on and goes back to its place.
    EXPECT_TRUE(subOf(second)->isMaximized());
    EXPECT_FALSE(subOf(first)->isMaximized());
    EXPECT_EQ(subOf(first)->geometry(), firstPlace);
    QString checked;
    WindowListOf(Menu(2), &checked);
    Action(Menu(2), c.activeAtRestore)->trigger();
    QTest::qWait(30);
    ClickRestoreInTheMenuBar(*window_);
    window_->grab().save(ArtefactPath(QString("mdi_restored_after_new_window_%1.png").arg(c.activeAtRestore[1])));
    for (CMDIChildWnd* child : {first, second}) {
      SCOPED_TRACE(child->GetWindowText());
      QMdiSubWindow* sub = subOf(child);
      EXPECT_FALSE(child->m_hWnd->maximized);
      EXPECT_FALSE(sub->isMaximized());
      EXPECT_EQ(placeOf(child), child == first ? firstPlace : secondPlace);
      EXPECT_EQ(sub->geometry(), placeOf(child));
      // Its own title bar, the height of a line or more, above its view.
      EXPECT_GE(sub->widget()->geometry().top(), sub->fontMetrics().height());
    }
    EXPECT_EQ(window_->windowTitle().toStdString(), c.title);
    EXPECT_EQ(window_->menuBar()->cornerWidget(Qt::TopRightCorner), nullptr);
  }
}

TEST_F(QtFrameTest, NewWindowsCascadeInsideTheWorkspace) {
  Settle();
  auto* mdi = window_->findChild<QMdiArea*>("mdi");
  ASSERT_NE(mdi, nullptr);
  const QRect workspace = mdi->viewport()->rect();
  std::vector<QRect> placed;
  for (int k = 0; k < 10; ++k) {
    Frame().SendMessage(WM_COMMAND, ID_WINDOW_NEW);
    QApplication::processEvents();
    placed.push_back(mdi->activeSubWindow()->geometry());
    EXPECT_TRUE(workspace.contains(placed.back())) << k;
    if (k > 0) {
      EXPECT_NE(placed[size_t(k)].topLeft(), placed[size_t(k) - 1].topLeft()) << k;
    }
  }
  // Past nine, the rest are behind "Windows...".
  QString checked;
  QStringList names = WindowListOf(Menu(2), &checked);
  ASSERT_EQ(names.size(), 10);
  EXPECT_EQ(names.back(), "Windows...");
}

// The progress dialog of long operations, here on screen.
class CProgress : public CDialog {
 public:
  explicit CProgress(BOOL* keepGoing) : keepGoing_(keepGoing) {
    AfxGetMainWnd()->EnableWindow(FALSE);
    Create(kProgressTemplate);
    ShowWindow(SW_SHOW);
  }
  ~CProgress() override { Close(); }
  void OnCancel() override {
    *keepGoing_ = FALSE;
    Close();
  }

 private:
  void Close() {
    if (!m_hWnd) return;
    AfxGetMainWnd()->EnableWindow(TRUE);
    DestroyWindow();
  }
  BOOL* keepGoing_;
};

BOOL PumpMessages() {
  MSG msg;
  while (::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (!AfxGetApp()->PumpMessage()) {
      ::PostQuitMessage(0);
      return FALSE;
    }
  }
  LONG idle = 0;
  while (AfxGetApp()->OnIdle(idle++)) {
  }
  return TRUE;
}

TEST_F(QtFrameTest, TheMainWindowTakesTheKeyboardBackWhenTheProgressDialogCloses) {
  Settle();
  window_->activateWindow();
  QApplication::processEvents();
  {
    BOOL keepGoing = TRUE;
    CProgress progress(&keepGoing);
    QWidget* dialog = platform::qt::WidgetOf(progress);
    ASSERT_NE(dialog, nullptr);
    dialog->activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), dialog);
  }
  QApplication::processEvents();
  EXPECT_EQ(QApplication::activeWindow(), window_);
  QTest::keyClick(QApplication::activeWindow(), Qt::Key_F6);
  EXPECT_EQ(Log(), std::vector<std::string>{"maybe"});
}

TEST_F(QtFrameTest, ProgressCancelClickedDuringTheFirstItemStopsTheLoop) {
  Settle();
  BOOL keepGoing = TRUE;
  std::vector<int> done;
  std::vector<bool> mainEnabled;
  {
    CProgress progress(&keepGoing);
    QWidget* dialog = platform::qt::WidgetOf(progress);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(window_->isEnabled());
    auto* cancel = dialog->findChild<QPushButton*>("2");
    ASSERT_NE(cancel, nullptr);
    for (int item = 1; item <= 5; ++item) {
      if (!keepGoing) break;
      done.push_back(item);
      if (item == 1) {
        // The user's click waits in Qt's queue while the first item runs.
        QPoint centre = cancel->rect().center();
        QCoreApplication::postEvent(cancel, new QMouseEvent(QEvent::MouseButtonPress, centre, cancel->mapToGlobal(centre),
                                                             Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(cancel, new QMouseEvent(QEvent::MouseButtonRelease, centre,
                                                             cancel->mapToGlobal(centre), Qt::LeftButton,
                                                             Qt::NoButton, Qt::NoModifier));
      }
      PumpMessages();
      mainEnabled.push_back(window_->isEnabled());
    }
  }
  EXPECT_EQ(done, std::vector<int>{1});
  EXPECT_EQ(mainEnabled, std::vector<bool>{true});
}

// Whatever ran modally over the main window, the window active before it
// is active after it, on the screen and in the program.
TEST_F(QtFrameTest, TheActiveWindowStaysActiveAfterWhatRanOverTheMainWindow) {
  Settle();
  window_->activateWindow();
  Frame().SendMessage(WM_COMMAND, ID_FILE_NEW);
  Frame().SendMessage(WM_COMMAND, ID_WINDOW_NEW);
  Frame().SendMessage(WM_COMMAND, ID_WINDOW_TILE_HORZ);
  QTest::qWait(30);
  auto* mdi = window_->findChild<QMdiArea*>("mdi");
  ASSERT_NE(mdi, nullptr);
  ASSERT_EQ(Frame().MDIChildren().size(), 3u);
  const struct {
    const char* what;
    std::function<void()> run;
  } cases[] = {
      {"a progress dialog over the disabled main window",
       [] {
         BOOL keepGoing = TRUE;
         CProgress progress(&keepGoing);
         for (int item = 0; item < 3; ++item) {
           QTest::qWait(10);
           PumpMessages();
         }
       }},
      {"a message box",
       [this] {
         QTimer user;
         WhileModal(user, [](QWidget* modal) {
           if (auto* box = qobject_cast<QMessageBox*>(modal)) box->button(QMessageBox::No)->click();
         });
         Frame().SendMessage(WM_COMMAND, kAsk);
       }},
      {"a file that fails to open",
       [this] {
         QTimer user;
         WhileModal(user, [](QWidget* modal) {
           if (auto* box = qobject_cast<QMessageBox*>(modal)) box->button(QMessageBox::Ok)->click();
         });
         EXPECT_EQ(app_->OpenDocumentFile("/no/such/folder/file.doc"), nullptr);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // The middle window, as the user picks it from the Window menu.
    ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), AFX_IDM_FIRST_MDICHILD + 1));
    QTest::qWait(30);
    CMDIChildWnd* chosen = Frame().MDIChildren()[1];
    ASSERT_EQ(Frame().MDIGetActive(), chosen);
    c.run();
    QTest::qWait(50);
    EXPECT_EQ(Frame().MDIChildren().size(), 3u);
    EXPECT_EQ(Frame().MDIGetActive(), chosen);
    EXPECT_EQ(mdi->activeSubWindow(), platform::qt::WidgetOf(*chosen));
    EXPECT_EQ(window_->windowTitle(), "QOVA - Doc2:1");
  }
}

TEST_F(QtFrameTest, MessageBoxFromACommandAnswersWithTheButtonPressed) {
  QTimer user;
  WhileModal(user, [](QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      EXPECT_EQ(box->text(), "Go to download page?");
      box->button(QMessageBox::No)->click();
    }
  });
  Frame().SendMessage(WM_COMMAND, kAsk);
  EXPECT_EQ(Log(), std::vector<std::string>{"no"});
}

TEST_F(QtFrameTest, AMessageBoxKeepsItsLinesWholeAndItsTitleInView) {
  // The view's Information box: its first line is wider than half a screen
  // at most fonts, and a band name follows "Cytoband=" after spaces.
  const struct {
    const char* text;
    int lines;
  } cases[] = {{"SNPnumber= 123456\tChromosome= 8\tCytoband=   p14.3\n \n point 123454: signal= 0.123456 "
                "Position= 12345678\n point 123455: signal= -0.234567 Position= 12345999\n\n Goto Web Information?",
                6},
               {"Done.", 1}};
  for (const auto& c : cases) {
    int height = 0, lineSpacing = 0, width = 0, room = 0;
    QTimer user;
    WhileMessageBox(user, [&](QMessageBox& box, QLabel& label) {
      height = label.height();
      lineSpacing = label.fontMetrics().lineSpacing();
      width = box.width();
      // The title, the window's icon and three buttons two lines wide.
      const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
      room = title.horizontalAdvance(box.windowTitle()) + 8 * title.height();
      box.grab().save(ArtefactPath(QString("message_box_%1_lines.png").arg(c.lines)));
      box.button(QMessageBox::Ok)->click();
    });
    AfxMessageBox(c.text, MB_OK | MB_ICONINFORMATION);
    EXPECT_LT(height, (c.lines + 1) * lineSpacing) << c.text;
    EXPECT_GE(width, room) << c.text;
  }
}

// A path in UTF-8 beside bytes quoted from a damaged file: the path's letters
// are shown as letters and only the foreign bytes one character per byte, in
// a message box as in a window's title.
TEST_F(QtFrameTest, AMessageAndATitleShowTheirUtf8AsLettersBesideForeignBytes) {
  Settle();
  const std::string path = "/data/\xC3\x9C" "berpr\xC3\xBC" "fung \xE6\x97\xA5\xE6\x9C\xAC/T\xC3\xBCmor \xE6\x97\xA5\xE6\x9C\xAC 01.CFS";
  const QString shownPath = QString::fromUtf8("/data/\u00DCberpr\u00FCfung \u65E5\u672C/T\u00FCmor \u65E5\u672C 01.CFS");
  const std::string message = path + ": unknown array type \"\xE6\x97\xFF\x9F\"";
  QString boxText;
  QTimer user;
  WhileMessageBox(user, [&](QMessageBox& box, QLabel&) {
    boxText = box.text();
    box.button(QMessageBox::Ok)->click();
  });
  AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
  EXPECT_EQ(boxText, shownPath + ": unknown array type \"" + QChar(0xE6) + QChar(0x97) + QChar(0xFF) + QChar(0x9F) + "\"");

  Frame().GetActiveDocument()->SetTitle(path + "\xA9");
  QApplication::processEvents();
  EXPECT_EQ(window_->windowTitle(), "QOVA - " + shownPath + QChar(0xA9));
}

// Counts its paints.
class PaintCounter : public QWidget {
 public:
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST_F(QtFrameTest, AWaitPaintsWhatWaitsToBePaintedAndShowsTheWaitCursorUntilItEnds) {
  Settle();
  PaintCounter window;
  window.resize(200, 100);
  window.show();
  QTest::qWait(30);
  window.update();  // as the main window is, under a dialog just closed
  const int before = window.paints;
  {
    CWaitCursor wait;
    EXPECT_GT(window.paints, before);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    {
      CWaitCursor inner;
    }
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtFrameTest, PopupMenuReturnsTheItemChosenWithTheKeyboard) {
  Settle();
  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, 104, "Zoom In");
  menu.AppendMenu(MF_STRING, 105, "Zoom Out");
  QTimer user;
  user.setInterval(15);
  QObject::connect(&user, &QTimer::timeout, [] {
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!popup) return;
    for (QAction* a : popup->actions())
      if (a->text() == "Zoom Out") popup->setActiveAction(a);
    QTest::keyClick(popup, Qt::Key_Return);
  });
  user.start();
  CPoint point(20, 20);
  View()->ClientToScreen(&point);
  EXPECT_EQ(menu.TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, point.x, point.y, View()), 105);
}

TEST_F(QtFrameTest, FileAndColourDialogsAnswerTheirRequests) {
  qova::test::TempHome home;
  QString target = QString::fromStdString(home.Path("graph"));
  QTimer user;
  WhileModal(user, [&](QWidget* modal) {
    if (auto* files = qobject_cast<QFileDialog*>(modal)) {
      auto* name = files->findChild<QLineEdit*>("fileNameEdit");
      ASSERT_NE(name, nullptr);
      name->setText(target);
      QTest::keyClick(name, Qt::Key_Return);
    } else if (auto* colours = qobject_cast<QColorDialog*>(modal)) {
      colours->setCurrentColor(QColor(10, 20, 30));
      colours->accept();
    }
  });
  CFileDialog save(FALSE, "emf", nullptr, OFN_OVERWRITEPROMPT, "Enhanced meta files (*.emf)|*.emf|All Files (*.*)|*.*||");
  ASSERT_EQ(save.DoModal(), IDOK);
  EXPECT_EQ(save.GetFileName(), "graph.emf");
  EXPECT_EQ(save.GetFileExt(), "emf");
  CColorDialog colour(RGB(255, 0, 0));
  ASSERT_EQ(colour.DoModal(), IDOK);
  EXPECT_EQ(colour.GetColor(), RGB(10, 20, 30));
}

}  // namespace
