// The Display Samples dialog's named groups of samples, kept in the result
// folder's GroupNames.CFG. Every change is written at once; a group belongs to
// one result kind and the buttons act on the shown kind's groups only.
#include "core/GroupSet.h"
#include "core/GroupsFile.h"
#include "document/display/SelectResult.h"
#include "platform/MessageBox.h"

namespace core = qova::core;

namespace {

constexpr const char* kSelectSamples = "Select more than one samples";

}  // namespace

void CSelectResult::ReadGroups() {
  m_Groups.Groups.clear();
  CGrouP read;
  const core::GroupsFileStatus status = core::LoadGroupsFile(m_strResultFolder, read);
  if (status) {
    m_Groups = std::move(read);
    groupsUnreadable_.clear();
  } else {
    // Writing now would replace the file's groups with only the new ones.
    groupsUnreadable_ = status.Message;
    AfxMessageBox(status.Message);
  }
  FillGroupCombo();
}

void CSelectResult::FillGroupCombo() {
  m_groupCombo.ResetContent();
  for (const SampleGroup& group : m_Groups.Groups) {
    if (group.Kind == CurrentKind()) m_groupCombo.InsertString(-1, group.Name);
  }
}

bool CSelectResult::GroupsWritable() const {
  if (groupsUnreadable_.empty()) return true;
  AfxMessageBox("The groups cannot be changed while the groups file cannot be read:\n" + groupsUnreadable_);
  return false;
}

void CSelectResult::WriteGroups(const CGrouP& before) {
  const core::GroupsFileStatus status = core::StoreGroupsFile(m_strResultFolder, m_Groups);
  if (!status) {
    AfxMessageBox(status.Message);
    m_Groups.Groups = before.Groups;  // what the file still holds
  }
  FillGroupCombo();
}

std::string CSelectResult::ChosenGroup() const {
  const int chosen = m_groupCombo.GetCurSel();
  return chosen == CB_ERR ? std::string() : m_groupCombo.GetLBText(chosen);
}

void CSelectResult::OnSetAsGroup() {
  const std::vector<std::string> members = CheckedNames();
  if (members.empty()) {
    AfxMessageBox(kSelectSamples);
    return;
  }
  if (!GroupsWritable()) return;
  CGroupSet naming(this);
  for (const SampleGroup& group : m_Groups.Groups) naming.ExistingNames.push_back(group.Name);
  if (naming.DoModal() != IDOK) return;
  const CGrouP before = m_Groups;
  SampleGroup group;
  group.Kind = CurrentKind();
  group.MemberCount = static_cast<std::int32_t>(members.size());
  group.MemberNames = members;
  group.Name = naming.NewName;
  m_Groups.Groups.push_back(std::move(group));
  WriteGroups(before);
}

void CSelectResult::OnSelectGroup() {
  if (m_groupCombo.GetCurSel() == CB_ERR) return;
  const std::string chosen = ChosenGroup();
  for (const SampleGroup& group : m_Groups.Groups) {
    if (group.Kind != CurrentKind() || group.Name != chosen) continue;
    // Listed as stored, without the filters; the listing flags stay.
    m_listSamples.ResetContent();
    for (const std::string& member : group.MemberNames) m_listSamples.InsertString(-1, member);
    for (int i = 0; i < m_listSamples.GetCount(); ++i) m_listSamples.SetCheck(i, BST_CHECKED);
    return;
  }
}

void CSelectResult::OnResetGroup() {
  if (m_groupCombo.GetCurSel() == CB_ERR) {
    AfxMessageBox("Select a group");
    return;
  }
  const std::vector<std::string> members = CheckedNames();
  if (members.empty()) {
    AfxMessageBox(kSelectSamples);
    return;
  }
  if (!GroupsWritable()) return;
  const std::string chosen = ChosenGroup();
  const CGrouP before = m_Groups;
  for (SampleGroup& group : m_Groups.Groups) {
    if (group.Kind != CurrentKind() || group.Name != chosen) continue;
    group.MemberCount = static_cast<std::int32_t>(members.size());
    group.MemberNames = members;
  }
  WriteGroups(before);
}

void CSelectResult::OnDeleteGroup() {
  if (m_groupCombo.GetCurSel() == CB_ERR) return;
  if (AfxMessageBox("Do you really want to remove this group?", MB_YESNO) != IDYES) return;
  if (!GroupsWritable()) return;
  const std::string chosen = ChosenGroup();
  const CGrouP before = m_Groups;
  std::erase_if(m_Groups.Groups,
                [&](const SampleGroup& group) { return group.Kind == CurrentKind() && group.Name == chosen; });
  WriteGroups(before);
}
