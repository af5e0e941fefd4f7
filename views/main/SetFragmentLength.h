#pragma once
// "Set PCR fragment length": the range of fragment lengths (bases, both ends
// included) whose SNPs the next analysis of the shown sample uses, or every
// SNP. The caller reads the members after IDOK.
#include "platform/ui/Dialog.h"

class CSetFragmentLength : public CDialog {
  DECLARE_DYNAMIC(CSetFragmentLength)

 public:
  explicit CSetFragmentLength(CWnd* parent = nullptr);

  BOOL m_bIncludeAll = FALSE;
  int m_nLowerLength = 0;
  int m_nUpperLength = 2000;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  // The lengths are editable only while not every SNP is taken.
  void OnIncludeAll();

  DECLARE_MESSAGE_MAP()
};
