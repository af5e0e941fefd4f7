#pragma once
// The view of the association document. For now it shows an empty window.
#include "platform/ui/DocView.h"

class CQOVAAssDoc;

class CQOVAAssView : public CView {
  DECLARE_DYNCREATE(CQOVAAssView)
 public:
  CQOVAAssView() = default;
  ~CQOVAAssView() override = default;

  [[nodiscard]] CQOVAAssDoc* GetDocument() const;
  void OnDraw(CDC* pDC) override;

 protected:
  DECLARE_MESSAGE_MAP()
};
