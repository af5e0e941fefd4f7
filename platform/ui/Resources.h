#pragma once
// The program's resources as data: dialog templates, menus, accelerator
// tables, tool bars and strings, registered by id. The concrete resources of
// the program live in resources/; tests register their own.
#include <array>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Constants.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/WindowState.h"

namespace platform::ui {

// A place in dialog units, as templates give it: position and size.
struct DialogRect {
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
};

// A control of a dialog template.
struct ControlTemplate {
  UINT id = 0;
  ControlKind kind = ControlKind::Static;
  std::string text;
  DialogRect rect;
  DWORD style = 0;  // kind-specific style bits (LBS_SORT, ES_READONLY, WS_GROUP ...)
  bool visible = true;
  bool enabled = true;
};

struct DialogTemplate {
  UINT id = 0;
  std::string caption;
  CSize size;  // dialog units
  DWORD style = 0;
  std::string fontFace = "MS Shell Dlg";
  int fontSize = 8;
  std::vector<ControlTemplate> controls;

  [[nodiscard]] const ControlTemplate* Control(UINT controlId) const;
};

// Short builders for templates: Edit(1004, {72, 108, 66, 12}, ES_READONLY).
ControlTemplate Static(UINT id, std::string text, DialogRect rect, DWORD style = 0);
ControlTemplate Frame(UINT id, DialogRect rect);
ControlTemplate GroupBox(std::string text, DialogRect rect);
ControlTemplate Edit(UINT id, DialogRect rect, DWORD style = 0);
ControlTemplate PushButton(UINT id, std::string text, DialogRect rect, DWORD style = 0);
ControlTemplate DefPushButton(UINT id, std::string text, DialogRect rect);
ControlTemplate CheckBox(UINT id, std::string text, DialogRect rect, DWORD style = 0);
ControlTemplate RadioButton(UINT id, std::string text, DialogRect rect, DWORD style = 0);
ControlTemplate ComboBox(UINT id, DialogRect rect, DWORD style = CBS_DROPDOWNLIST);
ControlTemplate ListBox(UINT id, DialogRect rect, DWORD style = 0);
ControlTemplate CheckListBox(UINT id, DialogRect rect, DWORD style = 0);
ControlTemplate DragListBox(UINT id, DialogRect rect, DWORD style = 0);
ControlTemplate ListCtrl(UINT id, DialogRect rect, DWORD style = LVS_REPORT);
ControlTemplate Progress(UINT id, DialogRect rect, DWORD style = 0);
ControlTemplate Animation(UINT id, DialogRect rect, DWORD style = 0);
ControlTemplate UpDown(UINT id, DialogRect rect, DWORD style = 0);
ControlTemplate MonthCalendar(UINT id, DialogRect rect, DWORD style = 0);
ControlTemplate Hidden(ControlTemplate control);

struct MenuItemTemplate {
  std::string text;  // empty with id 0: a separator
  UINT id = 0;
  std::vector<MenuItemTemplate> popup;  // non-empty: a submenu
  UINT flags = 0;

  [[nodiscard]] bool IsSeparator() const { return id == 0 && popup.empty() && text.empty(); }
  [[nodiscard]] bool IsPopup() const { return !popup.empty(); }
};
MenuItemTemplate MenuItem(std::string text, UINT id);
MenuItemTemplate MenuSeparator();
MenuItemTemplate Popup(std::string text, std::vector<MenuItemTemplate> items);

struct MenuTemplate {
  UINT id = 0;
  std::vector<MenuItemTemplate> items;  // the bar: popups
};

struct Accelerator {
  BYTE flags = FVIRTKEY;  // FVIRTKEY with FCONTROL, FSHIFT, FALT
  WORD key = 0;           // a virtual key
  WORD command = 0;
};
struct AcceleratorTable {
  UINT id = 0;
  std::vector<Accelerator> entries;
};

// The picture of a tool bar button: 16 rows of 16 letters, a pixel each,
// coloured by ButtonImageColour ('.' lets the bar show through).
struct ButtonImage {
  UINT command = 0;
  std::array<const char*, 16> rows{};
};
// The colour of a letter of a button picture; none for '.' and unknown letters.
[[nodiscard]] std::optional<COLORREF> ButtonImageColour(char letter);

struct ToolBarTemplate {
  UINT id = 0;
  std::vector<UINT> buttons;  // 0: a separator
  std::vector<ButtonImage> images{};
};

// The registry of resources (one per program run; tests add and remove).
class Resources {
 public:
  static Resources& Instance();

  void AddDialog(DialogTemplate dialog);
  void AddMenu(MenuTemplate menu);
  void AddAccelerators(AcceleratorTable table);
  void AddToolBar(ToolBarTemplate toolBar);
  void AddString(UINT id, std::string text);
  void Clear();

  [[nodiscard]] const DialogTemplate* Dialog(UINT id) const;
  [[nodiscard]] const MenuTemplate* Menu(UINT id) const;
  [[nodiscard]] const AcceleratorTable* Accelerators(UINT id) const;
  [[nodiscard]] const ToolBarTemplate* ToolBar(UINT id) const;
  // The picture of a command's tool bar button, from whichever tool bar has one.
  [[nodiscard]] const ButtonImage* ButtonImageOf(UINT command) const;
  [[nodiscard]] std::optional<std::string> String(UINT id) const;
  // The ids of every registered dialog template, in increasing order.
  [[nodiscard]] std::vector<UINT> DialogIds() const;

 private:
  std::map<UINT, DialogTemplate> dialogs_;
  std::map<UINT, MenuTemplate> menus_;
  std::map<UINT, AcceleratorTable> accelerators_;
  std::map<UINT, ToolBarTemplate> toolBars_;
  std::map<UINT, std::string> strings_;
};

// The text of a menu or button caption without its mnemonic marks ("&Open" -> "Open", "&&" -> "&").
[[nodiscard]] std::string StripMnemonic(std::string_view text);

}  // namespace platform::ui

// A string resource, empty when there is none.
std::string AfxLoadString(UINT id);
