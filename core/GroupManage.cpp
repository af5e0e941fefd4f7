#include "core/GroupManage.h"

#include "core/GroupsFile.h"
#include "platform/MessageBox.h"
#include "platform/ui/Controls.h"
#include "resources/GroupDialogs.h"

namespace res = qova::resources;
namespace core = qova::core;

IMPLEMENT_DYNAMIC(CGroupManage, CDialog)

CGroupManage::CGroupManage(std::string resultFolder, CWnd* parent)
    : CDialog(res::kGroupManageDialog, parent), resultFolder_(std::move(resultFolder)) {
  res::RegisterGroupDialogs();
}

INT_PTR CGroupManage::DoModal() {
  if (const core::GroupsFileStatus loaded = core::LoadGroupsFile(resultFolder_, Groups); !loaded) {
    AfxMessageBox(loaded.Message, MB_ICONEXCLAMATION);
    return IDCANCEL;
  }
  return CDialog::DoModal();
}

BOOL CGroupManage::OnInitDialog() {
  CDialog::OnInitDialog();
  CheckDlgButton(res::kGroupManageMakeNew, BST_CHECKED);
  // Inserted at the end, so the sorted-style list shows the file's order.
  auto* existing = static_cast<CComboBox*>(GetDlgItem(res::kGroupManageExisting));
  for (const SampleGroup& group : Groups.Groups)
    if (group.Kind == Kind) existing->InsertString(-1, group.Name);
  return TRUE;
}

std::string CGroupManage::Refusal(bool makeNew, const std::string& newName, int selected) const {
  if (!makeNew && selected < 0) return "Select or make a new group";
  if (makeNew && newName.empty()) return "Enter the name of a new group";
  if (MemberNames.empty()) return "Select at least one member";
  if (makeNew && Groups.Find(newName) != nullptr)
    return "The name is already used. \nPlease use another name.";
  return {};
}

void CGroupManage::OnOK() {
  const bool makeNew = IsDlgButtonChecked(res::kGroupManageMakeNew) == BST_CHECKED;
  const std::string newName = GetDlgItemText(res::kGroupManageNewName);
  auto* existing = static_cast<CComboBox*>(GetDlgItem(res::kGroupManageExisting));
  const int selected = existing->GetCurSel();
  if (const std::string refusal = Refusal(makeNew, newName, selected); !refusal.empty()) {
    AfxMessageBox(refusal);
    return;
  }
  // The change goes to a copy until the file holds it, so a failed write
  // leaves the dialog as it was and OK can be pressed again.
  CGrouP changed = Groups;
  const std::int32_t count = static_cast<std::int32_t>(MemberNames.size());
  if (makeNew) {
    changed.Groups.push_back({Kind, count, MemberNames, newName});
  } else {
    const std::string name = existing->GetLBText(selected);
    for (SampleGroup& group : changed.Groups) {
      if (group.Name != name) continue;
      group.MemberCount = count;
      group.MemberNames = MemberNames;
      group.Kind = Kind;
    }
  }
  if (const core::GroupsFileStatus stored = core::StoreGroupsFile(resultFolder_, changed); !stored) {
    AfxMessageBox(stored.Message, MB_ICONEXCLAMATION);
    return;
  }
  Groups = std::move(changed);
  EndDialog(IDOK);
}
