#include "resources/SampleManagerDialog.h"

#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;
using namespace manager;

namespace {

constexpr DWORD kReadOnly = ES_READONLY | ES_AUTOHSCROLL;
constexpr DWORD kReadOnlyLines = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL;
constexpr DWORD kEditableCombo = CBS_DROPDOWN | CBS_SORT | WS_VSCROLL;
constexpr DWORD kListCombo = CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL;

// A check box with a date, as "From" and "To" show it.
void AddDateFilter(std::vector<ControlTemplate>& c, unsigned use, const char* text, unsigned date, unsigned set, int y) {
  c.push_back(CheckBox(use, text, {7, y + 1, 34, 10}, WS_GROUP));
  c.push_back(Edit(date, {43, y, 70, 12}, kReadOnly));
  c.push_back(PushButton(set, "set", {117, y, 26, 12}));
}

// One caption with its value box in the property panel.
void AddProperty(std::vector<ControlTemplate>& c, unsigned caption, unsigned value, int y) {
  c.push_back(Edit(caption, {392, y, 70, 12}, kReadOnly));
  c.push_back(Edit(value, {464, y, 96, 12}, kReadOnly));
}

std::vector<ControlTemplate> Controls() {
  std::vector<ControlTemplate> c;

  // Filters. Radio groups start at a WS_GROUP control and end at the next one.
  AddDateFilter(c, kUseFromDate, "From", kFromDate, kSetFromDate, 8);
  AddDateFilter(c, kUseToDate, "To", kToDate, kSetToDate, 24);
  c.push_back(CheckBox(kUseArrayType, "Array Type", {7, 42, 80, 10}, WS_GROUP));
  c.push_back(ComboBox(kArrayTypeFilter, {7, 54, 136, 120}, kEditableCombo));
  c.push_back(CheckBox(kUseSelfReference, "Available Self-reference", {7, 72, 100, 10}, WS_GROUP));
  c.push_back(Hidden(RadioButton(kSelfReferenceYes, "Yes", {17, 84, 30, 10}, WS_GROUP)));
  c.push_back(Hidden(RadioButton(kSelfReferenceYesAndNo, "Yes and No", {57, 84, 50, 10})));
  c.push_back(CheckBox(kUseTestOrRef, "Test or Ref", {7, 86, 60, 10}, WS_GROUP));
  c.push_back(RadioButton(kTestOnly, "Test", {17, 98, 30, 10}, WS_GROUP));
  c.push_back(RadioButton(kRefOnly, "Ref", {55, 98, 30, 10}));
  c.push_back(RadioButton(kTestAndRef, "Both", {93, 98, 30, 10}));
  for (int k = 0; k < 5; ++k) {
    const int y = 114 + 26 * k;
    c.push_back(CheckBox(kUseAttribute[k], "Attribute" + std::to_string(k + 1), {7, y, 80, 10}, WS_GROUP));
    c.push_back(ComboBox(kAttributeFilter[k], {7, y + 11, 136, 120}, kListCombo));
  }
  c.push_back(PushButton(kAdd, "Add", {7, 248, 64, 16}, WS_GROUP));
  c.push_back(PushButton(kNew, "New", {79, 248, 64, 16}));

  c.push_back(ListBox(kSampleList, {150, 8, 110, 284}, LBS_NOTIFY | LBS_SORT | WS_VSCROLL));

  // Actions.
  c.push_back(GroupBox("Allele-specific analysis", {266, 4, 118, 36}));
  c.push_back(PushButton(kAlleleSpecificAnalysis, "Allele-specific analysis", {274, 18, 102, 16}));
  c.push_back(GroupBox("Non-self Analysis", {266, 46, 118, 140}));
  c.push_back(Static(IDC_STATIC, "reference mode", {274, 58, 80, 8}));
  c.push_back(RadioButton(kModeCurrentSet, "Current set", {278, 70, 90, 10}, WS_GROUP));
  c.push_back(RadioButton(kModeAutomatic, "Automatically select", {278, 84, 90, 10}));
  c.push_back(CheckBox(kAutomaticSameSex, "same sex", {290, 96, 60, 10}));
  c.push_back(RadioButton(kModeManual, "Manually select", {278, 110, 90, 10}));
  c.push_back(CheckBox(kManualSameSex, "same sex", {290, 122, 60, 10}));
  c.push_back(RadioButton(kModeSelfOnly, "Self-reference only", {278, 136, 90, 10}));
  c.push_back(PushButton(kNonSelfAnalysis, "Non-self analysis", {274, 160, 102, 16}, WS_GROUP));
  c.push_back(PushButton(kAssociationAnalysis, "Association Analysis", {274, 200, 102, 16}));
  c.push_back(PushButton(IDCANCEL, "Cancel", {274, 272, 102, 16}));
  c.push_back(Hidden(PushButton(kInput, "Input", {274, 224, 50, 14})));
  c.push_back(Hidden(PushButton(kSelectNonSelfRef, "Select NonSelfRef", {326, 224, 50, 14})));
  c.push_back(Hidden(PushButton(kSetCandidateRefs, "Set Candidate Refs", {274, 240, 50, 14})));
  c.push_back(Hidden(PushButton(kAutomaticAnalysis, "Automatic Analysis", {326, 240, 50, 14})));
  c.push_back(Hidden(Edit(kCandidatesCaption, {274, 256, 50, 12}, kReadOnly)));
  c.push_back(Hidden(Edit(kCandidates, {326, 256, 50, 12}, kReadOnlyLines)));

  // Property panel.
  AddProperty(c, kNameCaption, kName, 8);
  AddProperty(c, kArrayTypeCaption, kArrayType, 22);
  AddProperty(c, kCreationTimeCaption, kCreationTime, 36);
  AddProperty(c, kTestOrRefCaption, kTestOrRef, 50);
  AddProperty(c, kSelfReferenceCaption, kSelfReference, 64);
  AddProperty(c, kNonSelfBaseRangeCaption, kNonSelfBaseRange, 78);
  AddProperty(c, kSelfBaseRangeCaption, kSelfBaseRange, 92);
  c.push_back(Edit(kReferenceScoresCaption, {392, 108, 82, 12}, kReadOnly));
  c.push_back(Edit(kReferenceNamesCaption, {478, 108, 82, 12}, kReadOnly));
  c.push_back(Edit(kReferenceScores, {392, 122, 82, 54}, kReadOnlyLines));
  c.push_back(Edit(kReferenceNames, {478, 122, 82, 54}, kReadOnlyLines));
  for (int k = 0; k < 5; ++k) {
    const int y = 182 + 16 * k;
    c.push_back(Edit(kAttributeCaption[k], {392, y, 70, 12}, kReadOnly));
    c.push_back(ComboBox(kAttribute[k], {464, y, 96, 120}, kEditableCombo));
  }
  c.push_back(Edit(kSexCaption, {392, 264, 40, 12}, kReadOnly));
  c.push_back(RadioButton(kMale, "Male", {436, 265, 36, 10}, WS_GROUP));
  c.push_back(RadioButton(kFemale, "Female", {474, 265, 40, 10}));
  c.push_back(RadioButton(kSexNotDetermined, "N.D.", {516, 265, 36, 10}));
  c.push_back(CheckBox(kTransferDiploidRegion, "Transfer diploid region from self analysis", {392, 280, 150, 10},
                       WS_GROUP));
  c.push_back(PushButton(kRefresh, "Refresh", {510, 294, 50, 16}));
  return c;
}

}  // namespace

void RegisterSampleManagerDialog() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kSampleManagerDialog) != nullptr) return;
  resources.AddDialog({kSampleManagerDialog, "Sample Manager", {568, 316},
                       DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, "MS Shell Dlg", 8, Controls()});
}

}  // namespace qova::resources
