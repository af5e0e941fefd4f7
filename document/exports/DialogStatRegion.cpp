#include "document/exports/DialogStatRegion.h"

#include <string>

#include "core/GenomeTables.h"
#include "platform/Strings.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "resources/ExportDialogs.h"

namespace res = qova::resources;

IMPLEMENT_DYNAMIC(CDialogStatRegion, CDialog)

BEGIN_MESSAGE_MAP(CDialogStatRegion, CDialog)
  ON_CBN_SELCHANGE(res::kStatRegionChromosome, &CDialogStatRegion::OnChromosomeChange)
  ON_BN_CLICKED(res::kStatRegionFirst, &CDialogStatRegion::OnFirst)
  ON_BN_CLICKED(res::kStatRegionLast, &CDialogStatRegion::OnLast)
END_MESSAGE_MAP()

namespace {

constexpr int kChromosomes = 23;

int LengthOf(int chromosome) { return static_cast<int>(qova::core::genome::ChromosomeLength(chromosome)); }

}  // namespace

CDialogStatRegion::CDialogStatRegion(CWnd* parent) : CDialog(res::kStatRegionDialog, parent) {
  res::RegisterExportDialogs();
}

void CDialogStatRegion::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, static_cast<int>(res::kStatRegionFrom), m_nFrom);
  DDX_Text(pDX, static_cast<int>(res::kStatRegionTo), m_nTo);
}

BOOL CDialogStatRegion::OnInitDialog() {
  CDialog::OnInitDialog();
  auto* combo = static_cast<CComboBox*>(GetDlgItem(res::kStatRegionChromosome));
  for (int c = 1; c < kChromosomes; ++c) combo->AddString(std::to_string(c));
  combo->AddString("X");
  combo->SetCurSel(0);
  OnChromosomeChange();
  return TRUE;
}

int CDialogStatRegion::ShownChromosome() const {
  const int selected = static_cast<const CComboBox*>(GetDlgItem(res::kStatRegionChromosome))->GetCurSel();
  return selected >= 0 && selected < kChromosomes ? selected + 1 : 1;
}

void CDialogStatRegion::OnChromosomeChange() {
  SetDlgItemText(static_cast<int>(res::kStatRegionLength), platform::Format("0 - %d", LengthOf(ShownChromosome())));
  OnLast();
}

void CDialogStatRegion::OnFirst() {
  // A position that does not parse has been reported; the fields stay as typed.
  if (!UpdateData(TRUE)) return;
  if (m_nFrom < 0) m_nFrom = 0;
  const bool pinned = IsDlgButtonChecked(static_cast<int>(res::kStatRegionFirst)) == BST_CHECKED;
  if (pinned) m_nFrom = 0;
  GetDlgItem(res::kStatRegionFrom)->EnableWindow(pinned ? FALSE : TRUE);
  UpdateData(FALSE);
}

void CDialogStatRegion::OnLast() {
  if (!UpdateData(TRUE)) return;
  const int length = LengthOf(ShownChromosome());
  if (m_nTo > length) m_nTo = length;
  const bool pinned = IsDlgButtonChecked(static_cast<int>(res::kStatRegionLast)) == BST_CHECKED;
  if (pinned) m_nTo = length;
  GetDlgItem(res::kStatRegionTo)->EnableWindow(pinned ? FALSE : TRUE);
  UpdateData(FALSE);
}

void CDialogStatRegion::OnOK() {
  m_nChromosome = ShownChromosome();
  CDialog::OnOK();
}
