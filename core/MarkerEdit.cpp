#include "core/MarkerEdit.h"

#include "platform/Strings.h"
#include "platform/ui/Controls.h"
#include "resources/MarkerDialogs.h"

namespace res = qova::resources;

std::string MarkerLine(const MarkerRegion& region) {
  if (region.IsUserMarker())
    return platform::Format("Ch:%d\t %d - %d\tUser: %d", region.Chromosome, region.FirstSnp, region.LastSnp,
                            region.UserMarkerNumber());
  return platform::Format("Ch:%d\t %d - %d\tHMM : %d", region.Chromosome, region.FirstSnp, region.LastSnp, region.Kind);
}

IMPLEMENT_DYNAMIC(CMarkerEdit, CDialog)

BEGIN_MESSAGE_MAP(CMarkerEdit, CDialog)
  ON_BN_CLICKED(qova::resources::kMarkerEditEdit, &CMarkerEdit::OnEdit)
  ON_BN_CLICKED(qova::resources::kMarkerEditDelete, &CMarkerEdit::OnDelete)
END_MESSAGE_MAP()

CMarkerEdit::CMarkerEdit(const CBasicData* annotation, ChromosomeStartRow chromosomeStarts, BOOL readOnly,
                         CWnd* parent, const MarkerRegionList& regions)
    : CDialog(res::kMarkerEditDialog, parent),
      Markers(regions),
      annotation_(annotation),
      chromosomeStarts_(chromosomeStarts),
      readOnly_(readOnly) {
  res::RegisterMarkerDialogs();
}

BOOL CMarkerEdit::OnInitDialog() {
  CDialog::OnInitDialog();
  auto* list = static_cast<CListBox*>(GetDlgItem(res::kMarkerEditList));
  list->SetTabStops(2, res::kMarkerEditTabStops);
  for (const MarkerRegion& region : Markers) list->AddString(MarkerLine(region));
  if (readOnly_) {
    for (UINT id : {UINT(IDOK), res::kMarkerEditEdit, res::kMarkerEditDelete}) GetDlgItem(id)->EnableWindow(FALSE);
  }
  return TRUE;
}

void CMarkerEdit::OnCancel() { CDialog::OnCancel(); }

int CMarkerEdit::SelectedRegion() const {
  const int selected = static_cast<const CListBox*>(GetDlgItem(res::kMarkerEditList))->GetCurSel();
  return selected >= 0 && selected < static_cast<int>(Markers.size()) ? selected : -1;
}

void CMarkerEdit::OnEdit() {
  const int s = SelectedRegion();
  if (s < 0) return;
  MarkerRegion& region = Markers[static_cast<std::size_t>(s)];
  CMarkSet markSet(annotation_, chromosomeStarts_, region.FirstSnp, region.LastSnp, region.Kind);
  if (markSet.DoModal() != IDOK) return;
  region = {markSet.Chromosome, markSet.StartSnp, markSet.EndSnp, markSet.Kind};
  auto* list = static_cast<CListBox*>(GetDlgItem(res::kMarkerEditList));
  list->DeleteString(static_cast<UINT>(s));
  list->InsertString(s, MarkerLine(region));
  list->SetCurSel(s);
}

void CMarkerEdit::OnDelete() {
  const int s = SelectedRegion();
  if (s < 0) return;
  static_cast<CListBox*>(GetDlgItem(res::kMarkerEditList))->DeleteString(static_cast<UINT>(s));
  Markers.erase(Markers.begin() + s);
}
