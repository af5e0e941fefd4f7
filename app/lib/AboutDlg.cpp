#include "app/lib/AboutDlg.h"

#include "app/lib/VersionCheck.h"
#include "resources/AboutDialog.h"

IMPLEMENT_DYNAMIC(CAboutDlg, CDialog)

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(qova::resources::kAboutDialog) { qova::resources::RegisterAboutDialog(); }

BOOL CAboutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(qova::resources::kAboutBuildDate, qova::app::kBuildDate);
  return TRUE;
}
