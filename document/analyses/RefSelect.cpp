#include "document/analyses/RefSelect.h"

#include <algorithm>

#include "platform/MessageBox.h"
#include "platform/Strings.h"
#include "platform/ui/DataExchange.h"
#include "resources/ReferenceDialogs.h"

namespace analyses = qova::document::analyses;

IMPLEMENT_DYNAMIC(CRefSelect, CDialog)

CRefSelect::CRefSelect(CWnd* parent) : CDialog(qova::resources::kRefSelectDialog, parent) {
  qova::resources::RegisterReferenceDialogs();
}

void CRefSelect::SetCandidates(const std::vector<analyses::RankedReference>& candidates) {
  ItemTexts.clear();
  for (const analyses::RankedReference& candidate : candidates) ItemTexts.push_back(analyses::FormatCandidateLine(candidate));
  Count = static_cast<int>(ItemTexts.size());
  SelectedFlags.assign(ItemTexts.size(), 0);
}

void CRefSelect::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, static_cast<int>(qova::resources::kRefSelectCheckList), m_checkList);
}

BOOL CRefSelect::OnInitDialog() {
  CDialog::OnInitDialog();
  const int lines = std::clamp(Count, 0, static_cast<int>(ItemTexts.size()));
  for (int i = 0; i < lines; ++i) m_checkList.AddString(ItemTexts[static_cast<std::size_t>(i)]);
  return TRUE;
}

void CRefSelect::OnOK() {
  const int lines = m_checkList.GetCount();
  SelectedFlags.assign(static_cast<std::size_t>(std::max(lines, 0)), 0);
  int checked = 0;
  for (int i = 0; i < lines; ++i) {
    if (m_checkList.GetCheck(i) >= 1) {
      SelectedFlags[static_cast<std::size_t>(i)] = 1;
      ++checked;
    }
  }
  if (checked == 0) {
    AfxMessageBox("Select samples");
    return;
  }
  AfxMessageBox(platform::Format("%d items selected \n as references", checked));
  CDialog::OnOK();
}
