#include "resources/DisplaySamplesDialog.h"

#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;

namespace {

constexpr DWORD kReadOnly = ES_READONLY | ES_AUTOHSCROLL;
constexpr DWORD kValueCombo = CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL;
constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

std::vector<ControlTemplate> DisplaySamplesControls() {
  using namespace display;
  std::vector<ControlTemplate> c;

  // Radio groups start at a WS_GROUP control and end at the next one.
  c.push_back(RadioButton(kSelfAnalysis, "Self Analysis", {12, 12, 60, 12}, WS_GROUP));
  c.push_back(RadioButton(kNonSelfAnalysis, "NonSelf Analysis", {96, 12, 72, 12}));

  c.push_back(GroupBox("Select a group", {6, 30, 174, 54}));
  c.push_back(ComboBox(kGroups, {12, 42, 102, 60}, CBS_DROPDOWNLIST | WS_VSCROLL | WS_GROUP));
  c.push_back(PushButton(kSelectGroup, "Select", {126, 42, 36, 12}));
  c.push_back(PushButton(kDeleteGroup, "Delete", {126, 66, 36, 12}));

  c.push_back(GroupBox("Select by attributes", {6, 96, 174, 204}));
  c.push_back(CheckBox(kUseFromDate, "From", {12, 108, 36, 12}));
  c.push_back(Edit(kFromDate, {72, 108, 66, 12}, kReadOnly));
  c.push_back(PushButton(kSetFromDate, "set", {144, 108, 24, 12}));
  c.push_back(CheckBox(kUseToDate, "To", {12, 126, 36, 12}));
  c.push_back(Edit(kToDate, {72, 126, 66, 12}, kReadOnly));
  c.push_back(PushButton(kSetToDate, "set", {144, 126, 24, 12}));
  c.push_back(CheckBox(kUseArrayType, "Array Type", {12, 144, 54, 12}));
  c.push_back(ComboBox(kArrayTypeFilter, {72, 145, 102, 60}, kValueCombo));
  c.push_back(CheckBox(kUseTestOrRef, "Test or Ref", {12, 162, 60, 12}));
  c.push_back(RadioButton(kTestOnly, "Test", {72, 162, 30, 12}, WS_GROUP));
  c.push_back(RadioButton(kRefOnly, "Ref", {102, 162, 30, 12}));
  c.push_back(RadioButton(kTestAndRef, "Both", {132, 162, 30, 12}));
  constexpr int kAttributeRows[5] = {180, 198, 217, 234, 252};
  for (int k = 0; k < 5; ++k) {
    const int y = kAttributeRows[k];
    c.push_back(CheckBox(kUseAttribute[k], "Attribute" + std::to_string(k + 1), {12, y, 54, 12}, WS_GROUP));
    c.push_back(ComboBox(kAttributeFilter[k], {72, y, 102, 72}, kValueCombo));
  }
  c.push_back(PushButton(kAdd, "Add", {90, 270, 36, 18}, WS_GROUP));
  c.push_back(PushButton(kNew, "New", {138, 270, 36, 18}));

  c.push_back(CheckListBox(kSampleList, {192, 18, 108, 276},
                           LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                               WS_VSCROLL | WS_BORDER | WS_TABSTOP));
  c.push_back(PushButton(kCheckAll, "Check All", {312, 18, 48, 12}, WS_GROUP));
  c.push_back(PushButton(kUncheckAll, "Uncheck All", {312, 36, 48, 12}));
  c.push_back(PushButton(kSingleDisplay, "Single display", {312, 66, 60, 24}));
  c.push_back(PushButton(kMultiDisplay, "Multi display", {312, 96, 60, 24}));
  c.push_back(PushButton(kIntegralView, "Integral view", {312, 126, 60, 24}));
  c.push_back(PushButton(kSetAsGroup, "Set as a group", {312, 163, 60, 18}));
  c.push_back(PushButton(kResetGroup, "Reset the group", {312, 187, 60, 18}));
  c.push_back(PushButton(kOutputData, "Output Data", {312, 221, 60, 18}));
  c.push_back(PushButton(kCombine, "Combine", {312, 259, 60, 18}));
  c.push_back(DefPushButton(IDOK, "OK", {318, 286, 50, 14}));
  c.push_back(PushButton(IDCANCEL, "Cancel", {318, 305, 50, 14}));
  return c;
}

std::vector<ControlTemplate> SingleViewListControls() {
  return {ListBox(single_view::kNames, {7, 7, 150, 160}, LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP),
          DefPushButton(IDOK, "Close", {57, 172, 50, 14})};
}

}  // namespace

void RegisterDisplaySamplesDialogs() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kDisplaySamplesDialog) == nullptr) {
    resources.AddDialog({kDisplaySamplesDialog, "Display Samples", {389, 326}, kDialogStyle, "MS Shell Dlg", 8,
                         DisplaySamplesControls()});
  }
  if (resources.Dialog(kSingleViewListDialog) == nullptr) {
    resources.AddDialog({kSingleViewListDialog, "Single View List", {164, 193},
                         WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, "MS Shell Dlg", 8,
                         SingleViewListControls()});
  }
}

}  // namespace qova::resources
