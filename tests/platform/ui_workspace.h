#pragma once
// The system's MDI workspace in the headless model, for tests of what the
// windowed one reports back: activating a child while another is maximised
// restores that one and maximises the activated one, and each change comes
// to the program through the user-input layer, as the on-screen workspace's
// state changes do.
#include <memory>
#include <vector>

#include "platform/ui/Frame.h"
#include "platform/ui/UserInput.h"
#include "platform/ui/WindowState.h"

namespace qova::test {

class WorkspacePeer : public platform::ui::WindowPeer {
 public:
  explicit WorkspacePeer(HWND child) : child_(child) {}

  void Refresh(unsigned changes) override {
    if (!(changes & platform::ui::ChangeFocus) || !IsWindow(child_) || !child_->parent) return;
    std::vector<HWND> maximised;
    for (HWND sibling : child_->parent->children)
      if (sibling != child_ && sibling->kind == platform::ui::WindowKind::ChildFrame && sibling->maximized)
        maximised.push_back(sibling);
    if (maximised.empty()) return;
    for (HWND sibling : maximised)
      if (IsWindow(sibling) && sibling->wnd)
        platform::ui::input::PlaceWindow(*sibling->wnd, sibling->rect, SW_RESTORE);
    if (IsWindow(child_) && child_->wnd) platform::ui::input::PlaceWindow(*child_->wnd, child_->rect, SW_SHOWMAXIMIZED);
  }

  // Puts every child of `frame` that has no workspace yet into it.
  static void Join(CMDIFrameWnd& frame) {
    for (CMDIChildWnd* child : frame.MDIChildren())
      if (!child->m_hWnd->peer) child->m_hWnd->peer = std::make_unique<WorkspacePeer>(child->m_hWnd);
  }

 private:
  HWND child_;
};

}  // namespace qova::test
