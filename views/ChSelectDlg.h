#pragma once
// "Chromosome selection": the chromosome the main and association views
// switch to. Ch1 is checked at the first opening of a run only; later
// openings check nothing, so OK without a choice leaves Chromosome at 0.
#include "platform/ui/Dialog.h"

class CChSelectDlg : public CDialog {
  DECLARE_DYNAMIC(CChSelectDlg)

 public:
  explicit CChSelectDlg(CWnd* parent = nullptr);

  int Chromosome = 0;  // 1..22, 23 for X; 0 until OK finds a checked one

  // As at the start of the program: the next opening checks Ch1 again.
  static void ForgetOpenings();

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
};
