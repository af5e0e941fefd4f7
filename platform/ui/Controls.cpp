#include "platform/ui/Controls.h"

#include <algorithm>

#include "platform/Paths.h"
#include "platform/Strings.h"

using platform::ui::Change;
using platform::ui::ListItem;
using platform::ui::WindowState;

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)
IMPLEMENT_DYNAMIC(CDragListBox, CListBox)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CAnimateCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CMonthCalCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

namespace {

bool ValidIndex(const WindowState& s, int index) { return index >= 0 && index < int(s.items.size()); }

int InsertItemAt(WindowState& s, int index, std::string_view text) {
  if (index < 0 || index > int(s.items.size())) index = int(s.items.size());
  ListItem item;
  item.text = std::string(text);
  s.items.insert(s.items.begin() + index, std::move(item));
  if (s.curSel >= index) ++s.curSel;
  return index;
}

int DeleteItemAt(WindowState& s, int index) {
  if (!ValidIndex(s, index)) return LB_ERR;
  s.items.erase(s.items.begin() + index);
  if (s.curSel == index)
    s.curSel = -1;
  else if (s.curSel > index)
    --s.curSel;
  if (s.anchor >= int(s.items.size())) s.anchor = -1;
  return int(s.items.size());
}

template <class Match>
int FindFrom(const WindowState& s, int startAfter, Match match) {
  int n = int(s.items.size());
  if (n == 0) return LB_ERR;
  int first = (startAfter < 0 || startAfter >= n) ? 0 : startAfter + 1;
  for (int k = 0; k < n; ++k) {
    int i = (first + k) % n;
    if (match(s.items[size_t(i)].text)) return i;
  }
  return LB_ERR;
}

int FindPrefix(const WindowState& s, int startAfter, std::string_view text) {
  return FindFrom(s, startAfter, [text](const std::string& item) { return platform::StartsWithNoCase(item, text); });
}

int FindExact(const WindowState& s, int startAfter, std::string_view text) {
  return FindFrom(s, startAfter, [text](const std::string& item) { return platform::EqualsNoCase(item, text); });
}

}  // namespace

namespace platform::ui {

int SortedInsertIndex(const std::vector<ListItem>& items, std::string_view text) {
  auto it = std::upper_bound(items.begin(), items.end(), text, [](std::string_view t, const ListItem& item) {
    return platform::CompareNoCase(t, item.text) < 0;
  });
  return int(it - items.begin());
}

std::unique_ptr<CWnd> MakeControlObject(ControlKind kind) {
  switch (kind) {
    case ControlKind::Edit: return std::make_unique<CEdit>();
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::GroupBox: return std::make_unique<CButton>();
    case ControlKind::ComboBox: return std::make_unique<CComboBox>();
    case ControlKind::ListBox: return std::make_unique<CListBox>();
    case ControlKind::CheckListBox: return std::make_unique<CCheckListBox>();
    case ControlKind::DragListBox: return std::make_unique<CDragListBox>();
    case ControlKind::ListCtrl: return std::make_unique<CListCtrl>();
    case ControlKind::Progress: return std::make_unique<CProgressCtrl>();
    case ControlKind::Animation: return std::make_unique<CAnimateCtrl>();
    case ControlKind::UpDown: return std::make_unique<CSpinButtonCtrl>();
    case ControlKind::MonthCalendar: return std::make_unique<CMonthCalCtrl>();
    default: return std::make_unique<CStatic>();
  }
}

}  // namespace platform::ui

int CButton::GetCheck() const { return State().check; }

void CButton::SetCheck(int check) {
  WindowState& s = State();
  if (s.check == check) return;
  s.check = check;
  NotifyChanged(platform::ui::ChangeCheck);
}

BOOL CEdit::SetReadOnly(BOOL readOnly) {
  ModifyStyle(readOnly ? 0 : ES_READONLY, readOnly ? ES_READONLY : 0);
  return TRUE;
}

void CEdit::LimitText(int maxChars) { State().limitText = maxChars; }

void CEdit::SetSel(int start, int end, BOOL noScroll) {
  (void)start;
  (void)end;
  (void)noScroll;
}

// List boxes.

bool CListBox::IsMultipleSelection() const { return (State().style & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0; }

int CListBox::GetCount() const { return int(State().items.size()); }

int CListBox::AddString(std::string_view text) {
  WindowState& s = State();
  int index = (s.style & LBS_SORT) ? platform::ui::SortedInsertIndex(s.items, text) : int(s.items.size());
  InsertItemAt(s, index, text);
  NotifyChanged(platform::ui::ChangeItems | platform::ui::ChangeSelection);
  return index;
}

int CListBox::InsertString(int index, std::string_view text) {
  WindowState& s = State();
  if (index > int(s.items.size())) return LB_ERR;
  int at = InsertItemAt(s, index, text);
  NotifyChanged(platform::ui::ChangeItems | platform::ui::ChangeSelection);
  return at;
}

int CListBox::DeleteString(UINT index) {
  int left = DeleteItemAt(State(), int(index));
  if (left != LB_ERR) NotifyChanged(platform::ui::ChangeItems | platform::ui::ChangeSelection);
  return left;
}

void CListBox::ResetContent() {
  WindowState& s = State();
  s.items.clear();
  s.curSel = -1;
  s.anchor = -1;
  s.topIndex = 0;
  NotifyChanged(platform::ui::ChangeItems | platform::ui::ChangeSelection);
}

int CListBox::GetText(int index, std::string& text) const {
  const WindowState& s = State();
  if (!ValidIndex(s, index)) return LB_ERR;
  text = s.items[size_t(index)].text;
  return int(text.size());
}

std::string CListBox::GetText(int index) const {
  std::string text;
  GetText(index, text);
  return text;
}

int CListBox::GetTextLen(int index) const {
  const WindowState& s = State();
  return ValidIndex(s, index) ? int(s.items[size_t(index)].text.size()) : LB_ERR;
}

int CListBox::GetCurSel() const {
  const WindowState& s = State();
  return ValidIndex(s, s.curSel) ? s.curSel : LB_ERR;
}

int CListBox::SetCurSel(int index) {
  WindowState& s = State();
  if (IsMultipleSelection()) return LB_ERR;
  if (index != -1 && !ValidIndex(s, index)) return LB_ERR;
  for (ListItem& item : s.items) item.selected = false;
  s.curSel = index;
  if (index >= 0) s.items[size_t(index)].selected = true;
  NotifyChanged(platform::ui::ChangeSelection);
  return index == -1 ? LB_ERR : index;
}

int CListBox::GetSel(int index) const {
  const WindowState& s = State();
  if (!ValidIndex(s, index)) return LB_ERR;
  return s.items[size_t(index)].selected ? 1 : 0;
}

int CListBox::SetSel(int index, BOOL select) {
  WindowState& s = State();
  if (!IsMultipleSelection()) return LB_ERR;
  if (index == -1) {
    for (ListItem& item : s.items) item.selected = select != FALSE;
  } else {
    if (!ValidIndex(s, index)) return LB_ERR;
    s.items[size_t(index)].selected = select != FALSE;
    s.curSel = index;
  }
  NotifyChanged(platform::ui::ChangeSelection);
  return LB_OKAY;
}

int CListBox::GetSelCount() const {
  if (!IsMultipleSelection()) return LB_ERR;
  const WindowState& s = State();
  return int(std::count_if(s.items.begin(), s.items.end(), [](const ListItem& i) { return i.selected; }));
}

int CListBox::GetSelItems(int maxItems, int* items) const {
  if (!IsMultipleSelection()) return LB_ERR;
  const WindowState& s = State();
  int n = 0;
  for (int i = 0; i < int(s.items.size()) && n < maxItems; ++i)
    if (s.items[size_t(i)].selected) items[n++] = i;
  return n;
}

int CListBox::SelItemRange(BOOL select, int first, int last) {
  if (!IsMultipleSelection()) return LB_ERR;
  WindowState& s = State();
  for (int i = std::max(first, 0); i <= last && i < int(s.items.size()); ++i) s.items[size_t(i)].selected = select != FALSE;
  NotifyChanged(platform::ui::ChangeSelection);
  return LB_OKAY;
}

DWORD_PTR CListBox::GetItemData(int index) const {
  const WindowState& s = State();
  return ValidIndex(s, index) ? s.items[size_t(index)].data : DWORD_PTR(LB_ERR);
}

int CListBox::SetItemData(int index, DWORD_PTR data) {
  WindowState& s = State();
  if (!ValidIndex(s, index)) return LB_ERR;
  s.items[size_t(index)].data = data;
  return LB_OKAY;
}

int CListBox::FindString(int startAfter, std::string_view text) const { return FindPrefix(State(), startAfter, text); }

int CListBox::FindStringExact(int startAfter, std::string_view text) const { return FindExact(State(), startAfter, text); }

int CListBox::SelectString(int startAfter, std::string_view text) {
  int index = FindString(startAfter, text);
  if (index == LB_ERR) return LB_ERR;
  if (IsMultipleSelection())
    SetSel(index, TRUE);
  else
    SetCurSel(index);
  return index;
}

BOOL CListBox::SetTabStops() {
  State().tabStops.clear();
  NotifyChanged(platform::ui::ChangeItems);
  return TRUE;
}

BOOL CListBox::SetTabStops(int eachTab) { return SetTabStops(1, &eachTab); }

BOOL CListBox::SetTabStops(int count, const int* tabStops) {
  State().tabStops.assign(tabStops, tabStops + count);
  NotifyChanged(platform::ui::ChangeItems);
  return TRUE;
}

int CListBox::GetTopIndex() const { return State().topIndex; }

int CListBox::SetTopIndex(int index) {
  WindowState& s = State();
  if (!ValidIndex(s, index)) return LB_ERR;
  s.topIndex = index;
  NotifyChanged(platform::ui::ChangeSelection);
  return LB_OKAY;
}

int CListBox::GetCaretIndex() const { return State().curSel; }

int CListBox::SetCaretIndex(int index, BOOL scroll) {
  (void)scroll;
  WindowState& s = State();
  if (!ValidIndex(s, index)) return LB_ERR;
  s.curSel = index;
  return LB_OKAY;
}

void CCheckListBox::SetCheck(int index, int check) {
  WindowState& s = State();
  if (!ValidIndex(s, index) || s.items[size_t(index)].check == check) return;
  s.items[size_t(index)].check = check;
  NotifyChanged(platform::ui::ChangeItems);
}

int CCheckListBox::GetCheck(int index) const {
  const WindowState& s = State();
  return ValidIndex(s, index) ? s.items[size_t(index)].check : 0;
}

// Combo boxes.

int CComboBox::GetCount() const { return int(State().items.size()); }

int CComboBox::AddString(std::string_view text) {
  WindowState& s = State();
  int index = (s.style & CBS_SORT) ? platform::ui::SortedInsertIndex(s.items, text) : int(s.items.size());
  InsertItemAt(s, index, text);
  NotifyChanged(platform::ui::ChangeItems | platform::ui::ChangeSelection);
  return index;
}

int CComboBox::InsertString(int index, std::string_view text) {
  WindowState& s = State();
  if (index > int(s.items.size())) return CB_ERR;
  int at = InsertItemAt(s, index, text);
  NotifyChanged(platform::ui::ChangeItems | platform::ui::ChangeSelection);
  return at;
}

int CComboBox::DeleteString(UINT index) {
  WindowState& s = State();
  bool wasSelected = s.curSel == int(index);
  int left = DeleteItemAt(s, int(index));
  if (left == CB_ERR) return CB_ERR;
  if (wasSelected) s.text.clear();
  NotifyChanged(platform::ui::ChangeItems | platform::ui::ChangeSelection | platform::ui::ChangeText);
  return left;
}

void CComboBox::ResetContent() {
  WindowState& s = State();
  s.items.clear();
  s.curSel = -1;
  if ((s.style & 0x3) == CBS_DROPDOWNLIST) s.text.clear();
  NotifyChanged(platform::ui::ChangeItems | platform::ui::ChangeSelection | platform::ui::ChangeText);
}

int CComboBox::GetCurSel() const {
  const WindowState& s = State();
  return ValidIndex(s, s.curSel) ? s.curSel : CB_ERR;
}

int CComboBox::SetCurSel(int index) {
  WindowState& s = State();
  if (index != -1 && !ValidIndex(s, index)) return CB_ERR;
  s.curSel = index;
  s.text = index >= 0 ? s.items[size_t(index)].text : std::string();
  NotifyChanged(platform::ui::ChangeSelection | platform::ui::ChangeText);
  return index == -1 ? CB_ERR : index;
}

int CComboBox::GetLBText(int index, std::string& text) const {
  const WindowState& s = State();
  if (!ValidIndex(s, index)) return CB_ERR;
  text = s.items[size_t(index)].text;
  return int(text.size());
}

std::string CComboBox::GetLBText(int index) const {
  std::string text;
  GetLBText(index, text);
  return text;
}

int CComboBox::GetLBTextLen(int index) const {
  const WindowState& s = State();
  return ValidIndex(s, index) ? int(s.items[size_t(index)].text.size()) : CB_ERR;
}

DWORD_PTR CComboBox::GetItemData(int index) const {
  const WindowState& s = State();
  return ValidIndex(s, index) ? s.items[size_t(index)].data : DWORD_PTR(CB_ERR);
}

int CComboBox::SetItemData(int index, DWORD_PTR data) {
  WindowState& s = State();
  if (!ValidIndex(s, index)) return CB_ERR;
  s.items[size_t(index)].data = data;
  return 0;
}

int CComboBox::FindString(int startAfter, std::string_view text) const { return FindPrefix(State(), startAfter, text); }

int CComboBox::FindStringExact(int startAfter, std::string_view text) const { return FindExact(State(), startAfter, text); }

int CComboBox::SelectString(int startAfter, std::string_view text) {
  int index = FindString(startAfter, text);
  return index == CB_ERR ? CB_ERR : SetCurSel(index);
}

BOOL CComboBox::LimitText(int maxChars) {
  State().limitText = maxChars;
  return TRUE;
}

// Progress bars and animations.

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("msctls_progress32", "", style, rect, parent, id);
}

int CProgressCtrl::OnCreate(LPCREATESTRUCT cs) {
  State().control = platform::ui::ControlKind::Progress;
  return CWnd::OnCreate(cs);
}

void CProgressCtrl::SetRange32(int lower, int upper) {
  WindowState& s = State();
  s.rangeMin = lower;
  s.rangeMax = upper;
  s.pos = std::clamp(s.pos, std::min(lower, upper), std::max(lower, upper));
  NotifyChanged(platform::ui::ChangeRange);
}

void CProgressCtrl::GetRange(int& lower, int& upper) const {
  lower = State().rangeMin;
  upper = State().rangeMax;
}

int CProgressCtrl::SetPos(int pos) {
  WindowState& s = State();
  int previous = s.pos;
  s.pos = std::clamp(pos, std::min(s.rangeMin, s.rangeMax), std::max(s.rangeMin, s.rangeMax));
  if (s.pos != previous) NotifyChanged(platform::ui::ChangeRange);
  return previous;
}

int CProgressCtrl::GetPos() const { return State().pos; }

int CProgressCtrl::OffsetPos(int delta) { return SetPos(State().pos + delta); }

int CProgressCtrl::SetStep(int step) {
  int previous = State().step;
  State().step = step;
  return previous;
}

int CProgressCtrl::StepIt() {
  WindowState& s = State();
  int previous = s.pos;
  int next = s.pos + s.step;
  // A full bar starts again from the bottom, as the control does.
  if (next > std::max(s.rangeMin, s.rangeMax)) next = std::min(s.rangeMin, s.rangeMax) + (next - std::max(s.rangeMin, s.rangeMax));
  SetPos(next);
  return previous;
}

BOOL CAnimateCtrl::Open(std::string_view fileName) {
  WindowState& s = State();
  if (!platform::FileExists(fileName)) {
    s.animationFile.clear();
    return FALSE;
  }
  s.animationFile = std::string(fileName);
  return TRUE;
}

BOOL CAnimateCtrl::Play(UINT from, UINT to, UINT repeat) {
  (void)from;
  (void)to;
  (void)repeat;
  WindowState& s = State();
  if (s.animationFile.empty()) return FALSE;
  s.animationPlaying = true;
  return TRUE;
}

BOOL CAnimateCtrl::Stop() {
  State().animationPlaying = false;
  return TRUE;
}

BOOL CAnimateCtrl::Close() {
  State().animationFile.clear();
  State().animationPlaying = false;
  return TRUE;
}

BOOL CAnimateCtrl::IsPlaying() const { return State().animationPlaying ? TRUE : FALSE; }

// Up-down controls.

void CSpinButtonCtrl::SetRange32(int lower, int upper) {
  WindowState& s = State();
  s.rangeMin = lower;
  s.rangeMax = upper;
  NotifyChanged(platform::ui::ChangeRange);
}

void CSpinButtonCtrl::GetRange(int& lower, int& upper) const {
  lower = State().rangeMin;
  upper = State().rangeMax;
}

int CSpinButtonCtrl::SetPos(int pos) {
  WindowState& s = State();
  int previous = s.pos;
  s.pos = std::clamp(pos, std::min(s.rangeMin, s.rangeMax), std::max(s.rangeMin, s.rangeMax));
  NotifyChanged(platform::ui::ChangeRange);
  if ((s.style & UDS_SETBUDDYINT) && s.buddy) CWnd::FromHandle(s.buddy)->SetWindowText(std::to_string(s.pos));
  return previous;
}

int CSpinButtonCtrl::GetPos() const { return State().pos & 0xFFFF; }

int CSpinButtonCtrl::GetPos32(BOOL* error) const {
  if (error) *error = FALSE;
  return State().pos;
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* buddy) {
  WindowState& s = State();
  CWnd* previous = CWnd::FromHandle(s.buddy);
  s.buddy = buddy ? buddy->m_hWnd : nullptr;
  return previous;
}

CWnd* CSpinButtonCtrl::GetBuddy() const { return CWnd::FromHandle(State().buddy); }

BOOL CMonthCalCtrl::GetCurSel(SYSTEMTIME* date) const {
  if (!date) return FALSE;
  *date = State().date;
  return TRUE;
}

BOOL CMonthCalCtrl::SetCurSel(const SYSTEMTIME* date) {
  if (!date) return FALSE;
  State().date = *date;
  NotifyChanged(platform::ui::ChangeDate);
  return TRUE;
}

// List controls.

int CListCtrl::InsertColumn(int column, std::string_view heading, int format, int width, int subItem) {
  (void)subItem;
  WindowState& s = State();
  if (column < 0 || column > int(s.columns.size())) column = int(s.columns.size());
  s.columns.insert(s.columns.begin() + column, platform::ui::ListColumn{std::string(heading), format, width});
  NotifyChanged(platform::ui::ChangeColumns);
  return column;
}

BOOL CListCtrl::DeleteColumn(int column) {
  WindowState& s = State();
  if (column < 0 || column >= int(s.columns.size())) return FALSE;
  s.columns.erase(s.columns.begin() + column);
  NotifyChanged(platform::ui::ChangeColumns);
  return TRUE;
}

int CListCtrl::GetColumnCount() const { return int(State().columns.size()); }

int CListCtrl::GetItemCount() const { return int(State().items.size()); }

int CListCtrl::InsertItem(int item, std::string_view text) {
  int at = InsertItemAt(State(), item, text);
  NotifyChanged(platform::ui::ChangeItems);
  return at;
}

BOOL CListCtrl::DeleteItem(int item) {
  if (DeleteItemAt(State(), item) == -1) return FALSE;
  NotifyChanged(platform::ui::ChangeItems);
  return TRUE;
}

BOOL CListCtrl::DeleteAllItems() {
  State().items.clear();
  State().curSel = -1;
  NotifyChanged(platform::ui::ChangeItems);
  return TRUE;
}

BOOL CListCtrl::SetItemText(int item, int subItem, std::string_view text) {
  WindowState& s = State();
  if (!ValidIndex(s, item) || subItem < 0) return FALSE;
  ListItem& it = s.items[size_t(item)];
  if (subItem == 0) {
    it.text = std::string(text);
  } else {
    if (int(it.subItems.size()) < subItem) it.subItems.resize(size_t(subItem));
    it.subItems[size_t(subItem - 1)] = std::string(text);
  }
  NotifyChanged(platform::ui::ChangeItems);
  return TRUE;
}

std::string CListCtrl::GetItemText(int item, int subItem) const {
  const WindowState& s = State();
  if (!ValidIndex(s, item) || subItem < 0) return {};
  const ListItem& it = s.items[size_t(item)];
  if (subItem == 0) return it.text;
  return subItem <= int(it.subItems.size()) ? it.subItems[size_t(subItem - 1)] : std::string();
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
  WindowState& s = State();
  if (!ValidIndex(s, item)) return FALSE;
  s.items[size_t(item)].data = data;
  return TRUE;
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
  const WindowState& s = State();
  return ValidIndex(s, item) ? s.items[size_t(item)].data : 0;
}

UINT CListCtrl::GetItemState(int item, UINT mask) const {
  const WindowState& s = State();
  if (!ValidIndex(s, item)) return 0;
  UINT state = (s.items[size_t(item)].selected ? LVIS_SELECTED : 0) | (s.curSel == item ? LVIS_FOCUSED : 0);
  return state & mask;
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
  WindowState& s = State();
  auto apply = [&](int i) {
    if (mask & LVIS_SELECTED) s.items[size_t(i)].selected = (state & LVIS_SELECTED) != 0;
    if ((mask & LVIS_FOCUSED) && (state & LVIS_FOCUSED)) s.curSel = i;
  };
  if (item == -1) {
    for (int i = 0; i < int(s.items.size()); ++i) apply(i);
  } else {
    if (!ValidIndex(s, item)) return FALSE;
    apply(item);
  }
  NotifyChanged(platform::ui::ChangeSelection);
  return TRUE;
}

int CListCtrl::GetNextItem(int start, UINT flags) const {
  const WindowState& s = State();
  for (int i = start + 1; i < int(s.items.size()); ++i)
    if (!(flags & LVNI_SELECTED) || s.items[size_t(i)].selected) return i;
  return -1;
}

UINT CListCtrl::GetSelectedCount() const {
  const WindowState& s = State();
  return UINT(std::count_if(s.items.begin(), s.items.end(), [](const ListItem& i) { return i.selected; }));
}

POSITION CListCtrl::GetFirstSelectedItemPosition() const {
  int first = GetNextItem(-1, LVNI_SELECTED);
  return first < 0 ? nullptr : platform::ui::PositionOf(size_t(first));
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
  int item = int(platform::ui::IndexOf(pos));
  int next = GetNextItem(item, LVNI_SELECTED);
  pos = next < 0 ? nullptr : platform::ui::PositionOf(size_t(next));
  return item;
}

DWORD CListCtrl::SetExtendedStyle(DWORD exStyle) {
  DWORD previous = State().listExStyle;
  State().listExStyle = exStyle;
  NotifyChanged(platform::ui::ChangeStyle | platform::ui::ChangeItems);
  return previous;
}

DWORD CListCtrl::GetExtendedStyle() const { return State().listExStyle; }

BOOL CListCtrl::SetCheck(int item, BOOL check) {
  WindowState& s = State();
  if (!ValidIndex(s, item)) return FALSE;
  s.items[size_t(item)].check = check ? 1 : 0;
  NotifyChanged(platform::ui::ChangeItems);
  return TRUE;
}

BOOL CListCtrl::GetCheck(int item) const {
  const WindowState& s = State();
  return ValidIndex(s, item) && s.items[size_t(item)].check ? TRUE : FALSE;
}

BOOL CListCtrl::EnsureVisible(int item, BOOL partialOk) {
  (void)partialOk;
  WindowState& s = State();
  if (!ValidIndex(s, item)) return FALSE;
  s.topIndex = item;
  NotifyChanged(platform::ui::ChangeSelection);
  return TRUE;
}
