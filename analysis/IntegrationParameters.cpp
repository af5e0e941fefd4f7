#include "analysis/IntegrationParameters.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "analysis/RadioChoice.h"
#include "platform/MessageBox.h"
#include "platform/ui/DataExchange.h"
#include "resources/IntegrationDialog.h"

namespace {

using namespace qova::resources;

// The mode radios and the modes they stand for; "UserMarker" takes the
// combo's number.
constexpr unsigned kModeRadios[] = {kIntegrationGainsAndLosses,     kIntegrationHomozygousDeletions,
                                    kIntegrationHighAmplifications, kIntegrationLoh,
                                    kIntegrationAllelicImbalance,   kIntegrationCopyNumberChange,
                                    kIntegrationMarkedImbalance,    kIntegrationUserMarker};
constexpr const char* kModes[] = {"AddDel", "HomDel", "HiAmp", "LOH", "AH", "Change", "AH_Mark", "UserMarker"};

// User marker numbers the combo offers.
constexpr int kMarkerNumbers = 7;

}  // namespace

IMPLEMENT_DYNAMIC(CIntegrationParameters, CDialog)

BEGIN_MESSAGE_MAP(CIntegrationParameters, CDialog)
  ON_BN_CLICKED(qova::resources::kIntegrationAddCurrentSet, &CIntegrationParameters::OnAddCurrentSet)
END_MESSAGE_MAP()

CIntegrationParameters::CIntegrationParameters(CWnd* parent) : CDialog(kIntegrationDialog, parent) {
  RegisterIntegrationDialog();
}

void CIntegrationParameters::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, static_cast<int>(kIntegrationMarkerNumber), m_markerNumber);
  DDX_Control(pDX, static_cast<int>(kIntegrationRunUpDown), m_runUpDown);
  DDX_Text(pDX, static_cast<int>(kIntegrationTitle), Title);
}

BOOL CIntegrationParameters::OnInitDialog() {
  CDialog::OnInitDialog();
  for (int n = 0; n < kMarkerNumbers; ++n) m_markerNumber.AddString(std::to_string(n));
  m_runUpDown.SetRange(kFewestRunSnps, kMostRunSnps);
  m_runUpDown.SetPos(kDefaultRunSnps);
  CheckRadioButton(kIntegrationOrderById, kIntegrationOrderByAmount,
                   Order == "ID" ? kIntegrationOrderById : kIntegrationOrderByAmount);
  GetDlgItem(kIntegrationLoh)->EnableWindow(HasLohLikelihood ? TRUE : FALSE);
  GetDlgItem(kIntegrationAllelicImbalance)->EnableWindow(HasLohLikelihood ? TRUE : FALSE);
  GetDlgItem(kIntegrationAddCurrentSet)->EnableWindow(IntegrationExists ? TRUE : FALSE);
  return TRUE;
}

void CIntegrationParameters::OnAddCurrentSet() { EnableChoices(); }

void CIntegrationParameters::EnableChoices() {
  const BOOL choose = IsDlgButtonChecked(kIntegrationAddCurrentSet) == BST_CHECKED ? FALSE : TRUE;
  for (unsigned id : kModeRadios) {
    const bool needsAlleles = id == kIntegrationLoh || id == kIntegrationAllelicImbalance;
    GetDlgItem(id)->EnableWindow(choose && (HasLohLikelihood || !needsAlleles) ? TRUE : FALSE);
  }
  for (unsigned id : {kIntegrationMarkerNumber, kIntegrationRunEdit, kIntegrationRunUpDown})
    GetDlgItem(id)->EnableWindow(choose);
}

std::int32_t CIntegrationParameters::RunLength() const {
  const std::string text = GetDlgItemText(kIntegrationRunEdit);
  char* end = nullptr;
  const long typed = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str()) return m_runUpDown.GetPos32();
  return static_cast<std::int32_t>(std::clamp<long>(typed, kFewestRunSnps, kMostRunSnps));
}

void CIntegrationParameters::OnOK() {
  UpdateData(TRUE);
  Order = IsDlgButtonChecked(kIntegrationOrderById) == BST_CHECKED ? "ID" : "Amount";
  AddCurrentSet = IntegrationExists && IsDlgButtonChecked(kIntegrationAddCurrentSet) == BST_CHECKED;
  if (AddCurrentSet) {
    EndDialog(IDOK);
    return;
  }
  const int marker = m_markerNumber.GetCurSel();
  if (IsDlgButtonChecked(kIntegrationUserMarker) == BST_CHECKED && marker < 0) {
    AfxMessageBox("Select Marker Number");
    return;
  }
  const int chosen = qova::analysis::CheckedRadio(*this, kModeRadios);
  if (chosen < 0) {
    AfxMessageBox("Select One Option");
    return;
  }
  Mode = kModeRadios[chosen] == kIntegrationUserMarker ? "UserMarker" + std::to_string(marker) : kModes[chosen];
  MinRun = RunLength();
  EndDialog(IDOK);
}
