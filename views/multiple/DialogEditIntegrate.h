#pragma once
// "Edit integral view": the integrated samples by name; Delete takes the
// selected ones out of the integration, Update integrates them again. Either
// closes the dialog with IDOK (also with nothing selected); Enter does
// nothing, Cancel changes nothing.
#include "platform/ui/Dialog.h"

class IntegrationData;

class CDialogEditIntegrate : public CDialog {
  DECLARE_DYNAMIC(CDialogEditIntegrate)

 public:
  explicit CDialogEditIntegrate(IntegrationData* integration, CWnd* parent = nullptr);

  IntegrationData* m_pIntegration;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnDelete();
  void OnUpdate();
  DECLARE_MESSAGE_MAP()
};

namespace qova::views::multiple {
// Lets the main document's Edit integration command run the dialog.
void InstallEditIntegrationDialog();
}  // namespace qova::views::multiple
