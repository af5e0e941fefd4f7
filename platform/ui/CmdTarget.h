#pragma once
// Command targets and their message maps: tables from command ids and control
// notifications to member functions, searched from the most derived class up,
// and the update-UI object that decides whether a command is enabled.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Constants.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Object.h"
#include "platform/ui/WinTypes.h"

class CCmdTarget;
class CCmdUI;
class CMenu;
class CWnd;

// The header of a WM_NOTIFY notification.
struct NMHDR {
  HWND hwndFrom = nullptr;
  UINT_PTR idFrom = 0;
  int code = 0;
};
// An up-down control's proposed change.
struct NMUPDOWN {
  NMHDR hdr;
  int iPos = 0;
  int iDelta = 0;
};
using LPNMUPDOWN = NMUPDOWN*;
// A list control's item change or click.
struct NMLISTVIEW {
  NMHDR hdr;
  int iItem = -1;
  int iSubItem = 0;
  UINT uNewState = 0;
  UINT uOldState = 0;
  UINT uChanged = 0;
  POINT ptAction;
  LPARAM lParam = 0;
};
using LPNMLISTVIEW = NMLISTVIEW*;

// Asked instead of calling: OnCmdMsg fills it and reports whether a handler exists.
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget = nullptr;
};

// The extra argument that WM_NOTIFY handlers receive through OnCmdMsg.
struct AFX_NOTIFY {
  LRESULT* pResult = nullptr;
  NMHDR* pNMHDR = nullptr;
};

namespace platform::ui {

// The code under which WM_NOTIFY notifications are routed.
constexpr int NotifyCode(int notification) {
  return int(MAKELONG(WORD(notification & 0xFFFF), WORD(WM_NOTIFY)));
}

struct MessageEntry {
  int code = 0;       // CN_COMMAND, CN_UPDATE_COMMAND_UI, a control notification or NotifyCode(..)
  UINT idFirst = 0;
  UINT idLast = 0;
  // Calls the handler; false asks the router to go on (handlers of the _EX kind).
  std::function<bool(CCmdTarget* target, UINT id, void* extra)> call;
};

struct MessageMap {
  const MessageMap* (*base)() = nullptr;
  std::vector<MessageEntry> entries;
};

template <class T>
MessageEntry CommandEntry(int code, UINT id, void (T::*fn)()) {
  return {code, id, id, [fn](CCmdTarget* t, UINT, void*) {
            (static_cast<T*>(t)->*fn)();
            return true;
          }};
}
template <class T>
MessageEntry CommandRangeEntry(UINT first, UINT last, void (T::*fn)(UINT)) {
  return {CN_COMMAND, first, last, [fn](CCmdTarget* t, UINT id, void*) {
            (static_cast<T*>(t)->*fn)(id);
            return true;
          }};
}
template <class T>
MessageEntry CommandExEntry(UINT id, BOOL (T::*fn)(UINT)) {
  return {CN_COMMAND, id, id, [fn](CCmdTarget* t, UINT cid, void*) { return (static_cast<T*>(t)->*fn)(cid) != FALSE; }};
}
template <class T>
MessageEntry UpdateEntry(UINT first, UINT last, void (T::*fn)(CCmdUI*)) {
  return {CN_UPDATE_COMMAND_UI, first, last, [fn](CCmdTarget* t, UINT, void* extra) {
            (static_cast<T*>(t)->*fn)(static_cast<CCmdUI*>(extra));
            return true;
          }};
}
template <class T>
MessageEntry NotifyEntry(int notification, UINT id, void (T::*fn)(NMHDR*, LRESULT*)) {
  return {NotifyCode(notification), id, id, [fn](CCmdTarget* t, UINT, void* extra) {
            auto* notify = static_cast<AFX_NOTIFY*>(extra);
            (static_cast<T*>(t)->*fn)(notify->pNMHDR, notify->pResult);
            return true;
          }};
}

}  // namespace platform::ui

#define DECLARE_MESSAGE_MAP()                                        \
 protected:                                                          \
  static const ::platform::ui::MessageMap* GetThisMessageMap();      \
                                                                     \
 public:                                                             \
  const ::platform::ui::MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                    \
  const ::platform::ui::MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const ::platform::ui::MessageMap* theClass::GetThisMessageMap() {                               \
    using ThisClass [[maybe_unused]] = theClass;                                                  \
    using TheBaseClass = baseClass;                                                               \
    static const ::platform::ui::MessageMap map{&TheBaseClass::GetThisMessageMap, {

#define END_MESSAGE_MAP() \
  }};                     \
  return &map;            \
  }

#define ON_COMMAND(id, fn) ::platform::ui::CommandEntry<ThisClass>(CN_COMMAND, id, fn),
#define ON_COMMAND_EX(id, fn) ::platform::ui::CommandExEntry<ThisClass>(id, fn),
#define ON_COMMAND_RANGE(first, last, fn) ::platform::ui::CommandRangeEntry<ThisClass>(first, last, fn),
#define ON_UPDATE_COMMAND_UI(id, fn) ::platform::ui::UpdateEntry<ThisClass>(id, id, fn),
#define ON_UPDATE_COMMAND_UI_RANGE(first, last, fn) ::platform::ui::UpdateEntry<ThisClass>(first, last, fn),
#define ON_CONTROL(code, id, fn) ::platform::ui::CommandEntry<ThisClass>(code, id, fn),
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_CONTROL(CBN_EDITCHANGE, id, fn)
#define ON_CLBN_CHKCHANGE(id, fn) ON_CONTROL(CLBN_CHKCHANGE, id, fn)
#define ON_NOTIFY(code, id, fn) ::platform::ui::NotifyEntry<ThisClass>(code, id, fn),

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)
 public:
  CCmdTarget() = default;
  ~CCmdTarget() override = default;
  CCmdTarget(const CCmdTarget&) = delete;
  CCmdTarget& operator=(const CCmdTarget&) = delete;

  // Looks for a handler of (id, code) in this target's tables, most derived
  // class first. With `info` given it only answers whether one exists.
  virtual BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info);
  virtual const platform::ui::MessageMap* GetMessageMap() const { return GetThisMessageMap(); }

 protected:
  static const platform::ui::MessageMap* GetThisMessageMap();
};

// Update-UI for one command: handlers enable, check or retitle it.
class CCmdUI {
 public:
  explicit CCmdUI(UINT id = 0) : m_nID(id) {}
  virtual ~CCmdUI() = default;

  virtual void Enable(BOOL on = TRUE);
  virtual void SetCheck(int check = 1);
  virtual void SetRadio(BOOL on = TRUE) { SetCheck(on ? 1 : 0); }
  virtual void SetText(std::string_view text);
  void ContinueRouting() { m_bContinueRouting = TRUE; }

  // Routes the update through `target`. When nobody answers and
  // `disableIfNoHandler` is set, the command is enabled exactly when some
  // target in the route handles it. Returns whether an update handler ran.
  BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);

  UINT m_nID;
  UINT m_nIndex = 0;
  CMenu* m_pMenu = nullptr;
  CWnd* m_pOther = nullptr;
  BOOL m_bEnabled = TRUE;
  int m_nCheck = 0;
  std::optional<std::string> m_text;
  BOOL m_bEnableChanged = FALSE;
  BOOL m_bContinueRouting = FALSE;
};
