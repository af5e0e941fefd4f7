#include "resources/MaintenanceDialogs.h"

#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;

namespace {

DialogTemplate CopyListedFilesTemplate() {
  constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
  constexpr DWORD kPath = ES_AUTOHSCROLL | ES_READONLY | WS_TABSTOP;
  return {kCopyListedFilesDialog,
          "Copy listed files",
          {289, 211},
          DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
          "MS Shell Dlg",
          8,
          {Static(IDC_STATIC, "Sample list file", {14, 30, 60, 8}),
           Edit(kCopyListFile, {77, 27, 134, 14}, kPath),
           PushButton(kCopyListBrowse, "...", {211, 27, 11, 14}),
           Static(IDC_STATIC, "Destination folder", {14, 54, 62, 8}),
           Edit(kCopyDestination, {78, 51, 134, 14}, kPath),
           PushButton(kCopyDestinationBrowse, "...", {212, 52, 10, 14}),
           CheckBox(kCopyCfh, "CFH (Array Data) files", {45, 84, 100, 10}, kCheck),
           CheckBox(kCopySelfReferences, "self reference files", {57, 104, 90, 10}, kCheck),
           CheckBox(kCopyNonSelfReferences, "non-self reference files", {57, 124, 100, 10}, kCheck),
           CheckBox(kCopyCfs, "CFS (self analysis) files", {45, 144, 100, 10}, kCheck),
           CheckBox(kCopyCfn, "CFN (non-self analysis) files", {45, 164, 115, 10}, kCheck),
           CheckBox(kCopyCfa, "CFA (non-self allele specific analysis) files", {45, 184, 170, 10}, kCheck),
           DefPushButton(IDOK, "OK", {232, 7, 50, 14}),
           PushButton(IDCANCEL, "Cancel", {232, 24, 50, 14})}};
}

}  // namespace

void RegisterMaintenanceDialogs() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kCopyListedFilesDialog) == nullptr) resources.AddDialog(CopyListedFilesTemplate());
}

}  // namespace qova::resources
