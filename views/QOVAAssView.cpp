#include "views/QOVAAssView.h"

#include "views/QOVAAssDoc.h"

IMPLEMENT_DYNCREATE(CQOVAAssView, CView)

BEGIN_MESSAGE_MAP(CQOVAAssView, CView)
END_MESSAGE_MAP()

CQOVAAssDoc* CQOVAAssView::GetDocument() const { return dynamic_cast<CQOVAAssDoc*>(m_pDocument); }

void CQOVAAssView::OnDraw(CDC* pDC) { (void)pDC; }
