#pragma once
// The choices of the contamination-rate measurement: the number of loci, and
// in a self analysis also the allele signal it reads.
#include "platform/ui/Dialog.h"

// "determine contamination rate": N=1 or N=3 loci, neither chosen at first.
class CContamination : public CDialog {
  DECLARE_DYNAMIC(CContamination)

 public:
  explicit CContamination(CWnd* parent = nullptr);

  int Loci = 0;  // after IDOK: 1 or 3

 protected:
  void OnOK() override;
};

// The same for a self analysis, with the allele; "both alleles" and N=1 at first.
class CContaminationSelfMode : public CDialog {
  DECLARE_DYNAMIC(CContaminationSelfMode)

 public:
  explicit CContaminationSelfMode(CWnd* parent = nullptr);

  int Allele = 0;  // after IDOK: 1 both, 2 the larger, 3 the smaller allele
  int Loci = 0;    // after IDOK: 1 or 3

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
};
