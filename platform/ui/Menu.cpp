#include "platform/ui/Menu.h"

#include "platform/ui/Backend.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Wnd.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace platform::ui {

std::vector<MenuEntry> EntriesOf(const std::vector<MenuItemTemplate>& items) {
  std::vector<MenuEntry> entries;
  for (const MenuItemTemplate& item : items) {
    MenuEntry e;
    e.text = item.text;
    e.id = item.id;
    e.flags = item.flags;
    if (item.IsSeparator()) e.flags |= MF_SEPARATOR;
    if (item.IsPopup()) {
      e.flags |= MF_POPUP;
      e.popup = EntriesOf(item.popup);
    }
    entries.push_back(std::move(e));
  }
  return entries;
}

UINT FindMenuItem(const std::vector<MenuEntry>& items, std::string_view text) {
  for (const MenuEntry& e : items) {
    if (e.IsSeparator() || !e.IsEnabled()) continue;
    if (!e.popup.empty()) {
      if (UINT id = FindMenuItem(e.popup, text)) return id;
      continue;
    }
    std::string shown = StripMnemonic(e.text.substr(0, e.text.find('\t')));
    if (shown == text) return e.id;
  }
  return 0;
}

}  // namespace platform::ui

BOOL CMenu::CreatePopupMenu() {
  items_.clear();
  created_ = true;
  return TRUE;
}

BOOL CMenu::CreateMenu() { return CreatePopupMenu(); }

BOOL CMenu::LoadMenu(UINT resourceId) {
  const platform::ui::MenuTemplate* t = platform::ui::Resources::Instance().Menu(resourceId);
  if (!t) return FALSE;
  items_ = platform::ui::EntriesOf(t->items);
  created_ = true;
  return TRUE;
}

BOOL CMenu::DestroyMenu() {
  if (!created_) return FALSE;
  items_.clear();
  subMenus_.clear();
  created_ = false;
  return TRUE;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, std::string_view text) {
  return InsertMenu(UINT(-1), flags | MF_BYPOSITION, id, text);
}

BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR id, std::string_view text) {
  if (!created_) return FALSE;
  platform::ui::MenuEntry e;
  e.text = std::string(text);
  e.id = UINT(id);
  e.flags = flags & ~MF_BYPOSITION;
  size_t at = items_.size();
  if (position != UINT(-1)) {
    if (flags & MF_BYPOSITION) {
      at = std::min<size_t>(position, items_.size());
    } else {
      for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].id == position) at = i;
    }
  }
  items_.insert(items_.begin() + long(at), std::move(e));
  return TRUE;
}

BOOL CMenu::DeleteMenu(UINT position, UINT flags) {
  for (size_t i = 0; i < items_.size(); ++i) {
    if ((flags & MF_BYPOSITION) ? i == position : items_[i].id == position) {
      items_.erase(items_.begin() + long(i));
      return TRUE;
    }
  }
  return FALSE;
}

UINT CMenu::GetMenuItemID(int position) const {
  if (position < 0 || position >= int(items_.size())) return UINT(-1);
  const platform::ui::MenuEntry& e = items_[size_t(position)];
  return (e.flags & MF_POPUP) ? UINT(-1) : e.id;
}

int CMenu::GetMenuString(UINT item, std::string& text, UINT flags) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if ((flags & MF_BYPOSITION) ? i == item : items_[i].id == item) {
      text = items_[i].text;
      return int(text.size());
    }
  }
  text.clear();
  return 0;
}

CMenu* CMenu::GetSubMenu(int position) {
  if (position < 0 || position >= int(items_.size()) || items_[size_t(position)].popup.empty()) return nullptr;
  auto sub = std::make_unique<CMenu>();
  sub->items_ = items_[size_t(position)].popup;
  sub->created_ = true;
  subMenus_.push_back(std::move(sub));
  return subMenus_.back().get();
}

platform::ui::MenuEntry* CMenu::Find(UINT item, UINT flags) {
  for (size_t i = 0; i < items_.size(); ++i)
    if ((flags & MF_BYPOSITION) ? i == item : items_[i].id == item) return &items_[i];
  return nullptr;
}

UINT CMenu::CheckMenuItem(UINT item, UINT check) {
  platform::ui::MenuEntry* e = Find(item, check);
  if (!e) return UINT(-1);
  UINT previous = e->flags & MF_CHECKED;
  e->flags = (e->flags & ~MF_CHECKED) | (check & MF_CHECKED);
  return previous;
}

UINT CMenu::EnableMenuItem(UINT item, UINT enable) {
  platform::ui::MenuEntry* e = Find(item, enable);
  if (!e) return UINT(-1);
  UINT previous = e->flags & (MF_GRAYED | MF_DISABLED);
  e->flags = (e->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return previous;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect) {
  (void)rect;
  platform::ui::PopupMenuRequest request;
  request.items = items_;
  request.screenPoint = {x, y};
  request.flags = flags;
  request.owner = owner;
  UINT chosen = platform::ui::Backend().TrackPopupMenu(request);
  // A command chosen from a context menu ends the last summary as one chosen
  // from the menu bar does.
  if (chosen && owner) platform::ui::ShowIdleStatus(*owner);
  if (flags & TPM_RETURNCMD) return BOOL(chosen);
  if (chosen && owner) owner->PostMessage(WM_COMMAND, chosen, 0);
  return chosen ? TRUE : FALSE;
}
