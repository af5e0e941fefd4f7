#include "resources/GroupDialogs.h"

#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;

namespace {

constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

DialogTemplate GroupManageTemplate() {
  return {kGroupManageDialog,
          "modify or make a group",
          {232, 84},
          kDialogStyle,
          "MS Shell Dlg",
          8,
          {RadioButton(kGroupManageMakeNew, "Make a new group", {10, 10, 120, 10}, WS_GROUP | WS_TABSTOP),
           Edit(kGroupManageNewName, {22, 23, 140, 14}, ES_AUTOHSCROLL),
           RadioButton(kGroupManageModify, "Modify the existing group", {10, 45, 120, 10}),
           ComboBox(kGroupManageExisting, {22, 58, 140, 100}, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL),
           DefPushButton(IDOK, "OK", {175, 10, 50, 14}), PushButton(IDCANCEL, "Cancel", {175, 28, 50, 14})}};
}

DialogTemplate GroupSetTemplate() {
  return {kGroupSetDialog,
          "Dialog",
          {206, 136},
          kDialogStyle,
          "MS Shell Dlg",
          8,
          {Static(IDC_STATIC, "New group name", {7, 7, 130, 8}), Edit(kGroupSetNewName, {7, 17, 135, 14}, ES_AUTOHSCROLL),
           Static(IDC_STATIC, "Groups already made", {7, 38, 130, 8}),
           ListBox(kGroupSetExistingNames, {7, 48, 135, 81}, LBS_NOSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL),
           DefPushButton(IDOK, "OK", {149, 7, 50, 14}), PushButton(IDCANCEL, "Cancel", {149, 25, 50, 14})}};
}

}  // namespace

void RegisterGroupDialogs() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kGroupManageDialog) == nullptr) resources.AddDialog(GroupManageTemplate());
  if (resources.Dialog(kGroupSetDialog) == nullptr) resources.AddDialog(GroupSetTemplate());
}

}  // namespace qova::resources
