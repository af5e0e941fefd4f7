// The Display Samples dialog's exports that walk the SNPs of the checked
// samples; the work is in DisplayExports.h.
#include "document/exports/DisplayExports.h"
#include "document/display/SelectResult.h"
#include "document/exports/TextExport.h"
#include "resources/DisplaySamplesDialog.h"

namespace exports = qova::document::exports;

void CSelectResult::RunSnpExport(void (*run)(const exports::DisplayExportSource&)) {
  exports::DisplayExportSource source;
  source.CheckedSamples = [this] { return exports::CheckedSamples(m_listSamples); };
  // The radio button, not m_bSelfMode: the list shows what the button says.
  source.SelfMode = IsChecked(qova::resources::display::kSelfAnalysis);
  source.Parent = this;
  run(source);
}

void CSelectResult::OutputCopyNumberChange() { RunSnpExport(exports::ExportCopyNumberChange); }
void CSelectResult::OutputMarkers() { RunSnpExport(exports::ExportMarkers); }
void CSelectResult::OutputRegionStatistics() { RunSnpExport(exports::ExportRegionStatistics); }
void CSelectResult::OutputLOH() { RunSnpExport(exports::ExportLoh); }
void CSelectResult::OutputABCalc() { RunSnpExport(exports::ExportABCalc); }
void CSelectResult::OutputNonSelfReferences() { RunSnpExport(exports::ExportNonSelfReferences); }
