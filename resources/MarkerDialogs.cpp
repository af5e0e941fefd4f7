#include "resources/MarkerDialogs.h"

#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;

namespace {

constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

DialogTemplate MarkSetTemplate() {
  return {kMarkSetDialog,
          "Mark set",
          {236, 104},
          kDialogStyle,
          "MS Shell Dlg",
          8,
          {Static(kMarkSetChromosome, "chromosome: 1", {10, 9, 100, 8}),
           RadioButton(kMarkSetHmmRadio, "HMM number", {10, 27, 62, 10}, WS_GROUP | WS_TABSTOP),
           ComboBox(kMarkSetHmmNumbers, {76, 25, 40, 100}, CBS_DROPDOWNLIST | WS_VSCROLL),
           RadioButton(kMarkSetUserRadio, "user marker", {10, 45, 62, 10}),
           ComboBox(kMarkSetUserNumbers, {76, 43, 40, 100}, CBS_DROPDOWNLIST | WS_VSCROLL),
           Static(IDC_STATIC, "Start SNP", {10, 66, 40, 8}), Edit(kMarkSetStartSnp, {52, 64, 64, 14}, ES_AUTOHSCROLL),
           Static(kMarkSetStartPosition, "position xxxxxxx", {122, 66, 106, 8}),
           Static(IDC_STATIC, "End   SNP", {10, 84, 40, 8}), Edit(kMarkSetEndSnp, {52, 82, 64, 14}, ES_AUTOHSCROLL),
           Static(kMarkSetEndPosition, "position xxxxxxx", {122, 84, 106, 8}),
           DefPushButton(IDOK, "OK", {178, 7, 50, 14}), PushButton(IDCANCEL, "Cancel", {178, 25, 50, 14})}};
}

DialogTemplate MarkerEditTemplate() {
  return {kMarkerEditDialog,
          "Edit Marker",
          {292, 150},
          kDialogStyle,
          "MS Shell Dlg",
          8,
          {ListBox(kMarkerEditList, {7, 7, 222, 136},
                   LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL),
           PushButton(kMarkerEditEdit, "Edit", {235, 7, 50, 14}),
           PushButton(kMarkerEditDelete, "Delete", {235, 25, 50, 14}),
           DefPushButton(IDOK, "OK", {235, 111, 50, 14}), PushButton(IDCANCEL, "Cancel", {235, 129, 50, 14})}};
}

}  // namespace

void RegisterMarkerDialogs() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kMarkSetDialog) == nullptr) resources.AddDialog(MarkSetTemplate());
  if (resources.Dialog(kMarkerEditDialog) == nullptr) resources.AddDialog(MarkerEditTemplate());
}

}  // namespace qova::resources
