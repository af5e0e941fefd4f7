#pragma once
// What a user does, as the system reports it: each function changes a
// control's state as the user's action would and sends the parent the
// notification the system sends. The headless scripts and the on-screen
// widgets both go through here, so a dialog's logic runs the same way in
// both. A function returns false (and changes nothing) when a user could not
// do it: the control is disabled, hidden, read-only or has no such item.
#include <string_view>
#include <vector>

#include "platform/ui/Geometry.h"
#include "platform/ui/WinTypes.h"

class CWnd;
class CFrameWnd;
class CPropertySheet;

namespace platform::ui::input {

// Buttons: an automatic check box toggles, an automatic radio button checks
// itself and clears the others of its group; then BN_CLICKED.
bool Click(CWnd& control);
// Edits: the new text (cut to the edit's limit), then EN_CHANGE.
bool TypeText(CWnd& edit, std::string_view text);
// Lists and combo boxes: the single selection, then LBN_SELCHANGE / CBN_SELCHANGE.
bool SelectItem(CWnd& list, int index);
// Lists with multiple selection: exactly these items selected, the caret on the last.
bool SelectItems(CWnd& list, const std::vector<int>& indexes);
// Check-list boxes: toggles the item's check, then CLBN_CHKCHANGE.
bool ToggleItemCheck(CWnd& list, int index);
bool DoubleClickItem(CWnd& list, int index);
// Drag lists: moves item `from` to place `to`.
bool MoveItem(CWnd& list, int from, int to);
// Up-down controls: UDN_DELTAPOS with `delta`; unless the parent refuses, the
// position moves (within the range) and a number buddy shows it.
bool Spin(CWnd& upDown, int delta);
// Month calendars: the picked day, then MCN_SELCHANGE.
bool PickDate(CWnd& calendar, const SYSTEMTIME& date);
// List controls: selects the item (only it), LVN_ITEMCHANGED, then NM_CLICK.
bool ClickListItem(CWnd& list, int item);
bool SetListItemCheck(CWnd& list, int item, bool checked);
// The Escape key or the close box of a dialog: IDCANCEL.
bool Escape(CWnd& dialog);
// A tab of a property sheet: leaving the current page may be refused.
bool SelectPage(CPropertySheet& sheet, int index);

// Mouse messages go to the capturing window if there is one (the point
// converted to its client area), else to `wnd`.
void Mouse(CWnd& wnd, UINT message, UINT flags, CPoint point);
// A scroll bar action (SB_LINEDOWN ..., with the thumb position for SB_THUMBTRACK/SB_THUMBPOSITION).
void Scroll(CWnd& wnd, int bar, UINT code, int thumbPos = 0);
// The client area took a new size.
void Resize(CWnd& wnd, int cx, int cy);
// A key on the main frame: its accelerators first, else WM_KEYDOWN to the active view.
void Key(CFrameWnd& frame, UINT key, BYTE modifiers = 0);
// A menu item or tool bar button of the frame: dispatched only if it is in the
// current menu (or tool bar) and enabled.
bool ChooseCommand(CFrameWnd& frame, UINT id);
// A window's close box.
void Close(CWnd& wnd);
// A frame window moved, resized, maximised, minimised or restored by the user
// (`place` is the restored place; SW_SHOWMAXIMIZED, SW_MINIMIZE or SW_RESTORE).
void PlaceWindow(CWnd& wnd, const CRect& place, int showState);

}  // namespace platform::ui::input
