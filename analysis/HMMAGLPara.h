#pragma once
// "HMM parameter" of the gain/loss model: the caller's six parameters, edited
// in place when OK accepts them. Each must lie in its range, and together
// they must make a model the engine can run (no negative probability).
#include "analysis/Analysis.h"
#include "platform/ui/Dialog.h"

class CHMMAGLPara : public CDialog {
  DECLARE_DYNAMIC(CHMMAGLPara)

 public:
  // `parameters` is the caller's block; it must outlive the dialog.
  explicit CHMMAGLPara(GainLossParameters* parameters, CWnd* parent = nullptr);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  GainLossParameters* parameters_;
  // What the edits hold; the caller's block changes only when OK accepts it.
  GainLossParameters edited_;
};
