#pragma once
// "Sample selection": which of the multiple grid's samples are shown and in
// which order. The caller points it at the grid's positions (1 = top row,
// 0 = hidden) and the document's list; OK rewrites the positions, 1..k in the
// order of the selected list. "Set as a group" keeps the selected samples as
// a group of the result folder.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Dialog.h"

class CAnalyzedData;

class CMultiViewSelect : public CDialog {
  DECLARE_DYNAMIC(CMultiViewSelect)

 public:
  explicit CMultiViewSelect(CWnd* parent = nullptr);

  std::vector<unsigned>* m_pSelect = nullptr;
  const std::vector<std::unique_ptr<CAnalyzedData>>* m_pSamples = nullptr;
  std::string m_strResultFolder;  // where "Set as a group" keeps the groups file

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnInclude();
  void OnRemove();
  void OnUp();
  void OnDown();
  void OnSetGroup();
  DECLARE_MESSAGE_MAP()

 private:
  // Moves the current line of list `from` to the end of list `to`.
  void MoveCurrent(unsigned from, unsigned to);
  // Moves the current line of the selected list `step` places.
  void Shift(int step);
};
