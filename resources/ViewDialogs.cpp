#include "resources/ViewDialogs.h"

#include <string>

#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;

namespace {

constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// Four columns of radio buttons in the group box, chromosome order down each column.
DialogTemplate ChromosomeSelectTemplate() {
  std::vector<ControlTemplate> controls = {GroupBox("Select a Chromosome", {7, 7, 170, 100})};
  constexpr int kRows = 6;
  for (int i = 0; i < 23; ++i) {
    const std::string label = i < 22 ? "Ch" + std::to_string(i + 1) : std::string("ChX");
    const int x = 16 + (i / kRows) * 40, y = 20 + (i % kRows) * 14;
    controls.push_back(RadioButton(kChromosomeRadios[i], label, {x, y, 34, 10}, i == 0 ? WS_GROUP | WS_TABSTOP : 0));
  }
  controls.push_back(DefPushButton(IDOK, "OK", {185, 7, 50, 14}));
  controls.push_back(PushButton(IDCANCEL, "Cancel", {185, 25, 50, 14}));
  return {kChromosomeSelectDialog, "Chromosome selection", {242, 114}, kDialogStyle, "MS Shell Dlg", 8,
          std::move(controls)};
}

// The up-downs keep no number of their own: the dialog steps the edits itself.
DialogTemplate ZoomSettingTemplate() {
  constexpr DWORD kUpDownStyle = UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS;
  return {kZoomSettingDialog,
          "Zoom Setting",
          {186, 62},
          kDialogStyle,
          "MS Shell Dlg",
          8,
          {Static(IDC_STATIC, "x", {10, 12, 10, 8}), Edit(kZoomX, {24, 9, 80, 14}, ES_AUTOHSCROLL),
           UpDown(kZoomXUpDown, {104, 9, 11, 14}, kUpDownStyle), Static(IDC_STATIC, "y", {10, 36, 10, 8}),
           Edit(kZoomY, {24, 33, 80, 14}, ES_AUTOHSCROLL),
           UpDown(kZoomYUpDown, {104, 33, 11, 14}, kUpDownStyle), DefPushButton(IDOK, "OK", {129, 7, 50, 14}),
           PushButton(IDCANCEL, "Cancel", {129, 25, 50, 14})}};
}

DialogTemplate MultiViewSelectTemplate() {
  constexpr DWORD kList = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
  return {kMultiViewSelectDialog,
          "Sample selection",
          {330, 196},
          kDialogStyle,
          "MS Shell Dlg",
          8,
          {Static(IDC_STATIC, "U&nselected samples", {7, 7, 120, 8}), ListBox(kMultiViewUnselected, {7, 18, 120, 150}, kList),
           PushButton(kMultiViewInclude, "=>(&Include)", {134, 50, 56, 14}),
           PushButton(kMultiViewRemove, "<=(&Remove)", {134, 70, 56, 14}),
           Static(IDC_STATIC, "&Selected samples", {197, 7, 120, 8}), ListBox(kMultiViewSelected, {197, 18, 120, 150}, kList),
           PushButton(kMultiViewUp, "&Up", {134, 100, 56, 14}), PushButton(kMultiViewDown, "&Down", {134, 120, 56, 14}),
           PushButton(kMultiViewSetGroup, "Set as a group", {7, 175, 70, 14}),
           DefPushButton(IDOK, "OK", {213, 175, 50, 14}), PushButton(IDCANCEL, "Cancel", {267, 175, 50, 14})}};
}

// No OK button: Delete and Update close the dialog.
DialogTemplate EditIntegrateTemplate() {
  return {kEditIntegrateDialog,
          "Edit integral view",
          {220, 180},
          kDialogStyle,
          "MS Shell Dlg",
          8,
          {ListBox(kEditIntegrateSamples, {7, 7, 140, 166},
                   LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP),
           PushButton(kEditIntegrateDelete, "Delete", {160, 7, 50, 14}),
           PushButton(kEditIntegrateUpdate, "Update", {160, 25, 50, 14}),
           PushButton(IDCANCEL, "Cancel", {160, 159, 50, 14})}};
}

}  // namespace

void RegisterViewDialogs() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kChromosomeSelectDialog) == nullptr) resources.AddDialog(ChromosomeSelectTemplate());
  if (resources.Dialog(kZoomSettingDialog) == nullptr) resources.AddDialog(ZoomSettingTemplate());
  if (resources.Dialog(kMultiViewSelectDialog) == nullptr) resources.AddDialog(MultiViewSelectTemplate());
  if (resources.Dialog(kEditIntegrateDialog) == nullptr) resources.AddDialog(EditIntegrateTemplate());
}

}  // namespace qova::resources
