#include "views/main/OutputIGBFiles.h"

#include <iterator>

#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/DataExchange.h"
#include "resources/OutputDialogs.h"

namespace res = qova::resources;

IMPLEMENT_DYNAMIC(COutputIGBFiles, CDialog)

BEGIN_MESSAGE_MAP(COutputIGBFiles, CDialog)
  ON_BN_CLICKED(res::kIgbCopyNumberCheck, &COutputIGBFiles::ApplyEnablingRules)
  ON_BN_CLICKED(res::kIgbLohCheck, &COutputIGBFiles::ApplyEnablingRules)
  ON_BN_CLICKED(res::kIgbHmmCheck, &COutputIGBFiles::ApplyEnablingRules)
END_MESSAGE_MAP()

COutputIGBFiles::COutputIGBFiles(const std::string& sampleName, BOOL self, const std::string& outputFolder,
                                 CWnd* parent)
    : CDialog(res::kOutputIgbFilesDialog, parent),
      m_strCopyNumberFile(sampleName + ".sgr"),
      m_strLohFile(sampleName + "LOH.sgr"),
      m_strHmmFile(sampleName + "HMM.sgr"),
      m_bLoh(self ? FALSE : TRUE),
      m_bSelf(self),
      m_strOutputFolder(outputFolder) {
  res::RegisterOutputDialogs();
}

std::string COutputIGBFiles::FilePath(const std::string& name) const {
  return platform::JoinPath(m_strOutputFolder, name);
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
  DDV_FileNames(pDX);
}

// Every checked kind needs a file of its own: the command writes the kinds
// one after the other, so a second kind whose name leads to the same file
// ("./x", "X", "../Output/x" beside "x") would replace the first, and an empty
// name is no file. Refused before anything is written.
void COutputIGBFiles::DDV_FileNames(CDataExchange* pDX) {
  if (!pDX->m_bSaveAndValidate) return;
  struct Kind {
    const char* label;
    BOOL checked;
    unsigned edit;
    const std::string& name;
  };
  const Kind kinds[] = {{"Copy number", m_bCopyNumber, res::kIgbCopyNumberFile, m_strCopyNumberFile},
                        {"LOH", m_bLoh, res::kIgbLohFile, m_strLohFile},
                        {"HMM", m_bHmm, res::kIgbHmmFile, m_strHmmFile}};
  const auto refuse = [pDX](unsigned edit, const std::string& message) {
    pDX->PrepareEditCtrl(int(edit));
    AfxMessageBox(message, MB_ICONEXCLAMATION);
    pDX->Fail();
  };
  for (const Kind& kind : kinds) {
    if (kind.checked && kind.name.empty())
      refuse(kind.edit, platform::Format("Please enter a file name for \"%s\".", kind.label));
  }
  for (std::size_t k = 0; k < std::size(kinds); ++k) {
    for (std::size_t earlier = 0; earlier < k; ++earlier) {
      const Kind& first = kinds[earlier];
      const Kind& second = kinds[k];
      if (!first.checked || !second.checked || !platform::LeadToOneFile(FilePath(first.name), FilePath(second.name)))
        continue;
      // Names spelt apart are shown the file they both lead to.
      const std::string file = first.name == second.name ? second.name : platform::ResolvedPath(FilePath(first.name));
      refuse(second.edit, platform::Format("\"%s\" and \"%s\" name one file, %s. Please give each a file name of its own.",
                                           first.label, second.label, file.c_str()));
    }
  }
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
