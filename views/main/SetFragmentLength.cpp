#include "views/main/SetFragmentLength.h"

#include "platform/MessageBox.h"
#include "platform/ui/DataExchange.h"
#include "resources/ShownSampleDialogs.h"

namespace res = qova::resources;

namespace {

constexpr int kLongestLength = 10000;

}  // namespace

IMPLEMENT_DYNAMIC(CSetFragmentLength, CDialog)

BEGIN_MESSAGE_MAP(CSetFragmentLength, CDialog)
  ON_BN_CLICKED(res::kFragmentIncludeAll, &CSetFragmentLength::OnIncludeAll)
END_MESSAGE_MAP()

CSetFragmentLength::CSetFragmentLength(CWnd* parent) : CDialog(res::kFragmentLengthDialog, parent) {
  res::RegisterShownSampleDialogs();
}

void CSetFragmentLength::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, res::kFragmentLower, m_nLowerLength);
  DDV_MinMaxInt(pDX, m_nLowerLength, 0, kLongestLength);
  DDX_Text(pDX, res::kFragmentUpper, m_nUpperLength);
  DDV_MinMaxInt(pDX, m_nUpperLength, 0, kLongestLength);
}

BOOL CSetFragmentLength::OnInitDialog() {
  CDialog::OnInitDialog();
  CheckDlgButton(res::kFragmentIncludeAll, m_bIncludeAll ? BST_CHECKED : BST_UNCHECKED);
  OnIncludeAll();
  return TRUE;
}

void CSetFragmentLength::OnIncludeAll() {
  m_bIncludeAll = IsDlgButtonChecked(res::kFragmentIncludeAll) == BST_CHECKED ? TRUE : FALSE;
  for (const unsigned id : {res::kFragmentLower, res::kFragmentUpper}) {
    if (CWnd* edit = GetDlgItem(int(id))) edit->EnableWindow(!m_bIncludeAll);
  }
}

void CSetFragmentLength::OnOK() {
  m_bIncludeAll = IsDlgButtonChecked(res::kFragmentIncludeAll) == BST_CHECKED ? TRUE : FALSE;
  if (!UpdateData(TRUE)) return;
  if (!m_bIncludeAll && m_nLowerLength >= m_nUpperLength) {
    AfxMessageBox("upper limit must be greater than lower limit", MB_OK);
    return;
  }
  CDialog::OnOK();
}
