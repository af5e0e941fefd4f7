#include "core/MarkSet.h"

#include <algorithm>
#include <utility>

#include "core/MarkerRegion.h"
#include "platform/MessageBox.h"
#include "platform/Strings.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "resources/MarkerDialogs.h"

namespace res = qova::resources;

namespace {

// The numbers both combos offer.
constexpr std::int32_t kOfferedNumbers = 7;

}  // namespace

IMPLEMENT_DYNAMIC(CMarkSet, CDialog)

BEGIN_MESSAGE_MAP(CMarkSet, CDialog)
  ON_BN_CLICKED(qova::resources::kMarkSetHmmRadio, &CMarkSet::OnHmmNumber)
  ON_BN_CLICKED(qova::resources::kMarkSetUserRadio, &CMarkSet::OnUserMarker)
  ON_EN_CHANGE(qova::resources::kMarkSetStartSnp, &CMarkSet::OnStartSnpChange)
  ON_EN_CHANGE(qova::resources::kMarkSetEndSnp, &CMarkSet::OnEndSnpChange)
END_MESSAGE_MAP()

CMarkSet::CMarkSet(const CBasicData* annotation, ChromosomeStartRow chromosomeStarts, std::int32_t startSnp,
                   std::int32_t endSnp, std::int32_t kind)
    : CDialog(res::kMarkSetDialog),
      StartSnp(startSnp),
      EndSnp(endSnp),
      Kind(kind),
      annotation_(annotation),
      chromosomeStarts_(chromosomeStarts),
      openedKind_(kind) {
  res::RegisterMarkerDialogs();
}

std::optional<std::int32_t> CMarkSet::RowOf(std::int32_t snp) const {
  if (annotation_ == nullptr || snp < 0 || snp >= static_cast<std::int32_t>(annotation_->IndexMap.size()))
    return std::nullopt;
  const std::int32_t row = annotation_->IndexMap[static_cast<std::size_t>(snp)];
  const auto rows = static_cast<std::int32_t>(std::min(annotation_->Chromosome.size(), annotation_->Position.size()));
  if (row < 0 || row >= rows) return std::nullopt;
  return row;
}

std::int32_t CMarkSet::ChromosomeOf(std::int32_t snp) const {
  const auto row = RowOf(snp);
  return row ? annotation_->Chromosome[static_cast<std::size_t>(*row)] : 0;
}

void CMarkSet::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, res::kMarkSetStartSnp, StartSnp);
  DDX_Text(pDX, res::kMarkSetEndSnp, EndSnp);
}

void CMarkSet::ShowPosition(UINT label, std::int32_t snp) {
  if (const auto row = RowOf(snp))
    SetDlgItemText(label, platform::Format("position: %d", annotation_->Position[static_cast<std::size_t>(*row)]));
}

void CMarkSet::ShowTypedPosition(UINT edit, UINT label) {
  const auto snp = platform::ui::ParseTypedInteger(GetDlgItemText(edit));
  if (snp && Chromosome != 0 && ChromosomeOf(*snp) == Chromosome) ShowPosition(label, *snp);
}

void CMarkSet::FillNumbers(UINT id, std::optional<std::int32_t> extra, std::int32_t selected) {
  auto* combo = static_cast<CComboBox*>(GetDlgItem(id));
  for (std::int32_t n = 0; n < kOfferedNumbers; ++n) combo->AddString(platform::Format("%d", n));
  if (extra) combo->AddString(platform::Format("%d", *extra));
  combo->SetCurSel(extra ? kOfferedNumbers : (selected >= 0 && selected < kOfferedNumbers ? selected : 0));
}

void CMarkSet::EnableNumbers(bool hmm) {
  GetDlgItem(res::kMarkSetHmmNumbers)->EnableWindow(hmm);
  GetDlgItem(res::kMarkSetUserNumbers)->EnableWindow(!hmm);
}

BOOL CMarkSet::OnInitDialog() {
  Chromosome = ChromosomeOf(StartSnp);
  CDialog::OnInitDialog();
  SetDlgItemText(res::kMarkSetChromosome, platform::Format("Chromosome: %d", Chromosome));
  ShowPosition(res::kMarkSetStartPosition, StartSnp);
  ShowPosition(res::kMarkSetEndPosition, EndSnp);

  // A kind outside the offered numbers (the analysis writes user marker 7)
  // becomes one more item of its combo, so that OK keeps it.
  const bool hmm = Kind < MarkerRegion::kUserMarkerBase;
  const std::int32_t number = hmm ? Kind : Kind - MarkerRegion::kUserMarkerBase;
  const bool offered = number >= 0 && number < kOfferedNumbers;
  FillNumbers(res::kMarkSetHmmNumbers, hmm && !offered ? std::optional(number) : std::nullopt, hmm ? number : 0);
  FillNumbers(res::kMarkSetUserNumbers, !hmm && !offered ? std::optional(number) : std::nullopt, hmm ? 0 : number);
  CheckDlgButton(hmm ? res::kMarkSetHmmRadio : res::kMarkSetUserRadio, BST_CHECKED);
  EnableNumbers(hmm);
  return TRUE;
}

void CMarkSet::OnHmmNumber() { EnableNumbers(true); }
void CMarkSet::OnUserMarker() { EnableNumbers(false); }
void CMarkSet::OnStartSnpChange() { ShowTypedPosition(res::kMarkSetStartSnp, res::kMarkSetStartPosition); }
void CMarkSet::OnEndSnpChange() { ShowTypedPosition(res::kMarkSetEndSnp, res::kMarkSetEndPosition); }

std::int32_t CMarkSet::ChosenKind() const {
  const bool hmm = IsDlgButtonChecked(res::kMarkSetHmmRadio) == BST_CHECKED;
  const auto* combo = static_cast<const CComboBox*>(GetDlgItem(hmm ? res::kMarkSetHmmNumbers : res::kMarkSetUserNumbers));
  const int selected = combo->GetCurSel();
  // The item after the offered numbers is the kind the dialog was opened with.
  if (selected >= kOfferedNumbers) return openedKind_;
  return selected + (hmm ? 0 : MarkerRegion::kUserMarkerBase);
}

void CMarkSet::OnOK() {
  Kind = ChosenKind();
  if (!UpdateData(TRUE)) return;
  // A start SNP outside chromosomes 1..23 has no row to place the region in;
  // the message then gives the range of all chromosomes.
  const bool placed = Chromosome >= 1 && Chromosome <= kChromosomeX;
  const std::int32_t lo = chromosomeStarts_[static_cast<std::size_t>(placed ? Chromosome : 1)];
  const std::int32_t hi = chromosomeStarts_[static_cast<std::size_t>(placed ? Chromosome + 1 : kChromosomeX + 1)] - 1;
  if (!placed || StartSnp < lo || StartSnp > hi || EndSnp < lo || EndSnp > hi) {
    AfxMessageBox(platform::Format("SNP number must be between %d and %d", lo, hi));
    return;
  }
  if (StartSnp > EndSnp) std::swap(StartSnp, EndSnp);
  EndDialog(IDOK);
}
