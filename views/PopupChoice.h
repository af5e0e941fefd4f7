#pragma once
// A popup menu built for one click and tracked at it, its choice returned
// rather than sent as a command: the chromosome views' context menus.
#include <string>
#include <vector>

#include "platform/ui/Geometry.h"
#include "platform/ui/WinTypes.h"

class CWnd;

namespace qova::views {

struct PopupItem {
  UINT id;
  std::string text;
};

// Shows plain enabled `items` at client point `point` of `owner` (right
// button tracking); the chosen id, or 0 when the menu was dismissed.
[[nodiscard]] UINT TrackPopupChoice(CWnd& owner, CPoint point, const std::vector<PopupItem>& items);

}  // namespace qova::views
