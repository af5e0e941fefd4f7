// Documents, views and frames of an MDI application, command routing with
// update-UI, menus, tool bars and accelerators, and the window services
// (scroll bars, mouse capture, timers, cursors, clipboard, printing).
#include <gtest/gtest.h>

#include <numeric>

#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/ui/App.h"
#include "platform/ui/DC.h"
#include "platform/ui/Frame.h"
#include "platform/ui/UserInput.h"
#include "tests/platform/ui_fixture.h"
#include "tests/support/TempHome.h"

namespace {

using namespace platform::ui;

constexpr UINT kMainFrame = 128;
constexpr UINT kDocType = 129;
constexpr UINT kGraphType = 130;
constexpr UINT kBoth = 32900;       // handled by the view and the document
constexpr UINT kDocOnly = 32901;
constexpr UINT kMaybe = 32902;      // the document's update handler may disable it
constexpr UINT kFrameCmd = 32771;   // the main frame's own command
constexpr UINT kAppCmd = 32903;
constexpr UINT kNoHandler = 32904;

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

class CTestDoc : public CDocument {
  DECLARE_DYNCREATE(CTestDoc)
 public:
  int value = 0;
  bool maybeEnabled = true;
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring())
      ar << std::int32_t(value);
    else {
      std::int32_t v = 0;
      ar >> v;
      value = v;
    }
  }

 protected:
  void OnBoth() { Log().push_back("doc:both"); }
  void OnDocOnly() { Log().push_back("doc:only"); }
  void OnMaybe() { Log().push_back("doc:maybe"); }
  void OnUpdateMaybe(CCmdUI* ui) { ui->Enable(maybeEnabled); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestDoc, CDocument)
BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
  ON_COMMAND(kBoth, &CTestDoc::OnBoth)
  ON_COMMAND(kDocOnly, &CTestDoc::OnDocOnly)
  ON_COMMAND(kMaybe, &CTestDoc::OnMaybe)
  ON_UPDATE_COMMAND_UI(kMaybe, &CTestDoc::OnUpdateMaybe)
END_MESSAGE_MAP()

class CGraphDoc : public CDocument {
  DECLARE_DYNCREATE(CGraphDoc)
};
IMPLEMENT_DYNCREATE(CGraphDoc, CDocument)

class CTestView : public CView {
  DECLARE_DYNCREATE(CTestView)
 public:
  std::vector<std::string> updates;
  CView* sourceView = nullptr;  // the active view when this one first updated
  int ticks = 0;
  UINT lastScrollCode = 0xFFFF;
  int pages = 1;

  void OnInitialUpdate() override {
    auto* main = static_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    CMDIChildWnd* active = main ? main->MDIGetActive() : nullptr;
    sourceView = active ? active->GetActiveView() : nullptr;
    CView::OnInitialUpdate();
  }
  void OnUpdate(CView* sender, LPARAM hint, CObject*) override {
    updates.push_back(std::to_string(hint) + (sender ? "+sender" : ""));
  }
  void OnDraw(CDC* pDC) override {
    pDC->TextOut(0, 0, GetDocument()->GetTitle());
    if (pDC->IsPrinting()) pDC->TextOut(0, 20, "page");
  }
  void OnBeginPrinting(CDC*, CPrintInfo* info) override { info->SetMaxPage(UINT(pages)); }
  void OnPrint(CDC* pDC, CPrintInfo* info) override {
    CView::OnPrint(pDC, info);
    pDC->TextOut(0, 40, "page " + std::to_string(info->m_nCurPage));
  }
  void OnLButtonDown(UINT, CPoint point) override {
    SetCapture();
    ::SetCursor(AfxGetApp()->LoadStandardCursor(IDC_CROSS));
    Log().push_back("down " + std::to_string(point.x) + "," + std::to_string(point.y));
  }
  void OnMouseMove(UINT, CPoint point) override {
    Log().push_back("move " + std::to_string(point.x) + "," + std::to_string(point.y));
  }
  void OnLButtonUp(UINT, CPoint) override {
    ReleaseCapture();
    Log().push_back("up");
  }
  void OnTimer(UINT_PTR id) override {
    if (id != 5) return;
    if (++ticks == 2) KillTimer(5);
  }
  void OnVScroll(UINT code, UINT, CScrollBar*) override {
    lastScrollCode = code;
    SCROLLINFO info;
    GetScrollInfo(SB_VERT, &info, SIF_ALL);
    int pos = code == SB_LINEDOWN ? info.nPos + int(info.nPage) / 10 : code == SB_THUMBTRACK ? info.nTrackPos : info.nPos;
    SetScrollPos(SB_VERT, pos);
  }

 protected:
  void OnBoth() { Log().push_back("view:both"); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestView, CView)
BEGIN_MESSAGE_MAP(CTestView, CView)
  ON_COMMAND(kBoth, &CTestView::OnBoth)
  ON_COMMAND(ID_FILE_PRINT, &CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_PREVIEW, &CView::OnFilePrintPreview)
END_MESSAGE_MAP()

class CChildFrame : public CMDIChildWnd {
  DECLARE_DYNCREATE(CChildFrame)
};
IMPLEMENT_DYNCREATE(CChildFrame, CMDIChildWnd)

class CMainFrame : public CMDIFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  CToolBar m_wndToolBar;
  CStatusBar m_wndStatusBar;

  int OnCreate(LPCREATESTRUCT cs) override {
    if (CMDIFrameWnd::OnCreate(cs) == -1) return -1;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT) || !m_wndToolBar.LoadToolBar(kMainFrame)) return -1;
    static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 4)) return -1;
    return 0;
  }

 protected:
  void OnFrameCommand() { Log().push_back("frame"); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CMainFrame, CMDIFrameWnd)
BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
  ON_COMMAND(kFrameCmd, &CMainFrame::OnFrameCommand)
END_MESSAGE_MAP()

class CTestApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    CWinApp::InitInstance();
    SetRegistryKey("Local AppWizard-Generated Applications");
    AddDocTemplate(new CMultiDocTemplate(kDocType, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CChildFrame),
                                         RUNTIME_CLASS(CTestView)));
    AddDocTemplate(new CMultiDocTemplate(kGraphType, RUNTIME_CLASS(CGraphDoc), RUNTIME_CLASS(CChildFrame),
                                         RUNTIME_CLASS(CTestView)));
    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(kMainFrame)) {
      delete frame;
      return FALSE;
    }
    m_pMainWnd = frame;
    CCommandLineInfo info;
    ParseCommandLine(info);
    if (!ProcessShellCommand(info)) return FALSE;
    frame->ShowWindow(m_nCmdShow);
    return TRUE;
  }
  void OnFileNewGraph() {
    POSITION pos = GetFirstDocTemplatePosition();
    GetNextDocTemplate(pos);
    GetNextDocTemplate(pos)->OpenDocumentFile(nullptr);
  }
  void OnAppCommand() { Log().push_back("app"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
  ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
  ON_COMMAND(ID_FILE_OPEN, &CWinApp::OnFileOpen)
  ON_COMMAND(32926, &CTestApp::OnFileNewGraph)
  ON_COMMAND(kAppCmd, &CTestApp::OnAppCommand)
  ON_COMMAND(kBoth, &CTestApp::OnAppCommand)
END_MESSAGE_MAP()

class DocViewTest : public qova::test::UiTest {
 protected:
  DocViewTest() {
    Log().clear();
    Res().AddString(AFX_IDS_APP_TITLE, "QOVA");
    Res().AddString(AFX_IDS_IDLEMESSAGE, "Ready");
    Res().AddString(kMainFrame, "\nQOVA\nQOVA\n\n\nQOVA.Document\nQOVA.Document");
    Res().AddString(kDocType, "\nDoc\nDoc\nDoc files (*.tdc)\n.tdc\nDoc.Document\nDoc.Document");
    Res().AddString(kGraphType, "\nGraph\nGraph\nGraph (*.txt) \n.txt\nQOVA.Graph\nQOVA.Graph");
    Res().AddString(ID_INDICATOR_CAPS, "CAP");
    Res().AddString(ID_INDICATOR_NUM, "NUM");
    Res().AddString(ID_INDICATOR_SCRL, "SCRL");
    Res().AddString(kMaybe, "Maybe\nMaybe tip");
    Res().AddMenu({kMainFrame,
                   {Popup("&File", {MenuItem("&New\tCtrl+N", ID_FILE_NEW), MenuSeparator(), MenuItem("E&xit", ID_APP_EXIT)}),
                    Popup("&Parameter", {MenuItem("Default &Setting", kFrameCmd)})}});
    Res().AddMenu({kDocType,
                   {Popup("&File", {MenuItem("&New", ID_FILE_NEW), MenuItem("&Close", ID_FILE_CLOSE)}),
                    Popup("&Data", {MenuItem("&Maybe", kMaybe), MenuItem("&Both", kBoth),
                                    Popup("A&nalysis", {MenuItem("&Doc only", kDocOnly)})}),
                    Popup("&View", {MenuItem("&Toolbar", ID_VIEW_TOOLBAR)})}});
    Res().AddAccelerators({kMainFrame,
                           {{FVIRTKEY, WORD(VK_F6), WORD(kMaybe)},
                            {FVIRTKEY | FSHIFT, WORD(VK_F6), WORD(kBoth)},
                            {FVIRTKEY | FCONTROL, WORD('O'), WORD(kDocOnly)}}});
    Res().AddToolBar({kMainFrame, {kMaybe, 0, kDocOnly, kFrameCmd}});
    app_ = std::make_unique<CTestApp>();
    EXPECT_TRUE(app_->InitInstance());
  }
  ~DocViewTest() override { app_.reset(); }

  CMainFrame& Frame() { return *static_cast<CMainFrame*>(app_->m_pMainWnd); }
  CTestView* ActiveView() {
    CMDIChildWnd* child = Frame().MDIGetActive();
    return child ? static_cast<CTestView*>(child->GetActiveView()) : nullptr;
  }
  CTestDoc* ActiveDoc() { return static_cast<CTestDoc*>(Frame().GetActiveDocument()); }
  void Command(UINT id) { Frame().SendMessage(WM_COMMAND, id, 0); }

  std::unique_ptr<CTestApp> app_;
};

TEST_F(DocViewTest, EmptyCommandLineOpensOneDocumentOfTheFirstTemplate) {
  ASSERT_EQ(Frame().MDIChildren().size(), 1u);
  ASSERT_NE(ActiveDoc(), nullptr);
  EXPECT_EQ(ActiveDoc()->GetTitle(), "Doc1");
  EXPECT_EQ(Frame().GetWindowText(), "QOVA - Doc1");
  POSITION pos = app_->GetFirstDocTemplatePosition();
  EXPECT_EQ(app_->GetNextDocTemplate(pos)->m_nIDResource, kDocType);
  EXPECT_EQ(app_->GetNextDocTemplate(pos)->m_nIDResource, kGraphType);
  EXPECT_EQ(pos, nullptr);
  Command(32926);
  EXPECT_EQ(Frame().GetActiveDocument()->GetTitle(), "Graph1");
  EXPECT_TRUE(Frame().GetActiveDocument()->IsKindOf(RUNTIME_CLASS(CGraphDoc)));
  Command(ID_FILE_NEW);
  EXPECT_EQ(ActiveDoc()->GetTitle(), "Doc2");
  EXPECT_EQ(Frame().MDIChildren().size(), 3u);
}

TEST_F(DocViewTest, CommandsAreRoutedViewDocumentFrameApplication) {
  Command(kBoth);
  Command(kDocOnly);
  Command(kFrameCmd);
  Command(kAppCmd);
  EXPECT_EQ(Log(), (std::vector<std::string>{"view:both", "doc:only", "frame", "app"}));
  EXPECT_FALSE(Frame().IsCommandEnabled(kNoHandler));
  EXPECT_TRUE(Frame().IsCommandEnabled(kFrameCmd));
}

TEST_F(DocViewTest, WithoutADocumentTheApplicationAnswers) {
  ActiveDoc()->OnCloseDocument();
  EXPECT_EQ(Frame().MDIGetActive(), nullptr);
  Command(kBoth);
  EXPECT_EQ(Log(), std::vector<std::string>{"app"});
  EXPECT_EQ(Frame().GetWindowText(), "QOVA");
}

TEST_F(DocViewTest, DisabledCommandIsNeverDispatched) {
  ActiveDoc()->maybeEnabled = false;
  input::Key(Frame(), VK_F6);                         // accelerator
  EXPECT_FALSE(input::ChooseCommand(Frame(), kMaybe));  // menu and tool bar
  Command(kMaybe);                                    // a program's own message
  EXPECT_TRUE(Log().empty());
  ActiveDoc()->maybeEnabled = true;
  input::Key(Frame(), VK_F6);
  input::Key(Frame(), 'O', FCONTROL);
  input::Key(Frame(), 'O');  // no accelerator without Ctrl
  input::Key(Frame(), VK_F6, FSHIFT);
  EXPECT_EQ(Log(), (std::vector<std::string>{"doc:maybe", "doc:only", "view:both"}));
}

TEST_F(DocViewTest, MenuBarFollowsTheActiveDocumentAndShowsUpdateUi) {
  ActiveDoc()->maybeEnabled = false;
  std::vector<MenuEntry> menu = Frame().UpdatedMenu();
  ASSERT_EQ(menu.size(), 3u);
  EXPECT_EQ(menu[1].text, "&Data");
  EXPECT_FALSE(menu[1].popup[0].IsEnabled());
  EXPECT_TRUE(menu[1].popup[1].IsEnabled());
  EXPECT_EQ(FindMenuItem(menu, "Doc only"), kDocOnly);
  EXPECT_TRUE(menu[2].popup[0].flags & MF_CHECKED);  // the tool bar is shown
  EXPECT_TRUE(input::ChooseCommand(Frame(), kDocOnly));
  EXPECT_FALSE(input::ChooseCommand(Frame(), kFrameCmd + 1000));  // not offered anywhere
  ActiveDoc()->OnCloseDocument();
  menu = Frame().UpdatedMenu();
  ASSERT_EQ(menu.size(), 2u);
  EXPECT_EQ(menu[1].text, "&Parameter");
}

TEST_F(DocViewTest, ToolBarAndStatusBarFollowUpdateUi) {
  EXPECT_EQ(Frame().m_wndStatusBar.GetPaneText(0), "Ready");
  EXPECT_EQ(Frame().m_wndStatusBar.GetPaneText(1), "CAP");
  EXPECT_EQ(Frame().m_wndToolBar.GetCount(), 4);
  ActiveDoc()->maybeEnabled = false;
  EXPECT_TRUE(app_->OnIdle(0));
  EXPECT_FALSE(app_->OnIdle(1));
  EXPECT_FALSE(Frame().m_wndToolBar.IsButtonEnabled(kMaybe));
  EXPECT_TRUE(Frame().m_wndToolBar.IsButtonEnabled(kDocOnly));
  // The frame's command is offered only by its tool bar while a document is active.
  EXPECT_TRUE(input::ChooseCommand(Frame(), kFrameCmd));
  Command(ID_VIEW_TOOLBAR);
  EXPECT_FALSE(Frame().m_wndToolBar.IsWindowVisible());
  EXPECT_FALSE(input::ChooseCommand(Frame(), kFrameCmd));
  EXPECT_EQ(Log(), std::vector<std::string>{"frame"});
}

TEST_F(DocViewTest, NewWindowSeesThePreviouslyActiveViewAndNumbersTitles) {
  CTestView* first = ActiveView();
  Command(ID_WINDOW_NEW);
  CTestView* second = ActiveView();
  ASSERT_NE(second, first);
  EXPECT_EQ(second->sourceView, first);
  EXPECT_EQ(second->GetDocument(), first->GetDocument());
  EXPECT_EQ(first->GetParentFrame()->GetWindowText(), "Doc1:1");
  EXPECT_EQ(second->GetParentFrame()->GetWindowText(), "Doc1:2");
  EXPECT_EQ(Frame().GetWindowText(), "QOVA - Doc1:2");
  second->GetDocument()->UpdateAllViews(second, 7);
  EXPECT_EQ(first->updates.back(), "7+sender");
  EXPECT_EQ(second->updates.size(), 1u);  // only its initial update
  // Closing one window keeps the document; closing the last closes it.
  input::Close(*second->GetParentFrame());
  EXPECT_EQ(Frame().MDIGetActive()->GetActiveView(), first);
  EXPECT_EQ(first->GetParentFrame()->GetWindowText(), "Doc1");
  input::Close(*first->GetParentFrame());
  EXPECT_EQ(Frame().MDIGetActive(), nullptr);
}

// A view that goes, with its window or as an object, is no longer its
// frame's active view: commands go past it to the application.
TEST_F(DocViewTest, AViewGoingAwayIsNoLongerItsFramesActiveView) {
  for (const bool deleteObject : {false, true}) {
    SCOPED_TRACE(deleteObject ? "object deleted" : "window destroyed");
    Command(ID_WINDOW_NEW);
    CMDIChildWnd* child = Frame().MDIGetActive();
    CTestView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    if (deleteObject)
      delete view;
    else
      view->DestroyWindow();
    ASSERT_EQ(child->GetActiveView(), nullptr);
    EXPECT_EQ(Frame().GetActiveDocument(), nullptr);
    Log().clear();
    Command(kBoth);
    EXPECT_EQ(Log(), std::vector<std::string>{"app"});
    child->DestroyWindow();
    EXPECT_EQ(Frame().MDIChildren().size(), 1u);
  }
}

TEST_F(DocViewTest, WindowCommandsPlaceTheChildrenInTheWorkspace) {
  Frame().SetMDIClientSize({800, 500});
  Command(ID_WINDOW_NEW);
  Command(ID_WINDOW_NEW);
  std::vector<CMDIChildWnd*> children = Frame().MDIChildren();
  ASSERT_EQ(children.size(), 3u);
  auto rects = [&] {
    std::vector<CRect> all;
    for (CMDIChildWnd* child : children) all.push_back(child->m_hWnd->rect);
    return all;
  };
  Command(ID_WINDOW_TILE_HORZ);
  EXPECT_EQ(rects(), (std::vector<CRect>{{0, 0, 800, 166}, {0, 166, 800, 333}, {0, 333, 800, 500}}));
  // The active window is cascaded last, on top.
  Command(ID_WINDOW_CASCADE);
  EXPECT_EQ(rects(), (std::vector<CRect>{{0, 0, 600, 375}, {24, 24, 624, 399}, {48, 48, 648, 423}}));
  children[0]->ShowWindow(SW_MINIMIZE);
  Command(ID_WINDOW_ARRANGE);
  EXPECT_EQ(rects()[0], CRect(0, 472, 160, 500));
  // The Window menu's list activates; a maximised child is named in brackets.
  Command(AFX_IDM_FIRST_MDICHILD + 1);
  EXPECT_EQ(Frame().MDIGetActive(), children[1]);
  Frame().MDIMaximize(children[1]);
  EXPECT_EQ(Frame().GetWindowText(), "QOVA - [Doc1:2]");
  Frame().MDIRestore(children[1]);
  EXPECT_EQ(Frame().GetWindowText(), "QOVA - Doc1:2");
}

TEST_F(DocViewTest, TileFillsAsManyColumnsAsTheSquareRootAndTheLaterColumnsTakeTheWindowsLeftOver) {
  Frame().SetMDIClientSize({900, 600});
  const struct {
    std::size_t windows;
    std::vector<CRect> rects;  // column by column, top to bottom
  } cases[] = {
      {4, {{0, 0, 450, 300}, {0, 300, 450, 600}, {450, 0, 900, 300}, {450, 300, 900, 600}}},
      {5, {{0, 0, 450, 300}, {0, 300, 450, 600}, {450, 0, 900, 200}, {450, 200, 900, 400}, {450, 400, 900, 600}}},
      {7,
       {{0, 0, 450, 200}, {0, 200, 450, 400}, {0, 400, 450, 600}, {450, 0, 900, 150}, {450, 150, 900, 300},
        {450, 300, 900, 450}, {450, 450, 900, 600}}},
      {11,
       {{0, 0, 300, 200}, {0, 200, 300, 400}, {0, 400, 300, 600}, {300, 0, 600, 150}, {300, 150, 600, 300},
        {300, 300, 600, 450}, {300, 450, 600, 600}, {600, 0, 900, 150}, {600, 150, 900, 300}, {600, 300, 900, 450},
        {600, 450, 900, 600}}},
  };
  for (const auto& c : cases) {
    while (Frame().MDIChildren().size() < c.windows) Command(ID_WINDOW_NEW);
    Command(ID_WINDOW_TILE_HORZ);
    std::vector<CRect> rects;
    for (CMDIChildWnd* child : Frame().MDIChildren()) rects.push_back(child->m_hWnd->rect);
    EXPECT_EQ(rects, c.rects) << c.windows << " windows";
  }
}

TEST_F(DocViewTest, WindowsPastNineAreChosenFromTheWindowList) {
  for (int k = 0; k < 10; ++k) Command(ID_WINDOW_NEW);
  std::vector<std::string> listed;
  int selected = -1;
  Ui().OnDialog(kWindowListDialog, [&](DialogDriver& d) {
    listed = d.Items(kWindowListBox);
    selected = d.CurSel(kWindowListBox);
    d.DoubleClick(kWindowListBox, 1);
  });
  Command(AFX_IDM_FIRST_MDICHILD + 9);
  ASSERT_EQ(listed.size(), 11u);
  EXPECT_EQ(listed[1], "Doc1:2");
  EXPECT_EQ(selected, 10);  // the active window, the last made
  EXPECT_EQ(Frame().MDIGetActive(), Frame().MDIChildren()[1]);
}

TEST_F(DocViewTest, ModifiedDocumentAsksBeforeClosing) {
  ActiveDoc()->SetModifiedFlag();
  messages_.QueueAnswer(IDCANCEL);
  Command(ID_FILE_CLOSE);
  EXPECT_NE(ActiveDoc(), nullptr);
  messages_.QueueAnswer(IDNO);
  Command(ID_FILE_CLOSE);
  EXPECT_EQ(ActiveDoc(), nullptr);
  EXPECT_EQ(messages_.Texts(), (std::vector<std::string>{"Save changes to Doc1?", "Save changes to Doc1?"}));
}

TEST_F(DocViewTest, SavingThatIsCancelledKeepsTheModifiedDocumentOpen) {
  ActiveDoc()->SetModifiedFlag();
  messages_.QueueAnswer(IDYES);
  Ui().OnFileDialog([](FileDialogRequest&) { return false; });
  Command(ID_FILE_CLOSE);
  ASSERT_NE(ActiveDoc(), nullptr);
  EXPECT_TRUE(ActiveDoc()->IsModified());
  // A name in a folder that does not exist cannot be saved: reported, still open.
  Ui().OnFileDialog([](FileDialogRequest& r) {
    r.chosen = {"/no/such/folder/x"};
    return true;
  });
  messages_.QueueAnswer(IDYES);
  Command(ID_FILE_CLOSE);
  ASSERT_NE(ActiveDoc(), nullptr);
  EXPECT_EQ(messages_.Texts().back(), "Failed to save document.");
}

// "/" begins both the framework's flags and every absolute path: a path is
// a file to open, whether it exists or not, and so is anything that names an
// existing file.
TEST(CommandLineTest, ArgumentsChooseTheShellCommand) {
  qova::test::TempHome home;
  const std::string file = home.Path("changes.txt");
  ASSERT_TRUE(platform::WriteWholeFile(file, "x"));
  ASSERT_EQ(file.front(), '/');
  struct Case {
    std::vector<std::string> args;
    int command;
    std::string file;
  };
  for (const Case& c : {Case{{}, CCommandLineInfo::FileNew, ""}, Case{{"a.AAD"}, CCommandLineInfo::FileOpen, "a.AAD"},
                        Case{{"/p", "b.txt"}, CCommandLineInfo::FilePrint, "b.txt"},
                        Case{{"/PT", "b.txt"}, CCommandLineInfo::FilePrintTo, "b.txt"},
                        Case{{"-nologo"}, CCommandLineInfo::FileNew, ""},
                        Case{{"/nologo", file}, CCommandLineInfo::FileOpen, file},
                        Case{{file}, CCommandLineInfo::FileOpen, file},
                        Case{{"/p", file}, CCommandLineInfo::FilePrint, file},
                        Case{{"/no/such/file.txt"}, CCommandLineInfo::FileOpen, "/no/such/file.txt"},
                        Case{{"-x", "/x"}, CCommandLineInfo::FileOpen, "/x"}}) {
    CWinApp app;
    app.SetCommandLine(c.args);
    CCommandLineInfo info;
    app.ParseCommandLine(info);
    EXPECT_EQ(info.m_nShellCommand, c.command) << ::testing::PrintToString(c.args);
    EXPECT_EQ(info.m_strFileName, c.file) << ::testing::PrintToString(c.args);
  }
}

TEST_F(DocViewTest, SaveAndOpenGoThroughTheFileDialogAndTheArchive) {
  qova::test::TempHome home;
  std::string path = home.Path("saved");
  std::vector<FileDialogRequest> requests;
  Ui().OnFileDialog([&](FileDialogRequest& r) {
    requests.push_back(r);
    r.chosen = {path};
    return true;
  });
  ActiveDoc()->value = 41;
  ActiveDoc()->SetModifiedFlag();
  Command(ID_FILE_SAVE);
  EXPECT_FALSE(ActiveDoc()->IsModified());
  EXPECT_EQ(ActiveDoc()->GetTitle(), "saved.tdc");  // the default extension was added
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_FALSE(requests[0].open);
  EXPECT_EQ(requests[0].initialName, "Doc1.tdc");
  EXPECT_EQ(requests[0].filters.front(), (std::pair<std::string, std::string>{"Doc files (*.tdc)", "*.tdc"}));

  path += ".tdc";
  Command(ID_FILE_OPEN);
  EXPECT_EQ(Frame().MDIChildren().size(), 1u);  // the document was already open
  ActiveDoc()->OnCloseDocument();
  Command(ID_FILE_OPEN);
  ASSERT_NE(ActiveDoc(), nullptr);
  EXPECT_EQ(ActiveDoc()->value, 41);
  EXPECT_EQ(ActiveDoc()->GetPathName(), path);
}

TEST_F(DocViewTest, ClosingTheMainFrameEndsTheMessageLoop) {
  input::Close(Frame());
  EXPECT_EQ(app_->m_pMainWnd, nullptr);
  EXPECT_EQ(app_->Run(), 0);
}

TEST_F(DocViewTest, ScrollBarsKeepTheirPositionWithinRangeAndPage) {
  CTestView& view = *ActiveView();
  SCROLLINFO info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = 5000;
  info.nPage = 1000;
  info.nPos = 9000;
  view.SetScrollInfo(SB_VERT, &info);
  EXPECT_EQ(view.GetScrollPos(SB_VERT), 4001);
  view.SetScrollPos(SB_VERT, 100);
  input::Scroll(view, SB_VERT, SB_LINEDOWN);
  EXPECT_EQ(view.lastScrollCode, SB_LINEDOWN);
  EXPECT_EQ(view.GetScrollPos(SB_VERT), 200);
  input::Scroll(view, SB_VERT, SB_THUMBTRACK, 3000);
  EXPECT_EQ(view.GetScrollPos(SB_VERT), 3000);
}

TEST_F(DocViewTest, CapturedMouseFollowsTheCapturingWindow) {
  CTestView& view = *ActiveView();
  input::Mouse(view, WM_LBUTTONDOWN, MK_LBUTTON, {10, 20});
  EXPECT_EQ(CWnd::GetCapture(), &view);
  EXPECT_EQ(Ui().Cursor()->shape, CursorShape::Cross);
  // A move over the frame still reaches the view, in the view's coordinates.
  CRect viewRect;
  view.GetWindowRect(&viewRect);
  CPoint framePoint(viewRect.left + 15, viewRect.top - 5);
  Frame().ScreenToClient(&framePoint);
  input::Mouse(Frame(), WM_MOUSEMOVE, MK_LBUTTON, framePoint);
  input::Mouse(view, WM_LBUTTONUP, 0, {15, -5});
  EXPECT_EQ(CWnd::GetCapture(), nullptr);
  EXPECT_EQ(Log(), (std::vector<std::string>{"down 10,20", "move 15,-5", "up"}));
}

TEST_F(DocViewTest, TimersFireOnTheTestClockUntilKilled) {
  CTestView& view = *ActiveView();
  view.SetTimer(5, 250);
  Ui().AdvanceClock(249);
  EXPECT_EQ(view.ticks, 0);
  Ui().AdvanceClock(1);
  EXPECT_EQ(view.ticks, 1);
  Ui().AdvanceClock(2000);
  EXPECT_EQ(view.ticks, 2);
  EXPECT_FALSE(Ui().HasTimer(view, 5));
}

TEST_F(DocViewTest, PaintAndClientDrawingAreRecorded) {
  CTestView& view = *ActiveView();
  Picture painted = Ui().Paint(view);
  ASSERT_NE(painted.FindText("Doc1"), nullptr);
  EXPECT_FALSE(Ui().IsInvalidated(view));
  {
    CClientDC dc(&view);
    CRect band(5, 5, 50, 30);
    dc.InvertRect(&band);
  }
  ASSERT_EQ(Ui().ClientDrawing(view).CountOf(DrawOp::Invert), 1u);
  view.Invalidate();
  EXPECT_TRUE(Ui().IsInvalidated(view));
  EXPECT_EQ(Ui().ClientDrawing(view).records.size(), 0u);  // a repaint wipes it out
}

TEST_F(DocViewTest, PrintingDrawsEveryPageOnThePrinter) {
  ActiveView()->pages = 3;
  Ui().OnPrintDialog([](PrintDialogRequest& r) {
    EXPECT_EQ(r.maxPage, 0xFFFF);
    r.printer = PrinterSettings{"Test printer", 1000, 1400, 120, ""};
    return true;
  });
  Command(ID_FILE_PRINT);
  ASSERT_EQ(Ui().PrintJobs().size(), 1u);
  const PrintedJob& job = Ui().PrintJobs()[0];
  EXPECT_FALSE(job.preview);
  ASSERT_EQ(job.pages.size(), 3u);
  EXPECT_NE(job.pages[2].FindText("page"), nullptr);
  EXPECT_EQ(job.pages[0].caps.width, 1000);
  EXPECT_TRUE(job.pages[0].caps.printer);
  Ui().OnPrintDialog([](PrintDialogRequest&) { return false; });
  Command(ID_FILE_PRINT);
  Command(ID_FILE_PRINT_PREVIEW);  // no dialog for a preview
  ASSERT_EQ(Ui().PrintJobs().size(), 2u);
  EXPECT_TRUE(Ui().PrintJobs()[1].preview);
}

// The page numbers on the sheets of a print, in the order they came out.
std::vector<int> SheetNumbers(const PrintedJob& job) {
  std::vector<int> numbers;
  for (const Picture& sheet : job.pages)
    for (const DrawRecord& r : sheet.records)
      if (r.op == DrawOp::Text && sheet.TextOf(r).starts_with("page "))
        numbers.push_back(std::stoi(std::string(sheet.TextOf(r).substr(5))));
  return numbers;
}

// What is chosen in File > Print's dialog: the copies, collated or not, the
// last page first, a range of pages (one beyond the last page prints nothing
// and says so), and the printer and its sheet, which the next print's dialog
// and the next preview start from, as after Print Setup; a cancelled dialog
// leaves the program's printer as it was.
TEST_F(DocViewTest, APrintHasTheCopiesOrderAndPagesChosenAndItsPrinterStays) {
  const PrinterSettings letter{"Letter printer", 1155, 1500, 150, ""};
  const PrinterSettings across{"Across printer", 1654, 1120, 150, ""};
  const struct {
    const char* what;
    int pages;  // the view's
    int copies;
    bool collate;
    bool reverse;
    int from, to;  // a range, or 0 for all pages
    bool accept;
    const PrinterSettings* printer;  // chosen in the dialog
    std::vector<int> sheets;
    const char* message;  // the one shown, if any
  } cases[] = {
      {"two copies of one page", 1, 2, true, false, 0, 0, true, &letter, {1, 1}, nullptr},
      {"three copies of two pages, collated", 2, 3, true, false, 0, 0, true, &across, {1, 2, 1, 2, 1, 2}, nullptr},
      {"three copies of two pages, not collated", 2, 3, false, false, 0, 0, true, &letter, {1, 1, 1, 2, 2, 2}, nullptr},
      {"five pages reversed", 5, 1, true, true, 0, 0, true, &across, {5, 4, 3, 2, 1}, nullptr},
      {"two collated copies reversed", 3, 2, true, true, 0, 0, true, &letter, {3, 2, 1, 3, 2, 1}, nullptr},
      {"pages 2-4 of 6 reversed, two copies not collated", 6, 2, false, true, 2, 4, true, &across,
       {4, 4, 3, 3, 2, 2}, nullptr},
      {"pages 5-9 of 6", 6, 1, true, false, 5, 9, true, &letter, {5, 6}, nullptr},
      {"pages 7-9 of 6", 6, 1, true, false, 7, 9, true, &across, {},
       "Pages 7 to 9 are not in this print, which has 6 pages: nothing was printed."},
      {"page 2 of 1, two copies", 1, 2, true, false, 2, 2, true, &letter, {},
       "Page 2 is not in this print, which has 1 page: nothing was printed."},
      {"cancelled", 2, 2, true, false, 0, 0, false, &across, {}, nullptr},
  };
  PrinterSettings kept = app_->m_printer;
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    Ui().Reset();
    messages_.Clear();
    ActiveView()->pages = k.pages;
    PrinterSettings offered;
    Ui().OnPrintDialog([&](PrintDialogRequest& r) {
      offered = r.printer;
      r.copies = k.copies;
      r.collate = k.collate;
      r.reverse = k.reverse;
      r.pageRange = k.from > 0;
      r.fromPage = k.from;
      r.toPage = k.to;
      r.printer = *k.printer;
      return k.accept;
    });
    Command(ID_FILE_PRINT);
    EXPECT_EQ(offered.width, kept.width);
    EXPECT_EQ(offered.name, kept.name);
    const bool printed = !k.sheets.empty();
    ASSERT_EQ(Ui().PrintJobs().size(), printed ? 1u : 0u);
    if (printed) {
      EXPECT_EQ(SheetNumbers(Ui().PrintJobs()[0]), k.sheets);
      EXPECT_EQ(Ui().PrintJobs()[0].printer.width, k.printer->width);
    }
    EXPECT_EQ(messages_.Texts(), k.message ? std::vector<std::string>{k.message} : std::vector<std::string>{});
    if (k.accept) kept = *k.printer;
    EXPECT_EQ(app_->m_printer.name, kept.name);
    // The preview after it shows its pages once each, in order, on that sheet.
    Command(ID_FILE_PRINT_PREVIEW);
    ASSERT_EQ(Ui().PrintJobs().size(), printed ? 2u : 1u);
    const PrintedJob& preview = Ui().PrintJobs().back();
    std::vector<int> all(std::size_t(k.pages));
    std::iota(all.begin(), all.end(), 1);
    EXPECT_EQ(SheetNumbers(preview), all);
    EXPECT_EQ(preview.printer.width, kept.width);
    EXPECT_EQ(preview.printer.height, kept.height);
  }
}

TEST_F(DocViewTest, ThePreviewsPrintRunsFilePrintWithItsDialog) {
  ActiveView()->pages = 2;
  const struct {
    const char* what;
    bool printChosen;    // the preview closed by Print... rather than Close
    bool dialogAccepts;  // the print dialog that follows
    std::size_t jobs;    // the preview's and the print's
  } cases[] = {
      {"closed", false, true, 1},
      {"print, dialog OK", true, true, 2},
      {"print, dialog cancelled", true, false, 1},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    Ui().Reset();
    int dialogs = 0;
    Ui().OnPrintDialog([&](PrintDialogRequest& r) {
      ++dialogs;
      r.printer = PrinterSettings{"Chosen printer", 800, 1100, 100, ""};
      return k.dialogAccepts;
    });
    Ui().OnPrintPreview([&](const PrintedJob& preview) {
      EXPECT_EQ(preview.pages.size(), 2u);
      return k.printChosen;
    });
    const std::size_t before = Ui().PrintJobs().size();
    Command(ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(dialogs, k.printChosen ? 1 : 0);
    ASSERT_EQ(Ui().PrintJobs().size(), before + k.jobs);
    EXPECT_TRUE(Ui().PrintJobs()[before].preview);
    if (k.jobs < 2) continue;
    const PrintedJob& print = Ui().PrintJobs().back();
    EXPECT_FALSE(print.preview);
    ASSERT_EQ(print.pages.size(), 2u);
    EXPECT_EQ(print.pages[1].caps.width, 800);
  }
}

TEST_F(DocViewTest, PopupMenuReturnsTheChosenCommand) {
  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, 104, "Zoom In");
  menu.AppendMenu(MF_STRING, 105, "Zoom Out");
  menu.AppendMenu(MF_STRING | MF_GRAYED, 106, "Gray");
  // A context menu closed without a choice leaves the last summary; a command
  // chosen from it puts "Ready" back, as one chosen from the menu bar does.
  platform::ui::ShowStatusText("Extracted 2 of 2 samples");
  Ui().OnPopupMenu([](const PopupMenuRequest&) { return 0u; });
  EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 10, 10, ActiveView()), 0);
  EXPECT_EQ(Frame().m_wndStatusBar.GetPaneText(0), "Extracted 2 of 2 samples");
  Ui().OnPopupMenu([](const PopupMenuRequest& r) { return FindMenuItem(r.items, "Zoom Out"); });
  EXPECT_EQ(menu.TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, 10, 10, ActiveView()), 105);
  EXPECT_EQ(Frame().m_wndStatusBar.GetPaneText(0), "Ready");
  Ui().OnPopupMenu([](const PopupMenuRequest&) { return 106u; });
  EXPECT_THROW(menu.TrackPopupMenu(TPM_RETURNCMD, 10, 10, ActiveView()), ScriptError);
  // Without TPM_RETURNCMD the choice arrives later as a command.
  Ui().OnPopupMenu([](const PopupMenuRequest&) { return UINT(kDocOnly); });
  menu.AppendMenu(MF_STRING, kDocOnly, "Doc");
  EXPECT_TRUE(menu.TrackPopupMenu(0, 1, 1, &Frame()));
  EXPECT_TRUE(Log().empty());
  DrainMessages();
  EXPECT_EQ(Log(), std::vector<std::string>{"doc:only"});
}

TEST_F(DocViewTest, ClipboardAndBrowserAreRecorded) {
  EXPECT_TRUE(SetClipboardText("chr1\t100"));
  EXPECT_EQ(GetClipboardText(), "chr1\t100");
  RecordingCanvas picture(50, 50);
  picture.SetPixel(1, 1, RGB(255, 0, 0));
  SetClipboardPicture(picture.Contents());
  ASSERT_TRUE(Ui().ClipboardPicture().has_value());
  EXPECT_EQ(Ui().ClipboardPicture()->records.size(), 1u);
  EXPECT_FALSE(GetClipboardText().has_value());
  EXPECT_TRUE(OpenUrl("http://genome.example/cgi-bin/hgTracks?db=hg18&position=chr1%3A1-2"));
  Ui().SetOpenUrlSucceeds(false);
  EXPECT_FALSE(OpenUrl("http://b"));
  EXPECT_EQ(Ui().OpenedUrls().size(), 2u);
}

}  // namespace
