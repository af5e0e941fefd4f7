#include "resources/ShownSampleDialogs.h"

#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;

namespace {

constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// The report runs to sixteen lines for a sample with three references.
DialogTemplate SampleInformationTemplate() {
  return {kSampleInformationDialog,
          "Sample information",
          {280, 196},
          kDialogStyle,
          "MS Shell Dlg",
          8,
          {Static(kSampleInformationText, "", {7, 7, 200, 182}), DefPushButton(IDOK, "OK", {215, 7, 58, 14}),
           PushButton(kSampleInformationCopy, "&Copy", {215, 25, 58, 14})}};
}

DialogTemplate FragmentLengthTemplate() {
  return {kFragmentLengthDialog,
          "Set PCR fragment length",
          {186, 76},
          kDialogStyle,
          "MS Shell Dlg",
          8,
          {Static(IDC_STATIC, "PCR  fragment length", {7, 9, 80, 8}),
           Edit(kFragmentLower, {7, 22, 40, 14}, ES_AUTOHSCROLL | WS_TABSTOP),
           Static(IDC_STATIC, "-", {52, 25, 8, 8}),
           Edit(kFragmentUpper, {62, 22, 40, 14}, ES_AUTOHSCROLL | WS_TABSTOP),
           CheckBox(kFragmentIncludeAll, "include all SNPs", {7, 44, 90, 10}, WS_TABSTOP),
           DefPushButton(IDOK, "OK", {129, 7, 50, 14}), PushButton(IDCANCEL, "Cancel", {129, 25, 50, 14})}};
}

}  // namespace

void RegisterShownSampleDialogs() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kSampleInformationDialog) == nullptr) resources.AddDialog(SampleInformationTemplate());
  if (resources.Dialog(kFragmentLengthDialog) == nullptr) resources.AddDialog(FragmentLengthTemplate());
}

}  // namespace qova::resources
