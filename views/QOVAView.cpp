#include "views/QOVAView.h"

#include "document/QOVADoc.h"

IMPLEMENT_DYNCREATE(CQOVAView, CView)

BEGIN_MESSAGE_MAP(CQOVAView, CView)
END_MESSAGE_MAP()

CQOVADoc* CQOVAView::GetDocument() const { return dynamic_cast<CQOVADoc*>(m_pDocument); }

void CQOVAView::OnDraw(CDC* pDC) { (void)pDC; }
