#include "resources/AssociationDialogs.h"

#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;

namespace {

DialogTemplate AssociationTemplate() {
  constexpr DWORD kNumber = ES_AUTOHSCROLL | WS_TABSTOP;
  // The cancel button's caption is the program's own, Japanese as it always was.
  return {kAssociationDialog,
          "Association",
          {262, 96},
          DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
          "MS Shell Dlg",
          8,
          {Static(IDC_STATIC, "nuumber of samples", {7, 7, 90, 8}),
           Static(IDC_STATIC, "positive", {14, 22, 40, 8}), Edit(kAssociationPositive, {58, 19, 50, 14}, kNumber),
           Static(IDC_STATIC, "negative", {14, 40, 40, 8}), Edit(kAssociationNegative, {58, 37, 50, 14}, kNumber),
           Static(IDC_STATIC, "method", {7, 62, 40, 8}),
           ComboBox(kAssociationMethod, {50, 59, 204, 120}, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP),
           DefPushButton(IDOK, "OK", {148, 7, 50, 14}), PushButton(IDCANCEL, "キャンセル", {204, 7, 50, 14})}};
}

DialogTemplate SelectArrayTypeTemplate() {
  return {kSelectArrayTypeDialog,
          "Select Array type",
          {186, 74},
          DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
          "MS Shell Dlg",
          8,
          {Static(IDC_STATIC, "Array type", {7, 9, 40, 8}),
           ComboBox(kSelectArrayTypeList, {7, 20, 110, 120}, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP),
           CheckBox(kSelectArrayTypeSkipCheck, "Skip Array Type Check", {7, 44, 110, 10},
                    BS_AUTOCHECKBOX | WS_TABSTOP),
           DefPushButton(IDOK, "OK", {129, 7, 50, 14}), PushButton(IDCANCEL, "Cancel", {129, 25, 50, 14})}};
}

DialogTemplate SelectChpsTemplate() {
  constexpr DWORD kChosenList = LBS_SORT | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
  // The import button is part of the layout but has no action: it stays disabled.
  return {kSelectChpsDialog,
          "Select CHP files",
          {400, 300},
          DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
          "MS Shell Dlg",
          8,
          {GroupBox("Select by Conditions", {7, 7, 180, 66}),
           CheckBox(kSelectChpsUseFrom, "From", {14, 20, 30, 10}, BS_AUTOCHECKBOX | WS_TABSTOP),
           Edit(kSelectChpsFromDate, {48, 18, 80, 12}, ES_READONLY),
           PushButton(kSelectChpsSetFrom, "set", {134, 18, 40, 12}),
           CheckBox(kSelectChpsUseTo, "To", {14, 36, 30, 10}, BS_AUTOCHECKBOX | WS_TABSTOP),
           Edit(kSelectChpsToDate, {48, 34, 80, 12}, ES_READONLY),
           PushButton(kSelectChpsSetTo, "set", {134, 34, 40, 12}),
           PushButton(kSelectChpsRefresh, "Refresh", {134, 52, 40, 14}),
           ListBox(kSelectChpsFound, {7, 80, 180, 190},
                   LBS_SORT | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP),
           PushButton(kSelectChpsImportList, "Import sample list", {7, 276, 80, 14}, WS_DISABLED | WS_TABSTOP),
           Static(IDC_STATIC, "Case", {200, 7, 60, 8}),
           ListBox(kSelectChpsCases, {200, 17, 190, 98}, kChosenList),
           PushButton(kSelectChpsAddCase, "Add", {200, 118, 50, 14}),
           PushButton(kSelectChpsDeleteCase, "Delete", {260, 118, 50, 14}),
           Static(IDC_STATIC, "Control", {200, 140, 60, 8}),
           ListBox(kSelectChpsControls, {200, 150, 190, 98}, kChosenList),
           PushButton(kSelectChpsAddControl, "Add", {200, 251, 50, 14}),
           PushButton(kSelectChpsDeleteControl, "Delete", {260, 251, 50, 14}),
           DefPushButton(IDOK, "OK", {280, 276, 50, 14}), PushButton(IDCANCEL, "Cancel", {340, 276, 50, 14})}};
}

}  // namespace

void RegisterAssociationDialogs() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kAssociationDialog) == nullptr) resources.AddDialog(AssociationTemplate());
  if (resources.Dialog(kSelectArrayTypeDialog) == nullptr) resources.AddDialog(SelectArrayTypeTemplate());
  if (resources.Dialog(kSelectChpsDialog) == nullptr) resources.AddDialog(SelectChpsTemplate());
}

}  // namespace qova::resources
