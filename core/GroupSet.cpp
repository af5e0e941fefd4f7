#include "core/GroupSet.h"

#include <algorithm>

#include "platform/MessageBox.h"
#include "platform/ui/Controls.h"
#include "resources/GroupDialogs.h"

namespace res = qova::resources;

IMPLEMENT_DYNAMIC(CGroupSet, CDialog)

CGroupSet::CGroupSet(CWnd* parent) : CDialog(res::kGroupSetDialog, parent) { res::RegisterGroupDialogs(); }

BOOL CGroupSet::OnInitDialog() {
  CDialog::OnInitDialog();
  auto* names = static_cast<CListBox*>(GetDlgItem(res::kGroupSetExistingNames));
  for (const std::string& name : ExistingNames) names->InsertString(-1, name);
  return TRUE;
}

void CGroupSet::OnOK() {
  NewName = GetDlgItemText(res::kGroupSetNewName);
  if (NewName.empty()) {
    AfxMessageBox("Enter a new group name");
    return;
  }
  if (std::find(ExistingNames.begin(), ExistingNames.end(), NewName) != ExistingNames.end()) {
    AfxMessageBox("The name is already used");
    return;
  }
  EndDialog(IDOK);
}
