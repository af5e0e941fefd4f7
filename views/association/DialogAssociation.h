#pragma once
// "Association": the numbers of positive and negative samples and the
// statistic of the single-sample association analysis that the Sample
// Manager runs. The caller reads the three members after IDOK.
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"

class CDialogAssociation : public CDialog {
  DECLARE_DYNAMIC(CDialogAssociation)

 public:
  explicit CDialogAssociation(CWnd* parent = nullptr);

  int m_nPositive = 0;
  int m_nNegative = 0;
  int m_nMethod = 0;
  CComboBox m_cbMethod;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnMethodChange();

  DECLARE_MESSAGE_MAP()

 private:
  void EnableCounts(int method);
};

namespace qova::views::association {

// Makes the Sample Manager's association action run this dialog.
void InstallAssociationDialog();

}  // namespace qova::views::association
