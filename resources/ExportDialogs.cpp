#include "resources/ExportDialogs.h"

#include <iterator>
#include <string>
#include <utility>

#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;

namespace {

DialogTemplate OutputSampleListTemplate() {
  constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
  std::vector<ControlTemplate> controls = {
      CheckBox(kListSampleName, "Sample name", {36, 14, 61, 10}, kCheck | WS_DISABLED),
      CheckBox(kListArrayType, "Array type", {36, 31, 51, 10}, kCheck),
      CheckBox(kListCreateTime, "Create time", {36, 48, 51, 10}, kCheck),
      CheckBox(kListSelf, "self(Y/N)", {36, 65, 51, 10}, kCheck),
      CheckBox(kListSelfReferenceName, "self reference name", {36, 82, 95, 10}, kCheck),
      CheckBox(kListNonSelf, "non self(Y/N)", {36, 100, 66, 10}, kCheck),
  };
  for (unsigned k = 0; k < 5; ++k) {
    controls.push_back(CheckBox(kListAttribute1 + k, "Attribute" + std::to_string(k + 1),
                                {36, 117 + 17 * static_cast<int>(k), 49, 10}, kCheck));
  }
  const std::vector<ControlTemplate> right = {
      CheckBox(kListSex, "Sex", {154, 18, 28, 10}, kCheck),
      CheckBox(kListSelfDiploid, "self diploid", {154, 37, 49, 10}, kCheck),
      CheckBox(kListNonSelfDiploid, "non-self diploid", {154, 55, 64, 10}, kCheck),
      GroupBox("necessary to read all data ", {137, 73, 111, 82}),
      CheckBox(kListSelfPloidy, "self ploidy", {154, 83, 48, 10}, kCheck),
      CheckBox(kListSelfSd, "self SD", {154, 101, 38, 10}, kCheck),
      CheckBox(kListNonSelfPloidy, "non-self ploidy", {154, 119, 63, 10}, kCheck),
      CheckBox(kListNonSelfSd, "non-self SD", {154, 137, 53, 10}, kCheck),
      CheckBox(kListArrayData, "Array Data(Y/N)", {153, 163, 68, 10}, kCheck),
      DefPushButton(IDOK, "OK", {266, 7, 50, 14}),
      PushButton(IDCANCEL, "Cancel", {266, 24, 50, 14}),
  };
  controls.insert(controls.end(), right.begin(), right.end());
  return {kOutputSampleListDialog,
          "Output Sample List",
          {323, 212},
          DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
          "MS Shell Dlg",
          8,
          std::move(controls)};
}

DialogTemplate OutputDataTemplate() {
  // From the top: the order of the buttons, not of their kinds.
  const std::pair<unsigned, const char*> buttons[] = {
      {kOutputSampleListButton, "&Sample List"},
      {kOutputRawDataButton, "Raw &Data"},
      {kOutputRegionStatisticsButton, "S&tatistics of region"},
      {kOutputCopyNumberButton, "Copy &Number change"},
      {kOutputMarkerButton, "&Marker"},
      {kOutputLohButton, "&LOH"},
      {kOutputABCalcButton, "&A-B calc"},
      {kOutputNonSelfReferencesButton, "List Non-self &references"},
  };
  const int tops[] = {18, 41, 66, 89, 112, 137, 161, 188};
  std::vector<ControlTemplate> controls;
  for (std::size_t k = 0; k < std::size(buttons); ++k) {
    controls.push_back(PushButton(buttons[k].first, buttons[k].second, {25, tops[k], 87, 14}, WS_TABSTOP));
  }
  controls.push_back(PushButton(IDCANCEL, "Cancel", {280, 205, 50, 14}, WS_TABSTOP));
  return {kOutputDataDialog,
          "Output Data",
          {337, 226},
          DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
          "MS Shell Dlg",
          8,
          std::move(controls)};
}

DialogTemplate OutputRawDataTemplate() {
  constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
  std::vector<ControlTemplate> controls = {
      GroupBox("Select output items", {19, 10, 204, 145}),
      CheckBox(kRawId, "ID", {29, 21, 23, 10}, kCheck),
      CheckBox(kRawVendorSnpId, "VendorSNPsID", {29, 37, 73, 10}, kCheck),
      CheckBox(kRawRsId, "rsID", {29, 53, 29, 10}, kCheck),
      CheckBox(kRawChromosome, "Chromosome", {29, 69, 57, 10}, kCheck),
      CheckBox(kRawPosition, "Position", {29, 85, 41, 10}, kCheck),
      CheckBox(kRawLogRatio, "log2ratio_AB", {29, 101, 57, 10}, kCheck),
      CheckBox(kRawLogRatioA, "log2ratio_A", {29, 117, 53, 10}, kCheck),
      CheckBox(kRawLogRatioB, "log2ratio_B", {29, 133, 52, 10}, kCheck),
      CheckBox(kRawState, "N_AB", {122, 21, 33, 10}, kCheck),
      CheckBox(kRawStateA, "N_A", {121, 40, 29, 10}, kCheck),
      CheckBox(kRawStateB, "N_B", {121, 57, 29, 10}, kCheck),
      CheckBox(kRawCallTest, "Call_test", {121, 74, 44, 10}, kCheck),
      CheckBox(kRawCallReference, "Call_reference", {121, 91, 63, 10}, kCheck),
      CheckBox(kRawLohLikelihood, "LOH_likelihood", {121, 108, 62, 10}, kCheck),
      CheckBox(kRawCombined, "combined to one file for each array type ", {21, 166, 147, 10}, kCheck),
      DefPushButton(IDOK, "OK", {227, 7, 50, 14}),
      PushButton(IDCANCEL, "Cancel", {227, 24, 50, 14}),
  };
  return {kOutputRawDataDialog,
          "Output raw data",
          {284, 214},
          DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
          "MS Shell Dlg",
          8,
          std::move(controls)};
}

DialogTemplate CNChangeTemplate() {
  return {kCNChangeDialog,
          "Dialog",
          {186, 90},
          DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
          "MS Shell Dlg",
          8,
          {DefPushButton(IDOK, "OK", {129, 7, 50, 14}), PushButton(IDCANCEL, "Cancel", {129, 24, 50, 14}),
           CheckBox(kCNChangeKnownGenes, "Known genes", {23, 20, 59, 10}, BS_AUTOCHECKBOX | WS_TABSTOP)}};
}

DialogTemplate StatRegionTemplate() {
  return {kStatRegionDialog,
          "Statistics of region",
          {274, 126},
          DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
          "MS Shell Dlg",
          8,
          {Static(IDC_STATIC, "chromosome", {18, 18, 41, 8}),
           ComboBox(kStatRegionChromosome, {74, 16, 40, 57}, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP),
           Static(kStatRegionLength, "", {116, 18, 96, 8}), Static(IDC_STATIC, "position", {19, 49, 26, 8}),
           Edit(kStatRegionFrom, {64, 47, 51, 14}, ES_AUTOHSCROLL | WS_TABSTOP), Static(IDC_STATIC, "-", {122, 50, 11, 8}),
           Edit(kStatRegionTo, {140, 47, 62, 14}, ES_AUTOHSCROLL | WS_TABSTOP),
           CheckBox(kStatRegionFirst, "first", {65, 70, 29, 10}, BS_AUTOCHECKBOX | WS_TABSTOP),
           CheckBox(kStatRegionLast, "last", {141, 70, 27, 10}, BS_AUTOCHECKBOX | WS_TABSTOP),
           DefPushButton(IDOK, "OK", {217, 7, 50, 14}), PushButton(IDCANCEL, "Cancel", {217, 24, 50, 14})}};
}

}  // namespace

void RegisterExportDialogs() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kOutputSampleListDialog) == nullptr) resources.AddDialog(OutputSampleListTemplate());
  if (resources.Dialog(kOutputDataDialog) == nullptr) resources.AddDialog(OutputDataTemplate());
  if (resources.Dialog(kOutputRawDataDialog) == nullptr) resources.AddDialog(OutputRawDataTemplate());
  if (resources.Dialog(kCNChangeDialog) == nullptr) resources.AddDialog(CNChangeTemplate());
  if (resources.Dialog(kStatRegionDialog) == nullptr) resources.AddDialog(StatRegionTemplate());
}

}  // namespace qova::resources
