#pragma once
// Frames: the main window with its menu, tool bar, status bar and
// accelerators, and the MDI child frames that hold the views. Commands are
// routed active view -> its document -> child frame -> main frame ->
// application; a command whose update handler disables it is never
// dispatched, whether it came from a menu, a tool bar button, an
// accelerator or a program.
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/DocView.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Wnd.h"

class CMDIChildWnd;

class CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)
 public:
  void EnableDocking(DWORD style) { m_dwDockStyle = style; }
  DWORD m_dwDockStyle = 0;
};

// Tool bar buttons are the window's items: data is the command id (0 for a
// separator), check the checked state; `selected` marks a disabled button.
class CToolBar : public CControlBar {
  DECLARE_DYNAMIC(CToolBar)
 public:
  BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                CRect borders = {}, UINT id = AFX_IDW_TOOLBAR);
  BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
  using CWnd::Create;
  BOOL LoadToolBar(UINT resourceId);
  [[nodiscard]] int GetCount() const;
  [[nodiscard]] UINT GetItemID(int index) const;
  // The button's tool tip: the second line of its command's prompt.
  [[nodiscard]] std::string GetToolTip(int index) const;
  // Whether the button of `id` was last shown enabled.
  [[nodiscard]] bool IsButtonEnabled(UINT id) const;

 protected:
  platform::ui::WindowKind KindOfWindow() const override { return platform::ui::WindowKind::ToolBar; }
};

// Status bar panes are the window's items: text is the pane's text, data its id.
class CStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CStatusBar)
 public:
  BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = AFX_IDW_STATUS_BAR);
  using CWnd::Create;
  // Panes with the given ids (ID_SEPARATOR: the message pane), texts from the strings.
  BOOL SetIndicators(const UINT* ids, int count);
  BOOL SetPaneText(int index, std::string_view text, BOOL update = TRUE);
  [[nodiscard]] std::string GetPaneText(int index) const;
  [[nodiscard]] int GetCount() const;
  [[nodiscard]] UINT GetItemID(int index) const;

 protected:
  platform::ui::WindowKind KindOfWindow() const override { return platform::ui::WindowKind::StatusBar; }
};

class CFrameWnd : public CWnd {
  DECLARE_DYNAMIC(CFrameWnd)
 public:
  CFrameWnd() = default;
  ~CFrameWnd() override;

  // Creates the frame with the menu, accelerators and title of `resourceId`.
  virtual BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, CWnd* parent = nullptr,
                         CCreateContext* context = nullptr);
  [[nodiscard]] CView* GetActiveView() const { return m_pViewActive; }
  void SetActiveView(CView* view, BOOL notify = TRUE);
  virtual CDocument* GetActiveDocument();
  virtual CFrameWnd* GetActiveFrame() { return this; }
  virtual void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);
  virtual void ActivateFrame(int cmdShow = -1);
  virtual BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context);
  CWnd* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);

  void EnableDocking(DWORD style) { m_dwDockStyle = style; }
  void DockControlBar(CControlBar* bar, UINT dockBarId = 0, LPCRECT rect = nullptr);
  void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay);
  [[nodiscard]] CControlBar* GetControlBar(UINT id) const;
  void SetMessageText(std::string_view text);
  void SetMessageText(UINT id);
  virtual void OnUpdateFrameTitle(BOOL addToTitle);
  void SetTitle(std::string_view title) { m_strTitle = std::string(title); }
  [[nodiscard]] const std::string& GetTitle() const { return m_strTitle; }

  BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override;
  // Dispatches the command only when its update-UI leaves it enabled.
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // The update-UI answer for `id` through the whole route.
  CCmdUI QueryCommand(UINT id);
  [[nodiscard]] BOOL IsCommandEnabled(UINT id) { return QueryCommand(id).m_bEnabled; }
  // Looks `key` up in the accelerator tables; TRUE when an entry matched
  // (the command went out only if it was enabled).
  BOOL TranslateAccelerator(UINT key, BYTE modifiers);
  // The menu bar shown now, its entries as the frame offers them (an MDI
  // frame adds its open windows), and those with update-UI applied.
  [[nodiscard]] virtual const CMenu* CurrentMenu() const { return m_menu.GetMenuItemCount() ? &m_menu : nullptr; }
  [[nodiscard]] virtual std::vector<platform::ui::MenuEntry> MenuEntries() const;
  [[nodiscard]] std::vector<platform::ui::MenuEntry> UpdatedMenu();
  // Refreshes the tool bar buttons' enabled and checked states (idle time).
  void UpdateControlBars();

  int OnCreate(LPCREATESTRUCT cs) override;
  void OnClose() override;
  void OnDestroy() override;
  void PostNcDestroy() override;
  void OnSize(UINT type, int cx, int cy) override;

  std::string m_strTitle;
  UINT m_nIDHelp = 0;
  CMenu m_menu;
  const platform::ui::AcceleratorTable* m_pAccelTable = nullptr;

 protected:
  platform::ui::WindowKind KindOfWindow() const override { return platform::ui::WindowKind::MainFrame; }
  BOOL OnBarCheck(UINT id);
  void OnUpdateControlBarMenu(CCmdUI* cmdUI);
  [[nodiscard]] CRect DefaultRect(CWnd* parent) const;

  CView* m_pViewActive = nullptr;
  DWORD m_dwDockStyle = 0;

  DECLARE_MESSAGE_MAP()
};

class CMDIFrameWnd : public CFrameWnd {
  DECLARE_DYNAMIC(CMDIFrameWnd)
 public:
  [[nodiscard]] CMDIChildWnd* MDIGetActive(BOOL* maximized = nullptr) const;
  void MDIActivate(CWnd* child);
  void MDIMaximize(CWnd* child);
  void MDIRestore(CWnd* child);
  // Window > Cascade, Tile and Arrange Icons (MdiArrange.cpp).
  void MDICascade();
  void MDITile();
  void MDIIconArrange();
  void MDINext();
  [[nodiscard]] std::vector<CMDIChildWnd*> MDIChildren() const;
  // The workspace the children live in; the screen reports its size, else it is the frame's client area.
  [[nodiscard]] CSize MDIClientSize() const;
  void SetMDIClientSize(CSize size) { m_mdiClientSize = size; }
  // The place of a new child: cascading from the top left, starting over
  // where the next one would reach past the workspace.
  [[nodiscard]] CRect NextChildRect();
  [[nodiscard]] std::vector<platform::ui::MenuEntry> MenuEntries() const override;

  CFrameWnd* GetActiveFrame() override;
  CDocument* GetActiveDocument() override;
  BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override;
  void OnUpdateFrameTitle(BOOL addToTitle) override;
  [[nodiscard]] const CMenu* CurrentMenu() const override;

 protected:
  void OnWindowNew();
  void OnWindowCommand(UINT id);
  void OnWindowActivate(UINT id);
  void OnUpdateWindowActivate(CCmdUI* cmdUI);
  void OnWindowMore();

  CMDIChildWnd* m_pActiveChild = nullptr;
  // While an activation hands the maximised state on, the windows' own
  // reports of it (restored, activated) are not new activations.
  bool m_bActivating = false;
  CSize m_mdiClientSize;
  int m_nextCascade = 0;
  friend class CMDIChildWnd;

  DECLARE_MESSAGE_MAP()
};

namespace platform::ui {
// Says `text` in the main window's status bar, where it stays until the user
// chooses another command (the pane then says "Ready" again) or another text
// replaces it: how a long command tells what it did without a box to close.
// Every text is also handed to the backend (the headless one records it).
void ShowStatusText(std::string_view text);
// Puts "Ready" back in the status bar of the frame that holds `from`: the
// user has chosen another command, so the last summary has been read.
void ShowIdleStatus(CWnd& from);
// The templates the frames bring with them (Window > Windows...'s list).
inline constexpr UINT kWindowListDialog = 0x7802;
inline constexpr UINT kWindowListBox = 1000;
void RegisterFrameworkDialogs();
}  // namespace platform::ui

class CMDIChildWnd : public CFrameWnd {
  DECLARE_DYNAMIC(CMDIChildWnd)
 public:
  BOOL LoadFrame(UINT resourceId, DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* parent = nullptr, CCreateContext* context = nullptr) override;
  [[nodiscard]] CMDIFrameWnd* GetMDIFrame() const;
  void MDIActivate();
  void MDIDestroy() { DestroyWindow(); }
  void ActivateFrame(int cmdShow = -1) override;
  void OnUpdateFrameTitle(BOOL addToTitle) override;
  BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override;
  void OnClose() override;
  void OnDestroy() override;

 protected:
  platform::ui::WindowKind KindOfWindow() const override { return platform::ui::WindowKind::ChildFrame; }
};
