#include "platform/ui/Frame.h"

#include <algorithm>

#include "platform/ui/App.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Resources.h"

using platform::ui::WindowKind;

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)
IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)
IMPLEMENT_DYNAMIC(CFrameWnd, CWnd)
IMPLEMENT_DYNAMIC(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNAMIC(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
  ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, &CFrameWnd::OnUpdateControlBarMenu)
  ON_COMMAND_EX(ID_VIEW_STATUS_BAR, &CFrameWnd::OnBarCheck)
  ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, &CFrameWnd::OnUpdateControlBarMenu)
  ON_COMMAND_EX(ID_VIEW_TOOLBAR, &CFrameWnd::OnBarCheck)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
  ON_COMMAND(ID_WINDOW_NEW, &CMDIFrameWnd::OnWindowNew)
  ON_COMMAND_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_HORZ, &CMDIFrameWnd::OnWindowCommand)
  ON_COMMAND_RANGE(AFX_IDM_FIRST_MDICHILD, AFX_IDM_FIRST_MDICHILD + 8, &CMDIFrameWnd::OnWindowActivate)
  ON_UPDATE_COMMAND_UI_RANGE(AFX_IDM_FIRST_MDICHILD, AFX_IDM_FIRST_MDICHILD + 8, &CMDIFrameWnd::OnUpdateWindowActivate)
  ON_COMMAND(AFX_IDM_FIRST_MDICHILD + 9, &CMDIFrameWnd::OnWindowMore)
END_MESSAGE_MAP()

namespace {

// The frame that owns the menu bar, the accelerators and the whole route.
CFrameWnd* TopFrame(CWnd* wnd) {
  CWnd* top = wnd->GetTopLevelParent();
  return top && top->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(top) : nullptr;
}

}  // namespace

// Control bars.

BOOL CToolBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, CRect borders, UINT id) {
  (void)ctrlStyle;
  (void)borders;
  return Create(parent, style, id);
}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id) {
  return CWnd::Create("ToolbarWindow32", "", style | WS_CHILD, CRect(), parent, id);
}

BOOL CToolBar::LoadToolBar(UINT resourceId) {
  const platform::ui::ToolBarTemplate* t = platform::ui::Resources::Instance().ToolBar(resourceId);
  if (!t || !m_hWnd) return FALSE;
  m_hWnd->items.clear();
  for (UINT id : t->buttons) {
    platform::ui::ListItem button;
    button.data = id;
    if (id) {
      // The tool tip is the line after the prompt's first line break.
      std::string prompt = AfxLoadString(id);
      size_t nl = prompt.find('\n');
      if (nl == std::string::npos) {
        button.text = prompt;
      } else {
        size_t end = prompt.find('\n', nl + 1);
        button.text = prompt.substr(nl + 1, end == std::string::npos ? std::string::npos : end - nl - 1);
      }
    }
    m_hWnd->items.push_back(std::move(button));
  }
  NotifyChanged(platform::ui::ChangeBars);
  return TRUE;
}

int CToolBar::GetCount() const { return int(State().items.size()); }

UINT CToolBar::GetItemID(int index) const {
  const auto& items = State().items;
  return index >= 0 && index < int(items.size()) ? UINT(items[size_t(index)].data) : 0;
}

std::string CToolBar::GetToolTip(int index) const {
  const auto& items = State().items;
  return index >= 0 && index < int(items.size()) ? items[size_t(index)].text : std::string();
}

bool CToolBar::IsButtonEnabled(UINT id) const {
  for (const platform::ui::ListItem& item : State().items)
    if (item.data == id) return !item.selected;
  return false;
}

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id) {
  return CWnd::Create("msctls_statusbar32", "", style | WS_CHILD, CRect(), parent, id);
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count) {
  if (!m_hWnd) return FALSE;
  m_hWnd->items.clear();
  for (int i = 0; i < count; ++i) {
    platform::ui::ListItem pane;
    pane.data = ids[i];
    // The message pane starts with the idle message ("Ready").
    pane.text = AfxLoadString(ids[i] == ID_SEPARATOR ? AFX_IDS_IDLEMESSAGE : ids[i]);
    m_hWnd->items.push_back(std::move(pane));
  }
  NotifyChanged(platform::ui::ChangeBars);
  return TRUE;
}

BOOL CStatusBar::SetPaneText(int index, std::string_view text, BOOL update) {
  (void)update;
  auto& items = State().items;
  if (index < 0 || index >= int(items.size())) return FALSE;
  items[size_t(index)].text = std::string(text);
  NotifyChanged(platform::ui::ChangeBars);
  return TRUE;
}

std::string CStatusBar::GetPaneText(int index) const {
  const auto& items = State().items;
  return index >= 0 && index < int(items.size()) ? items[size_t(index)].text : std::string();
}

int CStatusBar::GetCount() const { return int(State().items.size()); }

UINT CStatusBar::GetItemID(int index) const {
  const auto& items = State().items;
  return index >= 0 && index < int(items.size()) ? UINT(items[size_t(index)].data) : 0;
}

// Frames.

CFrameWnd::~CFrameWnd() {
  if (m_hWnd && m_hWnd->wnd == this) DestroyWindowImpl(false);
}

CRect CFrameWnd::DefaultRect(CWnd* parent) const {
  if (auto* mdi = dynamic_cast<CMDIFrameWnd*>(parent); mdi && mdi->m_hWnd) return mdi->NextChildRect();
  return CRect(0, 0, 1024, 768);
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context) {
  m_nIDHelp = resourceId;
  std::string strings = AfxLoadString(resourceId);
  m_strTitle = strings.substr(0, strings.find('\n'));
  if (m_strTitle.empty() && KindOfWindow() == WindowKind::MainFrame) {
    if (CWinApp* app = AfxGetApp()) m_strTitle = app->m_strAppTitle;
  }
  m_menu.LoadMenu(resourceId);
  m_pAccelTable = platform::ui::Resources::Instance().Accelerators(resourceId);
  CREATESTRUCT cs;
  cs.style = style;
  cs.lpszName = m_strTitle;
  CRect r = DefaultRect(parent);
  cs.x = r.left;
  cs.y = r.top;
  cs.cx = r.Width();
  cs.cy = r.Height();
  if (!CreateWindowFrom(cs, parent, resourceId, context)) return FALSE;
  OnUpdateFrameTitle(TRUE);
  return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT cs) {
  auto* context = static_cast<CCreateContext*>(cs->lpCreateParams);
  return OnCreateClient(cs, context) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context) {
  (void)cs;
  if (context && context->m_pNewViewClass) return CreateView(context) != nullptr;
  return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id) {
  CObject* object = context->m_pNewViewClass->CreateObject();
  auto* view = dynamic_cast<CWnd*>(object);
  if (!view) {
    delete object;
    return nullptr;
  }
  CRect client;
  GetClientRect(&client);
  if (!view->Create("", "", WS_CHILD | WS_VISIBLE | WS_BORDER, client, this, id, context)) {
    delete view;
    return nullptr;
  }
  return view;
}

void CFrameWnd::SetActiveView(CView* view, BOOL notify) {
  CView* previous = m_pViewActive;
  if (view == previous) return;
  m_pViewActive = view;
  if (notify) {
    if (previous) previous->OnActivateView(FALSE, view, previous);
    if (view) view->OnActivateView(TRUE, view, previous);
  }
}

CDocument* CFrameWnd::GetActiveDocument() { return m_pViewActive ? m_pViewActive->GetDocument() : nullptr; }

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL makeVisible) {
  (void)doc;
  CView* view = nullptr;
  if (!m_pViewActive && m_hWnd) {
    for (platform::ui::WindowState* child : m_hWnd->children) {
      CWnd* w = child->wnd;
      if (child->id == AFX_IDW_PANE_FIRST && w && w->IsKindOf(RUNTIME_CLASS(CView))) {
        view = static_cast<CView*>(w);
        SetActiveView(view, FALSE);
        break;
      }
    }
  }
  if (makeVisible) {
    // The views see their first update before the frame becomes active, so a
    // new window can still find the view that was active before it.
    std::vector<CView*> views;
    for (platform::ui::WindowState* child : m_hWnd->children)
      if (child->wnd && child->wnd->IsKindOf(RUNTIME_CLASS(CView))) views.push_back(static_cast<CView*>(child->wnd));
    for (CView* v : views) v->OnInitialUpdate();
    ActivateFrame();
    if (view) view->OnActivateView(TRUE, view, view);
  }
  OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int cmdShow) {
  if (m_hWnd) ShowWindow(cmdShow == -1 ? SW_SHOW : cmdShow);
}

void CFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId, LPCRECT rect) {
  (void)bar;
  (void)dockBarId;
  (void)rect;
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show, BOOL delay) {
  (void)delay;
  if (bar && bar->m_hWnd) bar->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

CControlBar* CFrameWnd::GetControlBar(UINT id) const {
  if (!m_hWnd) return nullptr;
  platform::ui::WindowState* child = m_hWnd->Child(id);
  CWnd* w = child ? child->wnd : nullptr;
  return w && w->IsKindOf(RUNTIME_CLASS(CControlBar)) ? static_cast<CControlBar*>(w) : nullptr;
}

void CFrameWnd::SetMessageText(std::string_view text) {
  if (auto* bar = dynamic_cast<CStatusBar*>(GetControlBar(AFX_IDW_STATUS_BAR))) bar->SetPaneText(0, text);
}

void platform::ui::ShowStatusText(std::string_view text) {
  if (auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd())) frame->SetMessageText(text);
  Backend().StatusTextShown(text);
}

void platform::ui::ShowIdleStatus(CWnd& from) {
  CFrameWnd* top = TopFrame(&from);
  if (!top && from.IsKindOf(RUNTIME_CLASS(CFrameWnd))) top = static_cast<CFrameWnd*>(&from);
  if (top) top->SetMessageText(AFX_IDS_IDLEMESSAGE);
}

void CFrameWnd::SetMessageText(UINT id) {
  std::string prompt = AfxLoadString(id);
  SetMessageText(prompt.substr(0, prompt.find('\n')));
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle) {
  if (!m_hWnd) return;
  std::string title = m_strTitle;
  CDocument* doc = GetActiveDocument();
  if (addToTitle && (GetStyle() & FWS_ADDTOTITLE) && doc)
    title = title.empty() ? doc->GetTitle() : doc->GetTitle() + " - " + title;
  SetWindowText(title);
}

BOOL CFrameWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) {
  if (m_pViewActive && m_pViewActive->OnCmdMsg(id, code, extra, info)) return TRUE;
  if (CWnd::OnCmdMsg(id, code, extra, info)) return TRUE;
  CWinApp* app = AfxGetApp();
  return app && app->OnCmdMsg(id, code, extra, info);
}

CCmdUI CFrameWnd::QueryCommand(UINT id) {
  CCmdUI state(id);
  state.DoUpdate(this, TRUE);
  return state;
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT id = LOWORD(wParam);
  int code = int(HIWORD(wParam));
  if (code != CN_COMMAND) return CWnd::OnCommand(wParam, lParam);
  CFrameWnd* top = TopFrame(this);
  if (!top) top = this;
  if (!top->IsCommandEnabled(id)) return FALSE;
  // The last command's summary ends here: the pane is idle again unless this
  // command writes one of its own.
  platform::ui::ShowIdleStatus(*top);
  return platform::ui::DispatchCommand(*top, id);
}

BOOL CFrameWnd::TranslateAccelerator(UINT key, BYTE modifiers) {
  std::vector<const platform::ui::AcceleratorTable*> tables;
  if (CFrameWnd* active = GetActiveFrame(); active && active != this && active->m_pAccelTable)
    tables.push_back(active->m_pAccelTable);
  if (m_pAccelTable) tables.push_back(m_pAccelTable);
  BYTE wanted = BYTE(modifiers & (FSHIFT | FCONTROL | FALT));
  for (const platform::ui::AcceleratorTable* table : tables) {
    for (const platform::ui::Accelerator& a : table->entries) {
      if (a.key != key || BYTE(a.flags & (FSHIFT | FCONTROL | FALT)) != wanted) continue;
      SendMessage(WM_COMMAND, a.command, 0);
      return TRUE;
    }
  }
  return FALSE;
}

std::vector<platform::ui::MenuEntry> CFrameWnd::MenuEntries() const {
  const CMenu* menu = CurrentMenu();
  return menu ? menu->Entries() : std::vector<platform::ui::MenuEntry>{};
}

std::vector<platform::ui::MenuEntry> CFrameWnd::UpdatedMenu() {
  std::vector<platform::ui::MenuEntry> entries = MenuEntries();
  if (entries.empty()) return {};
  auto update = [this](auto& self, std::vector<platform::ui::MenuEntry>& items) -> void {
    for (platform::ui::MenuEntry& e : items) {
      if (!e.popup.empty()) {
        self(self, e.popup);
        continue;
      }
      if (e.IsSeparator() || e.id == 0) continue;
      CCmdUI state = QueryCommand(e.id);
      e.flags &= ~(MF_GRAYED | MF_CHECKED);
      if (!state.m_bEnabled) e.flags |= MF_GRAYED;
      if (state.m_nCheck) e.flags |= MF_CHECKED;
      if (state.m_text) e.text = *state.m_text;
    }
  };
  update(update, entries);
  return entries;
}

void CFrameWnd::UpdateControlBars() {
  auto* toolBar = dynamic_cast<CToolBar*>(GetControlBar(AFX_IDW_TOOLBAR));
  if (!toolBar) return;
  bool changed = false;
  for (platform::ui::ListItem& button : toolBar->State().items) {
    if (!button.data) continue;
    CCmdUI state = QueryCommand(UINT(button.data));
    bool disabled = !state.m_bEnabled;
    if (button.selected != disabled || button.check != state.m_nCheck) {
      button.selected = disabled;
      button.check = state.m_nCheck;
      changed = true;
    }
  }
  if (changed) toolBar->NotifyChanged(platform::ui::ChangeBars);
}

BOOL CFrameWnd::OnBarCheck(UINT id) {
  CControlBar* bar = GetControlBar(id);
  if (!bar) return FALSE;
  ShowControlBar(bar, bar->IsWindowVisible() ? FALSE : TRUE, FALSE);
  return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* cmdUI) {
  CControlBar* bar = GetControlBar(cmdUI->m_nID);
  if (!bar) {
    cmdUI->ContinueRouting();
    return;
  }
  cmdUI->SetCheck(bar->IsWindowVisible() ? 1 : 0);
}

void CFrameWnd::OnClose() {
  CWinApp* app = AfxGetApp();
  if (app && app->m_pMainWnd == this) {
    if (!app->SaveAllModified()) return;
    app->CloseAllDocuments(FALSE);
    if (!m_hWnd) return;
  } else if (CDocument* doc = GetActiveDocument()) {
    if (!doc->CanCloseFrame(this)) return;
  }
  DestroyWindow();
}

void CFrameWnd::OnDestroy() {
  CWinApp* app = AfxGetApp();
  if (app && app->m_pMainWnd == this) {
    app->m_pMainWnd = nullptr;
    PostQuitMessage(0);
  }
}

// Frames live on the heap and go with their window.
void CFrameWnd::PostNcDestroy() { delete this; }

void CFrameWnd::OnSize(UINT type, int cx, int cy) {
  (void)type;
  if (!m_hWnd) return;
  for (platform::ui::WindowState* child : m_hWnd->children)
    if (child->id == AFX_IDW_PANE_FIRST && child->wnd) child->wnd->MoveWindow(0, 0, cx, cy, TRUE);
}

// MDI frames.

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* maximized) const {
  if (maximized) *maximized = m_pActiveChild && m_pActiveChild->m_hWnd && m_pActiveChild->m_hWnd->maximized;
  return m_pActiveChild;
}

std::vector<CMDIChildWnd*> CMDIFrameWnd::MDIChildren() const {
  std::vector<CMDIChildWnd*> children;
  if (!m_hWnd) return children;
  for (platform::ui::WindowState* child : m_hWnd->children)
    if (child->kind == WindowKind::ChildFrame && child->wnd && !child->destroying)
      children.push_back(static_cast<CMDIChildWnd*>(child->wnd));
  return children;
}

namespace {

bool Closing(const CWnd* wnd) { return wnd && (!IsWindow(wnd->m_hWnd) || wnd->m_hWnd->destroying); }

}  // namespace

void CMDIFrameWnd::MDIActivate(CWnd* child) {
  auto* next = dynamic_cast<CMDIChildWnd*>(child);
  // A window on its way out is never activated again.
  if (next == m_pActiveChild || m_bActivating || Closing(next)) return;
  CMDIChildWnd* previous = m_pActiveChild;
  m_pActiveChild = next;
  // As the system's workspace does, a maximised window hands its state on
  // to the window activated after it; one that is closing only hands it on.
  if (previous && next && previous->m_hWnd && previous->m_hWnd->maximized && !next->m_hWnd->maximized) {
    m_bActivating = true;
    if (!Closing(previous)) previous->ShowWindow(SW_RESTORE);
    next->ShowWindow(SW_SHOWMAXIMIZED);
    m_bActivating = false;
  }
  CView* before = previous ? previous->GetActiveView() : nullptr;
  CView* after = next ? next->GetActiveView() : nullptr;
  if (before) before->OnActivateView(FALSE, after, before);
  if (after) after->OnActivateView(TRUE, after, before);
  OnUpdateFrameTitle(TRUE);
  NotifyChanged(platform::ui::ChangeMenu);
  if (next) next->NotifyChanged(platform::ui::ChangeFocus);
}

void CMDIFrameWnd::MDINext() {
  std::vector<CMDIChildWnd*> children = MDIChildren();
  if (children.empty()) return;
  auto it = std::find(children.begin(), children.end(), m_pActiveChild);
  size_t next = it == children.end() ? 0 : (size_t(it - children.begin()) + 1) % children.size();
  MDIActivate(children[next]);
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() { return m_pActiveChild ? static_cast<CFrameWnd*>(m_pActiveChild) : this; }

CDocument* CMDIFrameWnd::GetActiveDocument() {
  return m_pActiveChild ? m_pActiveChild->GetActiveDocument() : CFrameWnd::GetActiveDocument();
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) {
  if (m_pActiveChild && m_pActiveChild->OnCmdMsg(id, code, extra, info)) return TRUE;
  return CFrameWnd::OnCmdMsg(id, code, extra, info);
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL addToTitle) {
  if (!m_hWnd) return;
  std::string title = m_strTitle;
  CDocument* doc = GetActiveDocument();
  BOOL maximized = FALSE;
  CMDIChildWnd* active = MDIGetActive(&maximized);
  if (active && maximized) {
    // The system names a maximised child in brackets after the program's own title.
    title += " - [" + active->GetWindowText() + "]";
  } else if (addToTitle && (GetStyle() & FWS_ADDTOTITLE) && doc && m_pActiveChild) {
    std::string docTitle = m_pActiveChild->GetWindowText();
    title = title.empty() ? docTitle : title + " - " + docTitle;
  }
  SetWindowText(title);
}

const CMenu* CMDIFrameWnd::CurrentMenu() const {
  if (m_pActiveChild && m_pActiveChild->m_menu.GetMenuItemCount()) return &m_pActiveChild->m_menu;
  return CFrameWnd::CurrentMenu();
}

void CMDIFrameWnd::OnWindowNew() {
  CMDIChildWnd* active = m_pActiveChild;
  CDocument* doc = active ? active->GetActiveDocument() : nullptr;
  CDocTemplate* docTemplate = doc ? doc->GetDocTemplate() : nullptr;
  if (!docTemplate) return;
  CFrameWnd* frame = docTemplate->CreateNewFrame(doc, active);
  if (frame) docTemplate->InitialUpdateFrame(frame, doc, TRUE);
}

void CMDIFrameWnd::OnWindowCommand(UINT id) {
  switch (id) {
    case ID_WINDOW_CASCADE: MDICascade(); break;
    case ID_WINDOW_TILE_HORZ: MDITile(); break;
    case ID_WINDOW_ARRANGE: MDIIconArrange(); break;
    default: break;
  }
}

// MDI child frames.

BOOL CMDIChildWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context) {
  if (!parent) parent = AfxGetMainWnd();
  return CFrameWnd::LoadFrame(resourceId, style | WS_CHILD, parent, context);
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const { return dynamic_cast<CMDIFrameWnd*>(GetParent()); }

void CMDIChildWnd::MDIActivate() {
  if (CMDIFrameWnd* frame = GetMDIFrame()) frame->MDIActivate(this);
}

void CMDIChildWnd::ActivateFrame(int cmdShow) {
  CFrameWnd::ActivateFrame(cmdShow);
  MDIActivate();
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL addToTitle) {
  if (!m_hWnd) return;
  CDocument* doc = GetActiveDocument();
  std::string title = m_strTitle;
  if (addToTitle && doc) {
    title = doc->GetTitle();
    // A document in several windows numbers them: "QOVA1:2".
    std::vector<CFrameWnd*> frames;
    for (CView* view : doc->Views()) {
      CFrameWnd* f = view->GetParentFrame();
      if (f && std::find(frames.begin(), frames.end(), f) == frames.end()) frames.push_back(f);
    }
    if (frames.size() > 1) {
      auto it = std::find(frames.begin(), frames.end(), this);
      title += ":" + std::to_string(size_t(it - frames.begin()) + 1);
    }
  }
  SetWindowText(title);
  if (CMDIFrameWnd* frame = GetMDIFrame(); frame && frame->MDIGetActive() == this) frame->OnUpdateFrameTitle(TRUE);
}

BOOL CMDIChildWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) {
  if (m_pViewActive && m_pViewActive->OnCmdMsg(id, code, extra, info)) return TRUE;
  return CWnd::OnCmdMsg(id, code, extra, info);
}

void CMDIChildWnd::OnClose() {
  CDocument* doc = GetActiveDocument();
  if (doc) {
    if (!doc->CanCloseFrame(this)) return;
    bool onlyFrame = std::all_of(doc->Views().begin(), doc->Views().end(),
                                 [this](CView* v) { return v->GetParentFrame() == this; });
    if (onlyFrame) {
      doc->OnCloseDocument();
      return;
    }
  }
  DestroyWindow();
}

void CMDIChildWnd::OnDestroy() {
  CMDIFrameWnd* frame = GetMDIFrame();
  if (!frame || frame->m_pActiveChild != this) return;
  // The next child in line becomes active, maximised if this one was, as
  // closing an MDI window does.
  std::vector<CMDIChildWnd*> others = frame->MDIChildren();
  if (!others.empty()) frame->MDIActivate(others.front());
  if (frame->m_pActiveChild == this) {
    frame->m_pActiveChild = nullptr;
    frame->OnUpdateFrameTitle(TRUE);
    frame->NotifyChanged(platform::ui::ChangeMenu);
  }
}
