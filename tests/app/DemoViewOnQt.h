#pragma once
// The demo's self result of Tumour01 in a main view, inside the main
// document's frame on the Qt backend as on the screen: for the pictures of
// the dialogs the view's commands open.
#include <memory>
#include <string>

#include "core/GlobalData.h"
#include "document/QOVADoc.h"
#include "platform/ui/Frame.h"
#include "platform/ui/UserInput.h"
#include "resources/FrameResources.h"
#include "tests/app/DemoOnQt.h"
#include "tests/support/TempHome.h"
#include "views/main/QOVAView.h"

namespace qova::test {

class DemoViewOnQtTest : public TempHomeTest {
 protected:
  ~DemoViewOnQtTest() override {
    if (frame_) frame_->DestroyWindow();
  }

  // The view after its first update, or nullptr when the frame cannot be
  // made. `onScreen` shows the frame at 1600 x 1000 first, for tools that
  // draw on the view's window.
  CQOVAView* ShowTumour01(bool onScreen) {
    if (!global_.Load()) return nullptr;
    doc_ = std::make_unique<CQOVADoc>(global_);
    doc_->m_bAutoDelete = FALSE;
    const std::string demo = Root() + "demo/";
    doc_->AnalyzedData.LoadFile(demo + "Results/Tumour01.CFS");
    doc_->ArrayData.LoadFile(demo + "ArrayData/Tumour01.CFH");
    doc_->Status = kStatusAnalysis;
    qova::resources::RegisterFrameResources();
    frame_ = new CFrameWnd;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CQOVAView);
    context.m_pCurrentDoc = doc_.get();
    if (!frame_->LoadFrame(qova::resources::kMainFrame, WS_OVERLAPPEDWINDOW, nullptr, &context)) return nullptr;
    auto* view = dynamic_cast<CQOVAView*>(frame_->GetDlgItem(AFX_IDW_PANE_FIRST));
    if (!view) return nullptr;
    frame_->SetActiveView(view);
    if (onScreen) {
      frame_->ShowWindow(SW_SHOW);
      platform::ui::input::Resize(*view, 1600, 1000);
    }
    view->OnInitialUpdate();
    return view;
  }

  DemoOnQt demo_{Root() + "demo/", "Mapping10K_Xba131"};
  CGlobalData global_;
  std::unique_ptr<CQOVADoc> doc_;
  CFrameWnd* frame_ = nullptr;  // goes with its window
};

}  // namespace qova::test
