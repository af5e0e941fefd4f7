#pragma once
// The main copy-number view of the main document. For now it only shows an
// empty window; the panels, navigation, mouse tools and printing come with
// the view's own work.
#include "platform/ui/DocView.h"

class CQOVADoc;

class CQOVAView : public CView {
  DECLARE_DYNCREATE(CQOVAView)
 public:
  CQOVAView() = default;
  ~CQOVAView() override = default;

  [[nodiscard]] CQOVADoc* GetDocument() const;
  void OnDraw(CDC* pDC) override;

 protected:
  DECLARE_MESSAGE_MAP()
};
