#pragma once
// "Output raw data": which columns the raw-data export writes, and whether
// the samples of one array type go side by side into one file. The allele
// columns can be chosen only when the results have allele values.
#include <array>

#include "document/exports/RawDataExport.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"

class COutputRawData : public CDialog {
  DECLARE_DYNAMIC(COutputRawData)

 public:
  // `allele`: the results hold allele-specific values (self results, or
  // non-self results of the allele-specific mode).
  explicit COutputRawData(BOOL allele, CWnd* parent = nullptr);

  BOOL m_bAllele;
  // One switch per column, in the order of the columns.
  int Id = TRUE;
  int VendorSnpId = TRUE;
  int RsId = TRUE;
  int Chromosome = TRUE;
  int Position = TRUE;
  int LogRatio = TRUE;
  int LogRatioA;
  int LogRatioB;
  int StateAB = TRUE;
  int StateA;
  int StateB;
  int CallTest = TRUE;
  int CallReference;
  int LohLikelihood;
  // One file per array type with the samples side by side.
  int Combined = FALSE;

  [[nodiscard]] qova::document::exports::RawColumnSet Columns() const;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // The boxes of the allele columns and of the LOH likelihood.
  std::array<CButton, 6> m_alleleBoxes;
};
