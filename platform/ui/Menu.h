#pragma once
// Menus: the bars loaded from menu resources and the popup menus a view
// builds on the fly. TrackPopupMenu hands the items to the current
// implementation (a script headless, a real menu on screen).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Geometry.h"
#include "platform/ui/Object.h"
#include "platform/ui/Resources.h"

class CWnd;

namespace platform::ui {

struct MenuEntry {
  std::string text;  // with its mnemonic marks and "\t" accelerator text
  UINT id = 0;
  UINT flags = 0;  // MF_GRAYED, MF_CHECKED, MF_SEPARATOR, MF_POPUP
  std::vector<MenuEntry> popup;

  [[nodiscard]] bool IsSeparator() const { return (flags & MF_SEPARATOR) != 0; }
  [[nodiscard]] bool IsEnabled() const { return (flags & (MF_GRAYED | MF_DISABLED)) == 0; }
};

struct PopupMenuRequest {
  std::vector<MenuEntry> items;
  CPoint screenPoint;
  UINT flags = 0;
  CWnd* owner = nullptr;
};

// The entries of a menu resource.
[[nodiscard]] std::vector<MenuEntry> EntriesOf(const std::vector<MenuItemTemplate>& items);
// The id of the enabled item whose text without mnemonics and accelerator
// text is `text`, searched through submenus; 0 when there is none.
[[nodiscard]] UINT FindMenuItem(const std::vector<MenuEntry>& items, std::string_view text);

}  // namespace platform::ui

class CMenu : public CObject {
  DECLARE_DYNAMIC(CMenu)
 public:
  CMenu() = default;
  BOOL CreatePopupMenu();
  BOOL CreateMenu();
  BOOL LoadMenu(UINT resourceId);
  BOOL DestroyMenu();
  BOOL AppendMenu(UINT flags, UINT_PTR id = 0, std::string_view text = {});
  BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id = 0, std::string_view text = {});
  BOOL DeleteMenu(UINT position, UINT flags);
  [[nodiscard]] int GetMenuItemCount() const { return int(items_.size()); }
  [[nodiscard]] UINT GetMenuItemID(int position) const;
  int GetMenuString(UINT item, std::string& text, UINT flags) const;
  [[nodiscard]] CMenu* GetSubMenu(int position);
  UINT CheckMenuItem(UINT item, UINT check);
  UINT EnableMenuItem(UINT item, UINT enable);
  // Shows the popup menu at a screen point. With TPM_RETURNCMD returns the
  // chosen id (0 when dismissed); otherwise posts the choice to `owner` as a
  // command and returns whether something was chosen.
  BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);

  [[nodiscard]] const std::vector<platform::ui::MenuEntry>& Entries() const { return items_; }
  std::vector<platform::ui::MenuEntry>& Entries() { return items_; }

 private:
  platform::ui::MenuEntry* Find(UINT item, UINT flags);
  std::vector<platform::ui::MenuEntry> items_;
  std::vector<std::unique_ptr<CMenu>> subMenus_;
  bool created_ = false;
};
