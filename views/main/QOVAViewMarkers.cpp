// The marker commands of the main view (Parameter > EditMarker, and the
// marker list file saved and loaded by command id) and the stores that make a
// marker change last: the extracted sample, the shown result and the sample's
// other result, each with the same markers.
#include <exception>
#include <optional>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/BasicData.h"
#include "core/MarkerEdit.h"
#include "document/QOVADoc.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/CommonDialogs.h"
#include "views/main/MarkerListFile.h"
#include "views/main/QOVAView.h"

using namespace qova::views::main;
namespace views = qova::views;

namespace {

// Tells which file a failed store was meant to write; its old contents stay.
void ReportStoreFailure(const std::string& path, const std::exception& error) {
  AfxMessageBox(platform::Format("The sample file %s cannot be written: %s", platform::NativePath(path).c_str(),
                                 error.what()),
                MB_ICONEXCLAMATION);
}

template <typename Store>
bool StoreOrReport(const std::string& path, Store store) {
  try {
    store(path);
    return true;
  } catch (const std::exception& error) {
    ReportStoreFailure(path, error);
    return false;
  }
}

}  // namespace

std::string CQOVAView::ResultPath(bool self) const {
  const CQOVADoc* doc = GetDocument();
  const AnalysisKind kind = self ? AnalysisKind::Self : NonSelfAnalysisKind(m_bNonSelfAllele);
  return platform::JoinPath(doc ? doc->AnalysisResultFolder : std::string(),
                            m_pAnalyzed->Header.SampleName + AnalysisFileExtension(kind));
}

bool CQOVAView::StoreAnalyzedResult() {
  return StoreOrReport(ResultPath(m_pAnalyzed->IsSelf),
                       [this](const std::string& path) { m_pAnalyzed->StoreFile(path); });
}

bool CQOVAView::StoreSampleFiles() {
  const CQOVADoc* doc = GetDocument();
  if (!doc || !m_pAnalyzed || !m_pArrayData || (m_nViewFlags & VIEW_NOT_ANALYSIS)) return false;
  const std::string sample = platform::JoinPath(doc->ArrayDataFolder, m_pArrayData->Header.SampleName + ".CFH");
  if (!StoreOrReport(sample, [this](const std::string& path) { m_pArrayData->StoreFile(path); })) return false;
  const bool self = m_pAnalyzed->IsSelf;
  if (!StoreAnalyzedResult()) return false;
  // The sample's other result, when it has one, takes the same markers.
  const std::string other = ResultPath(!self);
  const bool hasOther = (self || m_pArrayData->Header.IsPaired != 0) && platform::FileExists(other);
  if (!hasOther) return true;
  const MarkerRegionList markers = m_pArrayData->Markers;
  return StoreOrReport(other, [&markers](const std::string& path) {
    CAnalyzedData result;
    result.LoadFileAllocating(path);
    result.Markers = markers;
    result.StoreFile(path);
  });
}

void CQOVAView::OnParameterEditMarker() {
  if (!m_bDataShown || (m_nViewFlags & (VIEW_MULTIPLE | VIEW_INTEGRATE))) return;
  // A result shown without its extracted sample is only looked at: the editor
  // opens read-only on the result's own markers.
  const bool readOnly = (m_nViewFlags & VIEW_NOT_ANALYSIS) != 0;
  CMarkerEdit dialog(m_pBasicData, ChromosomeStartRow(m_pChromosomeStarts, qova::core::kChromosomeTableSlots),
                     readOnly ? BOOL(VIEW_NOT_ANALYSIS) : FALSE, nullptr,
                     readOnly ? m_pAnalyzed->Markers : m_pArrayData->Markers);
  if (dialog.DoModal() != IDOK || readOnly) return;
  m_pArrayData->Markers = dialog.Markers;
  CommitMarkers();
}

void CQOVAView::OnSaveMarkerList() {
  if (!m_bDataShown) return;
  CFileDialog dialog(FALSE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
  if (dialog.DoModal() != IDOK) return;
  const std::string path = dialog.GetPathName();
  const std::string text = MarkerListText(m_pAnalyzed->Markers, IndexMapPositions(*m_pBasicData));
  if (std::string why; !platform::WriteWholeFile(path, text, why))
    AfxMessageBox("The marker list " + platform::NativePath(path) + " cannot be written: " + why, MB_ICONEXCLAMATION);
}

void CQOVAView::OnLoadMarkerList() {
  if (!m_bDataShown || (m_nViewFlags & VIEW_NOT_ANALYSIS)) return;
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
  if (dialog.DoModal() != IDOK) return;
  const std::string path = dialog.GetPathName();
  std::string text;
  if (!platform::ReadWholeFile(path, text)) {
    AfxMessageBox("The marker list " + platform::NativePath(path) + " cannot be read", MB_ICONEXCLAMATION);
    return;
  }
  MarkerListReading reading =
      ReadMarkerList(text, ChromosomeStartRow(m_pChromosomeStarts, qova::core::kChromosomeTableSlots),
                            IndexMapPositions(*m_pBasicData));
  if (!reading.skipped.empty()) {
    // A file that is no marker list at all must not cost the markers the
    // sample has; an empty file is the list of a sample without markers.
    const bool none = reading.regions.empty();
    AfxMessageBox((none ? "No line of the marker list " + platform::NativePath(path) +
                              " can be read; the markers are left as they were:\n"
                        : "These lines of the marker list " + platform::NativePath(path) +
                              " could not be read and are left out:\n") +
                      SkippedLinesText(reading.skipped),
                  MB_ICONEXCLAMATION);
    if (none) return;
  }
  m_pArrayData->Markers = std::move(reading.regions);
  CommitMarkers();
}

void CQOVAView::CommitMarkers() {
  m_bDataShown = FALSE;
  m_pAnalyzed->Markers = m_pArrayData->Markers;
  (void)StoreSampleFiles();
  RedisplayStates();
  m_bDataShown = TRUE;
  Invalidate(TRUE);
}

void CQOVAView::RedisplayStates() {
  BuildDisplayStates();
  ComputeDotColours();
}

void CQOVAView::OnUpdateSingleViewCommands(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && !(m_nViewFlags & (VIEW_MULTIPLE | VIEW_INTEGRATE)));
}

void CQOVAView::OnUpdateSaveMarkerList(CCmdUI* cmdUI) { cmdUI->Enable(m_bDataShown); }

void CQOVAView::OnUpdateLoadMarkerList(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && !(m_nViewFlags & VIEW_NOT_ANALYSIS));
}
