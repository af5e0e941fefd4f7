#include "platform/ui/Resources.h"

#include "platform/ui/Constants.h"

namespace platform::ui {

const ControlTemplate* DialogTemplate::Control(UINT controlId) const {
  for (const ControlTemplate& c : controls)
    if (c.id == controlId) return &c;
  return nullptr;
}

ControlTemplate Static(UINT id, std::string text, DialogRect rect, DWORD style) {
  return {id, ControlKind::Static, std::move(text), rect, style};
}
ControlTemplate Frame(UINT id, DialogRect rect) { return {id, ControlKind::Frame, {}, rect, SS_BLACKFRAME}; }
ControlTemplate GroupBox(std::string text, DialogRect rect) {
  return {IDC_STATIC, ControlKind::GroupBox, std::move(text), rect, 0};
}
ControlTemplate Edit(UINT id, DialogRect rect, DWORD style) { return {id, ControlKind::Edit, {}, rect, style | WS_TABSTOP}; }
ControlTemplate PushButton(UINT id, std::string text, DialogRect rect, DWORD style) {
  return {id, ControlKind::PushButton, std::move(text), rect, style | WS_TABSTOP};
}
ControlTemplate DefPushButton(UINT id, std::string text, DialogRect rect) {
  return {id, ControlKind::PushButton, std::move(text), rect, BS_DEFPUSHBUTTON | WS_TABSTOP};
}
ControlTemplate CheckBox(UINT id, std::string text, DialogRect rect, DWORD style) {
  return {id, ControlKind::CheckBox, std::move(text), rect, style | BS_AUTOCHECKBOX | WS_TABSTOP};
}
ControlTemplate RadioButton(UINT id, std::string text, DialogRect rect, DWORD style) {
  return {id, ControlKind::RadioButton, std::move(text), rect, style | BS_AUTORADIOBUTTON};
}
ControlTemplate ComboBox(UINT id, DialogRect rect, DWORD style) {
  return {id, ControlKind::ComboBox, {}, rect, style | WS_TABSTOP};
}
ControlTemplate ListBox(UINT id, DialogRect rect, DWORD style) {
  return {id, ControlKind::ListBox, {}, rect, style | WS_TABSTOP};
}
ControlTemplate CheckListBox(UINT id, DialogRect rect, DWORD style) {
  return {id, ControlKind::CheckListBox, {}, rect, style | WS_TABSTOP};
}
ControlTemplate DragListBox(UINT id, DialogRect rect, DWORD style) {
  return {id, ControlKind::DragListBox, {}, rect, style | WS_TABSTOP};
}
ControlTemplate ListCtrl(UINT id, DialogRect rect, DWORD style) {
  return {id, ControlKind::ListCtrl, {}, rect, style | WS_TABSTOP};
}
ControlTemplate Progress(UINT id, DialogRect rect, DWORD style) { return {id, ControlKind::Progress, {}, rect, style}; }
ControlTemplate Animation(UINT id, DialogRect rect, DWORD style) { return {id, ControlKind::Animation, {}, rect, style}; }
ControlTemplate UpDown(UINT id, DialogRect rect, DWORD style) { return {id, ControlKind::UpDown, {}, rect, style}; }
ControlTemplate MonthCalendar(UINT id, DialogRect rect, DWORD style) {
  return {id, ControlKind::MonthCalendar, {}, rect, style};
}
ControlTemplate Hidden(ControlTemplate control) {
  control.visible = false;
  return control;
}

MenuItemTemplate MenuItem(std::string text, UINT id) { return {std::move(text), id, {}, 0}; }
MenuItemTemplate MenuSeparator() { return {}; }
MenuItemTemplate Popup(std::string text, std::vector<MenuItemTemplate> items) {
  return {std::move(text), 0, std::move(items), 0};
}

Resources& Resources::Instance() {
  static Resources resources;
  return resources;
}

void Resources::AddDialog(DialogTemplate dialog) { dialogs_[dialog.id] = std::move(dialog); }
void Resources::AddMenu(MenuTemplate menu) { menus_[menu.id] = std::move(menu); }
void Resources::AddAccelerators(AcceleratorTable table) { accelerators_[table.id] = std::move(table); }
void Resources::AddToolBar(ToolBarTemplate toolBar) { toolBars_[toolBar.id] = std::move(toolBar); }
void Resources::AddString(UINT id, std::string text) { strings_[id] = std::move(text); }

void Resources::Clear() {
  dialogs_.clear();
  menus_.clear();
  accelerators_.clear();
  toolBars_.clear();
  strings_.clear();
}

template <class Map>
static auto FindIn(const Map& map, UINT id) -> const typename Map::mapped_type* {
  auto it = map.find(id);
  return it == map.end() ? nullptr : &it->second;
}

const DialogTemplate* Resources::Dialog(UINT id) const { return FindIn(dialogs_, id); }
const MenuTemplate* Resources::Menu(UINT id) const { return FindIn(menus_, id); }
const AcceleratorTable* Resources::Accelerators(UINT id) const { return FindIn(accelerators_, id); }
const ToolBarTemplate* Resources::ToolBar(UINT id) const { return FindIn(toolBars_, id); }

const ButtonImage* Resources::ButtonImageOf(UINT command) const {
  for (const auto& [id, toolBar] : toolBars_)
    for (const ButtonImage& image : toolBar.images)
      if (image.command == command) return &image;
  return nullptr;
}

std::optional<COLORREF> ButtonImageColour(char letter) {
  switch (letter) {
    case 'k': return RGB(0, 0, 0);
    case 'w': return RGB(255, 255, 255);
    case 'g': return RGB(128, 128, 128);
    case 'r': return RGB(200, 0, 0);
    case 'b': return RGB(0, 70, 200);
    case 'n': return RGB(0, 140, 0);
    case 'y': return RGB(230, 190, 0);
    default: return std::nullopt;
  }
}

std::vector<UINT> Resources::DialogIds() const {
  std::vector<UINT> ids;
  for (const auto& [id, dialog] : dialogs_) ids.push_back(id);
  return ids;
}

std::optional<std::string> Resources::String(UINT id) const {
  const std::string* s = FindIn(strings_, id);
  return s ? std::optional<std::string>(*s) : std::nullopt;
}

std::string StripMnemonic(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += text[i];
  }
  return out;
}

}  // namespace platform::ui

std::string AfxLoadString(UINT id) { return platform::ui::Resources::Instance().String(id).value_or(std::string()); }
