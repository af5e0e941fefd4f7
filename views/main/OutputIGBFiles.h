#pragma once
// "Output IGB files": which of the three score-graph files of the shown sample
// are written (copy number, LOH likelihood, HMM state), their names, linear
// or log2 scores, and whether excluded SNPs are skipped. A self-reference
// sample has no LOH score to give: its LOH box starts off and stays disabled.
// The caller reads the members after IDOK.
#include <string>

#include "platform/ui/Dialog.h"

class COutputIGBFiles : public CDialog {
  DECLARE_DYNAMIC(COutputIGBFiles)

 public:
  COutputIGBFiles(const std::string& sampleName, BOOL self, CWnd* parent = nullptr);

  std::string m_strCopyNumberFile;
  std::string m_strLohFile;
  std::string m_strHmmFile;
  BOOL m_bCopyNumber = TRUE;
  BOOL m_bLoh = TRUE;
  BOOL m_bHmm = TRUE;
  BOOL m_bSkipExcluded = FALSE;
  BOOL m_bCopyNumberLog2 = FALSE;
  BOOL m_bLohLog2 = FALSE;
  BOOL m_bSelf = FALSE;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  // Each file's name and scale are editable only while its box is checked.
  void ApplyEnablingRules();
  // Refuses a checked kind without a file name, and two checked kinds that
  // name one file, naming their fields.
  void DDV_FileNames(CDataExchange* pDX);

  DECLARE_MESSAGE_MAP()
};
