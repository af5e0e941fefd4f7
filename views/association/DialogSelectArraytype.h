#pragma once
// "Select Array type": the array type of a new association study, and
// whether the CHP files offered next are read to check theirs. The caller
// reads both members after IDOK.
#include <string>

#include "platform/ui/Dialog.h"

class CDialogSelectArraytype : public CDialog {
  DECLARE_DYNAMIC(CDialogSelectArraytype)

 public:
  explicit CDialogSelectArraytype(CWnd* parent = nullptr);

  std::string m_strArrayType;
  int m_bSkipTypeCheck = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
};
