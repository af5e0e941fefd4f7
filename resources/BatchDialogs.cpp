#include "resources/BatchDialogs.h"

#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;

namespace {

constexpr DWORD kReadOnly = ES_READONLY | ES_AUTOHSCROLL;
constexpr DWORD kEditableCombo = CBS_DROPDOWN | CBS_SORT | WS_VSCROLL;
constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// A check box with a date, as "From", "To" and "After" show it.
void AddDateFilter(std::vector<ControlTemplate>& c, unsigned use, const char* text, unsigned date, unsigned set,
                   int x, int y) {
  c.push_back(CheckBox(use, text, {x, y + 1, 34, 10}, WS_GROUP));
  c.push_back(Edit(date, {x + 36, y, 79 - x, 12}, kReadOnly));
  c.push_back(PushButton(set, "set", {117, y, 26, 12}));
}

std::vector<ControlTemplate> BatchControls() {
  using namespace batch;
  std::vector<ControlTemplate> c;

  // Filters. Radio groups start at a WS_GROUP control and end at the next one.
  AddDateFilter(c, kUseFromDate, "From", kFromDate, kSetFromDate, 7, 8);
  AddDateFilter(c, kUseToDate, "To", kToDate, kSetToDate, 7, 24);
  c.push_back(CheckBox(kUseArrayType, "Array Type", {7, 42, 80, 10}, WS_GROUP));
  c.push_back(ComboBox(kArrayTypeFilter, {7, 54, 136, 120}, kEditableCombo));
  c.push_back(CheckBox(kUseSelfReference, "Available self reference", {7, 72, 136, 10}, WS_GROUP));
  c.push_back(CheckBox(kUseTestOrRef, "Test or Ref", {7, 86, 60, 10}, WS_GROUP));
  c.push_back(RadioButton(kTestOnly, "Test", {17, 98, 30, 10}, WS_GROUP));
  c.push_back(RadioButton(kRefOnly, "Ref", {55, 98, 30, 10}));
  c.push_back(RadioButton(kTestAndRef, "Both", {93, 98, 30, 10}));
  for (int k = 0; k < 5; ++k) {
    const int y = 114 + 26 * k;
    c.push_back(CheckBox(kUseAttribute[k], "Attribute" + std::to_string(k + 1), {7, y, 80, 10}, WS_GROUP));
    c.push_back(ComboBox(kAttributeFilter[k], {7, y + 11, 136, 120}, kEditableCombo));
  }
  c.push_back(CheckBox(kUseNotAnalyzed, "Not analyzed", {7, 246, 80, 10}, WS_GROUP));
  AddDateFilter(c, kUseAfterDate, "After", kAfterDate, kSetAfterDate, 17, 259);

  // The list of samples.
  c.push_back(CheckListBox(kSampleList, {150, 8, 130, 252},
                           LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_SORT | LBS_NOINTEGRALHEIGHT | WS_VSCROLL |
                               WS_TABSTOP));
  c.push_back(PushButton(kCheckAll, "check all", {150, 264, 62, 14}, WS_GROUP));
  c.push_back(PushButton(kUncheckAll, "uncheck all", {218, 264, 62, 14}));
  c.push_back(PushButton(kRefresh, "Refresh", {150, 282, 130, 14}));

  // Actions.
  c.push_back(CheckBox(kSameSex, "Select from the same sex", {290, 8, 224, 10}, WS_GROUP));
  c.push_back(CheckBox(kTransferDiploidRegion, "Trasfer diploid region from allele specific analysis",
                       {290, 22, 224, 10}));
  c.push_back(Static(IDC_STATIC, "Reference selection", {290, 40, 124, 8}));
  c.push_back(ComboBox(kReferenceMode, {290, 50, 124, 80}, CBS_DROPDOWNLIST | WS_VSCROLL));
  c.push_back(PushButton(kSelectNonSelfRefs, "Select NonSelf Refs", {290, 84, 124, 16}, WS_GROUP));
  c.push_back(PushButton(kAutomaticAnalysis, "Automatic Analysis", {290, 104, 124, 16}));
  c.push_back(PushButton(kChangeAttribute, "Change attribute", {290, 134, 124, 16}));
  c.push_back(PushButton(kOptions, "options", {290, 154, 124, 16}));
  c.push_back(PushButton(IDCANCEL, "Cancel", {290, 282, 124, 14}));
  return c;
}

std::vector<ControlTemplate> ChangeAttributeControls() {
  using namespace change;
  return {RadioButton(kModeAttribute, "&Change attribute", {7, 7, 100, 10}, WS_GROUP),
          ComboBox(kAttribute, {17, 20, 90, 80}, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP),
          Edit(kNewValue, {17, 36, 90, 12}, ES_AUTOHSCROLL),
          RadioButton(kModeTest, "Set as &TEST", {7, 54, 100, 10}),
          RadioButton(kModeReference, "Set as &REF", {7, 68, 100, 10}),
          DefPushButton(IDOK, "Change", {129, 7, 50, 14}),
          PushButton(IDCANCEL, "Cancel", {129, 24, 50, 14})};
}

}  // namespace

void RegisterBatchDialogs() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kBatchSelectDialog) == nullptr) {
    resources.AddDialog({kBatchSelectDialog, "Batch analysis", {522, 302}, kDialogStyle, "MS Shell Dlg", 8,
                         BatchControls()});
  }
  if (resources.Dialog(kChangeAttributeDialog) == nullptr) {
    resources.AddDialog({kChangeAttributeDialog, "Change attribute", {186, 86}, kDialogStyle, "MS Shell Dlg", 8,
                         ChangeAttributeControls()});
  }
}

}  // namespace qova::resources
