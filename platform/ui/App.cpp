#include "platform/ui/App.h"

#include <algorithm>

#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/ui/Backend.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Paper.h"
#include "platform/ui/Resources.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace {

CWinApp* g_app = nullptr;
UINT g_currentCommand = 0;

// The flags the command-line record understands, without their "/" or "-".
constexpr std::string_view kFrameworkFlags[] = {"p", "pt", "dde", "nologo"};

bool IsFrameworkFlag(std::string_view name) {
  return std::any_of(std::begin(kFrameworkFlags), std::end(kFrameworkFlags),
                     [name](std::string_view flag) { return platform::EqualsNoCase(name, flag); });
}

// "/" begins every absolute path here, so it marks a flag only where the
// argument is one of the framework's flags; an argument that names a file is
// always that file.
bool IsFlagArgument(std::string_view arg) {
  if (arg.empty() || platform::FileExists(arg)) return false;
  if (arg[0] == '-') return true;
  return arg[0] == '/' && IsFrameworkFlag(arg.substr(1));
}

}  // namespace

CWinApp* AfxGetApp() { return g_app; }
CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

namespace platform::ui {

UINT CurrentCommandId() { return g_currentCommand; }

BOOL DispatchCommand(CCmdTarget& target, UINT id) {
  UINT outer = g_currentCommand;
  g_currentCommand = id;
  struct Restore {
    UINT value;
    ~Restore() { g_currentCommand = value; }
  } restore{outer};
  try {
    return target.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr);
  } catch (const CFileException& e) {
    AfxMessageBox(e.what(), MB_ICONEXCLAMATION);
  } catch (const CArchiveException& e) {
    AfxMessageBox(e.what(), MB_ICONEXCLAMATION);
  }
  return TRUE;
}

}  // namespace platform::ui

void CCommandLineInfo::ParseParam(std::string_view param, BOOL flag, BOOL last) {
  (void)last;
  if (flag) {
    if (platform::EqualsNoCase(param, "p")) m_nShellCommand = FilePrint;
    else if (platform::EqualsNoCase(param, "pt")) m_nShellCommand = FilePrintTo;
    else if (platform::EqualsNoCase(param, "dde")) m_nShellCommand = FileDDE;
    else if (platform::EqualsNoCase(param, "nologo")) m_bShowSplash = FALSE;
    return;
  }
  if (m_strFileName.empty()) {
    m_strFileName = std::string(param);
    if (m_nShellCommand == FileNew) m_nShellCommand = FileOpen;
  }
}

CWinApp::CWinApp(const char* appName) : m_printer(platform::ui::DefaultPrinter()) {
  if (appName) m_pszAppName = appName;
  g_app = this;
}

CWinApp::~CWinApp() {
  if (m_pMainWnd && m_pMainWnd->m_hWnd) m_pMainWnd->DestroyWindow();
  m_pMainWnd = nullptr;
  for (CDocTemplate* t : m_templates) delete t;
  m_templates.clear();
  platform::ui::ClearMessageQueue();
  if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitInstance() {
  m_strAppTitle = AfxLoadString(AFX_IDS_APP_TITLE);
  if (m_strAppTitle.empty()) m_strAppTitle = m_pszAppName;
  return TRUE;
}

int CWinApp::ExitInstance() { return 0; }

int CWinApp::Run() {
  int code = platform::ui::Backend().RunMessageLoop();
  int exit = ExitInstance();
  return code ? code : exit;
}

BOOL CWinApp::OnIdle(LONG count) {
  if (count <= 0) {
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd)) frame->UpdateControlBars();
    return TRUE;
  }
  return FALSE;
}

BOOL CWinApp::PumpMessage() {
  MSG msg;
  if (!GetMessage(&msg, nullptr, 0, 0)) return FALSE;
  DispatchMessage(&msg);
  return TRUE;
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate) {
  if (docTemplate) m_templates.push_back(docTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const {
  return m_templates.empty() ? nullptr : platform::ui::PositionOf(0);
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const {
  size_t index = platform::ui::IndexOf(pos);
  CDocTemplate* t = index < m_templates.size() ? m_templates[index] : nullptr;
  pos = index + 1 < m_templates.size() ? platform::ui::PositionOf(index + 1) : nullptr;
  return t;
}

CDocument* CWinApp::OpenDocumentFile(const char* pathName) {
  CDocTemplate* best = nullptr;
  CDocTemplate::Confidence bestConfidence = CDocTemplate::noAttempt;
  for (CDocTemplate* t : m_templates) {
    CDocument* open = nullptr;
    CDocTemplate::Confidence c = t->MatchDocType(pathName, open);
    if (c == CDocTemplate::yesAlreadyOpen) {
      if (!open->Views().empty())
        if (auto* frame = dynamic_cast<CMDIChildWnd*>(open->Views().front()->GetParentFrame())) frame->MDIActivate();
      return open;
    }
    if (c > bestConfidence) {
      bestConfidence = c;
      best = t;
    }
  }
  return best ? best->OpenDocumentFile(pathName) : nullptr;
}

void CWinApp::CloseAllDocuments(BOOL endSession) {
  for (CDocTemplate* t : m_templates) t->CloseAllDocuments(endSession);
}

BOOL CWinApp::SaveAllModified() {
  for (CDocTemplate* t : m_templates)
    if (!t->SaveAllModified()) return FALSE;
  return TRUE;
}

void CWinApp::SetRegistryKey(std::string_view key) {
  m_pszRegistryKey = std::string(key);
  platform::AppProfile().SetRegistryKey(key);
}

void CWinApp::LoadStdProfileSettings(UINT maxMRU) { (void)maxMRU; }

UINT CWinApp::GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) {
  return UINT(platform::AppProfile().GetProfileInt(section, entry, defaultValue));
}

std::string CWinApp::GetProfileString(std::string_view section, std::string_view entry,
                                      std::string_view defaultValue) {
  return platform::AppProfile().GetProfileString(section, entry, defaultValue);
}

BOOL CWinApp::WriteProfileInt(std::string_view section, std::string_view entry, int value) {
  return platform::AppProfile().WriteProfileInt(section, entry, value) ? TRUE : FALSE;
}

BOOL CWinApp::WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) {
  return platform::AppProfile().WriteProfileString(section, entry, value) ? TRUE : FALSE;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
  for (size_t i = 0; i < m_arguments.size(); ++i) {
    std::string_view arg = m_arguments[i];
    const bool flag = IsFlagArgument(arg);
    info.ParseParam(flag ? arg.substr(1) : arg, flag ? TRUE : FALSE, i + 1 == m_arguments.size());
  }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
  switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
      if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr)) OnFileNew();
      return m_pMainWnd ? TRUE : FALSE;
    case CCommandLineInfo::FileOpen:
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
      return OpenDocumentFile(info.m_strFileName.c_str()) ? TRUE : FALSE;
    default: return TRUE;
  }
}

HCURSOR CWinApp::LoadStandardCursor(int idc) const { return platform::ui::StandardCursor(idc); }

void CWinApp::OnFileNew() {
  if (!m_templates.empty()) m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {
  std::string filter;
  for (CDocTemplate* t : m_templates) {
    std::string name, ext;
    t->GetDocString(name, CDocTemplate::filterName);
    t->GetDocString(ext, CDocTemplate::filterExt);
    if (!name.empty() && !ext.empty()) filter += name + "|*" + ext + "|";
  }
  filter += "All Files (*.*)|*.*||";
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, filter.c_str());
  if (dialog.DoModal() != IDOK) return;
  OpenDocumentFile(dialog.GetPathName().c_str());
}

void CWinApp::OnFilePrintSetup() {
  CPrintDialog dialog(TRUE);
  if (dialog.DoModal() == IDOK) m_printer = dialog.Printer();
}

void CWinApp::OnAppExit() {
  if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}
