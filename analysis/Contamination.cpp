#include "analysis/Contamination.h"

#include "analysis/RadioChoice.h"
#include "platform/MessageBox.h"
#include "resources/ParameterDialogs.h"

namespace res = qova::resources;
using qova::analysis::CheckedRadio;

namespace {

// The loci of the checked "N=1" / "N=3" radio, or 0.
int ChosenLoci(const CWnd& dialog, unsigned oneLocus, unsigned threeLoci) {
  constexpr int kLoci[] = {1, 3};
  const int checked = CheckedRadio(dialog, {oneLocus, threeLoci});
  return checked < 0 ? 0 : kLoci[checked];
}

}  // namespace

IMPLEMENT_DYNAMIC(CContamination, CDialog)

CContamination::CContamination(CWnd* parent) : CDialog(res::kContaminationDialog, parent) {
  res::RegisterParameterDialogs();
}

void CContamination::OnOK() {
  const int loci = ChosenLoci(*this, res::kContaminationOneLocus, res::kContaminationThreeLoci);
  if (loci == 0) {
    AfxMessageBox("Select one ");
    return;
  }
  Loci = loci;
  EndDialog(IDOK);
}

IMPLEMENT_DYNAMIC(CContaminationSelfMode, CDialog)

CContaminationSelfMode::CContaminationSelfMode(CWnd* parent) : CDialog(res::kContaminationSelfDialog, parent) {
  res::RegisterParameterDialogs();
}

BOOL CContaminationSelfMode::OnInitDialog() {
  CDialog::OnInitDialog();
  CheckDlgButton(res::kContaminationSelfBoth, BST_CHECKED);
  CheckDlgButton(res::kContaminationSelfOneLocus, BST_CHECKED);
  return TRUE;
}

void CContaminationSelfMode::OnOK() {
  const int loci = ChosenLoci(*this, res::kContaminationSelfOneLocus, res::kContaminationSelfThreeLoci);
  if (loci == 0) {
    AfxMessageBox("Select one ");
    return;
  }
  const int allele = CheckedRadio(
      *this, {res::kContaminationSelfBoth, res::kContaminationSelfLarger, res::kContaminationSelfSmaller});
  if (allele >= 0) Allele = allele + 1;
  Loci = loci;
  EndDialog(IDOK);
}
