// Data > Sample Manager: the dialog chooses a sample and an action, the
// document loads the sample and carries the action out.
#include "document/DataManage.h"
#include "document/QOVADoc.h"

void CQOVADoc::OnSampleManager() {
  CDataManage dialog;
  dialog.ArrayDataFolder = ArrayDataFolder;
  if (dialog.DoModal() != IDOK) return;
  // An empty or unknown keyword (Enter, "Association Analysis") does nothing.
  RunSampleAction(dialog.SampleName, dialog.Action);
}
