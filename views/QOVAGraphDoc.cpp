#include "views/QOVAGraphDoc.h"

IMPLEMENT_DYNCREATE(CQOVAGraphDoc, CDocument)

BEGIN_MESSAGE_MAP(CQOVAGraphDoc, CDocument)
END_MESSAGE_MAP()

BOOL CQOVAGraphDoc::OnNewDocument() { return CDocument::OnNewDocument(); }
