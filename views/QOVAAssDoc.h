#pragma once
// The association document: case and control samples compared SNP by SNP.
// For now an empty document that File > New(Association) opens; reading the
// genotype calls, the tests and its files come with the association's own
// work.
#include "platform/ui/DocView.h"

class CQOVAAssDoc : public CDocument {
  DECLARE_DYNCREATE(CQOVAAssDoc)
 public:
  CQOVAAssDoc() = default;
  ~CQOVAAssDoc() override = default;

  BOOL OnNewDocument() override;

 protected:
  DECLARE_MESSAGE_MAP()
};
