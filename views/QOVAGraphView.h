#pragma once
// The view of the graph document. For now it shows an empty window.
#include "platform/ui/DocView.h"

class CQOVAGraphDoc;

class CQOVAGraphView : public CView {
  DECLARE_DYNCREATE(CQOVAGraphView)
 public:
  CQOVAGraphView() = default;
  ~CQOVAGraphView() override = default;

  [[nodiscard]] CQOVAGraphDoc* GetDocument() const;
  void OnDraw(CDC* pDC) override;

 protected:
  DECLARE_MESSAGE_MAP()
};
