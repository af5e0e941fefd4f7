#include "views/QOVAGraphView.h"

#include "views/QOVAGraphDoc.h"

IMPLEMENT_DYNCREATE(CQOVAGraphView, CView)

BEGIN_MESSAGE_MAP(CQOVAGraphView, CView)
END_MESSAGE_MAP()

CQOVAGraphDoc* CQOVAGraphView::GetDocument() const { return dynamic_cast<CQOVAGraphDoc*>(m_pDocument); }

void CQOVAGraphView::OnDraw(CDC* pDC) { (void)pDC; }
