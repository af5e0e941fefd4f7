#pragma once
// Windows: the base of frames, views, dialogs and controls. A CWnd object
// wraps a window that exists between its creation and DestroyWindow; the
// window's state (WindowState) is the one truth that dialog logic, tests and
// the on-screen implementation all read.
#include <string>
#include <string_view>

#include "platform/ui/CmdTarget.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/WindowState.h"

class CDataExchange;
class CFrameWnd;
class CScrollBar;
struct CCreateContext;

struct CREATESTRUCT {
  void* lpCreateParams = nullptr;
  HWND hwndParent = nullptr;
  int cy = 0;
  int cx = 0;
  int y = 0;
  int x = 0;
  DWORD style = 0;
  std::string lpszName;
  std::string lpszClass;
  DWORD dwExStyle = 0;
};
using LPCREATESTRUCT = CREATESTRUCT*;

class CWnd : public CCmdTarget {
  DECLARE_DYNAMIC(CWnd)
 public:
  CWnd() = default;
  // Destroying the object that owns a window destroys the window (without
  // calling PostNcDestroy); a control wrapper only lets go of it.
  ~CWnd() override;

  HWND m_hWnd = nullptr;

  // The object that receives the window's messages.
  static CWnd* FromHandle(HWND hwnd);
  [[nodiscard]] HWND GetSafeHwnd() const { return m_hWnd; }

  // A child or top-level window without a template (views use it).
  virtual BOOL Create(std::string_view className, std::string_view windowName, DWORD style, const RECT& rect,
                      CWnd* parent, UINT id, CCreateContext* context = nullptr);
  virtual BOOL DestroyWindow();
  // Binds this object to an existing window (a control of a dialog).
  BOOL Attach(HWND hwnd);
  HWND Detach();
  BOOL SubclassDlgItem(UINT id, CWnd* parent);

  // Text and flags.
  void SetWindowText(std::string_view text);
  [[nodiscard]] std::string GetWindowText() const;
  void GetWindowText(std::string& text) const { text = GetWindowText(); }
  [[nodiscard]] int GetWindowTextLength() const;
  // Returns whether the window was disabled before.
  BOOL EnableWindow(BOOL enable = TRUE);
  [[nodiscard]] BOOL IsWindowEnabled() const;
  // Returns whether the window was visible before.
  BOOL ShowWindow(int cmdShow);
  [[nodiscard]] BOOL IsWindowVisible() const;
  void UpdateWindow() {}
  [[nodiscard]] int GetDlgCtrlID() const;
  [[nodiscard]] DWORD GetStyle() const;
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
  [[nodiscard]] CWnd* GetParent() const;
  [[nodiscard]] CFrameWnd* GetParentFrame() const;
  [[nodiscard]] CWnd* GetTopLevelParent() const;

  // Controls by id.
  [[nodiscard]] CWnd* GetDlgItem(int id) const;
  void SetDlgItemText(int id, std::string_view text);
  [[nodiscard]] std::string GetDlgItemText(int id) const;
  int GetDlgItemText(int id, std::string& text) const;
  void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
  [[nodiscard]] UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;
  void CheckDlgButton(int id, UINT check);
  [[nodiscard]] UINT IsDlgButtonChecked(int id) const;
  // Checks `check` and clears the other buttons of first..last.
  void CheckRadioButton(int first, int last, int check);
  // The id of the checked button of first..last, or 0.
  [[nodiscard]] int GetCheckedRadioButton(int first, int last) const;

  // Geometry, in pixels.
  void GetClientRect(LPRECT rect) const;
  void GetWindowRect(LPRECT rect) const;
  void ClientToScreen(POINT* point) const;
  void ClientToScreen(LPRECT rect) const;
  void ScreenToClient(POINT* point) const;
  void ScreenToClient(LPRECT rect) const;
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
  void CenterWindow(CWnd* alternateOwner = nullptr) { (void)alternateOwner; }

  // Painting: asks for a paint of the whole client area or a part of it.
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);

  CWnd* SetFocus();
  static CWnd* GetFocus();
  CWnd* SetCapture();
  static CWnd* GetCapture();

  // Timers fire OnTimer every `elapse` ms until killed (headless: on the test clock).
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, void* timerProc = nullptr);
  BOOL KillTimer(UINT_PTR id);

  // The window's own scroll bars (SB_HORZ, SB_VERT).
  BOOL SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw = TRUE);
  BOOL GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask = SIF_ALL) const;
  [[nodiscard]] int GetScrollPos(int bar) const;
  int SetScrollPos(int bar, int pos, BOOL redraw = TRUE);
  void GetScrollRange(int bar, int* minPos, int* maxPos) const;
  void SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw = TRUE);
  [[nodiscard]] int GetScrollLimit(int bar) const;
  void ShowScrollBar(UINT bar, BOOL show = TRUE);

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  int MessageBox(std::string_view text, std::string_view caption = {}, UINT type = MB_OK);

  // Data exchange between the controls and the members (see DataExchange.h).
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  virtual void DoDataExchange(CDataExchange* pDX) { (void)pDX; }

  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  virtual BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override;

  // The message handlers. Each base version is the framework's default processing.
  virtual int OnCreate(LPCREATESTRUCT cs);
  virtual void OnDestroy() {}
  virtual void OnClose();
  virtual void PostNcDestroy() {}
  virtual void OnSize(UINT type, int cx, int cy);
  virtual void OnPaint();
  virtual void OnLButtonDown(UINT flags, CPoint point);
  virtual void OnLButtonUp(UINT flags, CPoint point);
  virtual void OnLButtonDblClk(UINT flags, CPoint point);
  virtual void OnRButtonDown(UINT flags, CPoint point);
  virtual void OnRButtonUp(UINT flags, CPoint point);
  virtual void OnMouseMove(UINT flags, CPoint point);
  virtual void OnTimer(UINT_PTR id);
  virtual void OnVScroll(UINT code, UINT pos, CScrollBar* scrollBar);
  virtual void OnHScroll(UINT code, UINT pos, CScrollBar* scrollBar);
  virtual void OnKeyDown(UINT ch, UINT repeat, UINT flags);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
  // Sends one message to its handler.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  // The window's state; throws std::logic_error when the window does not exist.
  [[nodiscard]] platform::ui::WindowState& State() const;
  // Tells the on-screen counterpart what changed.
  void NotifyChanged(unsigned changes) const;

 protected:
  virtual platform::ui::WindowKind KindOfWindow() const { return platform::ui::WindowKind::Generic; }
  // Makes the window state for this object and links it under `parent`.
  platform::ui::WindowState* CreateState(platform::ui::WindowKind kind, HWND parent, UINT id, DWORD style,
                                         const CRect& rect, std::string_view text);
  // Creates through PreCreateWindow and OnCreate; false (and no window) when either refuses.
  BOOL CreateWindowFrom(CREATESTRUCT& cs, CWnd* parent, UINT id, CCreateContext* context);
  // `postNcDestroy` is false when the object itself is being destroyed.
  BOOL DestroyWindowImpl(bool postNcDestroy);

 private:
  friend class CDialog;
  void DetachFrom(platform::ui::WindowState* state);
};

class CScrollBar : public CWnd {
  DECLARE_DYNAMIC(CScrollBar)
};

BOOL IsWindow(HWND hwnd);
BOOL ReleaseCapture();
// The current mouse cursor; returns the previous one.
HCURSOR SetCursor(HCURSOR cursor);

// The wait cursor over the whole program for the object's life, shown after
// the screen is brought up to date: for a long task on the user-interface
// thread after a dialog closed.
class CWaitCursor {
 public:
  CWaitCursor();
  ~CWaitCursor();
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
};

namespace platform::ui {

// The window whose mouse message is being handled (the on-screen
// implementation shows the cursor over it).
[[nodiscard]] CWnd* MouseWindow();
void SetMouseWindow(CWnd* wnd);

}  // namespace platform::ui
