#include "core/ProgressBar.h"

#include <algorithm>

#include "platform/Paths.h"
#include "platform/ui/App.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Controls.h"
#include "resources/ProgressDialog.h"

IMPLEMENT_DYNAMIC(CProgressBar, CDialog)

namespace res = qova::resources;

namespace {

void EnableMainWindow(BOOL enable) {
  if (CWnd* main = AfxGetMainWnd(); main && main->GetSafeHwnd()) main->EnableWindow(enable);
}

}  // namespace

CProgressBar::CProgressBar(BOOL* keepGoing) : CDialog(res::kProgressDialog), m_pKeepGoing(keepGoing) {
  res::RegisterProgressDialog();
  EnableMainWindow(FALSE);
  Create(res::kProgressDialog);
  if (!GetSafeHwnd()) {
    EnableMainWindow(TRUE);
    return;
  }
  SetWindowText("In Progress");
  if (auto* bar = dynamic_cast<CProgressCtrl*>(GetDlgItem(res::kProgressBar))) bar->SetRange(0, 100);
  SetDlgItemText(res::kProgressStatus, "Click Cancel to cancel the operation");
  if (auto* animation = dynamic_cast<CAnimateCtrl*>(GetDlgItem(res::kProgressAnimation))) {
    // A missing animation leaves the control empty; nothing to report.
    if (animation->Open(AnimationPath())) animation->Play(0, 0xFFFF, UINT(-1));
  }
  ShowWindow(SW_SHOW);
}

CProgressBar::~CProgressBar() { Close(); }

std::string CProgressBar::AnimationPath() { return platform::JoinPath(platform::StartFolder(), "data\\sampleAVI1.avi"); }

BOOL CProgressBar::PumpMessages() {
  CWinApp* app = AfxGetApp();
  MSG msg;
  while (::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    BOOL more = app ? app->PumpMessage() : ::GetMessage(&msg, nullptr, 0, 0);
    if (!more) {
      ::PostQuitMessage(0);
      return FALSE;
    }
    if (!app) ::DispatchMessage(&msg);
  }
  if (app) {
    LONG idle = 0;
    while (app->OnIdle(idle++)) {
    }
  }
  return TRUE;
}

void CProgressBar::OnCancel() {
  if (m_pKeepGoing) *m_pKeepGoing = FALSE;
  Close();
}

void CProgressBar::SetPosition(int percent) {
  if (!GetSafeHwnd()) return;
  if (auto* bar = dynamic_cast<CProgressCtrl*>(GetDlgItem(res::kProgressBar))) bar->SetPos(std::clamp(percent, 0, 100));
}

void CProgressBar::SetStatusText(std::string_view text) {
  if (GetSafeHwnd()) SetDlgItemText(res::kProgressStatus, text);
}

void CProgressBar::Close() {
  if (!GetSafeHwnd()) return;
  EnableMainWindow(TRUE);
  DestroyWindow();
}
