#include "document/exports/DialogOutputData.h"

#include "resources/ExportDialogs.h"

namespace res = qova::resources;
namespace exports = qova::document::exports;

IMPLEMENT_DYNAMIC(CDialogOutputData, CDialog)

BEGIN_MESSAGE_MAP(CDialogOutputData, CDialog)
  ON_COMMAND_RANGE(res::kOutputSampleListButton, res::kOutputNonSelfReferencesButton, &CDialogOutputData::OnChooseKind)
END_MESSAGE_MAP()

namespace {

struct KindButton {
  unsigned id;
  exports::OutputDataKind kind;
};

constexpr KindButton kButtons[] = {
    {res::kOutputSampleListButton, exports::kOutputSampleList},
    {res::kOutputRawDataButton, exports::kOutputRawData},
    {res::kOutputCopyNumberButton, exports::kOutputCopyNumberChange},
    {res::kOutputMarkerButton, exports::kOutputMarkers},
    {res::kOutputRegionStatisticsButton, exports::kOutputRegionStatistics},
    {res::kOutputLohButton, exports::kOutputLOH},
    {res::kOutputABCalcButton, exports::kOutputABCalc},
    {res::kOutputNonSelfReferencesButton, exports::kOutputNonSelfReferences},
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
