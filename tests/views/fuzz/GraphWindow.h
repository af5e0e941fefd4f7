#pragma once
// The graph document and its view window, made once for a fuzz target of the
// graph's files and driven headlessly: the chart drawn on a recording canvas,
// and a column dragged across it as a user would.
#include <climits>
#include <memory>

#include "platform/ui/App.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Headless.h"
#include "tests/core/fuzz/FuzzFolder.h"
#include "views/graph/GraphSetting.h"
#include "views/graph/QOVAGraphDoc.h"
#include "views/graph/QOVAGraphView.h"

namespace fuzz_support {

class GraphWindow {
 public:
  GraphWindow() {
    QuietMessages();
    platform::ui::SetBackend(nullptr);
    platform::ui::Headless().Reset();
    doc_ = std::make_unique<CQOVAGraphDoc>();
    doc_->m_bAutoDelete = FALSE;
    view_ = new CQOVAGraphView;
    CCreateContext context;
    context.m_pCurrentDoc = doc_.get();
    if (!view_->Create("", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1200, 800), nullptr, AFX_IDW_PANE_FIRST, &context))
      std::abort();
    view_->OnInitialUpdate();
  }

  CQOVAGraphDoc& Doc() { return *doc_; }
  CQOVAGraphView& View() { return *view_; }

  // Draws the chart, then drags the first column to the middle of the chart,
  // and presses and moves at the ends of the view's coordinates.
  void DrawAndDrag() {
    (void)view_->RecordChart();
    const GraphLayout& l = doc_->m_pSetting->m_Layout;
    const long long pitch = static_cast<long long>(l.width) + l.interval;
    const long long columns = static_cast<long long>(doc_->m_Samples.size());
    const auto screen = [&](long long x) { return int(std::clamp<long long>(x * l.zoomX / 100, INT_MIN, INT_MAX)); };
    const int first = screen(l.graphX + pitch / 2), middle = screen(l.graphX + pitch * columns / 2);
    for (const auto& [down, move] : {std::pair{first, middle}, {INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}}) {
      view_->OnLButtonDown(MK_LBUTTON, CPoint(down, 10));
      view_->OnMouseMove(MK_LBUTTON, CPoint(move, 10));
      view_->OnLButtonUp(0, CPoint(move, 10));
    }
    platform::ui::Headless().Reset();
  }

 private:
  std::unique_ptr<CQOVAGraphDoc> doc_;
  CQOVAGraphView* view_ = nullptr;
};

}  // namespace fuzz_support
