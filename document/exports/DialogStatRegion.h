#pragma once
// "Statistics of region": one chromosome and a range of base positions on
// it, for the region statistics and A-B exports. "first" pins the start at
// 0 and "last" the end at the chromosome's length; the chromosome's length
// is shown beside its choice.
#include "platform/ui/Dialog.h"

class CDialogStatRegion : public CDialog {
  DECLARE_DYNAMIC(CDialogStatRegion)

 public:
  explicit CDialogStatRegion(CWnd* parent = nullptr);

  int m_nChromosome = 1;  // 1..22, 23 = X; set on OK
  int m_nFrom = 0;        // base pairs, both ends included
  int m_nTo = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

  void OnChromosomeChange();
  void OnFirst();
  void OnLast();

  DECLARE_MESSAGE_MAP()

 private:
  // The chromosome the combo shows (1..23).
  [[nodiscard]] int ShownChromosome() const;
};
