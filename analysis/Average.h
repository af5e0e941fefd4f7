#pragma once
// "set averaging mode": how the view averages neighbouring SNPs for display.
// The caller fills the members, the dialog opens showing them, and they
// change only when OK accepts them.
#include "platform/ui/Dialog.h"

class CAverage : public CDialog {
  DECLARE_DYNAMIC(CAverage)

 public:
  static constexpr int kMaxAveragingNumber = 50;

  explicit CAverage(CWnd* parent = nullptr);

  int AveragingNumber = 1;  // SNPs averaged, 1..kMaxAveragingNumber
  int AveragingMode = 0;    // 1 without the largest and smallest value, 2 all values
  int DrawMode = 0;         // 1 points, 2 lines

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
};
