#pragma once
// The layout check of a dialog template as the windowed backend shows it.
// The template is created as Qt widgets and every control that the template
// shows is checked: it lies inside the client area, it overlaps no other
// control by more than a pixel unless a group box holds it, and its caption
// fits its widget at the dialog's font. A caption that does not fit is
// reported, not wrapped or elided: the template's author widens the control.
// Controls the template hides are left out, since the program shows them in
// place of others. The keyboard is checked too: the control the dialog gave
// the focus (the first tab stop, unless the dialog chose another) has it on
// screen, and Tab walks the shown and enabled tab stops in template order.
#include <string>
#include <vector>

#include "platform/ui/WinTypes.h"

class CDialog;

namespace qova::test {

// Templates whose pictures a test of their own takes with the dialog's real
// contents (groups, samples, marker lines, means); the walk over every
// template checks their layout but leaves those pictures alone.
inline constexpr UINT kDialogsPicturedWithContents[] = {136, 137, 143, 144, 152, 159, 163, 164, 171, 174, 175, 178, 182, 189, 190, 196};

// One line per fault, each naming the template id, the controls and their
// rectangles in pixels; empty when the layout is sound. Saves a picture of the
// dialog to `picturePath` unless it is empty.
[[nodiscard]] std::vector<std::string> DialogLayoutFaults(UINT templateId, const std::string& picturePath = {});
// The same check of a dialog that is open, with whatever its controls hold.
[[nodiscard]] std::vector<std::string> DialogLayoutFaults(CDialog& dialog, const std::string& picturePath = {});

}  // namespace qova::test
