#pragma once
// List boxes with the tab-stop style show each tab-separated part of a line
// at the next of the list's tab stops, as the system's list boxes do, so the
// columns of their lines line up.
#include <vector>

class QListWidget;

namespace platform::qt {

// Makes `list` draw its lines at the tab stops, given in dialog units of the
// list's font; no stops means one every 32 dialog units.
void SetListTabStops(QListWidget* list, const std::vector<int>& dialogUnits);

}  // namespace platform::qt
