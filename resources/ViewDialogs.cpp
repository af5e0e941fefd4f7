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

}  // namespace

void RegisterViewDialogs() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kChromosomeSelectDialog) == nullptr) resources.AddDialog(ChromosomeSelectTemplate());
  if (resources.Dialog(kZoomSettingDialog) == nullptr) resources.AddDialog(ZoomSettingTemplate());
}

}  // namespace qova::resources
