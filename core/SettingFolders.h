#pragma once
// The "Folders" page: the five default folders, each chosen through the
// folder browser (the edits are read-only).
#include <string>
#include <string_view>

#include "core/ProgramSetting.h"
#include "core/SettingPage.h"

class CSettingFolders : public CSettingPage {
  DECLARE_DYNAMIC(CSettingFolders)
 public:
  explicit CSettingFolders(CProgramSetting* setting);

  // Shows the folder browser ("フォルダの選択") at `startFolder`, a program
  // path ("c:\" is the drive root folder) with or without its trailing
  // separator. When the user chooses a folder, `chosenFolder` is its path
  // ending in exactly one separator and the result is true; otherwise
  // `chosenFolder` is left as it was. `flag` 1 also offers an edit box for
  // typing the path and the browser's newer style (0 on this page). Needs no
  // page, so other dialogs that pick a folder use it too.
  static bool BrowseFolder(std::string_view startFolder, std::string& chosenFolder, int flag);

 protected:
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  CProgramSetting* const m_pSetting;
};
