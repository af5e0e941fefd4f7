#include "views/ChSelectDlg.h"

#include "resources/ViewDialogs.h"

namespace res = qova::resources;

IMPLEMENT_DYNAMIC(CChSelectDlg, CDialog)

namespace {

bool g_firstOpening = true;

}  // namespace

CChSelectDlg::CChSelectDlg(CWnd* parent) : CDialog(res::kChromosomeSelectDialog, parent) {
  res::RegisterViewDialogs();
}

void CChSelectDlg::ForgetOpenings() { g_firstOpening = true; }

BOOL CChSelectDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (g_firstOpening) {
    CheckDlgButton(res::kChromosomeRadios[0], BST_CHECKED);
    g_firstOpening = false;
  }
  return TRUE;
}

void CChSelectDlg::OnOK() {
  for (int c = 1; c <= 23; ++c)
    if (IsDlgButtonChecked(res::kChromosomeRadios[c - 1]) == BST_CHECKED) Chromosome = c;
  EndDialog(IDOK);
}
