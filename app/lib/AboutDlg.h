#pragma once
// Help > About QOVA: the version and the build date.
#include "platform/ui/Dialog.h"

class CAboutDlg : public CDialog {
  DECLARE_DYNAMIC(CAboutDlg)
 public:
  CAboutDlg();
  BOOL OnInitDialog() override;

 protected:
  DECLARE_MESSAGE_MAP()
};
