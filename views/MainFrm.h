#pragma once
// The main window: the menu bar, one tool bar and the status bar around the
// document windows. Its only command of its own opens the program settings;
// everything else is routed to the active view, its document or the
// application.
#include "platform/ui/Frame.h"

class CMainFrame : public CMDIFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  CMainFrame() = default;
  ~CMainFrame() override = default;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  // Builds the tool bar and the status bar; -1 (no window) when either fails.
  int OnCreate(LPCREATESTRUCT cs) override;

  // Parameter > Default Setting: the "Program Setting" sheet.
  void OnParameterDefaultSetting();

  CStatusBar m_wndStatusBar;
  CToolBar m_wndToolBar;

 protected:
  DECLARE_MESSAGE_MAP()
};
