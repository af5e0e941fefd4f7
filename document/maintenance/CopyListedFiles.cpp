#include "document/maintenance/CopyListedFiles.h"

#include "core/SettingFolders.h"
#include "platform/MessageBox.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/DataExchange.h"
#include "resources/MaintenanceDialogs.h"

namespace res = qova::resources;

IMPLEMENT_DYNAMIC(CDialogCopyListedFiles, CDialog)

BEGIN_MESSAGE_MAP(CDialogCopyListedFiles, CDialog)
  ON_BN_CLICKED(qova::resources::kCopyListBrowse, &CDialogCopyListedFiles::OnBrowseListFile)
  ON_BN_CLICKED(qova::resources::kCopyDestinationBrowse, &CDialogCopyListedFiles::OnBrowseDestination)
END_MESSAGE_MAP()

namespace {

bool EndsWithSeparator(const std::string& path) { return !path.empty() && (path.back() == '/' || path.back() == '\\'); }

}  // namespace

CDialogCopyListedFiles::CDialogCopyListedFiles(CWnd* parent) : CDialog(res::kCopyListedFilesDialog, parent) {
  res::RegisterMaintenanceDialogs();
}

void CDialogCopyListedFiles::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, static_cast<int>(res::kCopyListFile), SampleListFile);
  DDX_Text(pDX, static_cast<int>(res::kCopyDestination), DestinationFolder);
  DDX_Check(pDX, static_cast<int>(res::kCopyCfh), CopyCfh);
  DDX_Check(pDX, static_cast<int>(res::kCopySelfReferences), CopySelfReferences);
  DDX_Check(pDX, static_cast<int>(res::kCopyNonSelfReferences), CopyNonSelfReferences);
  DDX_Check(pDX, static_cast<int>(res::kCopyCfs), CopyCfs);
  DDX_Check(pDX, static_cast<int>(res::kCopyCfn), CopyCfn);
  DDX_Check(pDX, static_cast<int>(res::kCopyCfa), CopyCfa);
}

BOOL CDialogCopyListedFiles::OnInitDialog() {
  CDialog::OnInitDialog();
  if (ShowCfa == 0) GetDlgItem(static_cast<int>(res::kCopyCfa))->ShowWindow(SW_HIDE);
  return TRUE;
}

// Each browse button changes its own path only: the check boxes keep what
// the user toggled.
void CDialogCopyListedFiles::OnBrowseListFile() {
  CFileDialog dialog(TRUE, "txt", SampleListFile.c_str(), OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                     "text file(*.txt)|*.txt|All files(*.*)|*.*||");
  if (dialog.DoModal() != IDOK) return;
  SampleListFile = dialog.GetPathName();
  SetDlgItemText(static_cast<int>(res::kCopyListFile), SampleListFile);
}

void CDialogCopyListedFiles::OnBrowseDestination() {
  if (!CSettingFolders::BrowseFolder(DestinationFolder, DestinationFolder, 1)) return;
  SetDlgItemText(static_cast<int>(res::kCopyDestination), DestinationFolder);
}

void CDialogCopyListedFiles::OnOK() {
  if (DestinationFolder.empty()) {
    AfxMessageBox("Select destination folder");
    return;
  }
  if (SampleListFile.empty()) {
    AfxMessageBox("Select sample list file");
    return;
  }
  CDialog::OnOK();
  // File names are appended to the folder directly.
  if (!EndsWithSeparator(DestinationFolder)) DestinationFolder += '/';
}
