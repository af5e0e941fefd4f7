#include "views/multiple/MultiViewSelect.h"

#include "core/AnalyzedData.h"
#include "core/GroupManage.h"
#include "platform/MessageBox.h"
#include "platform/ui/Controls.h"
#include "resources/ViewDialogs.h"

namespace res = qova::resources;

IMPLEMENT_DYNAMIC(CMultiViewSelect, CDialog)

BEGIN_MESSAGE_MAP(CMultiViewSelect, CDialog)
  ON_BN_CLICKED(res::kMultiViewInclude, &CMultiViewSelect::OnInclude)
  ON_BN_CLICKED(res::kMultiViewRemove, &CMultiViewSelect::OnRemove)
  ON_BN_CLICKED(res::kMultiViewUp, &CMultiViewSelect::OnUp)
  ON_BN_CLICKED(res::kMultiViewDown, &CMultiViewSelect::OnDown)
  ON_BN_CLICKED(res::kMultiViewSetGroup, &CMultiViewSelect::OnSetGroup)
END_MESSAGE_MAP()

namespace {

constexpr const char* kEmptyChoice = "Select at least one sample";

CListBox& List(const CWnd& dialog, unsigned id) { return *static_cast<CListBox*>(dialog.GetDlgItem(int(id))); }

}  // namespace

CMultiViewSelect::CMultiViewSelect(CWnd* parent) : CDialog(res::kMultiViewSelectDialog, parent) {
  res::RegisterViewDialogs();
}

BOOL CMultiViewSelect::OnInitDialog() {
  CDialog::OnInitDialog();
  if (!m_pSelect || !m_pSamples) return TRUE;
  CListBox& unselected = List(*this, res::kMultiViewUnselected);
  CListBox& selected = List(*this, res::kMultiViewSelected);
  const std::size_t n = std::min(m_pSelect->size(), m_pSamples->size());
  // Shown samples by ascending position, equal positions in list order.
  std::vector<int> count(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    const CAnalyzedData* sample = (*m_pSamples)[i].get();
    const std::string name = sample ? sample->Header.SampleName : std::string();
    const unsigned p = (*m_pSelect)[i];
    if (p == 0 || p > n) {
      unselected.SetItemData(unselected.InsertString(-1, name), i);
      continue;
    }
    selected.SetItemData(selected.InsertString(count[p - 1], name), i);
    for (std::size_t k = p - 1; k < n; ++k) ++count[k];
  }
  return TRUE;
}

void CMultiViewSelect::MoveCurrent(unsigned from, unsigned to) {
  CListBox& source = List(*this, from);
  CListBox& target = List(*this, to);
  const int line = source.GetCurSel();
  if (line == LB_ERR) return;
  target.SetItemData(target.InsertString(-1, source.GetText(line)), source.GetItemData(line));
  source.DeleteString(UINT(line));
  source.SetCurSel(line);
}

void CMultiViewSelect::OnInclude() { MoveCurrent(res::kMultiViewUnselected, res::kMultiViewSelected); }

void CMultiViewSelect::OnRemove() { MoveCurrent(res::kMultiViewSelected, res::kMultiViewUnselected); }

void CMultiViewSelect::Shift(int step) {
  CListBox& selected = List(*this, res::kMultiViewSelected);
  const int line = selected.GetCurSel();
  const int to = line + step;
  if (line == LB_ERR || to < 0 || to >= selected.GetCount()) return;
  const std::string text = selected.GetText(line);
  const DWORD_PTR data = selected.GetItemData(line);
  selected.DeleteString(UINT(line));
  selected.SetItemData(selected.InsertString(to, text), data);
  selected.SetCurSel(to);
}

void CMultiViewSelect::OnUp() { Shift(-1); }

void CMultiViewSelect::OnDown() { Shift(1); }

void CMultiViewSelect::OnSetGroup() {
  CListBox& selected = List(*this, res::kMultiViewSelected);
  if (selected.GetCount() == 0) {
    AfxMessageBox(kEmptyChoice);
    return;
  }
  CGroupManage group(m_strResultFolder, this);
  for (int j = 0; j < selected.GetCount(); ++j) group.MemberNames.push_back(selected.GetText(j));
  // A group holds results of one kind: that of the first sample chosen.
  const std::size_t first = selected.GetItemData(0);
  if (m_pSamples && first < m_pSamples->size() && (*m_pSamples)[first]) group.Kind = (*m_pSamples)[first]->IsSelf ? 1 : 0;
  (void)group.DoModal();
}

void CMultiViewSelect::OnOK() {
  CListBox& unselected = List(*this, res::kMultiViewUnselected);
  CListBox& selected = List(*this, res::kMultiViewSelected);
  if (selected.GetCount() == 0) {
    AfxMessageBox(kEmptyChoice);
    return;
  }
  if (m_pSelect) {
    std::vector<unsigned>& positions = *m_pSelect;
    for (int j = 0; j < unselected.GetCount(); ++j)
      if (const std::size_t i = unselected.GetItemData(j); i < positions.size()) positions[i] = 0;
    for (int j = 0; j < selected.GetCount(); ++j)
      if (const std::size_t i = selected.GetItemData(j); i < positions.size()) positions[i] = unsigned(j + 1);
  }
  EndDialog(IDOK);
}
