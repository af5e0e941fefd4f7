// Exports of the Display Samples dialog whose work is not in this version
// yet. Each says so when chosen; the code that does the work replaces its
// line here.
#include "document/SelectResult.h"
#include "platform/MessageBox.h"

namespace {

void ShowNotYetAvailable(const char* what) {
  AfxMessageBox(std::string(what) + " is not yet available in this version of QOVA.", MB_ICONINFORMATION);
}

}  // namespace

void CSelectResult::OutputCopyNumberChange() { ShowNotYetAvailable("Output of copy-number changes"); }
void CSelectResult::OutputMarkers() { ShowNotYetAvailable("Output of markers"); }
void CSelectResult::OutputRegionStatistics() { ShowNotYetAvailable("Output of region statistics"); }
void CSelectResult::OutputLOH() { ShowNotYetAvailable("Output of LOH regions"); }
void CSelectResult::OutputABCalc() { ShowNotYetAvailable("Output of A-B calc"); }
void CSelectResult::OutputNonSelfReferences() { ShowNotYetAvailable("Output of non-self references"); }
