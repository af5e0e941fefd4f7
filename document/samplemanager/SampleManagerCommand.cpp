// Data > Sample Manager: the dialog chooses a sample and an action, the
// document loads the sample and carries the action out.
#include "document/samplemanager/DataManage.h"
#include "document/QOVADoc.h"
#include "document/UnreadableFiles.h"

void CQOVADoc::OnSampleManager() {
  // A file the list left out is told once, not again by the reference choice.
  qova::document::UnreadableFiles unreadable;
  CDataManage dialog;
  dialog.ArrayDataFolder = ArrayDataFolder;
  if (dialog.DoModal() != IDOK) return;
  // An empty or unknown keyword (Enter) does nothing.
  RunSampleAction(dialog.SampleName, dialog.Action);
}
