#include "document/exports/DialogCNChange.h"

#include "platform/ui/DataExchange.h"
#include "resources/ExportDialogs.h"

namespace res = qova::resources;

IMPLEMENT_DYNAMIC(CDialogCNChange, CDialog)

CDialogCNChange::CDialogCNChange(CWnd* parent) : CDialog(res::kCNChangeDialog, parent) { res::RegisterExportDialogs(); }

void CDialogCNChange::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Check(pDX, static_cast<int>(res::kCNChangeKnownGenes), m_bKnownGenes);
}
