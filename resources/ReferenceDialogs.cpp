#include "resources/ReferenceDialogs.h"

#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;

namespace {

DialogTemplate RefSelectTemplate() {
  return {kRefSelectDialog,
          "Dialog",
          {256, 209},
          DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
          "MS Shell Dlg",
          8,
          {CheckListBox(kRefSelectCheckList, {6, 6, 186, 198},
                        LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP),
           DefPushButton(IDOK, "OK", {198, 168, 50, 20}),
           Hidden(PushButton(IDCANCEL, "Cancel", {198, 191, 50, 14}))}};
}

DialogTemplate SelectRefTemplate() {
  return {kSelectRefDialog,
          "Select reference file",
          {230, 92},
          DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
          "MS Shell Dlg",
          8,
          {CheckBox(kSelectRefShowReferencesOnly, "Show reference files only", {28, 22, 121, 10},
                    BS_AUTOCHECKBOX | WS_TABSTOP),
           ComboBox(kSelectRefSampleList, {50, 38, 115, 122}, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP),
           DefPushButton(IDOK, "OK", {173, 7, 50, 14}), PushButton(IDCANCEL, "Cancel", {173, 24, 50, 14})}};
}

}  // namespace

void RegisterReferenceDialogs() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kRefSelectDialog) == nullptr) resources.AddDialog(RefSelectTemplate());
  if (resources.Dialog(kSelectRefDialog) == nullptr) resources.AddDialog(SelectRefTemplate());
}

}  // namespace qova::resources
