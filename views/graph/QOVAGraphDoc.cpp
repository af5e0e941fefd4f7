#include "views/graph/QOVAGraphDoc.h"

#include <string>

#include "document/ExportDialog.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/ui/CommonDialogs.h"
#include "resources/CommandIds.h"
#include "views/graph/GraphChangeText.h"
#include "views/graph/GraphSetting.h"

namespace graph = qova::views::graph;

namespace {

namespace res = qova::resources;

constexpr const char* kTextFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";

// What a text-file dialog is for: the settings file is read back where the
// user keeps it, while an export starts in the Output folder.
enum class TextFileUse { LoadSetting, SaveSetting, Export };

// The path chosen in a text-file dialog, or empty when it was cancelled.
std::string ChooseTextFile(TextFileUse use) {
  CFileDialog dialog(use == TextFileUse::LoadSetting ? TRUE : FALSE, "txt", nullptr,
                     OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kTextFilter);
  if (use == TextFileUse::Export) qova::document::StartInOutputFolder(dialog);
  if (dialog.DoModal() != IDOK) return {};
  return dialog.GetPathName();
}

}  // namespace

IMPLEMENT_DYNCREATE(CQOVAGraphDoc, CDocument)

BEGIN_MESSAGE_MAP(CQOVAGraphDoc, CDocument)
  ON_COMMAND(res::kCmdGraphSetting, &CQOVAGraphDoc::OnSetting)
  ON_COMMAND(res::kCmdGraphSaveSetting, &CQOVAGraphDoc::OnSaveSetting)
  ON_COMMAND(res::kCmdGraphLoadSetting, &CQOVAGraphDoc::OnLoadSetting)
  ON_COMMAND(res::kCmdGraphOutputSampleOrder, &CQOVAGraphDoc::OnOutputSampleOrder)
END_MESSAGE_MAP()

CQOVAGraphDoc::CQOVAGraphDoc() : m_pSetting(std::make_unique<CGraphSetting>()) {}

CQOVAGraphDoc::~CQOVAGraphDoc() = default;

BOOL CQOVAGraphDoc::OnNewDocument() { return CDocument::OnNewDocument(); }

BOOL CQOVAGraphDoc::OnOpenDocument(const char* pathName) {
  const std::string path = pathName ? pathName : "";
  std::string text;
  if (!platform::ReadWholeFile(path, text)) {
    AfxMessageBox("Cannot read the graph file " + path, MB_ICONEXCLAMATION);
    return FALSE;
  }
  graph::GraphContents contents;
  std::string error;
  if (!graph::ReadCopyNumberChanges(text, contents, error)) {
    AfxMessageBox(path + ", " + error, MB_ICONEXCLAMATION);
    return FALSE;
  }
  DeleteContents();
  m_Segments = std::move(contents.segments);
  m_Samples = std::move(contents.samples);
  SetModifiedFlag(FALSE);
  return TRUE;
}

void CQOVAGraphDoc::DeleteContents() {
  m_Segments.clear();
  m_Samples.clear();
  m_bHasAliases = FALSE;
  m_bHasGroups = FALSE;
}

std::vector<int> CQOVAGraphDoc::SampleOrder() const {
  std::vector<int> order(m_Samples.size(), -1);
  for (std::size_t i = 0; i < m_Samples.size(); ++i) {
    const std::size_t row = std::size_t(m_Samples[i].row);
    if (row < order.size()) order[row] = int(i);
  }
  return order;
}

void CQOVAGraphDoc::OnSetting() {
  if (m_pSetting->DoModal() == IDOK) UpdateAllViews(nullptr, 0, nullptr);
}

void CQOVAGraphDoc::OnSaveSetting() {
  const std::string path = ChooseTextFile(TextFileUse::SaveSetting);
  if (path.empty()) return;
  if (!m_pSetting->SaveSettings(path)) AfxMessageBox("Cannot write the graph settings file " + path, MB_ICONEXCLAMATION);
}

void CQOVAGraphDoc::OnLoadSetting() {
  const std::string path = ChooseTextFile(TextFileUse::LoadSetting);
  if (path.empty()) return;
  std::string error;
  if (!m_pSetting->LoadSettings(path, error)) {
    AfxMessageBox("Cannot read the graph settings file " + path + "\n" + error, MB_ICONEXCLAMATION);
    return;
  }
  UpdateAllViews(nullptr, 0, nullptr);
}

void CQOVAGraphDoc::OnOutputSampleOrder() {
  const std::string path = ChooseTextFile(TextFileUse::Export);
  if (path.empty()) return;
  std::string text = "Sample_name";
  if (m_bHasAliases) text += "\tAlias_name";
  if (m_bHasGroups) text += "\tGroup";
  text += "\n";
  for (int sample : SampleOrder()) {
    if (sample < 0) continue;  // rows that are no permutation leave gaps
    const GraphSample& s = m_Samples[std::size_t(sample)];
    text += s.name;
    if (m_bHasAliases) text += "\t" + s.alias;
    if (m_bHasGroups) text += "\t" + std::to_string(s.group);
    text += "\n";
  }
  if (!platform::WriteWholeFile(path, text)) AfxMessageBox("Cannot write the sample order file " + path, MB_ICONEXCLAMATION);
}
