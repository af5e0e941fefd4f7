#include "views/QOVAAssDoc.h"

IMPLEMENT_DYNCREATE(CQOVAAssDoc, CDocument)

BEGIN_MESSAGE_MAP(CQOVAAssDoc, CDocument)
END_MESSAGE_MAP()

BOOL CQOVAAssDoc::OnNewDocument() { return CDocument::OnNewDocument(); }
