#include "resources/ExportDialogs.h"

#include <string>

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

}  // namespace

void RegisterExportDialogs() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kOutputSampleListDialog) == nullptr) resources.AddDialog(OutputSampleListTemplate());
}

}  // namespace qova::resources
