#include "platform/ui/UserInput.h"

#include <algorithm>

#include "platform/ui/CmdTarget.h"
#include "platform/ui/Frame.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/Wnd.h"

namespace platform::ui::input {

namespace {

// A user reaches only what is enabled and shown, in a window that is too.
bool Usable(const WindowState& s) {
  for (const WindowState* w = &s; w; w = w->parent)
    if (!w->enabled || !w->visible) return false;
  return true;
}

bool Usable(CWnd& control, ControlKind kind) { return control.m_hWnd && control.m_hWnd->control == kind && Usable(*control.m_hWnd); }

bool IsList(const WindowState& s) {
  return s.control == ControlKind::ListBox || s.control == ControlKind::CheckListBox ||
         s.control == ControlKind::DragListBox;
}

void NotifyParent(WindowState& s, UINT code) {
  if (CWnd* parent = CWnd::FromHandle(s.parent))
    parent->SendMessage(WM_COMMAND, MAKELONG(WORD(s.id), WORD(code)), LPARAM(&s));
}

LRESULT NotifyParent(WindowState& s, NMHDR& header) {
  header.hwndFrom = &s;
  header.idFrom = s.id;
  CWnd* parent = CWnd::FromHandle(s.parent);
  return parent ? parent->SendMessage(WM_NOTIFY, s.id, LPARAM(&header)) : 0;
}

// The automatic radio buttons of the group that holds `s`.
std::vector<WindowState*> RadioGroupOf(WindowState& s) {
  std::vector<WindowState*> group;
  if (!s.parent) return group;
  const auto& siblings = s.parent->children;
  auto at = std::find(siblings.begin(), siblings.end(), &s);
  if (at == siblings.end()) return group;
  auto first = at;
  while (first != siblings.begin() && !((*first)->style & WS_GROUP)) --first;
  for (auto it = first; it != siblings.end(); ++it) {
    if (it != first && ((*it)->style & WS_GROUP)) break;
    if ((*it)->control == ControlKind::RadioButton) group.push_back(*it);
  }
  return group;
}

bool ValidItem(const WindowState& s, int index) { return index >= 0 && index < int(s.items.size()); }

}  // namespace

bool Click(CWnd& control) {
  WindowState* s = control.m_hWnd;
  if (!s || !Usable(*s)) return false;
  switch (s->control) {
    case ControlKind::CheckBox:
      if ((s->style & 0xF) == BS_AUTOCHECKBOX) {
        s->check = s->check ? 0 : 1;
        control.NotifyChanged(ChangeCheck);
      }
      break;
    case ControlKind::RadioButton:
      if ((s->style & 0xF) == BS_AUTORADIOBUTTON) {
        for (WindowState* r : RadioGroupOf(*s)) {
          int check = r == s ? 1 : 0;
          if (r->check != check) {
            r->check = check;
            if (r->wnd) r->wnd->NotifyChanged(ChangeCheck);
          }
        }
      }
      break;
    case ControlKind::PushButton: break;
    default: return false;
  }
  NotifyParent(*s, BN_CLICKED);
  return true;
}

bool TypeText(CWnd& edit, std::string_view text) {
  WindowState* s = edit.m_hWnd;
  if (!s || !Usable(*s)) return false;
  if (s->control == ControlKind::ComboBox && (s->style & 0x3) == CBS_DROPDOWN) {
    s->text = std::string(text);
    edit.NotifyChanged(ChangeText);
    NotifyParent(*s, CBN_EDITCHANGE);
    return true;
  }
  if (s->control != ControlKind::Edit || (s->style & ES_READONLY)) return false;
  if (s->limitText > 0 && int(text.size()) > s->limitText) text = text.substr(0, size_t(s->limitText));
  edit.SetWindowText(text);
  return true;
}

bool SelectItem(CWnd& list, int index) {
  WindowState* s = list.m_hWnd;
  if (!s || !Usable(*s) || !ValidItem(*s, index)) return false;
  if (s->control == ControlKind::ComboBox) {
    s->curSel = index;
    s->text = s->items[size_t(index)].text;
    list.NotifyChanged(ChangeSelection | ChangeText);
    NotifyParent(*s, CBN_SELCHANGE);
    return true;
  }
  if (!IsList(*s) || (s->style & LBS_NOSEL)) return false;
  for (ListItem& item : s->items) item.selected = false;
  s->items[size_t(index)].selected = true;
  s->curSel = index;
  s->anchor = index;
  list.NotifyChanged(ChangeSelection);
  NotifyParent(*s, LBN_SELCHANGE);
  return true;
}

bool SelectItems(CWnd& list, const std::vector<int>& indexes) {
  WindowState* s = list.m_hWnd;
  if (!s || !Usable(*s) || !IsList(*s) || (s->style & LBS_NOSEL)) return false;
  if (!(s->style & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL))) return indexes.size() == 1 && SelectItem(list, indexes[0]);
  for (int i : indexes)
    if (!ValidItem(*s, i)) return false;
  for (ListItem& item : s->items) item.selected = false;
  for (int i : indexes) s->items[size_t(i)].selected = true;
  if (!indexes.empty()) s->curSel = indexes.back();
  list.NotifyChanged(ChangeSelection);
  NotifyParent(*s, LBN_SELCHANGE);
  return true;
}

bool ToggleItemCheck(CWnd& list, int index) {
  WindowState* s = list.m_hWnd;
  if (!s || !Usable(*s) || s->control != ControlKind::CheckListBox || !ValidItem(*s, index)) return false;
  ListItem& item = s->items[size_t(index)];
  item.check = item.check ? 0 : 1;
  list.NotifyChanged(ChangeItems);
  NotifyParent(*s, CLBN_CHKCHANGE);
  return true;
}

bool DoubleClickItem(CWnd& list, int index) {
  if (!SelectItem(list, index)) return false;
  NotifyParent(*list.m_hWnd, list.m_hWnd->control == ControlKind::ComboBox ? CBN_DBLCLK : LBN_DBLCLK);
  return true;
}

bool MoveItem(CWnd& list, int from, int to) {
  WindowState* s = list.m_hWnd;
  if (!s || !Usable(*s) || s->control != ControlKind::DragListBox || !ValidItem(*s, from) || !ValidItem(*s, to))
    return false;
  ListItem item = std::move(s->items[size_t(from)]);
  s->items.erase(s->items.begin() + from);
  s->items.insert(s->items.begin() + to, std::move(item));
  for (ListItem& i : s->items) i.selected = false;
  s->items[size_t(to)].selected = true;
  s->curSel = to;
  list.NotifyChanged(ChangeItems | ChangeSelection);
  return true;
}

bool Spin(CWnd& upDown, int delta) {
  WindowState* s = upDown.m_hWnd;
  if (!s || !Usable(*s) || s->control != ControlKind::UpDown) return false;
  NMUPDOWN nm;
  nm.hdr.code = UDN_DELTAPOS;
  nm.iPos = s->pos;
  nm.iDelta = delta;
  if (NotifyParent(*s, nm.hdr) != 0 || !IsWindow(s)) return true;
  int low = std::min(s->rangeMin, s->rangeMax), high = std::max(s->rangeMin, s->rangeMax);
  int next = s->pos + nm.iDelta;
  if (s->style & UDS_WRAP) {
    if (next > high) next = low;
    if (next < low) next = high;
  }
  next = std::clamp(next, low, high);
  if (next != s->pos) {
    s->pos = next;
    upDown.NotifyChanged(ChangeRange);
    if ((s->style & UDS_SETBUDDYINT) && s->buddy && s->buddy->wnd) s->buddy->wnd->SetWindowText(std::to_string(next));
  }
  return true;
}

bool PickDate(CWnd& calendar, const SYSTEMTIME& date) {
  WindowState* s = calendar.m_hWnd;
  if (!s || !Usable(calendar, ControlKind::MonthCalendar)) return false;
  s->date = date;
  calendar.NotifyChanged(ChangeDate);
  NMHDR header;
  header.code = MCN_SELCHANGE;
  NotifyParent(*s, header);
  return true;
}

bool ClickListItem(CWnd& list, int item) {
  WindowState* s = list.m_hWnd;
  if (!s || !Usable(list, ControlKind::ListCtrl) || !ValidItem(*s, item)) return false;
  for (size_t i = 0; i < s->items.size(); ++i) s->items[i].selected = int(i) == item;
  s->curSel = item;
  list.NotifyChanged(ChangeSelection);
  NMLISTVIEW changed;
  changed.hdr.code = LVN_ITEMCHANGED;
  changed.iItem = item;
  changed.uNewState = LVIS_SELECTED | LVIS_FOCUSED;
  changed.uChanged = 0x8;  // the state changed
  NotifyParent(*s, changed.hdr);
  if (!IsWindow(s)) return true;
  NMLISTVIEW click;
  click.hdr.code = NM_CLICK;
  click.iItem = item;
  NotifyParent(*s, click.hdr);
  return true;
}

bool SetListItemCheck(CWnd& list, int item, bool checked) {
  WindowState* s = list.m_hWnd;
  if (!s || !Usable(list, ControlKind::ListCtrl) || !ValidItem(*s, item)) return false;
  s->items[size_t(item)].check = checked ? 1 : 0;
  list.NotifyChanged(ChangeItems);
  NMLISTVIEW changed;
  changed.hdr.code = LVN_ITEMCHANGED;
  changed.iItem = item;
  changed.uChanged = 0x8;
  NotifyParent(*s, changed.hdr);
  return true;
}

bool Escape(CWnd& dialog) {
  if (!dialog.m_hWnd) return false;
  dialog.SendMessage(WM_COMMAND, MAKELONG(WORD(IDCANCEL), WORD(BN_CLICKED)), 0);
  return true;
}

bool SelectPage(CPropertySheet& sheet, int index) { return sheet.SetActivePage(index) != FALSE; }

void Mouse(CWnd& wnd, UINT message, UINT flags, CPoint point) {
  CWnd* target = &wnd;
  if (CWnd* capture = CWnd::GetCapture(); capture && capture != &wnd && capture->m_hWnd != wnd.m_hWnd) {
    wnd.ClientToScreen(&point);
    capture->ScreenToClient(&point);
    target = capture;
  }
  if (!target->m_hWnd) return;
  SetMouseWindow(CWnd::FromHandle(target->m_hWnd));
  target->SendMessage(message, flags, LPARAM(MAKELONG(WORD(SHORT(point.x)), WORD(SHORT(point.y)))));
}

void Scroll(CWnd& wnd, int bar, UINT code, int thumbPos) {
  if (!wnd.m_hWnd || (bar != SB_HORZ && bar != SB_VERT)) return;
  if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) wnd.m_hWnd->scroll[bar].trackPos = thumbPos;
  wnd.SendMessage(bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKELONG(WORD(code), WORD(thumbPos)), 0);
}

void Resize(CWnd& wnd, int cx, int cy) {
  WindowState* s = wnd.m_hWnd;
  if (!s) return;
  s->rect.right = s->rect.left + cx;
  s->rect.bottom = s->rect.top + cy;
  wnd.SendMessage(WM_SIZE, SIZE_RESTORED, LPARAM(MAKELONG(WORD(cx), WORD(cy))));
}

void Key(CFrameWnd& frame, UINT key, BYTE modifiers) {
  if (!frame.m_hWnd || !frame.IsWindowEnabled()) return;
  if (frame.TranslateAccelerator(key, modifiers)) return;
  CFrameWnd* active = frame.GetActiveFrame();
  if (CView* view = active ? active->GetActiveView() : nullptr) view->SendMessage(WM_KEYDOWN, key, 1);
}

bool ChooseCommand(CFrameWnd& frame, UINT id) {
  if (!frame.m_hWnd || !frame.IsWindowEnabled() || id == 0) return false;
  bool offered = false;
  auto find = [&](auto& self, const std::vector<MenuEntry>& items) -> void {
    for (const MenuEntry& e : items) {
      if (!e.popup.empty()) self(self, e.popup);
      else if (e.id == id && !e.IsSeparator()) offered = true;
    }
  };
  find(find, frame.MenuEntries());
  if (auto* toolBar = dynamic_cast<CToolBar*>(frame.GetControlBar(AFX_IDW_TOOLBAR)); toolBar && toolBar->IsWindowVisible())
    for (int i = 0; i < toolBar->GetCount(); ++i)
      if (toolBar->GetItemID(i) == id) offered = true;
  if (!offered || !frame.IsCommandEnabled(id)) return false;
  frame.SendMessage(WM_COMMAND, id, 0);
  return true;
}

void Close(CWnd& wnd) {
  if (wnd.m_hWnd) wnd.SendMessage(WM_CLOSE);
}

void PlaceWindow(CWnd& wnd, const CRect& place, int showState) {
  if (!wnd.m_hWnd) return;
  WindowState& s = *wnd.m_hWnd;
  bool maximized = showState == SW_SHOWMAXIMIZED, minimized = showState == SW_MINIMIZE;
  bool stateChanged = s.maximized != maximized || s.minimized != minimized;
  if (!maximized && !minimized && place != s.rect) wnd.MoveWindow(&place, FALSE);
  s.maximized = maximized;
  s.minimized = minimized;
  if (!stateChanged) return;
  if (auto* child = dynamic_cast<CMDIChildWnd*>(&wnd); child && child->GetMDIFrame()) {
    if (!minimized) child->MDIActivate();
    child->GetMDIFrame()->OnUpdateFrameTitle(TRUE);
  }
}

}  // namespace platform::ui::input
