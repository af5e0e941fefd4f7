#pragma once
// "Output Data": the chooser of a text export of the checked samples. Each of
// its buttons picks a kind and closes it; there is no OK, and Enter does not
// close it.
#include "platform/ui/Dialog.h"

namespace qova::document::exports {

// The kinds of export, as the chooser numbers them.
enum OutputDataKind : int {
  kOutputNothing = 0,
  kOutputSampleList = 1,
  kOutputRawData = 2,
  kOutputCopyNumberChange = 3,
  kOutputMarkers = 4,
  kOutputRegionStatistics = 5,
  kOutputLOH = 6,
  kOutputABCalc = 7,
  kOutputNonSelfReferences = 8,
};

}  // namespace qova::document::exports

class CDialogOutputData : public CDialog {
  DECLARE_DYNAMIC(CDialogOutputData)

 public:
  explicit CDialogOutputData(CWnd* parent = nullptr);

  // The chosen kind after IDOK (qova::document::exports::OutputDataKind); 0 until a button is pressed.
  int m_nKind = qova::document::exports::kOutputNothing;

 protected:
  void OnOK() override {}
  void OnChooseKind(UINT id);

  DECLARE_MESSAGE_MAP()
};

