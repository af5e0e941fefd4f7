#include "resources/ParameterDialogs.h"

#include <span>

#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;

namespace {

constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kUpDownStyle = UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;

DialogTemplate MakeTemplate(UINT id, const char* caption, CSize size, std::vector<ControlTemplate> controls) {
  return {id, caption, size, kDialogStyle, "MS Shell Dlg", 8, std::move(controls)};
}

// A means dialog: per state its label, the mean, and the up-down that follows
// its buddy edit (the template order binds them); the buttons on the right.
DialogTemplate MeansTemplate(UINT id, const char* caption, std::span<const HmmMeanRow> rows) {
  std::vector<ControlTemplate> controls = {Static(IDC_STATIC, "mean", {40, 8, 56, 8}),
                                           Static(IDC_STATIC, "mean(x100)", {104, 8, 50, 8})};
  int y = 20;
  for (const HmmMeanRow& row : rows) {
    controls.push_back(Static(IDC_STATIC, row.label, {10, y + 3, 26, 8}));
    controls.push_back(Edit(row.valueEdit, {40, y, 56, 14}, ES_READONLY));
    controls.push_back(Edit(row.buddyEdit, {104, y, 36, 14}, ES_AUTOHSCROLL));
    controls.push_back(UpDown(row.upDown, {140, y, 11, 14}, kUpDownStyle));
    y += 18;
  }
  controls.push_back(DefPushButton(IDOK, "OK", {166, 20, 60, 14}));
  controls.push_back(PushButton(IDCANCEL, "Cancel", {166, 38, 60, 14}));
  controls.push_back(PushButton(kHmmDefault, "Default", {166, y - 36, 60, 14}));
  controls.push_back(PushButton(kHmmCurrentValue, "Current Value", {166, y - 18, 60, 14}));
  return MakeTemplate(id, caption, {234, y + 6}, std::move(controls));
}

DialogTemplate GainLossTemplate() {
  struct Row {
    const char* label;
    UINT edit;
  };
  const Row rows[] = {{"gain threshold", kGainLossGainThreshold},
                      {"loss threshold", kGainLossLossThreshold},
                      {"P(normal|gain or loss)", kGainLossNormalGivenAberration},
                      {"P(gain or loss| normal)", kGainLossAberrationGivenNormal},
                      {"P(gain|loss)", kGainLossGainGivenLoss},
                      {"Kosambi rate", kGainLossKosambi}};
  std::vector<ControlTemplate> controls;
  int y = 10;
  for (const Row& row : rows) {
    controls.push_back(Static(IDC_STATIC, row.label, {10, y + 3, 104, 8}));
    controls.push_back(Edit(row.edit, {118, y, 60, 14}, ES_AUTOHSCROLL));
    y += 18;
  }
  controls.push_back(DefPushButton(IDOK, "OK", {190, 10, 50, 14}));
  controls.push_back(PushButton(IDCANCEL, "Cancel", {190, 28, 50, 14}));
  return MakeTemplate(kGainLossDialog, "HMM parameter", {248, y + 4}, std::move(controls));
}

DialogTemplate AverageTemplate() {
  return MakeTemplate(
      kAverageDialog, "set averaging mode", {206, 124},
      {Static(kAverageNumberLabel, "Enter Averaging Number (1-50)", {10, 10, 124, 8}),
       Edit(kAverageNumber, {10, 21, 40, 14}, ES_AUTOHSCROLL),
       GroupBox("Averaging mode", {7, 42, 130, 40}),
       RadioButton(kAverageExcludeMaxMin, "&Exclude Max and Min", {14, 54, 116, 10}, WS_GROUP | WS_TABSTOP),
       RadioButton(kAverageIncludeAll, "&Include All Data", {14, 67, 116, 10}),
       GroupBox("Draw mode", {7, 88, 130, 28}),
       RadioButton(kAveragePoints, "&Points", {14, 100, 52, 10}, WS_GROUP | WS_TABSTOP),
       RadioButton(kAverageLines, "&Lines", {72, 100, 52, 10}),
       DefPushButton(IDOK, "OK", {149, 7, 50, 14}), PushButton(IDCANCEL, "Cancel", {149, 25, 50, 14})});
}

DialogTemplate AverageArrayTemplate() {
  return MakeTemplate(
      kAverageArrayDialog, "Average Arrays", {262, 184},
      {Static(IDC_STATIC, "&Array type", {7, 9, 88, 8}),
       ComboBox(kAverageArrayType, {98, 7, 96, 100}, CBS_DROPDOWNLIST | WS_VSCROLL),
       Static(IDC_STATIC, "&Samples", {7, 26, 88, 8}),
       ListBox(kAverageArraySamples, {7, 36, 187, 102}, LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL),
       Static(IDC_STATIC, "&Import header from", {7, 146, 88, 8}),
       ComboBox(kAverageArrayHeaderFrom, {98, 144, 96, 100}, CBS_DROPDOWNLIST | WS_VSCROLL),
       Static(IDC_STATIC, "&New array data name", {7, 165, 88, 8}),
       Edit(kAverageArrayNewName, {98, 163, 96, 14}, ES_AUTOHSCROLL),
       DefPushButton(IDOK, "OK", {205, 7, 50, 14}), PushButton(IDCANCEL, "Cancel", {205, 25, 50, 14})});
}

// The n radios of one "Baseline setting" row, level with the row's mode radio.
void AddCopyNumberRow(std::vector<ControlTemplate>& controls, const unsigned (&ids)[4], int firstN, int y) {
  for (int i = 0; i < 4; ++i) {
    const std::string label = "n=" + std::to_string(firstN + i);
    controls.push_back(RadioButton(ids[i], label, {140 + 32 * i, y, 28, 10}, i == 0 ? WS_GROUP | WS_TABSTOP : 0));
  }
}

DialogTemplate BaseSetTemplate() {
  std::vector<ControlTemplate> controls = {
      RadioButton(kBaseSetBoth, "Adjust by both alleles", {10, 12, 124, 10}, WS_GROUP | WS_TABSTOP),
      RadioButton(kBaseSetLarger, "Adjust by the larger allele", {10, 30, 124, 10}),
      RadioButton(kBaseSetSmaller, "Adjust by the smaller allele", {10, 48, 124, 10}),
  };
  AddCopyNumberRow(controls, kBaseSetBothN, 1, 12);
  AddCopyNumberRow(controls, kBaseSetLargerN, 0, 30);
  AddCopyNumberRow(controls, kBaseSetSmallerN, 0, 48);
  controls.push_back(DefPushButton(IDOK, "OK", {170, 68, 50, 14}));
  controls.push_back(PushButton(IDCANCEL, "Cancel", {226, 68, 50, 14}));
  return MakeTemplate(kBaseSetDialog, "Baseline setting", {284, 90}, std::move(controls));
}

DialogTemplate ContaminationTemplate() {
  return MakeTemplate(kContaminationDialog, "determine contamination rate", {196, 70},
                      {Static(IDC_STATIC, "Determine contamination rate with  loci of", {10, 10, 176, 8}),
                       RadioButton(kContaminationOneLocus, "N=1", {24, 26, 40, 10}, WS_GROUP | WS_TABSTOP),
                       RadioButton(kContaminationThreeLoci, "N=3", {72, 26, 40, 10}),
                       DefPushButton(IDOK, "OK", {82, 48, 50, 14}),
                       PushButton(IDCANCEL, "Cancel", {138, 48, 50, 14})});
}

DialogTemplate ContaminationSelfTemplate() {
  return MakeTemplate(kContaminationSelfDialog, "determine contamination rate", {196, 90},
                      {GroupBox("Allele", {7, 7, 100, 54}),
                       RadioButton(kContaminationSelfBoth, "both alleles", {14, 19, 86, 10}, WS_GROUP | WS_TABSTOP),
                       RadioButton(kContaminationSelfLarger, "larger allele", {14, 32, 86, 10}),
                       RadioButton(kContaminationSelfSmaller, "smaller allele", {14, 45, 86, 10}),
                       GroupBox("Loci", {114, 7, 75, 54}),
                       RadioButton(kContaminationSelfOneLocus, "N=1", {121, 19, 60, 10}, WS_GROUP | WS_TABSTOP),
                       RadioButton(kContaminationSelfThreeLoci, "N=3", {121, 32, 60, 10}),
                       DefPushButton(IDOK, "OK", {82, 68, 50, 14}),
                       PushButton(IDCANCEL, "Cancel", {138, 68, 50, 14})});
}

}  // namespace

void RegisterParameterDialogs() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kHmmParameterDialog) != nullptr) return;
  resources.AddDialog(MeansTemplate(kHmmParameterDialog, "HMM parameter", kHmmParameterRows));
  resources.AddDialog(MeansTemplate(kHmmSelfParameterDialog, "HMM parameters for Self Analysis", kHmmSelfParameterRows));
  resources.AddDialog(GainLossTemplate());
  resources.AddDialog(AverageTemplate());
  resources.AddDialog(AverageArrayTemplate());
  resources.AddDialog(BaseSetTemplate());
  resources.AddDialog(ContaminationTemplate());
  resources.AddDialog(ContaminationSelfTemplate());
}

}  // namespace qova::resources
