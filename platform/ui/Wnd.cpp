#include "platform/ui/Wnd.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <unordered_set>

#include "platform/Strings.h"
#include "platform/ui/Backend.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/Frame.h"

using platform::ui::WindowKind;
using platform::ui::WindowState;

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

namespace {

std::unordered_set<WindowState*>& LiveWindows() {
  static std::unordered_set<WindowState*> live;
  return live;
}

HWND g_focus = nullptr;
HWND g_capture = nullptr;
HCURSOR g_cursor = nullptr;
CWnd* g_mouseWindow = nullptr;

CPoint ScreenOrigin(const WindowState* s) {
  CPoint origin;
  for (; s; s = s->parent) origin.Offset(s->rect.left, s->rect.top);
  return origin;
}

// The largest position a scroll bar takes: the range end less the page.
int ScrollLimit(const platform::ui::ScrollBarState& bar) {
  int page = bar.page > 0 ? int(bar.page) - 1 : 0;
  return std::max(bar.min, bar.max - page);
}

platform::ui::ScrollBarState* Bar(HWND h, int bar) {
  if (!h || (bar != SB_HORZ && bar != SB_VERT)) return nullptr;
  return &h->scroll[bar];
}

}  // namespace

BOOL IsWindow(HWND hwnd) { return hwnd && LiveWindows().count(hwnd) ? TRUE : FALSE; }

BOOL ReleaseCapture() {
  if (!g_capture) return TRUE;
  g_capture = nullptr;
  platform::ui::Backend().CaptureChanged(nullptr);
  return TRUE;
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR previous = g_cursor;
  g_cursor = cursor;
  platform::ui::Backend().CursorChanged(cursor);
  return previous;
}

CWaitCursor::CWaitCursor() { platform::ui::Backend().BeginWait(); }

CWaitCursor::~CWaitCursor() { platform::ui::Backend().EndWait(); }

namespace platform::ui {

CWnd* MouseWindow() { return g_mouseWindow; }
void SetMouseWindow(CWnd* wnd) { g_mouseWindow = wnd; }

}  // namespace platform::ui

CWnd::~CWnd() {
  if (!m_hWnd) return;
  if (m_hWnd->wnd == this && m_hWnd->kind != WindowKind::Control)
    DestroyWindowImpl(false);
  else
    DetachFrom(m_hWnd);
}

CWnd* CWnd::FromHandle(HWND hwnd) { return IsWindow(hwnd) ? hwnd->wnd : nullptr; }

WindowState& CWnd::State() const {
  if (!m_hWnd) throw std::logic_error("the window does not exist");
  return *m_hWnd;
}

void CWnd::NotifyChanged(unsigned changes) const {
  if (m_hWnd && m_hWnd->peer) m_hWnd->peer->Refresh(changes);
}

WindowState* CWnd::CreateState(WindowKind kind, HWND parent, UINT id, DWORD style, const CRect& rect,
                               std::string_view text) {
  auto* s = new WindowState;
  s->wnd = this;
  s->kind = kind;
  s->parent = parent;
  s->id = id;
  s->style = style;
  s->text = std::string(text);
  s->rect = rect;
  s->enabled = (style & WS_DISABLED) == 0;
  s->visible = (style & WS_VISIBLE) != 0;
  s->attached.push_back(this);
  if (parent) parent->children.push_back(s);
  LiveWindows().insert(s);
  m_hWnd = s;
  return s;
}

BOOL CWnd::CreateWindowFrom(CREATESTRUCT& cs, CWnd* parent, UINT id, CCreateContext* context) {
  if (m_hWnd) return FALSE;
  if (!PreCreateWindow(cs)) return FALSE;
  cs.lpCreateParams = context;
  cs.hwndParent = parent ? parent->m_hWnd : nullptr;
  CreateState(KindOfWindow(), cs.hwndParent, id, cs.style, CRect(cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy),
              cs.lpszName);
  if (OnCreate(&cs) == -1) {
    // The caller still owns the object after a refused creation.
    DestroyWindowImpl(false);
    return FALSE;
  }
  platform::ui::Backend().WindowCreated(*this);
  return TRUE;
}

BOOL CWnd::Create(std::string_view className, std::string_view windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, CCreateContext* context) {
  CREATESTRUCT cs;
  cs.lpszClass = std::string(className);
  cs.lpszName = std::string(windowName);
  cs.style = style;
  cs.x = rect.left;
  cs.y = rect.top;
  cs.cx = rect.right - rect.left;
  cs.cy = rect.bottom - rect.top;
  return CreateWindowFrom(cs, parent, id, context);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  (void)cs;
  return TRUE;
}

int CWnd::OnCreate(LPCREATESTRUCT cs) {
  (void)cs;
  return 0;
}

BOOL CWnd::DestroyWindow() { return DestroyWindowImpl(true); }

BOOL CWnd::DestroyWindowImpl(bool postNcDestroy) {
  HWND h = m_hWnd;
  if (!IsWindow(h)) return FALSE;
  h->destroying = true;
  // Children go first, each through its own object (views delete themselves).
  while (!h->children.empty()) {
    HWND child = h->children.back();
    CWnd* childWnd = child->wnd;
    if (!childWnd || !childWnd->DestroyWindowImpl(true)) {
      h->children.pop_back();
    }
  }
  CWnd* target = h->wnd ? h->wnd : this;
  target->OnDestroy();
  if (g_capture == h) ReleaseCapture();
  if (g_focus == h) g_focus = nullptr;
  if (g_mouseWindow && g_mouseWindow->m_hWnd == h) g_mouseWindow = nullptr;
  platform::ui::Backend().WindowDestroyed(*target);
  h->peer.reset();
  if (h->parent) {
    auto& siblings = h->parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), h), siblings.end());
    if (h->parent->buddy == h) h->parent->buddy = nullptr;
  }
  LiveWindows().erase(h);
  for (CWnd* w : h->attached) w->m_hWnd = nullptr;
  h->attached.clear();
  std::vector<std::unique_ptr<CWnd>> owned = std::move(h->owned);
  delete h;
  owned.clear();
  if (postNcDestroy) target->PostNcDestroy();
  return TRUE;
}

BOOL CWnd::Attach(HWND hwnd) {
  if (m_hWnd || !IsWindow(hwnd)) return FALSE;
  m_hWnd = hwnd;
  hwnd->attached.push_back(this);
  return TRUE;
}

HWND CWnd::Detach() {
  HWND h = m_hWnd;
  if (h) DetachFrom(h);
  return h;
}

void CWnd::DetachFrom(WindowState* state) {
  auto& a = state->attached;
  a.erase(std::remove(a.begin(), a.end(), this), a.end());
  if (state->wnd == this) state->wnd = state->owned.empty() ? (a.empty() ? nullptr : a.front()) : state->owned.front().get();
  m_hWnd = nullptr;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  if (!parent || !parent->m_hWnd) return FALSE;
  HWND child = parent->m_hWnd->Child(id);
  if (!child || !Attach(child)) return FALSE;
  child->wnd = this;
  return TRUE;
}

void CWnd::SetWindowText(std::string_view text) {
  WindowState& s = State();
  if (s.text == text) return;
  s.text = std::string(text);
  NotifyChanged(platform::ui::ChangeText);
  // An edit control tells its parent of every change, also the program's own.
  if (s.kind == WindowKind::Control && s.control == platform::ui::ControlKind::Edit && s.parent)
    CWnd::FromHandle(s.parent)->SendMessage(WM_COMMAND, MAKELONG(WORD(s.id), WORD(EN_CHANGE)), 0);
}

std::string CWnd::GetWindowText() const { return State().text; }

int CWnd::GetWindowTextLength() const { return int(State().text.size()); }

BOOL CWnd::EnableWindow(BOOL enable) {
  WindowState& s = State();
  BOOL wasDisabled = s.enabled ? FALSE : TRUE;
  if (s.enabled != (enable != FALSE)) {
    s.enabled = enable != FALSE;
    NotifyChanged(platform::ui::ChangeEnabled);
  }
  return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const { return m_hWnd && m_hWnd->enabled ? TRUE : FALSE; }

BOOL CWnd::ShowWindow(int cmdShow) {
  WindowState& s = State();
  BOOL wasVisible = s.visible ? TRUE : FALSE;
  bool show = cmdShow != SW_HIDE;
  if (s.visible != show) {
    s.visible = show;
    NotifyChanged(platform::ui::ChangeVisible);
  }
  if (cmdShow == SW_SHOWMAXIMIZED || cmdShow == SW_MINIMIZE || cmdShow == SW_RESTORE || cmdShow == SW_SHOWNORMAL) {
    bool maximized = cmdShow == SW_SHOWMAXIMIZED, minimized = cmdShow == SW_MINIMIZE;
    if (s.maximized != maximized || s.minimized != minimized) {
      s.maximized = maximized;
      s.minimized = minimized;
      NotifyChanged(platform::ui::ChangeRect);
    }
  }
  return wasVisible;
}

BOOL CWnd::IsWindowVisible() const {
  for (const WindowState* s = m_hWnd; s; s = s->parent)
    if (!s->visible) return FALSE;
  return m_hWnd ? TRUE : FALSE;
}

int CWnd::GetDlgCtrlID() const { return int(State().id); }

DWORD CWnd::GetStyle() const { return State().style; }

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
  (void)flags;
  WindowState& s = State();
  DWORD style = (s.style & ~remove) | add;
  if (style == s.style) return FALSE;
  s.style = style;
  NotifyChanged(platform::ui::ChangeStyle);
  return TRUE;
}

CWnd* CWnd::GetParent() const { return m_hWnd ? FromHandle(m_hWnd->parent) : nullptr; }

CFrameWnd* CWnd::GetParentFrame() const {
  for (HWND h = m_hWnd ? m_hWnd->parent : nullptr; h; h = h->parent) {
    CWnd* w = FromHandle(h);
    if (w && w->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return static_cast<CFrameWnd*>(w);
  }
  return nullptr;
}

CWnd* CWnd::GetTopLevelParent() const {
  HWND h = m_hWnd;
  while (h && h->parent) h = h->parent;
  return FromHandle(h);
}

CWnd* CWnd::GetDlgItem(int id) const {
  HWND child = m_hWnd ? m_hWnd->Child(UINT(id)) : nullptr;
  return child ? child->wnd : nullptr;
}

void CWnd::SetDlgItemText(int id, std::string_view text) {
  if (CWnd* w = GetDlgItem(id)) w->SetWindowText(text);
}

std::string CWnd::GetDlgItemText(int id) const {
  CWnd* w = GetDlgItem(id);
  return w ? w->GetWindowText() : std::string();
}

int CWnd::GetDlgItemText(int id, std::string& text) const {
  text = GetDlgItemText(id);
  return int(text.size());
}

void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned) {
  SetDlgItemText(id, isSigned ? std::to_string(int(value)) : std::to_string(value));
}

UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const {
  std::string text = platform::Trim(GetDlgItemText(id));
  char* end = nullptr;
  long long v = std::strtoll(text.c_str(), &end, 10);
  bool ok = !text.empty() && end && *end == '\0' && (isSigned || v >= 0);
  if (translated) *translated = ok ? TRUE : FALSE;
  return ok ? UINT(v) : 0;
}

void CWnd::CheckDlgButton(int id, UINT check) {
  CWnd* w = GetDlgItem(id);
  if (!w) return;
  WindowState& s = w->State();
  if (s.check != int(check)) {
    s.check = int(check);
    w->NotifyChanged(platform::ui::ChangeCheck);
  }
}

UINT CWnd::IsDlgButtonChecked(int id) const {
  CWnd* w = GetDlgItem(id);
  return w ? UINT(w->State().check) : 0;
}

void CWnd::CheckRadioButton(int first, int last, int check) {
  for (int id = first; id <= last; ++id) CheckDlgButton(id, id == check ? BST_CHECKED : BST_UNCHECKED);
}

int CWnd::GetCheckedRadioButton(int first, int last) const {
  for (int id = first; id <= last; ++id)
    if (IsDlgButtonChecked(id)) return id;
  return 0;
}

void CWnd::GetClientRect(LPRECT rect) const { *rect = State().ClientRect(); }

void CWnd::GetWindowRect(LPRECT rect) const {
  const WindowState& s = State();
  CRect r = s.rect;
  CPoint origin = ScreenOrigin(s.parent);
  r.OffsetRect(origin.x, origin.y);
  *rect = r;
}

void CWnd::ClientToScreen(POINT* point) const {
  CPoint origin = ScreenOrigin(m_hWnd);
  point->x += origin.x;
  point->y += origin.y;
}

void CWnd::ClientToScreen(LPRECT rect) const {
  CPoint origin = ScreenOrigin(m_hWnd);
  static_cast<CRect*>(rect)->OffsetRect(origin.x, origin.y);
}

void CWnd::ScreenToClient(POINT* point) const {
  CPoint origin = ScreenOrigin(m_hWnd);
  point->x -= origin.x;
  point->y -= origin.y;
}

void CWnd::ScreenToClient(LPRECT rect) const {
  CPoint origin = ScreenOrigin(m_hWnd);
  static_cast<CRect*>(rect)->OffsetRect(-origin.x, -origin.y);
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  WindowState& s = State();
  CRect r(x, y, x + width, y + height);
  bool resized = r.Width() != s.rect.Width() || r.Height() != s.rect.Height();
  s.rect = r;
  NotifyChanged(platform::ui::ChangeRect);
  if (resized) SendMessage(WM_SIZE, SIZE_RESTORED, LPARAM(MAKELONG(WORD(width), WORD(height))));
  if (repaint) Invalidate(TRUE);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
  MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

void CWnd::Invalidate(BOOL erase) {
  if (m_hWnd) platform::ui::Backend().Invalidate(*this, nullptr, erase != FALSE);
}

void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) {
  if (!m_hWnd) return;
  CRect r = rect ? CRect(*rect) : CRect();
  platform::ui::Backend().Invalidate(*this, rect ? &r : nullptr, erase != FALSE);
}

CWnd* CWnd::SetFocus() {
  CWnd* previous = GetFocus();
  if (!m_hWnd) return previous;
  g_focus = m_hWnd;
  if (m_hWnd->parent) m_hWnd->parent->focusId = m_hWnd->id;
  platform::ui::Backend().FocusChanged(this);
  return previous;
}

CWnd* CWnd::GetFocus() { return FromHandle(g_focus); }

CWnd* CWnd::SetCapture() {
  CWnd* previous = GetCapture();
  if (!m_hWnd) return previous;
  g_capture = m_hWnd;
  platform::ui::Backend().CaptureChanged(this);
  return previous;
}

CWnd* CWnd::GetCapture() { return FromHandle(g_capture); }

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, void* timerProc) {
  (void)timerProc;
  if (!m_hWnd) return 0;
  platform::ui::Backend().StartTimer(*this, id, elapse);
  return id;
}

BOOL CWnd::KillTimer(UINT_PTR id) {
  if (!m_hWnd) return FALSE;
  platform::ui::Backend().StopTimer(*this, id);
  return TRUE;
}

BOOL CWnd::SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw) {
  (void)redraw;
  platform::ui::ScrollBarState* b = Bar(m_hWnd, bar);
  if (!b || !info) return FALSE;
  if (info->fMask & SIF_RANGE) {
    b->min = info->nMin;
    b->max = info->nMax;
  }
  if (info->fMask & SIF_PAGE) b->page = info->nPage;
  if (info->fMask & SIF_POS) b->pos = info->nPos;
  b->pos = std::clamp(b->pos, b->min, ScrollLimit(*b));
  b->visible = true;
  NotifyChanged(platform::ui::ChangeScroll);
  return TRUE;
}

BOOL CWnd::GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask) const {
  platform::ui::ScrollBarState* b = Bar(m_hWnd, bar);
  if (!b || !info) return FALSE;
  info->fMask = mask;
  if (mask & SIF_RANGE) {
    info->nMin = b->min;
    info->nMax = b->max;
  }
  if (mask & SIF_PAGE) info->nPage = b->page;
  if (mask & SIF_POS) info->nPos = b->pos;
  if (mask & SIF_TRACKPOS) info->nTrackPos = b->trackPos;
  return TRUE;
}

int CWnd::GetScrollPos(int bar) const {
  platform::ui::ScrollBarState* b = Bar(m_hWnd, bar);
  return b ? b->pos : 0;
}

int CWnd::SetScrollPos(int bar, int pos, BOOL redraw) {
  platform::ui::ScrollBarState* b = Bar(m_hWnd, bar);
  if (!b) return 0;
  int previous = b->pos;
  SCROLLINFO info;
  info.fMask = SIF_POS;
  info.nPos = pos;
  SetScrollInfo(bar, &info, redraw);
  return previous;
}

void CWnd::GetScrollRange(int bar, int* minPos, int* maxPos) const {
  platform::ui::ScrollBarState* b = Bar(m_hWnd, bar);
  if (minPos) *minPos = b ? b->min : 0;
  if (maxPos) *maxPos = b ? b->max : 0;
}

void CWnd::SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw) {
  SCROLLINFO info;
  info.fMask = SIF_RANGE;
  info.nMin = minPos;
  info.nMax = maxPos;
  SetScrollInfo(bar, &info, redraw);
}

int CWnd::GetScrollLimit(int bar) const {
  platform::ui::ScrollBarState* b = Bar(m_hWnd, bar);
  return b ? ScrollLimit(*b) : 0;
}

void CWnd::ShowScrollBar(UINT bar, BOOL show) {
  if (!m_hWnd) return;
  if (bar == UINT(SB_HORZ) || bar == UINT(SB_BOTH)) m_hWnd->scroll[SB_HORZ].visible = show != FALSE;
  if (bar == UINT(SB_VERT) || bar == UINT(SB_BOTH)) m_hWnd->scroll[SB_VERT].visible = show != FALSE;
  NotifyChanged(platform::ui::ChangeScroll);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* target = m_hWnd && m_hWnd->wnd ? m_hWnd->wnd : this;
  return target->WindowProc(message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessage(m_hWnd, message, wParam, lParam);
}

int CWnd::MessageBox(std::string_view text, std::string_view caption, UINT type) {
  (void)caption;
  return AfxMessageBox(text, type);
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (const platform::ui::DataExchangeFailure&) {
    return FALSE;
  }
  return TRUE;
}

BOOL CWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) {
  return CCmdTarget::OnCmdMsg(id, code, extra, info);
}

void CWnd::OnClose() { DestroyWindow(); }
void CWnd::OnSize(UINT type, int cx, int cy) { (void)type; (void)cx; (void)cy; }
void CWnd::OnPaint() {}
void CWnd::OnLButtonDown(UINT flags, CPoint point) { (void)flags; (void)point; }
void CWnd::OnLButtonUp(UINT flags, CPoint point) { (void)flags; (void)point; }
void CWnd::OnLButtonDblClk(UINT flags, CPoint point) { (void)flags; (void)point; }
void CWnd::OnRButtonDown(UINT flags, CPoint point) { (void)flags; (void)point; }
void CWnd::OnRButtonUp(UINT flags, CPoint point) { (void)flags; (void)point; }
void CWnd::OnMouseMove(UINT flags, CPoint point) { (void)flags; (void)point; }
void CWnd::OnTimer(UINT_PTR id) { (void)id; }
void CWnd::OnVScroll(UINT code, UINT pos, CScrollBar* scrollBar) { (void)code; (void)pos; (void)scrollBar; }
void CWnd::OnHScroll(UINT code, UINT pos, CScrollBar* scrollBar) { (void)code; (void)pos; (void)scrollBar; }
void CWnd::OnKeyDown(UINT ch, UINT repeat, UINT flags) { (void)ch; (void)repeat; (void)flags; }

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  (void)lParam;
  return OnCmdMsg(LOWORD(wParam), int(HIWORD(wParam)), nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  (void)wParam;
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (!header) return FALSE;
  AFX_NOTIFY notify{result, header};
  return OnCmdMsg(UINT(header->idFrom), platform::ui::NotifyCode(header->code), &notify, nullptr);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  auto point = [lParam] { return CPoint(SHORT(LOWORD(lParam)), SHORT(HIWORD(lParam))); };
  switch (message) {
    case WM_COMMAND: return OnCommand(wParam, lParam);
    case WM_NOTIFY: {
      LRESULT result = 0;
      OnNotify(wParam, lParam, &result);
      return result;
    }
    case WM_CLOSE: OnClose(); return 0;
    case WM_SIZE: OnSize(UINT(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(UINT(wParam), point()); return 0;
    case WM_LBUTTONUP: OnLButtonUp(UINT(wParam), point()); return 0;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(UINT(wParam), point()); return 0;
    case WM_RBUTTONDOWN: OnRButtonDown(UINT(wParam), point()); return 0;
    case WM_RBUTTONUP: OnRButtonUp(UINT(wParam), point()); return 0;
    case WM_MOUSEMOVE: OnMouseMove(UINT(wParam), point()); return 0;
    case WM_VSCROLL: OnVScroll(LOWORD(wParam), HIWORD(wParam), nullptr); return 0;
    case WM_HSCROLL: OnHScroll(LOWORD(wParam), HIWORD(wParam), nullptr); return 0;
    case WM_KEYDOWN: OnKeyDown(UINT(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_SETTEXT: SetWindowText(reinterpret_cast<const char*>(lParam)); return TRUE;
    default: return 0;
  }
}
