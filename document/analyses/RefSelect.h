#pragma once
// The manual choice of non-self references: the ranked candidates in a check
// list; OK needs at least one checked line and hands back one flag per line.
#include <cstddef>
#include <string>
#include <vector>

#include "document/analyses/ReferenceSelection.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"

class CRefSelect : public CDialog {
  DECLARE_DYNAMIC(CRefSelect)

 public:
  explicit CRefSelect(CWnd* parent = nullptr);

  // One line per candidate in ranking order ("<name>    <score>"), none checked.
  void SetCandidates(const std::vector<qova::document::analyses::RankedReference>& candidates);
  // After IDOK: whether line i was checked.
  [[nodiscard]] bool IsSelected(std::size_t i) const { return i < SelectedFlags.size() && SelectedFlags[i] != 0; }

  int Count = 0;                       // number of candidates
  std::vector<std::string> ItemTexts;  // the lines, in display order
  std::vector<BYTE> SelectedFlags;     // 1 for a checked line, after IDOK
  CCheckListBox m_checkList;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
};
