// The Display Samples dialog's exports that walk the SNPs of the checked
// samples; the work is in DisplayExports.h.
#include "document/exports/DisplayExports.h"
#include "document/display/SelectResult.h"
#include "document/exports/TextExport.h"
#include "resources/DisplaySamplesDialog.h"

void CSelectResult::RunSnpExport(void (*run)(const qova::DisplayExportSource&)) {
  qova::DisplayExportSource source;
  source.CheckedSamples = [this] { return qova::CheckedSamples(m_listSamples); };
  // The radio button, not m_bSelfMode: the list shows what the button says.
  source.SelfMode = IsChecked(qova::resources::display::kSelfAnalysis);
  source.Parent = this;
  run(source);
}

void CSelectResult::OutputCopyNumberChange() { RunSnpExport(qova::ExportCopyNumberChange); }
void CSelectResult::OutputMarkers() { RunSnpExport(qova::ExportMarkers); }
void CSelectResult::OutputRegionStatistics() { RunSnpExport(qova::ExportRegionStatistics); }
void CSelectResult::OutputLOH() { RunSnpExport(qova::ExportLoh); }
void CSelectResult::OutputABCalc() { RunSnpExport(qova::ExportABCalc); }
void CSelectResult::OutputNonSelfReferences() { RunSnpExport(qova::ExportNonSelfReferences); }
