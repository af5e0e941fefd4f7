#include "resources/StatisticsDialog.h"

#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;

namespace {

// The report runs to eighteen lines with the allele series.
DialogTemplate ShowStatTemplate() {
  constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  return {kShowStatDialog,
          "Statistics ",
          {292, 196},
          kDialogStyle,
          "MS Shell Dlg",
          8,
          {Static(kShowStatText, "", {7, 7, 200, 182}), DefPushButton(IDOK, "OK", {215, 7, 70, 14}),
           PushButton(kShowStatGoToWeb, "Go to &Web", {215, 31, 70, 14}),
           PushButton(kShowStatCopy, "&Copy to clipboard", {215, 49, 70, 14})}};
}

}  // namespace

void RegisterStatisticsDialog() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kShowStatDialog) == nullptr) resources.AddDialog(ShowStatTemplate());
}

}  // namespace qova::resources
