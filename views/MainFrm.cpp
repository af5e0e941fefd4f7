#include "views/MainFrm.h"

#include <iterator>

#include "core/GlobalData.h"
#include "document/ApplicationData.h"
#include "document/QOVADoc.h"
#include "platform/ui/App.h"
#include "resources/CommandIds.h"
#include "resources/FrameResources.h"

IMPLEMENT_DYNCREATE(CMainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
  ON_COMMAND(qova::resources::kCmdDefaultSetting, &CMainFrame::OnParameterDefaultSetting)
END_MESSAGE_MAP()

namespace {

// The message pane, then the keyboard lock indicators.
constexpr UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

}  // namespace

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) { return CMDIFrameWnd::PreCreateWindow(cs); }

int CMainFrame::OnCreate(LPCREATESTRUCT cs) {
  if (CMDIFrameWnd::OnCreate(cs) == -1) return -1;
  if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                             WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY |
                                 CBRS_SIZE_DYNAMIC) ||
      !m_wndToolBar.LoadToolBar(qova::resources::kMainFrame))
    return -1;
  if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(kIndicators, int(std::size(kIndicators))))
    return -1;
  m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
  EnableDocking(CBRS_ALIGN_ANY);
  DockControlBar(&m_wndToolBar);
  return 0;
}

void CMainFrame::OnParameterDefaultSetting() {
  if (!qova::document::HasApplicationData()) return;
  CGlobalData& global = qova::document::ApplicationData();
  if (!global.EditProgramSetting()) return;
  // The documents copied the folders when they were made; the ones chosen now
  // hold for every open document, not only for the next new one.
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return;
  for (POSITION t = app->GetFirstDocTemplatePosition(); t != nullptr;) {
    const CDocTemplate* docTemplate = app->GetNextDocTemplate(t);
    for (POSITION d = docTemplate->GetFirstDocPosition(); d != nullptr;) {
      if (auto* doc = dynamic_cast<CQOVADoc*>(docTemplate->GetNextDoc(d))) doc->TakeFolders(*global.ProgramSetting);
    }
  }
}
