// Dialogs built from templates, their controls, data exchange and validation,
// driven by headless scripts.
#include <gtest/gtest.h>

#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Headless.h"
#include "tests/platform/ui_fixture.h"

namespace {

using namespace platform::ui;

constexpr UINT kIntDialog = 9001;
constexpr UINT kValueEdit = 1000;

// The dialog of the acceptance example: one integer field bounded 1..100.
class CIntDialog : public CDialog {
  DECLARE_DYNAMIC(CIntDialog)

 public:
  CIntDialog() : CDialog(kIntDialog) {}
  int m_value = 10;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, kValueEdit, m_value);
    DDV_MinMaxInt(pDX, m_value, 1, 100);
  }
};

IMPLEMENT_DYNAMIC(CIntDialog, CDialog)

DialogTemplate IntDialogTemplate() {
  return {kIntDialog,
          "Integer",
          {160, 60},
          DS_MODALFRAME | WS_CAPTION | WS_SYSMENU,
          "MS Shell Dlg",
          8,
          {Static(IDC_STATIC, "&Value (1-100):", {7, 9, 60, 8}), Edit(kValueEdit, {70, 7, 80, 14}),
           DefPushButton(IDOK, "OK", {46, 38, 50, 14}), PushButton(IDCANCEL, "Cancel", {103, 38, 50, 14})}};
}

class DialogTest : public qova::test::UiTest {
 protected:
  DialogTest() { Res().AddDialog(IntDialogTemplate()); }
};

TEST_F(DialogTest, IntegerOutOfRangeKeepsDialogOpenWithFrameworkMessage) {
  bool stayedOpen = false;
  UINT focusAfterRefusal = 0;
  Ui().OnDialog(kIntDialog, [&](DialogDriver& d) {
    EXPECT_EQ(d.Text(kValueEdit), "10");
    d.Type(kValueEdit, "0").Ok();
    stayedOpen = d.IsOpen();
    focusAfterRefusal = d.Focus();
    d.Type(kValueEdit, "50").Ok();
  });
  CIntDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(focusAfterRefusal, kValueEdit);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Please enter an integer between 1 and 100."});
  EXPECT_EQ(dialog.m_value, 50);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(DialogTest, CancelLeavesTheMemberAsItWas) {
  Ui().OnDialog(kIntDialog, [](DialogDriver& d) { d.Type(kValueEdit, "77").Cancel(); });
  CIntDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.m_value, 10);
  EXPECT_TRUE(messages_.Empty());
}

// Text the user types, what an int, float and unsigned field make of it.
struct ParseCase {
  const char* text;
  bool accepted;
  const char* message;
};

class IntParseTest : public DialogTest, public ::testing::WithParamInterface<ParseCase> {};

TEST_P(IntParseTest, IntegerFieldAcceptsOnlyAWholeNumber) {
  const ParseCase& c = GetParam();
  Ui().OnDialog(kIntDialog, [&](DialogDriver& d) {
    d.Type(kValueEdit, c.text).Ok();
    if (d.IsOpen()) d.Cancel();
  });
  CIntDialog dialog;
  EXPECT_EQ(dialog.DoModal(), c.accepted ? IDOK : IDCANCEL) << c.text;
  std::vector<std::string> expected;
  if (c.message) expected.push_back(c.message);
  EXPECT_EQ(messages_.Texts(), expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IntParseTest,
    ::testing::Values(ParseCase{"1", true, nullptr}, ParseCase{"100", true, nullptr},
                      ParseCase{"  42\t", true, nullptr}, ParseCase{"101", false, "Please enter an integer between 1 and 100."},
                      ParseCase{"-5", false, "Please enter an integer between 1 and 100."},
                      ParseCase{"", false, "Please enter an integer."}, ParseCase{"abc", false, "Please enter an integer."},
                      ParseCase{"12abc", false, "Please enter an integer."},
                      ParseCase{"1e2", false, "Please enter an integer."},
                      ParseCase{"-0", false, "Please enter an integer."},
                      ParseCase{"99999999999", false, "Please enter an integer."}));

constexpr UINT kFloatDialog = 9002;

class CFloatDialog : public CDialog {
 public:
  CFloatDialog() : CDialog(kFloatDialog) {}
  float m_threshold = 0.06f;
  double m_rate = 1.0;
  UINT m_count = 3;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, 1004, m_threshold);
    DDV_MinMaxFloat(pDX, m_threshold, -1.0f, 0.0f);
    DDX_Text(pDX, 1005, m_rate);
    DDX_Text(pDX, 1006, m_count);
  }
};

TEST_F(DialogTest, FloatAndUnsignedFieldsUseTheirOwnMessages) {
  Res().AddDialog({kFloatDialog, "Floats", {100, 80}, 0, "MS Shell Dlg", 8,
                   {Edit(1004, {5, 5, 50, 12}), Edit(1005, {5, 20, 50, 12}), Edit(1006, {5, 35, 50, 12}),
                    DefPushButton(IDOK, "OK", {5, 60, 40, 14})}});
  std::vector<std::string> shownTexts;
  Ui().OnDialog(kFloatDialog, [&](DialogDriver& d) {
    shownTexts = {d.Text(1004), d.Text(1005), d.Text(1006)};
    d.Ok();  // 0.06 lies outside -1..0
    d.Type(1004, "-0.5").Type(1005, "x").Ok();
    d.Type(1005, "2.5").Type(1006, "-1").Ok();
    d.Type(1006, "7").Ok();
  });
  CFloatDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(shownTexts, (std::vector<std::string>{"0.06", "1", "3"}));
  EXPECT_EQ(messages_.Texts(), (std::vector<std::string>{"Please enter a number between -1 and 0.",
                                                         "Please enter a number.", "Please enter a positive integer."}));
  EXPECT_FLOAT_EQ(dialog.m_threshold, -0.5f);
  EXPECT_DOUBLE_EQ(dialog.m_rate, 2.5);
  EXPECT_EQ(dialog.m_count, 7u);
}

TEST_F(DialogTest, UnscriptedModalDialogFailsLoudlyAndLeavesNoWindow) {
  CIntDialog dialog;
  EXPECT_THROW(dialog.DoModal(), ScriptError);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  ASSERT_EQ(Ui().Failures().size(), 1u);
  EXPECT_NE(Ui().Failures()[0].find("9001"), std::string::npos);
}

TEST_F(DialogTest, DialogLeftOpenByItsScriptFailsLoudly) {
  Ui().OnDialog(kIntDialog, [](DialogDriver& d) { d.Type(kValueEdit, "5"); });
  CIntDialog dialog;
  EXPECT_THROW(dialog.DoModal(), ScriptError);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

// A dialog with every kind of control the program uses and a handler per notification.
constexpr UINT kControlsDialog = 9003;

class CControlsDialog : public CDialog {
 public:
  CControlsDialog() : CDialog(kControlsDialog) {}
  std::vector<std::string> events;
  int m_mode = 1;
  int m_flag = 0;
  CListBox m_sorted;
  CListBox m_extended;
  CComboBox m_types;
  CCheckListBox m_samples;
  CSpinButtonCtrl m_spin;
  int m_value = 5;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    for (const char* name : {"beta", "Alpha", "gamma", "alpha2"}) m_sorted.AddString(name);
    for (const char* name : {"s1", "s2", "s3", "s4"}) m_extended.AddString(name);
    for (const char* type : {"Mendel_Sty", "Mapping10K_Xba131"}) m_types.AddString(type);
    m_samples.AddString("S01");
    m_samples.AddString("S02");
    m_spin.SetRange(-150, 300);
    m_spin.SetPos(-124);
    return TRUE;
  }
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, 1010, m_sorted);
    DDX_Control(pDX, 1011, m_extended);
    DDX_Control(pDX, 1012, m_types);
    DDX_Control(pDX, 1013, m_samples);
    DDX_Control(pDX, 1021, m_spin);
    DDX_Radio(pDX, 1001, m_mode);
    DDX_Check(pDX, 1005, m_flag);
  }
  void OnModeChanged() { events.push_back("mode"); }
  void OnFlag() { events.push_back("flag"); }
  void OnSortedChange() { events.push_back("sorted:" + std::to_string(m_sorted.GetCurSel())); }
  void OnTypeChange() { events.push_back("type:" + m_types.GetWindowText()); }
  void OnSampleChecked() { events.push_back("checked"); }
  void OnNameChanged() { events.push_back("name:" + GetDlgItemText(1020)); }
  void OnDelta(NMHDR* header, LRESULT* result) {
    auto* ud = reinterpret_cast<NMUPDOWN*>(header);
    events.push_back("delta:" + std::to_string(ud->iDelta));
    // The page keeps its own value within 1..9 and tells the control to stay.
    if (ud->iDelta < 0 && m_value < 9) ++m_value;
    else if (ud->iDelta > 0 && m_value > 1) --m_value;
    *result = 1;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CControlsDialog, CDialog)
  ON_BN_CLICKED(1002, &CControlsDialog::OnModeChanged)
  ON_BN_CLICKED(1005, &CControlsDialog::OnFlag)
  ON_LBN_SELCHANGE(1010, &CControlsDialog::OnSortedChange)
  ON_CBN_SELCHANGE(1012, &CControlsDialog::OnTypeChange)
  ON_CLBN_CHKCHANGE(1013, &CControlsDialog::OnSampleChecked)
  ON_EN_CHANGE(1020, &CControlsDialog::OnNameChanged)
  ON_NOTIFY(UDN_DELTAPOS, 1021, &CControlsDialog::OnDelta)
END_MESSAGE_MAP()

DialogTemplate ControlsTemplate() {
  return {kControlsDialog, "Controls", {300, 200}, 0, "MS Shell Dlg", 8,
          {RadioButton(1001, "Self", {5, 5, 40, 10}, WS_GROUP), RadioButton(1002, "NonSelf", {50, 5, 40, 10}),
           RadioButton(1003, "Both", {95, 5, 40, 10}), CheckBox(1005, "From", {5, 20, 40, 10}, WS_GROUP),
           ListBox(1010, {5, 35, 60, 60}, LBS_SORT | LBS_NOTIFY), ListBox(1011, {70, 35, 60, 60}, LBS_EXTENDEDSEL),
           ComboBox(1012, {135, 35, 60, 60}, CBS_DROPDOWNLIST | CBS_SORT), CheckListBox(1013, {200, 35, 60, 60}),
           Edit(1020, {5, 100, 60, 12}), Edit(1019, {70, 100, 40, 12}, ES_READONLY),
           UpDown(1021, {110, 100, 10, 12}, UDS_AUTOBUDDY | UDS_SETBUDDYINT),
           PushButton(1030, "Hidden", {5, 120, 40, 14}), Hidden(PushButton(1031, "Never", {50, 120, 40, 14})),
           DefPushButton(IDOK, "OK", {200, 180, 40, 14}), PushButton(IDCANCEL, "Cancel", {250, 180, 40, 14})}};
}

TEST_F(DialogTest, ControlsChangeAsAUserChangesThemAndTellTheirHandlers) {
  Res().AddDialog(ControlsTemplate());
  CControlsDialog dialog;
  Ui().OnDialog(kControlsDialog, [&](DialogDriver& d) {
    EXPECT_TRUE(d.IsChecked(1002));  // m_mode = 1 loaded
    EXPECT_EQ(d.Items(1010), (std::vector<std::string>{"Alpha", "alpha2", "beta", "gamma"}));
    EXPECT_EQ(d.Items(1012), (std::vector<std::string>{"Mapping10K_Xba131", "Mendel_Sty"}));
    EXPECT_EQ(dialog.m_spin.GetPos(), 65412);  // -124 in the control's 16-bit form
    EXPECT_EQ(d.Text(1019), "-124");           // the buddy shows the number
    d.Click(1003);
    EXPECT_FALSE(d.IsChecked(1002));
    d.Click(1002).Click(1005).Select(1010, "beta").Select(1012, 1).ToggleItemCheck(1013, 1);
    d.Type(1020, "S07").Spin(1021, -1).Spin(1021, -1);
    d.SelectItems(1011, {0, 2});
    EXPECT_EQ(d.SelectedItems(1011), (std::vector<int>{0, 2}));
    EXPECT_EQ(d.Position(1021), -124);  // the handler refused the move
    EXPECT_THROW(d.Type(1019, "1"), ScriptError);   // read-only
    EXPECT_THROW(d.Click(1031), ScriptError);       // hidden
    dialog.GetDlgItem(1030)->EnableWindow(FALSE);
    EXPECT_THROW(d.Click(1030), ScriptError);       // disabled
    EXPECT_THROW(d.Select(1010, 9), ScriptError);   // no such item
    d.Ok();
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"mode", "flag", "sorted:2", "type:Mendel_Sty", "checked",
                                                     "name:S07", "delta:-1", "delta:-1"}));
  EXPECT_EQ(dialog.m_mode, 1);
  EXPECT_EQ(dialog.m_flag, 1);
  EXPECT_EQ(dialog.m_value, 7);
  EXPECT_EQ(dialog.m_sorted.m_hWnd, nullptr);  // the member let go of the closed control
}

TEST_F(DialogTest, ListBoxesFollowTheSystemsRules) {
  Res().AddDialog(ControlsTemplate());
  CControlsDialog dialog;
  Ui().OnDialog(kControlsDialog, [&](DialogDriver& d) {
    CListBox& list = dialog.m_sorted;
    EXPECT_EQ(list.FindStringExact(-1, "ALPHA"), 0);  // list search ignores case
    EXPECT_EQ(list.FindString(-1, "al"), 0);
    EXPECT_EQ(list.FindString(0, "al"), 1);            // searching after an index wraps
    EXPECT_EQ(list.FindStringExact(-1, "delta"), LB_ERR);
    list.SetCurSel(2);
    list.DeleteString(0);
    EXPECT_EQ(list.GetCurSel(), 1);  // the selection moved up with its item
    list.DeleteString(1);
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    EXPECT_EQ(list.InsertString(-1, "aaa"), 2);  // inserting ignores the sorting
    EXPECT_EQ(dialog.m_extended.SetCurSel(1), LB_ERR);  // not for multiple selection
    dialog.m_extended.SetSel(3);
    int selected[4] = {};
    EXPECT_EQ(dialog.m_extended.GetSelItems(4, selected), 1);
    EXPECT_EQ(selected[0], 3);
    d.Cancel();
  });
  dialog.DoModal();
}

TEST_F(DialogTest, ModelessDialogLivesUntilDestroyed) {
  CIntDialog dialog;
  ASSERT_TRUE(dialog.Create(kIntDialog));
  EXPECT_TRUE(IsWindow(dialog.m_hWnd));
  EXPECT_FALSE(dialog.IsWindowVisible());  // the template does not show it
  dialog.ShowWindow(SW_SHOW);
  dialog.SetDlgItemText(kValueEdit, "12");
  EXPECT_EQ(dialog.GetDlgItemInt(kValueEdit), 12u);
  HWND handle = dialog.m_hWnd;
  EXPECT_TRUE(dialog.DestroyWindow());
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

}  // namespace

namespace {

// A settings page's swatch: a frame control that the dialog's paint fills
// with the chosen colour, in the dialog's client coordinates.
constexpr UINT kSwatchDialog = 9004;

class CSwatchDialog : public CDialog {
 public:
  CSwatchDialog() : CDialog(kSwatchDialog) {}
  COLORREF m_colour = RGB(0, 0, 255);

 protected:
  void OnPaint() override {
    CPaintDC dc(this);
    CRect frame;
    GetDlgItem(1059)->GetWindowRect(&frame);
    ScreenToClient(&frame);
    CBrush brush(m_colour);
    dc.FillRect(&frame, &brush);
  }
  void OnChangeColour() {
    CColorDialog dialog(m_colour);
    if (dialog.DoModal() != IDOK) return;
    m_colour = dialog.GetColor();
    Invalidate();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSwatchDialog, CDialog)
  ON_BN_CLICKED(1001, &CSwatchDialog::OnChangeColour)
END_MESSAGE_MAP()

TEST_F(DialogTest, SwatchIsPaintedIntoItsFrameAndTheColourDialogChangesIt) {
  Res().AddDialog({kSwatchDialog, "Color", {200, 100}, 0, "MS Shell Dlg", 8,
                   {Frame(1059, {10, 10, 40, 12}), PushButton(1001, "color", {60, 10, 30, 12}),
                    DefPushButton(IDOK, "OK", {140, 80, 50, 14})}});
  std::vector<COLORREF> initialColours;
  Ui().OnColorDialog([&](ColorDialogRequest& r) {
    initialColours.push_back(r.initial);
    r.chosen = RGB(1, 2, 3);
    return true;
  });
  Picture before, after;
  Ui().OnDialog(kSwatchDialog, [&](DialogDriver& d) {
    before = d.Paint();
    d.Click(1001);
    after = d.Paint();
    d.Ok();
  });
  CSwatchDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  ASSERT_EQ(before.records.size(), 1u);
  EXPECT_EQ(before.records[0].Rect(), DialogUnitsToPixels({10, 10, 40, 12}, {6, 13}));
  EXPECT_EQ(before.records[0].color, RGB(0, 0, 255));
  ASSERT_EQ(after.records.size(), 1u);
  EXPECT_EQ(after.records[0].color, RGB(1, 2, 3));
  EXPECT_EQ(initialColours, std::vector<COLORREF>{RGB(0, 0, 255)});
}

TEST_F(DialogTest, CommonDialogsAnswerFromTheirScriptsOrFailLoudly) {
  CColorDialog colour(RGB(9, 9, 9));
  EXPECT_THROW(colour.DoModal(), ScriptError);

  LOGFONT font;
  font.lfHeight = -13;
  SetFaceName(font, "DejaVu Sans");
  Ui().OnFontDialog([](FontDialogRequest& r) {
    EXPECT_EQ(std::string(r.initial.lfFaceName), "DejaVu Sans");
    r.chosen.lfHeight = -20;
    SetFaceName(r.chosen, "Trebuchet MS");
    return true;
  });
  CFontDialog fonts(&font);
  ASSERT_EQ(fonts.DoModal(), IDOK);
  EXPECT_EQ(font.lfHeight, -20);  // the caller's font is the one the dialog edits
  EXPECT_EQ(std::string(font.lfFaceName), "Trebuchet MS");

  Ui().OnFolderDialog([](FolderDialogRequest& r) {
    EXPECT_EQ(r.startFolder, "c:\\data");
    r.chosen = "/home/user/data";
    return true;
  });
  FolderDialogRequest folder;
  folder.startFolder = "c:\\data";
  ASSERT_TRUE(BrowseForFolder(folder));
  EXPECT_EQ(folder.chosen, "/home/user/data");

  Ui().OnFileDialog([](FileDialogRequest& r) {
    EXPECT_TRUE(r.open);
    EXPECT_EQ(r.filters.size(), 2u);
    r.chosen = {"/x/a.txt", "/x/b.txt"};
    return true;
  });
  CFileDialog open(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT, "text file(*.txt)|*.txt|All files(*.*)|*.*||");
  ASSERT_EQ(open.DoModal(), IDOK);
  std::vector<std::string> names;
  for (POSITION pos = open.GetStartPosition(); pos;) names.push_back(open.GetNextPathName(pos));
  EXPECT_EQ(names, (std::vector<std::string>{"/x/a.txt", "/x/b.txt"}));
  Ui().OnFileDialog([](FileDialogRequest&) { return false; });
  EXPECT_EQ(open.DoModal(), IDCANCEL);
  EXPECT_EQ(open.GetPathName(), "");
}

}  // namespace

namespace {

// The date picker and the list controls of the sample dialogs.
constexpr UINT kPickerDialog = 9005;

class CPickerDialog : public CDialog {
 public:
  CPickerDialog() : CDialog(kPickerDialog) {}
  SYSTEMTIME m_date;
  std::string m_type = "Mendel_Sty";
  std::string m_name = "S01";
  int m_mode = 0;
  std::vector<std::string> events;
  CListCtrl m_samples;
  CDragListBox m_pairs;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_samples.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    m_samples.InsertColumn(0, "Sample", LVCFMT_LEFT, 80);
    m_samples.InsertColumn(1, "Type", LVCFMT_LEFT, 80);
    for (int i = 0; i < 3; ++i) {
      int item = m_samples.InsertItem(i, "S0" + std::to_string(i + 1));
      m_samples.SetItemText(item, 1, "Mapping250K_Nsp");
      m_samples.SetItemData(item, DWORD_PTR(100 + i));
    }
    for (const char* pair : {"T1.CHP", "T2.CHP", "T3.CHP"}) m_pairs.AddString(pair);
    return TRUE;
  }
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, 1007, m_samples);
    DDX_Control(pDX, 1011, m_pairs);
    DDX_MonthCalCtrl(pDX, 1006, m_date);
    DDX_CBString(pDX, 1015, m_type);
    DDX_CBIndex(pDX, 1016, m_mode);
    DDX_Text(pDX, 1020, m_name);
    DDV_MaxChars(pDX, m_name, 8);
  }
  void OnItemChanged(NMHDR* header, LRESULT*) {
    events.push_back("changed " + std::to_string(reinterpret_cast<NMLISTVIEW*>(header)->iItem));
  }
  void OnItemClick(NMHDR* header, LRESULT*) {
    events.push_back("click " + std::to_string(reinterpret_cast<NMLISTVIEW*>(header)->iItem));
  }
  void OnDatePicked(NMHDR*, LRESULT*) { events.push_back("date"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPickerDialog, CDialog)
  ON_NOTIFY(LVN_ITEMCHANGED, 1007, &CPickerDialog::OnItemChanged)
  ON_NOTIFY(NM_CLICK, 1007, &CPickerDialog::OnItemClick)
  ON_NOTIFY(MCN_SELCHANGE, 1006, &CPickerDialog::OnDatePicked)
END_MESSAGE_MAP()

TEST_F(DialogTest, DatePickerListControlsAndComboStringsExchangeTheirValues) {
  Res().AddDialog({kPickerDialog, "Dialog", {300, 200}, 0, "MS Shell Dlg", 8,
                   {MonthCalendar(1006, {5, 5, 140, 100}, MCS_NOTODAY | MCS_NOTODAYCIRCLE),
                    ListCtrl(1007, {150, 5, 140, 60}, LVS_REPORT | LVS_SINGLESEL),
                    DragListBox(1011, {150, 70, 140, 60}), ComboBox(1015, {5, 110, 100, 60}, CBS_DROPDOWN),
                    ComboBox(1016, {110, 110, 100, 60}), Edit(1020, {5, 130, 80, 12}),
                    DefPushButton(IDOK, "Set", {240, 180, 50, 14})}});
  CPickerDialog dialog;
  dialog.m_date.wYear = 2007;
  dialog.m_date.wMonth = 8;
  dialog.m_date.wDay = 9;
  SYSTEMTIME picked;
  picked.wYear = 2008;
  picked.wMonth = 2;
  picked.wDay = 29;
  Ui().OnDialog(kPickerDialog, [&](DialogDriver& d) {
    EXPECT_EQ(d.Text(1015), "Mendel_Sty");  // no such item: the text is shown as typed
    d.PickDate(1006, picked).ClickListItem(1007, 2).DragItem(1011, 0, 2);
    EXPECT_EQ(d.Items(1011), (std::vector<std::string>{"T2.CHP", "T3.CHP", "T1.CHP"}));
    EXPECT_EQ(dialog.m_samples.GetItemText(2, 1), "Mapping250K_Nsp");
    POSITION pos = dialog.m_samples.GetFirstSelectedItemPosition();
    EXPECT_EQ(dialog.m_samples.GetItemData(dialog.m_samples.GetNextSelectedItem(pos)), 102u);
    EXPECT_EQ(pos, nullptr);
    d.Type(1020, "S0123456789");  // the edit takes no more than its limit
    EXPECT_EQ(d.Text(1020), "S0123456");
    dialog.SetDlgItemText(1020, "S0123456789");  // the program's own text is not limited
    d.Ok();
    EXPECT_TRUE(d.IsOpen());
    d.Type(1020, "S07").Ok();
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_date.wYear, 2008);
  EXPECT_EQ(dialog.m_date.wDay, 29);
  EXPECT_EQ(dialog.m_name, "S07");
  EXPECT_EQ(dialog.m_mode, -1);  // nothing chosen in the empty combo box
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"date", "changed 2", "click 2"}));
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Please enter no more than 8 characters."});
}

}  // namespace
