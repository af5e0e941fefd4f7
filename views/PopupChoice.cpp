#include "views/PopupChoice.h"

#include "platform/ui/Constants.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Wnd.h"

namespace qova::views {

UINT TrackPopupChoice(CWnd& owner, CPoint point, const std::vector<PopupItem>& items) {
  CMenu menu;
  menu.CreatePopupMenu();
  for (const PopupItem& item : items) menu.AppendMenu(MF_STRING, item.id, item.text);
  owner.ClientToScreen(&point);
  const UINT chosen = UINT(menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, point.x, point.y, &owner));
  menu.DestroyMenu();
  return chosen;
}

}  // namespace qova::views
