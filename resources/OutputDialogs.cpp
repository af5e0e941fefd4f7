#include "resources/OutputDialogs.h"

#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;

namespace {

constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// One row per file: its check box, its name and, for the two scores, the
// pair of radios that starts a group of its own.
DialogTemplate OutputIgbFilesTemplate() {
  return {kOutputIgbFilesDialog,
          "Output IGB files",
          {262, 104},
          kDialogStyle,
          "MS Shell Dlg",
          8,
          {CheckBox(kIgbCopyNumberCheck, "Copy number", {7, 10, 60, 10}, WS_GROUP | WS_TABSTOP),
           Edit(kIgbCopyNumberFile, {70, 8, 110, 14}, ES_AUTOHSCROLL),
           RadioButton(kIgbCopyNumberLinear, "linear", {188, 10, 32, 10}, WS_GROUP | WS_TABSTOP),
           RadioButton(kIgbCopyNumberLog2, "log2", {224, 10, 30, 10}),
           CheckBox(kIgbLohCheck, "LOH", {7, 28, 60, 10}, WS_GROUP | WS_TABSTOP),
           Edit(kIgbLohFile, {70, 26, 110, 14}, ES_AUTOHSCROLL),
           RadioButton(kIgbLohLinear, "linear", {188, 28, 32, 10}, WS_GROUP | WS_TABSTOP),
           RadioButton(kIgbLohLog2, "log2", {224, 28, 30, 10}),
           CheckBox(kIgbHmmCheck, "HMM", {7, 46, 60, 10}, WS_GROUP | WS_TABSTOP),
           Edit(kIgbHmmFile, {70, 44, 110, 14}, ES_AUTOHSCROLL),
           CheckBox(kIgbSkipExcluded, "Skip excludede SNPs", {7, 66, 100, 10}, WS_TABSTOP),
           DefPushButton(IDOK, "OK", {150, 83, 50, 14}),
           PushButton(IDCANCEL, "Cancel", {205, 83, 50, 14})}};
}

}  // namespace

void RegisterOutputDialogs() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kOutputIgbFilesDialog) == nullptr) resources.AddDialog(OutputIgbFilesTemplate());
}

}  // namespace qova::resources
