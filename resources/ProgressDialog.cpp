#include "resources/ProgressDialog.h"

#include "platform/MessageBox.h"
#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;

void RegisterProgressDialog() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kProgressDialog)) return;
  // No system menu, so no close box: Cancel is the only way out.
  resources.AddDialog({kProgressDialog,
                       "Progress",
                       {340, 140},
                       DS_MODALFRAME | WS_POPUP | WS_CAPTION,
                       "MS Shell Dlg",
                       8,
                       {Animation(kProgressAnimation, {150, 7, 40, 40}, ACS_CENTER | ACS_TRANSPARENT),
                        Progress(kProgressBar, {7, 60, 326, 14}, WS_BORDER),
                        Static(kProgressStatus, "", {7, 82, 326, 28}),
                        Hidden(DefPushButton(IDOK, "OK", {220, 119, 50, 14})),
                        PushButton(IDCANCEL, "Cancel", {283, 119, 50, 14})}});
}

}  // namespace qova::resources
