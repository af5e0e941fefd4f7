#pragma once
// "Mark set": one marker region's kind (an HMM state number or a user marker
// number) and its first and last SNP on the chromosome of its first SNP.
//
// SNP numbers come from files and from the keyboard: every one is checked
// against the tables before it indexes them, and OK accepts only numbers
// inside the chromosome's row of the chromosome-start table.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "platform/ui/Dialog.h"

// A row of the per-type chromosome-start table: entry c is the first SNP of
// chromosome c (1..23), entry 24 one past the last SNP of X.
using ChromosomeStartRow = std::span<const std::int32_t, qova::core::kChromosomeTableSlots>;

class CMarkSet : public CDialog {
  DECLARE_DYNAMIC(CMarkSet)

 public:
  // `annotation` is the family table of the sample, `chromosomeStarts` the
  // row of its array type; both must outlive the dialog.
  CMarkSet(const CBasicData* annotation, ChromosomeStartRow chromosomeStarts, std::int32_t startSnp,
           std::int32_t endSnp, std::int32_t kind);

  std::int32_t StartSnp = 0;
  std::int32_t EndSnp = 0;
  // After IDOK: the combo's number, plus 32 for a user marker; a kind the
  // combos do not offer (user marker 7, written by the analysis) stays as it
  // was unless the user picks another.
  std::int32_t Kind = 0;
  // The chromosome of the start SNP when the dialog opened; 0 when that SNP
  // is not in the annotation.
  std::int32_t Chromosome = 0;

  // The chromosome (1..23, or kNoChromosome after X) of SNP `snp`, or 0 when
  // the number lies outside the annotation.
  [[nodiscard]] std::int32_t ChromosomeOf(std::int32_t snp) const;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnHmmNumber();
  void OnUserMarker();
  void OnStartSnpChange();
  void OnEndSnpChange();

  DECLARE_MESSAGE_MAP()

 private:
  // The annotation row of SNP `snp`, when both tables hold it.
  [[nodiscard]] std::optional<std::int32_t> RowOf(std::int32_t snp) const;
  // Shows the position of the SNP typed into `edit` in `label` when it lies on
  // the dialog's chromosome; anything else leaves the label as it is.
  void ShowTypedPosition(UINT edit, UINT label);
  void ShowPosition(UINT label, std::int32_t snp);
  // Fills a combo with "0".."6" and, when `extra` is given, one more item for
  // it; selects `selected`'s item (or item 0).
  void FillNumbers(UINT combo, std::optional<std::int32_t> extra, std::int32_t selected);
  void EnableNumbers(bool hmm);
  // The kind the checked radio and its combo stand for.
  [[nodiscard]] std::int32_t ChosenKind() const;

  const CBasicData* annotation_;
  ChromosomeStartRow chromosomeStarts_;
  std::int32_t openedKind_;
};
