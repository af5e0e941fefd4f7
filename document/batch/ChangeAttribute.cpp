#include "document/batch/ChangeAttribute.h"

#include "platform/MessageBox.h"
#include "platform/ui/DataExchange.h"
#include "resources/BatchDialogs.h"

namespace ids = qova::resources::change;

IMPLEMENT_DYNAMIC(CChangeAttribute, CDialog)

BEGIN_MESSAGE_MAP(CChangeAttribute, CDialog)
  ON_BN_CLICKED(ids::kModeAttribute, &CChangeAttribute::OnModeChanged)
  ON_BN_CLICKED(ids::kModeTest, &CChangeAttribute::OnModeChanged)
  ON_BN_CLICKED(ids::kModeReference, &CChangeAttribute::OnModeChanged)
END_MESSAGE_MAP()

CChangeAttribute::CChangeAttribute(CWnd* parent) : CDialog(qova::resources::kChangeAttributeDialog, parent) {
  qova::resources::RegisterBatchDialogs();
}

void CChangeAttribute::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, static_cast<int>(ids::kAttribute), m_attribute);
  DDX_Text(pDX, static_cast<int>(ids::kNewValue), NewValue);
}

BOOL CChangeAttribute::OnInitDialog() {
  CDialog::OnInitDialog();
  CheckDlgButton(static_cast<int>(ids::kModeAttribute), BST_CHECKED);
  Mode = kChangeAttribute;
  for (const char* name : {"Attribute1", "Attribute2", "Attribute3", "Attribute4", "Attribute5"}) {
    m_attribute.AddString(name);
  }
  return TRUE;
}

void CChangeAttribute::OnModeChanged() {
  if (IsDlgButtonChecked(static_cast<int>(ids::kModeAttribute)) == BST_CHECKED) Mode = kChangeAttribute;
  else if (IsDlgButtonChecked(static_cast<int>(ids::kModeTest)) == BST_CHECKED) Mode = kSetTest;
  else if (IsDlgButtonChecked(static_cast<int>(ids::kModeReference)) == BST_CHECKED) Mode = kSetReference;
  const BOOL editable = Mode == kChangeAttribute ? TRUE : FALSE;
  for (unsigned id : {ids::kAttribute, ids::kNewValue}) {
    if (CWnd* control = GetDlgItem(static_cast<int>(id))) control->EnableWindow(editable);
  }
}

void CChangeAttribute::OnOK() {
  if (Mode == kChangeAttribute) {
    const int selected = m_attribute.GetCurSel();
    if (selected == CB_ERR) {
      AfxMessageBox("Select Attribute");
      return;
    }
    AttributeIndex = selected;
  }
  CDialog::OnOK();
}
