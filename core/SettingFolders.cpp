#include "core/SettingFolders.h"

#include "platform/Paths.h"
#include "platform/ui/CommonDialogs.h"
#include "resources/SettingPages.h"

namespace ids = qova::resources::settings::folders;

namespace {

struct FolderRow {
  UINT edit;
  UINT button;
  std::string CProgramSetting::*field;
};

constexpr FolderRow kRows[] = {
    {ids::kDataEdit, ids::kDataSet, &CProgramSetting::DefaultDataFolder},
    {ids::kLibraryEdit, ids::kLibrarySet, &CProgramSetting::DefaultLibraryFolder},
    {ids::kArrayDataEdit, ids::kArrayDataSet, &CProgramSetting::DefaultArrayDataFolder},
    {ids::kResultEdit, ids::kResultSet, &CProgramSetting::DefaultAnalysisResultFolder},
    {ids::kOutputEdit, ids::kOutputSet, &CProgramSetting::DefaultOutputFolder},
};

bool EndsWithSeparator(std::string_view path) { return !path.empty() && (path.back() == '/' || path.back() == '\\'); }

}  // namespace

IMPLEMENT_DYNAMIC(CSettingFolders, CSettingPage)

CSettingFolders::CSettingFolders(CProgramSetting* setting)
    : CSettingPage(qova::resources::settings::kFoldersPage), m_pSetting(setting) {}

bool CSettingFolders::BrowseFolder(std::string_view startFolder, std::string& chosenFolder, int flag) {
  platform::ui::FolderDialogRequest request;
  request.title = "フォルダの選択";
  if (!startFolder.empty()) {
    std::string start(startFolder);
    if (EndsWithSeparator(start)) start.pop_back();
    // Joined with a separator again, "c:" alone names the drive root folder too.
    request.startFolder = platform::NativePath(start + "/");
    if (request.startFolder.size() > 1 && EndsWithSeparator(request.startFolder)) request.startFolder.pop_back();
  }
  request.flags = BIF_RETURNONLYFSDIRS | (flag == 1 ? BIF_EDITBOX | BIF_NEWDIALOGSTYLE : 0);
  if (!platform::ui::BrowseForFolder(request) || request.chosen.empty()) return false;
  chosenFolder = request.chosen;
  // A file name is appended to the folder directly; "/" and "\" both serve.
  if (!EndsWithSeparator(chosenFolder)) chosenFolder += '/';
  return true;
}

BOOL CSettingFolders::OnInitDialog() {
  CSettingPage::OnInitDialog();
  for (const FolderRow& row : kRows) SetDlgItemText(int(row.edit), m_pSetting->*row.field);
  return TRUE;
}

BOOL CSettingFolders::OnCommand(WPARAM wParam, LPARAM lParam) {
  for (const FolderRow& row : kRows) {
    if (LOWORD(wParam) == row.edit && HIWORD(wParam) == EN_CHANGE) {
      SetModified();
      return TRUE;
    }
    if (LOWORD(wParam) == row.button && HIWORD(wParam) == BN_CLICKED) {
      std::string& folder = m_pSetting->*row.field;
      if (BrowseFolder(folder, folder, 0)) SetDlgItemText(int(row.edit), folder);
      return TRUE;
    }
  }
  return CSettingPage::OnCommand(wParam, lParam);
}
