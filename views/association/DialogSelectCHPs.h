#pragma once
// "Select CHP files": the case and control samples of a new association
// study. It offers the "*.CHP" files of the data folder whose recorded array
// type is the study's (every one when the check is skipped), narrows them by
// creation date, and lets the user move them into the case and the control
// list. The caller sets the three inputs before DoModal and reads the two
// name lists after IDOK; the names are bare file names, in the sorted order
// of the lists.
#include <string>
#include <vector>

#include "platform/Time.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"

class CDialogSelectCHPs : public CDialog {
  DECLARE_DYNAMIC(CDialogSelectCHPs)

 public:
  explicit CDialogSelectCHPs(CWnd* parent = nullptr);

  std::vector<std::string> m_CaseNames;
  std::vector<std::string> m_ControlNames;
  std::string m_strArrayType;
  int m_bSkipTypeCheck = 0;
  // The folder searched, ending with a separator or not.
  std::string m_strDataFolder;

  CButton m_btnFrom, m_btnTo;
  CEdit m_editFrom, m_editTo;
  CListBox m_lbFound, m_lbCase, m_lbControl;
  SYSTEMTIME m_dateFrom{}, m_dateTo{};
  // The files that passed the type check and sit in neither chosen list.
  std::vector<std::string> m_FoundFiles;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnSetFrom();
  void OnSetTo();
  void OnRefresh();
  void OnAddCase();
  void OnDeleteCase();
  void OnAddControl();
  void OnDeleteControl();

  DECLARE_MESSAGE_MAP()

 private:
  // Whether the file carries the study's array type; a file no reader reads
  // is reported and refused.
  [[nodiscard]] bool HasStudyType(const std::string& fileName) const;
  void MoveTo(CListBox& target);
  void ReturnFrom(CListBox& list);
};
