#pragma once
// "Copy listed files": the list of samples, the destination folder and which
// kinds of sample files the copy command copies. It only gathers the
// choices; the command reads the members after IDOK.
#include <string>

#include "platform/ui/Dialog.h"

class CDialogCopyListedFiles : public CDialog {
  DECLARE_DYNAMIC(CDialogCopyListedFiles)

 public:
  explicit CDialogCopyListedFiles(CWnd* parent = nullptr);

  std::string SampleListFile;
  std::string DestinationFolder;  // ends with one separator after IDOK
  int CopyCfh = TRUE;
  int CopySelfReferences = TRUE;
  int CopyNonSelfReferences = FALSE;
  int CopyCfs = FALSE;
  int CopyCfn = FALSE;
  int CopyCfa = FALSE;
  int ShowCfa = FALSE;  // the caller's allele-specific switch; 0 hides the CFA box

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnBrowseListFile();
  void OnBrowseDestination();

  DECLARE_MESSAGE_MAP()
};
