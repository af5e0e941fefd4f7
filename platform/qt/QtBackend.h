#pragma once
// The windowed implementation of the user interface on Qt 6 Widgets: dialogs
// built from the templates, property sheets, message boxes, the common
// dialogs, the main window with its menus, tool bar and status bar, MDI child
// windows, views painted through the drawing context, timers, mouse and the
// clipboard. Install it once a QApplication exists (or let it start one).
class CWnd;
class QWidget;

namespace platform::qt {

// Starts a Qt application if needed and makes the Qt implementation current;
// message boxes then show as Qt message boxes.
void InstallQtBackend();
// Goes back to the headless implementation.
void UninstallQtBackend();
// The widget that shows a window (null when it has none).
[[nodiscard]] QWidget* WidgetOf(const CWnd& wnd);

}  // namespace platform::qt
