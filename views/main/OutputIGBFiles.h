#pragma once
// "Output IGB files": which of the three score-graph files of the shown sample
// are written (copy number, LOH likelihood, HMM state), their names, linear
// or log2 scores, and whether excluded SNPs are skipped. A self-reference
// sample has no LOH score to give: its LOH box starts off and stays disabled.
// Names are taken within the output folder. The caller reads the members
// after IDOK.
#include <string>

#include "platform/ui/Dialog.h"

class COutputIGBFiles : public CDialog {
  DECLARE_DYNAMIC(COutputIGBFiles)

 public:
  COutputIGBFiles(const std::string& sampleName, BOOL self, const std::string& outputFolder, CWnd* parent = nullptr);

  // The file a name given in the dialog stands for.
  [[nodiscard]] std::string FilePath(const std::string& name) const;

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
  std::string m_strOutputFolder;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  // Each file's name and scale are editable only while its box is checked.
  void ApplyEnablingRules();
  // Refuses a checked kind without a file name, and two checked kinds whose
  // names lead to one file, naming their fields.
  void DDV_FileNames(CDataExchange* pDX);

  DECLARE_MESSAGE_MAP()
};
