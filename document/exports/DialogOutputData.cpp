#include "document/exports/DialogOutputData.h"

#include "resources/ExportDialogs.h"

namespace res = qova::resources;

IMPLEMENT_DYNAMIC(CDialogOutputData, CDialog)

BEGIN_MESSAGE_MAP(CDialogOutputData, CDialog)
  ON_COMMAND_RANGE(res::kOutputSampleListButton, res::kOutputNonSelfReferencesButton, &CDialogOutputData::OnChooseKind)
END_MESSAGE_MAP()

namespace {

struct KindButton {
  unsigned id;
  qova::OutputDataKind kind;
};

constexpr KindButton kButtons[] = {
    {res::kOutputSampleListButton, qova::kOutputSampleList},
    {res::kOutputRawDataButton, qova::kOutputRawData},
    {res::kOutputCopyNumberButton, qova::kOutputCopyNumberChange},
    {res::kOutputMarkerButton, qova::kOutputMarkers},
    {res::kOutputRegionStatisticsButton, qova::kOutputRegionStatistics},
    {res::kOutputLohButton, qova::kOutputLOH},
    {res::kOutputABCalcButton, qova::kOutputABCalc},
    {res::kOutputNonSelfReferencesButton, qova::kOutputNonSelfReferences},
};

}  // namespace

CDialogOutputData::CDialogOutputData(CWnd* parent) : CDialog(res::kOutputDataDialog, parent) {
  res::RegisterExportDialogs();
}

void CDialogOutputData::OnChooseKind(UINT id) {
  for (const KindButton& button : kButtons) {
    if (button.id == id) {
      m_nKind = button.kind;
      EndDialog(IDOK);
      return;
    }
  }
}
