#pragma once
// What the system keeps for one window: its place in the tree, its text and
// flags, and the state of a control. Dialog logic reads and writes this state
// in both the headless and the windowed implementation; the windowed one
// mirrors it on screen through the window's peer.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Geometry.h"
#include "platform/ui/WinTypes.h"

class CWnd;

namespace platform::ui {

enum class WindowKind : std::uint8_t {
  Generic,
  MainFrame,
  ChildFrame,
  View,
  Dialog,
  PropertySheet,
  PropertyPage,
  Control,
  ToolBar,
  StatusBar,
};

enum class ControlKind : std::uint8_t {
  None,
  Static,
  Frame,  // a static frame: the swatches that dialogs paint into
  GroupBox,
  Edit,
  PushButton,
  CheckBox,
  RadioButton,
  ComboBox,
  ListBox,
  CheckListBox,
  DragListBox,
  ListCtrl,
  Progress,
  Animation,
  UpDown,
  MonthCalendar,
};

// What changed, so the windowed implementation can mirror it.
enum Change : unsigned {
  ChangeText = 1u << 0,
  ChangeEnabled = 1u << 1,
  ChangeVisible = 1u << 2,
  ChangeCheck = 1u << 3,
  ChangeItems = 1u << 4,      // items, their texts, checks and order
  ChangeSelection = 1u << 5,  // current item and selected items
  ChangeRange = 1u << 6,      // range and position of progress bars and up-downs
  ChangeRect = 1u << 7,
  ChangeScroll = 1u << 8,
  ChangeDate = 1u << 9,
  ChangeFocus = 1u << 10,
  ChangeColumns = 1u << 11,
  ChangeStyle = 1u << 12,
  ChangeMenu = 1u << 13,
  ChangeBars = 1u << 14,      // tool bar buttons, status bar panes
  ChangeAll = 0xFFFFFFFFu,
};

struct ListItem {
  std::string text;
  DWORD_PTR data = 0;
  bool selected = false;
  int check = 0;
  std::vector<std::string> subItems;  // list controls: columns 1..n
};

struct ListColumn {
  std::string heading;
  int format = 0;
  int width = 0;
};

struct ScrollBarState {
  int min = 0;
  int max = 100;
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;
  bool visible = false;
};

// The on-screen counterpart of a window (windowed implementation only).
class WindowPeer {
 public:
  virtual ~WindowPeer() = default;
  virtual void Refresh(unsigned changes) = 0;
};

struct WindowState {
  CWnd* wnd = nullptr;  // the object that receives the window's messages
  WindowState* parent = nullptr;
  std::vector<WindowState*> children;  // in creation order (a template's order)
  WindowKind kind = WindowKind::Generic;
  ControlKind control = ControlKind::None;
  UINT id = 0;
  DWORD style = 0;
  std::string text;
  bool enabled = true;
  bool visible = false;
  // Set from the start of DestroyWindow: the window and its children are
  // going, and nothing activates or places it again.
  bool destroying = false;
  CRect rect;  // pixels, in the parent's client coordinates (screen for top-level windows)

  // Controls.
  int check = 0;
  std::vector<ListItem> items;
  int curSel = -1;  // single selection; the caret item of multiple selection
  int anchor = -1;
  int topIndex = 0;
  std::vector<ListColumn> columns;
  DWORD listExStyle = 0;
  std::vector<int> tabStops;
  int rangeMin = 0;
  int rangeMax = 100;
  int pos = 0;
  int step = 10;
  WindowState* buddy = nullptr;
  SYSTEMTIME date;
  int limitText = 0;
  std::string animationFile;
  bool animationPlaying = false;

  // Windows with scroll bars.
  ScrollBarState scroll[2];

  // Frames: the show state the user or the program gave (the rect is the restored place).
  bool maximized = false;
  bool minimized = false;

  // Dialogs.
  UINT focusId = 0;
  bool modal = false;
  bool ended = false;
  int modalResult = -1;

  std::unique_ptr<WindowPeer> peer;
  std::vector<CWnd*> attached;               // every object whose m_hWnd is this window
  std::vector<std::unique_ptr<CWnd>> owned;  // objects created for the window's controls

  [[nodiscard]] CRect ClientRect() const { return {0, 0, rect.Width(), rect.Height()}; }
  [[nodiscard]] WindowState* Child(UINT childId) const {
    for (WindowState* c : children)
      if (c->id == childId) return c;
    return nullptr;
  }
};

}  // namespace platform::ui
