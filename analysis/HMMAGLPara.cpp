#include "analysis/HMMAGLPara.h"

#include <string>

#include "analysis/SegmentModels.h"
#include "platform/MessageBox.h"
#include "platform/ui/DataExchange.h"
#include "resources/ParameterDialogs.h"

namespace res = qova::resources;

IMPLEMENT_DYNAMIC(CHMMAGLPara, CDialog)

CHMMAGLPara::CHMMAGLPara(GainLossParameters* parameters, CWnd* parent)
    : CDialog(res::kGainLossDialog, parent), parameters_(parameters) {
  res::RegisterParameterDialogs();
}

BOOL CHMMAGLPara::OnInitDialog() {
  edited_ = *parameters_;
  return CDialog::OnInitDialog();
}

void CHMMAGLPara::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, res::kGainLossGainThreshold, edited_.GainThreshold);
  DDV_MinMaxFloat(pDX, edited_.GainThreshold, 0.0f, 1.0f);
  DDX_Text(pDX, res::kGainLossLossThreshold, edited_.LossThreshold);
  DDV_MinMaxFloat(pDX, edited_.LossThreshold, -1.0f, 0.0f);
  DDX_Text(pDX, res::kGainLossNormalGivenAberration, edited_.NormalGivenAberration);
  DDV_MinMaxFloat(pDX, edited_.NormalGivenAberration, 0.0f, 1.0f);
  DDX_Text(pDX, res::kGainLossAberrationGivenNormal, edited_.AberrationGivenNormal);
  DDV_MinMaxFloat(pDX, edited_.AberrationGivenNormal, 0.0f, 1.0f);
  DDX_Text(pDX, res::kGainLossGainGivenLoss, edited_.GainGivenLoss);
  DDV_MinMaxFloat(pDX, edited_.GainGivenLoss, 0.0f, 1.0f);
  DDX_Text(pDX, res::kGainLossKosambi, edited_.KosambiFactor);
  DDV_MinMaxFloat(pDX, edited_.KosambiFactor, 0.0f, 100.0f);
}

void CHMMAGLPara::OnOK() {
  if (!UpdateData(TRUE)) return;
  // The engine refuses the same parameters with the same words.
  std::string problem;
  if (!qova::analysis::GainLossEmission(edited_, &problem)) {
    AfxMessageBox(problem, MB_ICONEXCLAMATION);
    return;
  }
  *parameters_ = edited_;
  EndDialog(IDOK);
}
