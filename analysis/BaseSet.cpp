#include "analysis/BaseSet.h"

#include "analysis/RadioChoice.h"
#include "platform/MessageBox.h"
#include "resources/ParameterDialogs.h"

namespace res = qova::resources;
using qova::analysis::CheckedRadio;

IMPLEMENT_DYNAMIC(CBaseSet, CDialog)

CBaseSet::CBaseSet(CWnd* parent) : CDialog(res::kBaseSetDialog, parent) { res::RegisterParameterDialogs(); }

BOOL CBaseSet::OnInitDialog() {
  CDialog::OnInitDialog();
  CheckDlgButton(res::kBaseSetBoth, BST_CHECKED);
  CheckDlgButton(res::kBaseSetBothN[1], BST_CHECKED);     // n=2
  CheckDlgButton(res::kBaseSetLargerN[2], BST_CHECKED);   // n=2
  CheckDlgButton(res::kBaseSetSmallerN[0], BST_CHECKED);  // n=0
  const BOOL alleles = (Flags & kAlleleDataFlag) != 0 ? TRUE : FALSE;
  GetDlgItem(res::kBaseSetLarger)->EnableWindow(alleles);
  GetDlgItem(res::kBaseSetSmaller)->EnableWindow(alleles);
  for (const unsigned id : res::kBaseSetLargerN) GetDlgItem(id)->EnableWindow(alleles);
  for (const unsigned id : res::kBaseSetSmallerN) GetDlgItem(id)->EnableWindow(alleles);
  return TRUE;
}

void CBaseSet::OnOK() {
  const int mode = CheckedRadio(*this, {res::kBaseSetBoth, res::kBaseSetLarger, res::kBaseSetSmaller}) + 1;
  const int both = CheckedRadio(*this, res::kBaseSetBothN) + 1;
  const int larger = CheckedRadio(*this, res::kBaseSetLargerN);
  const int smaller = CheckedRadio(*this, res::kBaseSetSmallerN);
  if (mode < 1 || mode > 3) {
    AfxMessageBox("Select base mode ");
    return;
  }
  if (mode != 1 && (Flags & kAlleleDataFlag) == 0) {
    AfxMessageBox("Select both allelic mode for non-self analysis");
    return;
  }
  const bool chosen = mode == 1 ? both >= 1 : (mode == 2 ? larger : smaller) >= 0;
  if (!chosen) {
    AfxMessageBox("Select one ");
    return;
  }
  BaseMode = mode;
  BothN = both;
  LargerN = larger;
  SmallerN = smaller;
  EndDialog(IDOK);
}
