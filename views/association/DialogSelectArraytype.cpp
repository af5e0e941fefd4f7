#include "views/association/DialogSelectArraytype.h"

#include "platform/MessageBox.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "resources/AssociationDialogs.h"

namespace res = qova::resources;

namespace {

// The single arrays whose CHP files carry genotype calls.
constexpr const char* kArrayTypes[] = {"Mapping10K_Xba131", "Mapping10K_Xba142", "Mapping50K_Hind240",
                                       "Mapping50K_Xba240", "Mendel_Sty",        "Mendel_Nsp",
                                       "Mapping250K_Sty",   "Mapping250K_Nsp"};

}  // namespace

IMPLEMENT_DYNAMIC(CDialogSelectArraytype, CDialog)

CDialogSelectArraytype::CDialogSelectArraytype(CWnd* parent) : CDialog(res::kSelectArrayTypeDialog, parent) {
  res::RegisterAssociationDialogs();
}

void CDialogSelectArraytype::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Check(pDX, res::kSelectArrayTypeSkipCheck, m_bSkipTypeCheck);
}

BOOL CDialogSelectArraytype::OnInitDialog() {
  CDialog::OnInitDialog();
  // No type is chosen for the user: OK insists on one.
  auto* types = static_cast<CComboBox*>(GetDlgItem(res::kSelectArrayTypeList));
  for (const char* type : kArrayTypes) types->AddString(type);
  return TRUE;
}

void CDialogSelectArraytype::OnOK() {
  const auto* types = static_cast<CComboBox*>(GetDlgItem(res::kSelectArrayTypeList));
  const int selected = types->GetCurSel();
  if (selected < 0) {
    AfxMessageBox("select array type");
    return;
  }
  m_strArrayType = types->GetLBText(selected);
  CDialog::OnOK();
}
