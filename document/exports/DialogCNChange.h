#pragma once
// The option dialog of the copy-number change and marker exports: whether
// each listed stretch gets the names of the known genes it overlaps.
#include "platform/ui/Dialog.h"

class CDialogCNChange : public CDialog {
  DECLARE_DYNAMIC(CDialogCNChange)

 public:
  explicit CDialogCNChange(CWnd* parent = nullptr);

  int m_bKnownGenes = FALSE;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
};
