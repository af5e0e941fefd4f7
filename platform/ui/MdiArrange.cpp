// The MDI frame's window management: where new children go, Cascade, Tile
// and Arrange Icons, maximising, and the Window menu's list of open windows.
// The model decides every place; the screen shows what the model says.
#include <algorithm>
#include <cmath>

#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Resources.h"

namespace {

// Each cascaded window sits a caption lower and further right than the one before.
constexpr int kCascadeStep = 24;
// A minimised window's icon: its title and buttons.
constexpr int kIconWidth = 160;
constexpr int kIconHeight = 28;
// The Window menu lists this many windows; the rest are behind "Windows...".
constexpr int kListedWindows = 9;

// New and cascaded windows take three quarters of the workspace each way.
CSize CascadeSize(CSize workspace) { return {std::max(1, workspace.cx * 3 / 4), std::max(1, workspace.cy * 3 / 4)}; }

// How many cascade places fit before a window would reach past the workspace.
int CascadePlaces(CSize workspace, CSize size) {
  int across = (workspace.cx - size.cx) / kCascadeStep, down = (workspace.cy - size.cy) / kCascadeStep;
  return std::max(1, std::min(across, down) + 1);
}

CRect CascadePlace(CSize workspace, int index) {
  CSize size = CascadeSize(workspace);
  int at = (index % CascadePlaces(workspace, size)) * kCascadeStep;
  return {at, at, at + size.cx, at + size.cy};
}

// Window > Windows...: every open window, the active one selected.
class CWindowListDialog : public CDialog {
 public:
  explicit CWindowListDialog(std::vector<std::string> titles, int active)
      : CDialog(platform::ui::kWindowListDialog), m_chosen(active), m_titles(std::move(titles)) {}
  int m_chosen;

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, int(platform::ui::kWindowListBox), m_list); }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    for (const std::string& title : m_titles) m_list.AddString(title);
    m_list.SetCurSel(m_chosen);
    return TRUE;
  }
  void OnOK() override {
    m_chosen = m_list.GetCurSel();
    CDialog::OnOK();
  }
  void OnDoubleClick() { OnOK(); }

 private:
  std::vector<std::string> m_titles;
  CListBox m_list;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CWindowListDialog, CDialog)
  ON_LBN_DBLCLK(platform::ui::kWindowListBox, &CWindowListDialog::OnDoubleClick)
END_MESSAGE_MAP()

bool IsWindowListPopup(const platform::ui::MenuEntry& entry) {
  return std::any_of(entry.popup.begin(), entry.popup.end(), [](const platform::ui::MenuEntry& e) {
    return e.id == ID_WINDOW_NEW || e.id == ID_WINDOW_CASCADE || e.id == ID_WINDOW_TILE_HORZ || e.id == ID_WINDOW_ARRANGE;
  });
}

}  // namespace

CSize CMDIFrameWnd::MDIClientSize() const {
  if (m_mdiClientSize.cx > 0 && m_mdiClientSize.cy > 0) return m_mdiClientSize;
  return m_hWnd ? CSize(m_hWnd->rect.Width(), m_hWnd->rect.Height()) : CSize(1024, 768);
}

CRect CMDIFrameWnd::NextChildRect() {
  if (MDIChildren().empty()) m_nextCascade = 0;
  return CascadePlace(MDIClientSize(), m_nextCascade++);
}

void CMDIFrameWnd::MDIMaximize(CWnd* child) {
  if (!child || !child->m_hWnd) return;
  child->ShowWindow(SW_SHOWMAXIMIZED);
  OnUpdateFrameTitle(TRUE);
}

void CMDIFrameWnd::MDIRestore(CWnd* child) {
  if (!child || !child->m_hWnd) return;
  child->ShowWindow(SW_RESTORE);
  OnUpdateFrameTitle(TRUE);
}

// The active window ends on top: it is placed last.
void CMDIFrameWnd::MDICascade() {
  std::vector<CMDIChildWnd*> children;
  for (CMDIChildWnd* child : MDIChildren())
    if (!child->m_hWnd->minimized && child != m_pActiveChild) children.push_back(child);
  if (m_pActiveChild && !m_pActiveChild->m_hWnd->minimized) children.push_back(m_pActiveChild);
  CSize workspace = MDIClientSize();
  for (size_t i = 0; i < children.size(); ++i) {
    if (children[i]->m_hWnd->maximized) children[i]->ShowWindow(SW_RESTORE);
    CRect place = CascadePlace(workspace, int(i));
    children[i]->MoveWindow(&place);
  }
  m_nextCascade = int(children.size());
  OnUpdateFrameTitle(TRUE);
}

// Tiles one above another: as many columns as the square root allows, the
// later columns taking the windows that do not divide evenly.
void CMDIFrameWnd::MDITile() {
  std::vector<CMDIChildWnd*> children;
  for (CMDIChildWnd* child : MDIChildren())
    if (!child->m_hWnd->minimized) children.push_back(child);
  if (children.empty()) return;
  const int count = int(children.size());
  const int columns = std::max(1, int(std::sqrt(double(count))));
  CSize workspace = MDIClientSize();
  size_t next = 0;
  for (int column = 0; column < columns; ++column) {
    int rows = count / columns + (column >= columns - count % columns ? 1 : 0);
    int left = workspace.cx * column / columns, right = workspace.cx * (column + 1) / columns;
    for (int row = 0; row < rows; ++row, ++next) {
      int top = workspace.cy * row / rows, bottom = workspace.cy * (row + 1) / rows;
      if (children[next]->m_hWnd->maximized) children[next]->ShowWindow(SW_RESTORE);
      children[next]->MoveWindow(left, top, right - left, bottom - top);
    }
  }
  OnUpdateFrameTitle(TRUE);
}

// Minimised windows line up along the workspace's bottom edge, row above row.
void CMDIFrameWnd::MDIIconArrange() {
  CSize workspace = MDIClientSize();
  const int perRow = std::max(1, workspace.cx / kIconWidth);
  int placed = 0;
  for (CMDIChildWnd* child : MDIChildren()) {
    if (!child->m_hWnd->minimized) continue;
    int left = (placed % perRow) * kIconWidth, bottom = workspace.cy - (placed / perRow) * kIconHeight;
    child->m_hWnd->rect = CRect(left, bottom - kIconHeight, left + kIconWidth, bottom);
    child->NotifyChanged(platform::ui::ChangeRect);
    ++placed;
  }
}

std::vector<platform::ui::MenuEntry> CMDIFrameWnd::MenuEntries() const {
  std::vector<platform::ui::MenuEntry> entries = CFrameWnd::MenuEntries();
  std::vector<CMDIChildWnd*> children = MDIChildren();
  auto windowMenu = std::find_if(entries.begin(), entries.end(), IsWindowListPopup);
  if (windowMenu == entries.end() || children.empty()) return entries;
  std::vector<platform::ui::MenuEntry>& items = windowMenu->popup;
  items.push_back({"", 0, MF_SEPARATOR, {}});
  for (int k = 0; k < int(children.size()) && k < kListedWindows; ++k) {
    UINT flags = children[size_t(k)] == m_pActiveChild ? MF_CHECKED : 0;
    items.push_back({"&" + std::to_string(k + 1) + " " + children[size_t(k)]->GetWindowText(), UINT(AFX_IDM_FIRST_MDICHILD + k),
                     flags, {}});
  }
  if (int(children.size()) > kListedWindows)
    items.push_back({"Windows...", UINT(AFX_IDM_FIRST_MDICHILD + kListedWindows), 0, {}});
  return entries;
}

void CMDIFrameWnd::OnWindowActivate(UINT id) {
  std::vector<CMDIChildWnd*> children = MDIChildren();
  size_t index = id - AFX_IDM_FIRST_MDICHILD;
  if (index >= children.size()) return;
  CMDIChildWnd* child = children[index];
  if (child->m_hWnd->minimized) child->ShowWindow(SW_RESTORE);
  MDIActivate(child);
}

void CMDIFrameWnd::OnWindowMore() {
  platform::ui::RegisterFrameworkDialogs();
  std::vector<CMDIChildWnd*> children = MDIChildren();
  std::vector<std::string> titles;
  for (CMDIChildWnd* child : children) titles.push_back(child->GetWindowText());
  auto active = std::find(children.begin(), children.end(), m_pActiveChild);
  CWindowListDialog dialog(titles, active == children.end() ? -1 : int(active - children.begin()));
  if (dialog.DoModal() != IDOK || dialog.m_chosen < 0 || dialog.m_chosen >= int(children.size())) return;
  CMDIChildWnd* child = children[size_t(dialog.m_chosen)];
  if (child->m_hWnd->minimized) child->ShowWindow(SW_RESTORE);
  MDIActivate(child);
}

void CMDIFrameWnd::OnUpdateWindowActivate(CCmdUI* cmdUI) {
  std::vector<CMDIChildWnd*> children = MDIChildren();
  size_t index = cmdUI->m_nID - AFX_IDM_FIRST_MDICHILD;
  cmdUI->Enable(index < children.size());
  cmdUI->SetCheck(index < children.size() && children[index] == m_pActiveChild ? 1 : 0);
}

namespace platform::ui {

void RegisterFrameworkDialogs() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kWindowListDialog)) return;
  resources.AddDialog({kWindowListDialog,
                       "Select Window",
                       {186, 110},
                       DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                       "MS Shell Dlg",
                       8,
                       {ListBox(kWindowListBox, {7, 7, 118, 96}, LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT),
                        DefPushButton(IDOK, "OK", {129, 7, 50, 14}), PushButton(IDCANCEL, "Cancel", {129, 24, 50, 14})}});
}

}  // namespace platform::ui
