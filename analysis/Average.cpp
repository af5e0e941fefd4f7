#include "analysis/Average.h"

#include "analysis/RadioChoice.h"
#include "platform/MessageBox.h"
#include "platform/Strings.h"
#include "platform/ui/DataExchange.h"
#include "resources/ParameterDialogs.h"

namespace res = qova::resources;
using qova::analysis::CheckedRadio;

IMPLEMENT_DYNAMIC(CAverage, CDialog)

CAverage::CAverage(CWnd* parent) : CDialog(res::kAverageDialog, parent) { res::RegisterParameterDialogs(); }

void CAverage::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, res::kAverageNumber, AveragingNumber);
  DDV_MinMaxInt(pDX, AveragingNumber, 1, kMaxAveragingNumber);
}

BOOL CAverage::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(res::kAverageNumberLabel, platform::Format("Enter Averaging Number (1-%d)", kMaxAveragingNumber));
  // The caller's current choice; without one, excluding the extremes and lines.
  CheckDlgButton(AveragingMode == 2 ? res::kAverageIncludeAll : res::kAverageExcludeMaxMin, BST_CHECKED);
  CheckDlgButton(DrawMode == 1 ? res::kAveragePoints : res::kAverageLines, BST_CHECKED);
  return TRUE;
}

void CAverage::OnOK() {
  int mode = AveragingMode;
  int draw = DrawMode;
  if (const int checked = CheckedRadio(*this, {res::kAverageExcludeMaxMin, res::kAverageIncludeAll}); checked >= 0)
    mode = checked + 1;
  if (const int checked = CheckedRadio(*this, {res::kAveragePoints, res::kAverageLines}); checked >= 0)
    draw = checked + 1;
  if (mode == 0) {
    AfxMessageBox("Select Averaging Mode");
    return;
  }
  if (draw == 0) {
    AfxMessageBox("Select Draw Mode");
    return;
  }
  // The caller reads the members whatever the result, so a refused number
  // must not stay in them.
  const int number = AveragingNumber;
  if (!UpdateData(TRUE)) {
    AveragingNumber = number;
    return;
  }
  AveragingMode = mode;
  DrawMode = draw;
  EndDialog(IDOK);
}
