#include "views/multiple/DialogEditIntegrate.h"

#include <exception>
#include <string>
#include <vector>

#include "analysis/IntegrationData.h"
#include "document/QOVADoc.h"
#include "platform/MessageBox.h"
#include "platform/ui/Controls.h"
#include "resources/ViewDialogs.h"

namespace res = qova::resources;

IMPLEMENT_DYNAMIC(CDialogEditIntegrate, CDialog)

BEGIN_MESSAGE_MAP(CDialogEditIntegrate, CDialog)
  ON_BN_CLICKED(res::kEditIntegrateDelete, &CDialogEditIntegrate::OnDelete)
  ON_BN_CLICKED(res::kEditIntegrateUpdate, &CDialogEditIntegrate::OnUpdate)
END_MESSAGE_MAP()

namespace {

// The texts of the selected lines, in ascending order.
std::vector<std::string> SelectedNames(const CWnd& dialog) {
  const auto* list = static_cast<const CListBox*>(dialog.GetDlgItem(int(res::kEditIntegrateSamples)));
  std::vector<int> lines(std::size_t(std::max(0, list->GetSelCount())));
  if (!lines.empty()) lines.resize(std::size_t(std::max(0, list->GetSelItems(int(lines.size()), lines.data()))));
  std::vector<std::string> names;
  for (const int line : lines) names.push_back(list->GetText(line));
  return names;
}

}  // namespace

CDialogEditIntegrate::CDialogEditIntegrate(IntegrationData* integration, CWnd* parent)
    : CDialog(res::kEditIntegrateDialog, parent), m_pIntegration(integration) {
  res::RegisterViewDialogs();
}

BOOL CDialogEditIntegrate::OnInitDialog() {
  CDialog::OnInitDialog();
  auto* list = static_cast<CListBox*>(GetDlgItem(int(res::kEditIntegrateSamples)));
  if (m_pIntegration)
    for (const std::string& name : m_pIntegration->SampleNames) list->InsertString(-1, name);
  return TRUE;
}

void CDialogEditIntegrate::OnDelete() {
  // By name, one after another: each removal renumbers the samples after it.
  if (m_pIntegration)
    for (const std::string& name : SelectedNames(*this)) (void)m_pIntegration->RemoveSampleByName(name);
  EndDialog(IDOK);
}

void CDialogEditIntegrate::OnUpdate() {
  if (m_pIntegration) {
    for (const std::string& name : SelectedNames(*this)) {
      // A result that cannot be read keeps its old regions; the others go on.
      try {
        (void)m_pIntegration->ReintegrateSampleByName(name);
      } catch (const std::exception& error) {
        AfxMessageBox(error.what());
      }
    }
  }
  EndDialog(IDOK);
}

namespace qova::views::multiple {

void InstallEditIntegrationDialog() {
  CQOVADoc::SetEditIntegrationDialog([](IntegrationData& integration) {
    CDialogEditIntegrate dialog(&integration);
    return dialog.DoModal() == IDOK;
  });
}

}  // namespace qova::views::multiple
