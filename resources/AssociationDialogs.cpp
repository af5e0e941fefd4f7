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

}  // namespace

void RegisterAssociationDialogs() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kAssociationDialog) == nullptr) resources.AddDialog(AssociationTemplate());
  if (resources.Dialog(kSelectArrayTypeDialog) == nullptr) resources.AddDialog(SelectArrayTypeTemplate());
}

}  // namespace qova::resources
