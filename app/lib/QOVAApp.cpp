#include "app/lib/QOVAApp.h"

#include <string>

#include "app/lib/AboutDlg.h"
#include "app/lib/VersionCheck.h"
#include "core/AppSettingSheet.h"
#include "core/GlobalData.h"
#include "document/ApplicationData.h"
#include "document/QOVADoc.h"
#include "platform/Profile.h"
#include "resources/CommandIds.h"
#include "resources/FrameResources.h"
#include "views/ChildFrm.h"
#include "views/association/DialogAssociation.h"
#include "views/multiple/DialogEditIntegrate.h"
#include "views/MainFrm.h"
#include "views/association/QOVAAssDoc.h"
#include "views/association/QOVAAssView.h"
#include "views/graph/QOVAGraphDoc.h"
#include "views/graph/QOVAGraphView.h"
#include "views/main/QOVAView.h"
#include "views/main/SingleViewList.h"

namespace res = qova::resources;
namespace core = qova::core;
namespace association = qova::views::association;
namespace multiple = qova::views::multiple;

namespace {

constexpr const char* kNotOpened =
    " cannot be opened: File > Open opens graph texts (*.txt) and association studies (*.AAD). Results are shown "
    "through Data > DisplaySamples.";

}  // namespace

IMPLEMENT_DYNAMIC(CQOVAApp, CWinApp)

BEGIN_MESSAGE_MAP(CQOVAApp, CWinApp)
  ON_COMMAND(ID_FILE_NEW, &CQOVAApp::OnFileNew)
  ON_COMMAND(res::kCmdNewGraph, &CQOVAApp::OnFileNewGraph)
  ON_COMMAND(res::kCmdNewAssociation, &CQOVAApp::OnFileNewAssociation)
  ON_COMMAND(ID_FILE_OPEN, &CWinApp::OnFileOpen)
  ON_COMMAND(ID_FILE_PRINT_SETUP, &CWinApp::OnFilePrintSetup)
  ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)
  ON_COMMAND(ID_APP_ABOUT, &CQOVAApp::OnAppAbout)
  ON_COMMAND(res::kCmdCheckNewVersion, &CQOVAApp::OnCheckNewVersion)
END_MESSAGE_MAP()

CQOVAApp::CQOVAApp() : CWinApp(nullptr) {}

CQOVAApp::~CQOVAApp() {
  if (m_pMainWnd && m_pMainWnd->GetSafeHwnd()) m_pMainWnd->DestroyWindow();
  m_pMainWnd = nullptr;
  for (CDocTemplate* t : m_templates) delete t;
  m_templates.clear();
  if (m_pGlobalData) {
    CGlobalData::SetProgramSettingSheet({});
    CQOVADoc::SetAssociationDialog(nullptr);
    CQOVADoc::SetSingleViewListFactory({});
    CQOVADoc::SetEditIntegrationDialog({});
    core::SetLiveProgramSetting(nullptr);
    if (qova::document::HasApplicationData() && &qova::document::ApplicationData() == m_pGlobalData) qova::document::SetApplicationData(nullptr);
    delete m_pGlobalData;
    m_pGlobalData = nullptr;
  }
}

BOOL CQOVAApp::InitInstance() {
  res::RegisterFrameResources();
  CWinApp::InitInstance();

  SetRegistryKey(kRegistryKey);
  platform::AppProfile().UseSettingsFile();
  LoadStdProfileSettings(0);

  m_pGlobalData = new CGlobalData;
  qova::document::SetApplicationData(m_pGlobalData);
  core::InstallProgramSettingSheet();
  association::InstallAssociationDialog();
  multiple::InstallEditIntegrationDialog();
  CSingleViewList::Install();
  core::SetLiveProgramSetting(m_pGlobalData->ProgramSetting.get());
  // A table that cannot be loaded has been reported; the program runs without it.
  m_pGlobalData->Load();
  // Told once a run, after the settings record was read: a value that was
  // there but could not be used is named along with the damaged lines.
  if (const std::optional<std::string> unreadable = platform::AppProfile().UnreadableLinesMessage()) {
    AfxMessageBox(*unreadable, MB_ICONEXCLAMATION);
  }

  const struct {
    UINT resource;
    const CRuntimeClass* document;
    const CRuntimeClass* view;
  } templates[] = {
      {res::kQovaDocumentType, RUNTIME_CLASS(CQOVADoc), RUNTIME_CLASS(CQOVAView)},
      {res::kGraphDocumentType, RUNTIME_CLASS(CQOVAGraphDoc), RUNTIME_CLASS(CQOVAGraphView)},
      {res::kAssociationDocumentType, RUNTIME_CLASS(CQOVAAssDoc), RUNTIME_CLASS(CQOVAAssView)},
  };
  for (const auto& t : templates)
    AddDocTemplate(new CMultiDocTemplate(t.resource, t.document, RUNTIME_CLASS(CChildFrame), t.view));

  auto* mainFrame = new CMainFrame;
  if (!mainFrame->LoadFrame(res::kMainFrame)) {
    delete mainFrame;
    return FALSE;
  }
  m_pMainWnd = mainFrame;

  CCommandLineInfo commandLine;
  ParseCommandLine(commandLine);
  if (!ProcessShellCommand(commandLine)) return FALSE;

  m_pMainWnd->ShowWindow(m_nCmdShow);
  m_pMainWnd->UpdateWindow();
  return TRUE;
}

void CQOVAApp::OpenNewDocument(int templateIndex) {
  POSITION pos = GetFirstDocTemplatePosition();
  for (int i = 0; pos; ++i) {
    CDocTemplate* docTemplate = GetNextDocTemplate(pos);
    if (i == templateIndex) {
      docTemplate->OpenDocumentFile(nullptr, TRUE);
      return;
    }
  }
}

CDocument* CQOVAApp::OpenDocumentFile(const char* pathName) {
  if (pathName == nullptr) return CWinApp::OpenDocumentFile(pathName);
  // Only a template that names the file's extension reads the file; the
  // others would take it as foreign and read nothing.
  bool opens = false;
  for (CDocTemplate* t : m_templates) {
    CDocument* open = nullptr;
    opens = opens || t->MatchDocType(pathName, open) >= CDocTemplate::yesAttemptNative;
  }
  if (!opens) {
    AfxMessageBox(std::string(pathName) + kNotOpened, MB_ICONEXCLAMATION);
    return nullptr;
  }
  return CWinApp::OpenDocumentFile(pathName);
}

void CQOVAApp::OnFileNew() { OpenNewDocument(0); }
void CQOVAApp::OnFileNewGraph() { OpenNewDocument(1); }
void CQOVAApp::OnFileNewAssociation() { OpenNewDocument(2); }

void CQOVAApp::OnAppAbout() {
  CAboutDlg about;
  about.DoModal();
}

void CQOVAApp::OnCheckNewVersion() { qova::app::CheckForNewVersion(); }
