#include "views/association/DialogAssociation.h"

#include <array>

#include "document/QOVADoc.h"
#include "platform/MessageBox.h"
#include "platform/Strings.h"
#include "platform/ui/DataExchange.h"
#include "resources/AssociationDialogs.h"

namespace res = qova::resources;

namespace {

// The statistics in the order the analysis engine numbers them.
constexpr std::array<const char*, 9> kMethods = {
    "modeling",
    "chi2",
    "10*(RA-RB)*(RA-RB)/(RA+N+/N-)/(RB*N+/N-+1)",
    "10*(RA-1)*(1-RB)",
    "(SA+/SB+)-(SA-/SB-)",
    "10*SA+/(SA++SB+)-SA-/(SA-+SB-)",
    "chi2 by PA+=SA+/(SA++SB+)",
    "10*SA+/(SA++k*SB+)-SA-/(SA-+k*SB-)",
    "chi2 by PA+=SA+/(SA++k*SB+)",
};
constexpr int kChiSquare = 1;

// These statistics take no sample counts.
bool UsesCounts(int method) { return method != 3 && method != 4 && method != 5 && method != 7; }

// A count of samples below 0 is no count: refused as the exchange refuses a
// text that is not an integer, naming the field, and only while the edit just
// exchanged takes a count (a statistic without counts hands back what its
// disabled edits hold).
void DDV_SampleCount(CDataExchange* pDX, int count, const char* field) {
  if (!pDX->m_bSaveAndValidate || count >= 0) return;
  const CWnd* edit = pDX->m_pDlgWnd ? pDX->m_pDlgWnd->GetDlgItem(int(pDX->m_idLastControl)) : nullptr;
  if (!edit || !edit->IsWindowEnabled()) return;
  AfxMessageBox(platform::Format("Please enter a number of %s samples of 0 or more.", field), MB_ICONEXCLAMATION);
  pDX->Fail();
}

}  // namespace

IMPLEMENT_DYNAMIC(CDialogAssociation, CDialog)

BEGIN_MESSAGE_MAP(CDialogAssociation, CDialog)
  ON_CBN_SELCHANGE(res::kAssociationMethod, &CDialogAssociation::OnMethodChange)
END_MESSAGE_MAP()

CDialogAssociation::CDialogAssociation(CWnd* parent) : CDialog(res::kAssociationDialog, parent) {
  res::RegisterAssociationDialogs();
}

void CDialogAssociation::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, res::kAssociationPositive, m_nPositive);
  DDV_SampleCount(pDX, m_nPositive, "positive");
  DDX_Text(pDX, res::kAssociationNegative, m_nNegative);
  DDV_SampleCount(pDX, m_nNegative, "negative");
  DDX_Control(pDX, res::kAssociationMethod, m_cbMethod);
}

BOOL CDialogAssociation::OnInitDialog() {
  CDialog::OnInitDialog();
  for (const char* method : kMethods) m_cbMethod.AddString(method);
  m_cbMethod.SetCurSel(kChiSquare);
  EnableCounts(kChiSquare);
  return TRUE;
}

void CDialogAssociation::OnMethodChange() { EnableCounts(m_cbMethod.GetCurSel()); }

void CDialogAssociation::EnableCounts(int method) {
  const BOOL enable = UsesCounts(method) ? TRUE : FALSE;
  GetDlgItem(res::kAssociationPositive)->EnableWindow(enable);
  GetDlgItem(res::kAssociationNegative)->EnableWindow(enable);
}

void CDialogAssociation::OnOK() {
  m_nMethod = m_cbMethod.GetCurSel();
  CDialog::OnOK();
}

namespace qova::views::association {

namespace {

bool RunAssociationDialog(AssociationChoice& choice) {
  CDialogAssociation dialog;
  if (dialog.DoModal() != IDOK) return false;
  choice.PositiveCount = dialog.m_nPositive;
  choice.NegativeCount = dialog.m_nNegative;
  choice.Method = dialog.m_nMethod;
  return true;
}

}  // namespace

void InstallAssociationDialog() { CQOVADoc::SetAssociationDialog(&RunAssociationDialog); }

}  // namespace qova::views::association
