#include "views/main/OutputIGBFiles.h"

#include "platform/ui/DataExchange.h"
#include "resources/OutputDialogs.h"

namespace res = qova::resources;

IMPLEMENT_DYNAMIC(COutputIGBFiles, CDialog)

BEGIN_MESSAGE_MAP(COutputIGBFiles, CDialog)
  ON_BN_CLICKED(res::kIgbCopyNumberCheck, &COutputIGBFiles::ApplyEnablingRules)
  ON_BN_CLICKED(res::kIgbLohCheck, &COutputIGBFiles::ApplyEnablingRules)
  ON_BN_CLICKED(res::kIgbHmmCheck, &COutputIGBFiles::ApplyEnablingRules)
END_MESSAGE_MAP()

COutputIGBFiles::COutputIGBFiles(const std::string& sampleName, BOOL self, CWnd* parent)
    : CDialog(res::kOutputIgbFilesDialog, parent),
      m_strCopyNumberFile(sampleName + ".sgr"),
      m_strLohFile(sampleName + "LOH.sgr"),
      m_strHmmFile(sampleName + "HMM.sgr"),
      m_bLoh(self ? FALSE : TRUE),
      m_bSelf(self) {
  res::RegisterOutputDialogs();
}

void COutputIGBFiles::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, res::kIgbCopyNumberFile, m_strCopyNumberFile);
  DDX_Text(pDX, res::kIgbLohFile, m_strLohFile);
  DDX_Text(pDX, res::kIgbHmmFile, m_strHmmFile);
  DDX_Check(pDX, res::kIgbCopyNumberCheck, m_bCopyNumber);
  DDX_Check(pDX, res::kIgbLohCheck, m_bLoh);
  DDX_Check(pDX, res::kIgbHmmCheck, m_bHmm);
  DDX_Check(pDX, res::kIgbSkipExcluded, m_bSkipExcluded);
}

BOOL COutputIGBFiles::OnInitDialog() {
  CDialog::OnInitDialog();
  GetDlgItem(res::kIgbLohCheck)->EnableWindow(!m_bSelf);
  CheckRadioButton(res::kIgbCopyNumberLinear, res::kIgbCopyNumberLog2, res::kIgbCopyNumberLinear);
  CheckRadioButton(res::kIgbLohLinear, res::kIgbLohLog2, res::kIgbLohLog2);
  ApplyEnablingRules();
  return TRUE;
}

void COutputIGBFiles::ApplyEnablingRules() {
  const BOOL copyNumber = IsDlgButtonChecked(res::kIgbCopyNumberCheck) == BST_CHECKED;
  const BOOL loh = IsDlgButtonChecked(res::kIgbLohCheck) == BST_CHECKED;
  const BOOL hmm = IsDlgButtonChecked(res::kIgbHmmCheck) == BST_CHECKED;
  for (const unsigned id : {res::kIgbCopyNumberFile, res::kIgbCopyNumberLinear, res::kIgbCopyNumberLog2})
    GetDlgItem(int(id))->EnableWindow(copyNumber);
  for (const unsigned id : {res::kIgbLohFile, res::kIgbLohLinear, res::kIgbLohLog2}) GetDlgItem(int(id))->EnableWindow(loh);
  GetDlgItem(res::kIgbHmmFile)->EnableWindow(hmm);
}

void COutputIGBFiles::OnOK() {
  m_bCopyNumberLog2 = IsDlgButtonChecked(res::kIgbCopyNumberLog2) == BST_CHECKED;
  m_bLohLog2 = IsDlgButtonChecked(res::kIgbLohLog2) == BST_CHECKED;
  CDialog::OnOK();
}
