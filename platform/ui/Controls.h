#pragma once
// The controls of dialogs. Each object wraps a control window whose state
// (text, check, items, selection, range) lives in its WindowState; calls here
// are the program's own changes and send no notification (except an edit's
// change, as the system does). What a user does is in UserInput.h.
#include <string>
#include <string_view>

#include "platform/ui/Wnd.h"

class CStatic : public CWnd {
  DECLARE_DYNAMIC(CStatic)
};

class CButton : public CWnd {
  DECLARE_DYNAMIC(CButton)
 public:
  [[nodiscard]] int GetCheck() const;
  void SetCheck(int check);
};

class CEdit : public CWnd {
  DECLARE_DYNAMIC(CEdit)
 public:
  BOOL SetReadOnly(BOOL readOnly = TRUE);
  void LimitText(int maxChars = 0);
  void SetLimitText(UINT maxChars) { LimitText(int(maxChars)); }
  void SetSel(int start, int end, BOOL noScroll = FALSE);
};

class CListBox : public CWnd {
  DECLARE_DYNAMIC(CListBox)
 public:
  [[nodiscard]] int GetCount() const;
  // Adds in sorted place when the list sorts, else at the end; returns the index.
  int AddString(std::string_view text);
  // Inserts at `index` (-1: the end) whatever the sorting.
  int InsertString(int index, std::string_view text);
  // Returns the number of items left, or LB_ERR.
  int DeleteString(UINT index);
  void ResetContent();
  int GetText(int index, std::string& text) const;
  [[nodiscard]] std::string GetText(int index) const;
  [[nodiscard]] int GetTextLen(int index) const;
  // Single-selection lists: the selected item or LB_ERR. Multiple selection: the caret item.
  [[nodiscard]] int GetCurSel() const;
  int SetCurSel(int index);
  // Multiple selection.
  [[nodiscard]] int GetSel(int index) const;
  int SetSel(int index, BOOL select = TRUE);
  [[nodiscard]] int GetSelCount() const;
  int GetSelItems(int maxItems, int* items) const;
  int SelItemRange(BOOL select, int first, int last);
  [[nodiscard]] DWORD_PTR GetItemData(int index) const;
  int SetItemData(int index, DWORD_PTR data);
  // The first item after `startAfter` (wrapping) that begins with / equals
  // `text`, ignoring case; LB_ERR when none.
  [[nodiscard]] int FindString(int startAfter, std::string_view text) const;
  [[nodiscard]] int FindStringExact(int startAfter, std::string_view text) const;
  int SelectString(int startAfter, std::string_view text);
  BOOL SetTabStops();
  BOOL SetTabStops(int eachTab);
  BOOL SetTabStops(int count, const int* tabStops);
  [[nodiscard]] int GetTopIndex() const;
  int SetTopIndex(int index);
  [[nodiscard]] int GetCaretIndex() const;
  int SetCaretIndex(int index, BOOL scroll = TRUE);

 protected:
  [[nodiscard]] bool IsMultipleSelection() const;
};

class CCheckListBox : public CListBox {
  DECLARE_DYNAMIC(CCheckListBox)
 public:
  void SetCheck(int index, int check);
  [[nodiscard]] int GetCheck(int index) const;
};

// A list whose items the user reorders by dragging.
class CDragListBox : public CListBox {
  DECLARE_DYNAMIC(CDragListBox)
};

class CComboBox : public CWnd {
  DECLARE_DYNAMIC(CComboBox)
 public:
  [[nodiscard]] int GetCount() const;
  int AddString(std::string_view text);
  int InsertString(int index, std::string_view text);
  int DeleteString(UINT index);
  void ResetContent();
  [[nodiscard]] int GetCurSel() const;
  // Selects `index` (-1 clears) and shows its text.
  int SetCurSel(int index);
  int GetLBText(int index, std::string& text) const;
  [[nodiscard]] std::string GetLBText(int index) const;
  [[nodiscard]] int GetLBTextLen(int index) const;
  [[nodiscard]] DWORD_PTR GetItemData(int index) const;
  int SetItemData(int index, DWORD_PTR data);
  [[nodiscard]] int FindString(int startAfter, std::string_view text) const;
  [[nodiscard]] int FindStringExact(int startAfter, std::string_view text) const;
  int SelectString(int startAfter, std::string_view text);
  BOOL LimitText(int maxChars);
};

class CProgressCtrl : public CWnd {
  DECLARE_DYNAMIC(CProgressCtrl)
 public:
  // A progress bar of its own, a child control of `parent` without a template.
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  using CWnd::Create;
  void SetRange(short lower, short upper) { SetRange32(lower, upper); }
  void SetRange32(int lower, int upper);
  void GetRange(int& lower, int& upper) const;
  int SetPos(int pos);
  [[nodiscard]] int GetPos() const;
  int OffsetPos(int delta);
  int SetStep(int step);
  int StepIt();

 protected:
  platform::ui::WindowKind KindOfWindow() const override { return platform::ui::WindowKind::Control; }
  int OnCreate(LPCREATESTRUCT cs) override;
};

class CAnimateCtrl : public CWnd {
  DECLARE_DYNAMIC(CAnimateCtrl)
 public:
  // FALSE when the file does not exist (the control stays empty).
  BOOL Open(std::string_view fileName);
  BOOL Play(UINT from, UINT to, UINT repeat);
  BOOL Stop();
  BOOL Close();
  [[nodiscard]] BOOL IsPlaying() const;
};

class CSpinButtonCtrl : public CWnd {
  DECLARE_DYNAMIC(CSpinButtonCtrl)
 public:
  void SetRange(short lower, short upper) { SetRange32(lower, upper); }
  void SetRange32(int lower, int upper);
  void GetRange(int& lower, int& upper) const;
  void GetRange32(int& lower, int& upper) const { GetRange(lower, upper); }
  // Clamps into the range; with a buddy that shows the number, updates it.
  int SetPos(int pos);
  int SetPos32(int pos) { return SetPos(pos); }
  // The position as the 16-bit control reports it: a negative position comes
  // back as its unsigned 16-bit form (-124 as 65412).
  [[nodiscard]] int GetPos() const;
  [[nodiscard]] int GetPos32(BOOL* error = nullptr) const;
  CWnd* SetBuddy(CWnd* buddy);
  [[nodiscard]] CWnd* GetBuddy() const;
  int SetBase(int base) { (void)base; return 10; }
};

class CMonthCalCtrl : public CWnd {
  DECLARE_DYNAMIC(CMonthCalCtrl)
 public:
  BOOL GetCurSel(SYSTEMTIME* date) const;
  BOOL SetCurSel(const SYSTEMTIME* date);
};

class CListCtrl : public CWnd {
  DECLARE_DYNAMIC(CListCtrl)
 public:
  int InsertColumn(int column, std::string_view heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
  BOOL DeleteColumn(int column);
  [[nodiscard]] int GetColumnCount() const;
  [[nodiscard]] int GetItemCount() const;
  int InsertItem(int item, std::string_view text);
  BOOL DeleteItem(int item);
  BOOL DeleteAllItems();
  BOOL SetItemText(int item, int subItem, std::string_view text);
  [[nodiscard]] std::string GetItemText(int item, int subItem) const;
  BOOL SetItemData(int item, DWORD_PTR data);
  [[nodiscard]] DWORD_PTR GetItemData(int item) const;
  [[nodiscard]] UINT GetItemState(int item, UINT mask) const;
  // item -1: every item.
  BOOL SetItemState(int item, UINT state, UINT mask);
  // The next item after `start` (-1: from the first) that has the flags.
  [[nodiscard]] int GetNextItem(int start, UINT flags) const;
  [[nodiscard]] UINT GetSelectedCount() const;
  [[nodiscard]] POSITION GetFirstSelectedItemPosition() const;
  int GetNextSelectedItem(POSITION& pos) const;
  DWORD SetExtendedStyle(DWORD exStyle);
  [[nodiscard]] DWORD GetExtendedStyle() const;
  BOOL SetCheck(int item, BOOL check = TRUE);
  [[nodiscard]] BOOL GetCheck(int item) const;
  BOOL EnsureVisible(int item, BOOL partialOk);
};

namespace platform::ui {

// Where a sorted list places `text` (after the items equal to it, ignoring case).
[[nodiscard]] int SortedInsertIndex(const std::vector<ListItem>& items, std::string_view text);
// The wrapper object a dialog makes for a control of this kind.
[[nodiscard]] std::unique_ptr<CWnd> MakeControlObject(ControlKind kind);

}  // namespace platform::ui
