#pragma once
// "Baseline setting": which allele signal the baseline is adjusted by, and the
// copy number N of each mode. The larger- and smaller-allele modes need
// allele-specific data, which the caller says with a flag.
#include <cstdint>

#include "platform/ui/Dialog.h"

class CBaseSet : public CDialog {
  DECLARE_DYNAMIC(CBaseSet)

 public:
  // The bit of Flags that says allele-specific data are available.
  static constexpr std::uint8_t kAlleleDataFlag = 4;

  explicit CBaseSet(CWnd* parent = nullptr);

  std::uint8_t Flags = 0;  // set by the caller before running
  // After IDOK:
  int BaseMode = 0;  // 1 both alleles, 2 the larger, 3 the smaller allele
  int BothN = 0;     // 1..4
  int LargerN = 0;   // 0..3
  int SmallerN = 0;  // 0..3

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
};
