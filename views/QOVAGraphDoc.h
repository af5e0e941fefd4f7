#pragma once
// The graph document: a chart of copy-number segments of many samples. For
// now an empty document that File > New(Graph) opens; its segments,
// settings and commands come with the graph's own work.
#include "platform/ui/DocView.h"

class CQOVAGraphDoc : public CDocument {
  DECLARE_DYNCREATE(CQOVAGraphDoc)
 public:
  CQOVAGraphDoc() = default;
  ~CQOVAGraphDoc() override = default;

  BOOL OnNewDocument() override;

 protected:
  DECLARE_MESSAGE_MAP()
};
