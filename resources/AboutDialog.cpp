#include "resources/AboutDialog.h"

#include "platform/MessageBox.h"
#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;

void RegisterAboutDialog() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kAboutDialog)) return;
  resources.AddDialog({kAboutDialog,
                       "About QOVA",
                       {235, 62},
                       DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                       "MS Shell Dlg",
                       8,
                       {Static(IDC_STATIC, "QOVA Version 3.0", {40, 10, 119, 8}),
                        Static(kAboutBuildDate, "", {40, 25, 119, 8}),
                        DefPushButton(IDOK, "OK", {178, 7, 50, 16})}});
}

}  // namespace qova::resources
