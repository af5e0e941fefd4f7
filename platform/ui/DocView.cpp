#include "platform/ui/DocView.h"

#include <algorithm>

#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/App.h"
#include "platform/ui/Backend.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/DC.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Resources.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
  ON_COMMAND(ID_FILE_CLOSE, &CDocument::OnFileClose)
  ON_COMMAND(ID_FILE_SAVE, &CDocument::OnFileSave)
  ON_COMMAND(ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs)
END_MESSAGE_MAP()

namespace {

// The framework's prompts and failure messages.
constexpr const char* kAskToSave = "Save changes to %1?";
constexpr const char* kFailedToOpen = "Failed to open document.";
constexpr const char* kFailedToSave = "Failed to save document.";

// Why a print put nothing on paper: the pages asked for are not in it.
std::string NothingPrinted(const CPrintInfo& info) {
  if (!info.m_pPD->PrintRange()) return "There is nothing to print.";
  const UINT from = info.GetFromPage(), to = info.GetToPage();
  const std::string asked =
      from == to ? platform::Format("Page %u is", from) : platform::Format("Pages %u to %u are", from, to);
  if (info.GetMaxPage() == 0xFFFF || info.GetMaxPage() < info.GetMinPage())
    return asked + " not in this print: nothing was printed.";
  const UINT count = info.GetMaxPage() - info.GetMinPage() + 1;
  return platform::Format("%s not in this print, which has %u page%s: nothing was printed.", asked.c_str(), count,
                          count == 1 ? "" : "s");
}

std::vector<CFrameWnd*> FramesOf(const CDocument& doc) {
  std::vector<CFrameWnd*> frames;
  for (CView* view : doc.Views()) {
    CFrameWnd* frame = view->GetParentFrame();
    if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end()) frames.push_back(frame);
  }
  return frames;
}

}  // namespace

// Print information.

CPrintInfo::CPrintInfo() : m_pPD(new CPrintDialog(FALSE)) {}
CPrintInfo::~CPrintInfo() { delete m_pPD; }
UINT CPrintInfo::GetFromPage() const { return m_pPD->PrintRange() ? UINT(m_pPD->GetFromPage()) : m_nMinPage; }
UINT CPrintInfo::GetToPage() const { return m_pPD->PrintRange() ? UINT(m_pPD->GetToPage()) : m_nMaxPage; }

// Documents.

CDocument::~CDocument() {
  for (CView* view : m_viewList) view->m_pDocument = nullptr;
  if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(std::string_view title) {
  m_strTitle = std::string(title);
  for (CFrameWnd* frame : FramesOf(*this)) frame->OnUpdateFrameTitle(TRUE);
}

void CDocument::SetPathName(std::string_view path, BOOL addToMRU) {
  (void)addToMRU;
  m_strPathName = std::string(path);
  SetTitle(platform::FileNameOf(path));
}

void CDocument::AddView(CView* view) {
  if (std::find(m_viewList.begin(), m_viewList.end(), view) != m_viewList.end()) return;
  m_viewList.push_back(view);
  view->m_pDocument = this;
  OnChangedViewList();
}

void CDocument::RemoveView(CView* view) {
  auto it = std::find(m_viewList.begin(), m_viewList.end(), view);
  if (it == m_viewList.end()) return;
  m_viewList.erase(it);
  view->m_pDocument = nullptr;
  OnChangedViewList();
}

POSITION CDocument::GetFirstViewPosition() const {
  return m_viewList.empty() ? nullptr : platform::ui::PositionOf(0);
}

CView* CDocument::GetNextView(POSITION& pos) const {
  size_t index = platform::ui::IndexOf(pos);
  CView* view = index < m_viewList.size() ? m_viewList[index] : nullptr;
  pos = index + 1 < m_viewList.size() ? platform::ui::PositionOf(index + 1) : nullptr;
  return view;
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject) {
  std::vector<CView*> views = m_viewList;
  for (CView* view : views)
    if (view != sender && std::find(m_viewList.begin(), m_viewList.end(), view) != m_viewList.end())
      view->OnUpdate(sender, hint, hintObject);
}

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  m_strPathName.clear();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnOpenDocument(const char* pathName) {
  CFile file;
  CFileException error;
  if (!file.Open(pathName ? pathName : "", CFile::modeRead | CFile::shareDenyWrite, &error)) {
    AfxMessageBox(kFailedToOpen, MB_ICONEXCLAMATION);
    return FALSE;
  }
  DeleteContents();
  SetModifiedFlag(TRUE);
  try {
    CArchive ar(&file, CArchive::load);
    Serialize(ar);
    ar.Close();
    file.Close();
  } catch (const std::exception&) {
    DeleteContents();
    AfxMessageBox(kFailedToOpen, MB_ICONEXCLAMATION);
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnSaveDocument(const char* pathName) {
  // The old file stays whole until the new one is complete.
  platform::CAtomicFile file;
  CFileException error;
  if (!file.Open(pathName ? pathName : "", CFile::modeCreate | CFile::modeWrite, &error)) {
    AfxMessageBox(kFailedToSave, MB_ICONEXCLAMATION);
    return FALSE;
  }
  try {
    CArchive ar(&file, CArchive::store);
    Serialize(ar);
    ar.Close();
    file.Commit();
  } catch (const std::exception&) {
    AfxMessageBox(kFailedToSave, MB_ICONEXCLAMATION);
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

void CDocument::OnCloseDocument() {
  // Destroying the frames removes the views; keep this object alive meanwhile.
  BOOL autoDelete = m_bAutoDelete;
  m_bAutoDelete = FALSE;
  for (CFrameWnd* frame : FramesOf(*this)) frame->DestroyWindow();
  m_bAutoDelete = autoDelete;
  DeleteContents();
  if (m_bAutoDelete) delete this;
}

BOOL CDocument::SaveModified() {
  if (!IsModified()) return TRUE;
  std::string name = m_strTitle.empty() ? std::string("Untitled") : m_strTitle;
  switch (AfxMessageBox(platform::ui::FormatMessage2(kAskToSave, name), MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL: return FALSE;
    case IDYES: return DoFileSave();
    default: return TRUE;
  }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* frame) {
  // Another frame on this document keeps it open.
  for (CFrameWnd* other : FramesOf(*this))
    if (other != frame) return TRUE;
  return SaveModified();
}

void CDocument::Serialize(CArchive& ar) { (void)ar; }

void CDocument::OnChangedViewList() {
  if (m_viewList.empty() && m_bAutoDelete) {
    OnCloseDocument();
    return;
  }
  for (CFrameWnd* frame : FramesOf(*this)) frame->OnUpdateFrameTitle(TRUE);
}

BOOL CDocument::DoSave(const char* pathName, BOOL replace) {
  std::string path = pathName ? pathName : "";
  if (path.empty()) {
    std::string ext, filter;
    if (m_pDocTemplate) {
      m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt);
      m_pDocTemplate->GetDocString(filter, CDocTemplate::filterName);
    }
    std::string name = m_strTitle;
    if (!ext.empty() && !platform::EndsWithNoCase(name, ext)) name += ext;
    std::string filters = filter.empty() ? std::string() : filter + "|*" + ext + "|";
    filters += "All Files (*.*)|*.*||";
    CFileDialog dialog(FALSE, ext.empty() ? nullptr : ext.c_str() + (ext[0] == '.' ? 1 : 0), name.c_str(),
                       OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filters.c_str());
    if (dialog.DoModal() != IDOK) return FALSE;
    path = dialog.GetPathName();
  }
  if (!OnSaveDocument(path.c_str())) return FALSE;
  if (replace) SetPathName(path);
  return TRUE;
}

BOOL CDocument::DoFileSave() { return DoSave(m_strPathName.empty() ? nullptr : m_strPathName.c_str()); }

BOOL CDocument::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) {
  if (CCmdTarget::OnCmdMsg(id, code, extra, info)) return TRUE;
  return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(id, code, extra, info);
}

void CDocument::OnFileClose() {
  if (!SaveModified()) return;
  OnCloseDocument();
}

void CDocument::OnFileSave() { DoFileSave(); }

void CDocument::OnFileSaveAs() { DoSave(nullptr); }

// Views.

CView::~CView() {
  // Deleted with its window still up: OnDestroy will not reach this class.
  if (m_hWnd) LeaveFrame();
  if (m_pDocument) m_pDocument->RemoveView(this);
}

void CView::LeaveFrame() {
  if (CFrameWnd* frame = GetParentFrame(); frame && frame->GetActiveView() == this) frame->SetActiveView(nullptr, FALSE);
}

void CView::OnDestroy() {
  CWnd::OnDestroy();
  LeaveFrame();
}

int CView::OnCreate(LPCREATESTRUCT cs) {
  auto* context = static_cast<CCreateContext*>(cs->lpCreateParams);
  if (context && context->m_pCurrentDoc) context->m_pCurrentDoc->AddView(this);
  return 0;
}

// Views live on the heap and go with their window.
void CView::PostNcDestroy() { delete this; }

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) {
  (void)sender;
  (void)hint;
  (void)hintObject;
  Invalidate(TRUE);
}

void CView::OnPrepareDC(CDC* pDC, CPrintInfo* info) {
  (void)pDC;
  if (info) info->m_bContinuePrinting = info->m_nCurPage <= info->GetMaxPage() || info->GetMaxPage() == 0xFFFF;
}

void CView::OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) {
  (void)activate;
  (void)activateView;
  (void)deactiveView;
}

void CView::OnPaint() {
  CPaintDC dc(this);
  OnPrepareDC(&dc);
  OnDraw(&dc);
}

BOOL CView::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) {
  if (CWnd::OnCmdMsg(id, code, extra, info)) return TRUE;
  return m_pDocument && m_pDocument->OnCmdMsg(id, code, extra, info);
}

BOOL CView::OnPreparePrinting(CPrintInfo* info) { return DoPreparePrinting(info); }

BOOL CView::DoPreparePrinting(CPrintInfo* info) {
  CPrintDialog& dialog = *info->m_pPD;
  dialog.m_pd.nMinPage = WORD(std::min<UINT>(info->GetMinPage(), 0xFFFF));
  dialog.m_pd.nMaxPage = WORD(std::min<UINT>(info->GetMaxPage(), 0xFFFF));
  if (info->m_bDirect || info->m_bPreview) return TRUE;
  if (dialog.DoModal() != IDOK) return FALSE;
  // The printer and the sheet chosen for this print stay the program's, as
  // Print Setup's do: later prints and previews start from them.
  if (CWinApp* app = AfxGetApp()) app->m_printer = dialog.Printer();
  return TRUE;
}

void CView::OnBeginPrinting(CDC* pDC, CPrintInfo* info) {
  (void)pDC;
  (void)info;
}

void CView::OnPrint(CDC* pDC, CPrintInfo* info) {
  (void)info;
  OnDraw(pDC);
}

void CView::OnEndPrinting(CDC* pDC, CPrintInfo* info) {
  (void)pDC;
  (void)info;
}

void CView::OnFilePrint() { RunPrintJob(FALSE); }

void CView::OnFilePrintPreview() { RunPrintJob(TRUE); }

void CView::RunPrintJob(BOOL preview) {
  CPrintInfo info;
  info.m_bPreview = preview;
  info.m_bDirect = platform::ui::CurrentCommandId() == ID_FILE_PRINT_DIRECT;
  if (!OnPreparePrinting(&info)) return;
  platform::ui::PrintJobRequest request;
  request.printer = info.m_pPD->Printer();
  request.title = m_pDocument ? m_pDocument->GetTitle() : std::string();
  request.preview = preview != FALSE;
  request.copies = info.m_pPD->GetCopies();
  request.collate = info.m_pPD->PrintCollate() != FALSE;
  request.reverse = info.m_pPD->PrintReverse() != FALSE;
  std::unique_ptr<platform::ui::PrintJob> job = platform::ui::Backend().StartPrintJob(request);
  if (!job) return;
  // The page count is known only after OnBeginPrinting, so a DC on the first
  // page's surface asks for it.
  platform::ui::DrawSurface* surface = &job->StartPage();
  CDC dc(surface);
  OnBeginPrinting(&dc, &info);
  UINT first = std::max(info.GetFromPage(), info.GetMinPage());
  UINT last = std::min(info.GetToPage(), info.GetMaxPage());
  UINT printed = 0;
  for (UINT page = first; page <= last; ++page) {
    if (printed > 0) surface = &job->StartPage();
    CDC pageDC(surface);
    info.m_nCurPage = page;
    info.m_rectDraw = CRect(0, 0, pageDC.GetDeviceCaps(HORZRES), pageDC.GetDeviceCaps(VERTRES));
    OnPrepareDC(&pageDC, &info);
    if (!info.m_bContinuePrinting) break;
    OnPrint(&pageDC, &info);
    job->EndPage();
    ++printed;
    if (page == 0xFFFF) break;
  }
  OnEndPrinting(&dc, &info);
  if (printed == 0) {
    // A range beyond the last page: no blank sheet, and the user learns why.
    job->Abort();
    AfxMessageBox(NothingPrinted(info), MB_ICONEXCLAMATION);
    return;
  }
  job->End();
  // The preview's Print prints as File > Print does: its dialog, then pages
  // laid out for the printer chosen there.
  if (preview && job->PrintChosen()) OnCmdMsg(ID_FILE_PRINT, CN_COMMAND, nullptr, nullptr);
}

// Templates.

CDocTemplate::CDocTemplate(UINT resourceId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                           const CRuntimeClass* viewClass)
    : m_nIDResource(resourceId), m_pDocClass(docClass), m_pFrameClass(frameClass), m_pViewClass(viewClass) {
  m_strDocStrings = AfxLoadString(resourceId);
}

CDocTemplate::~CDocTemplate() {
  std::vector<CDocument*> docs = m_docList;
  for (CDocument* doc : docs) {
    doc->m_pDocTemplate = nullptr;
    delete doc;
  }
}

BOOL CDocTemplate::GetDocString(std::string& text, DocStringIndex index) const {
  text.clear();
  size_t start = 0;
  for (int i = 0; i < int(index); ++i) {
    start = m_strDocStrings.find('\n', start);
    if (start == std::string::npos) return FALSE;
    ++start;
  }
  size_t end = m_strDocStrings.find('\n', start);
  text = m_strDocStrings.substr(start, end == std::string::npos ? std::string::npos : end - start);
  return TRUE;
}

CDocument* CDocTemplate::CreateNewDocument() {
  CObject* object = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
  auto* doc = dynamic_cast<CDocument*>(object);
  if (!doc) {
    delete object;
    return nullptr;
  }
  AddDocument(doc);
  return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd* other) {
  (void)other;
  CObject* object = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
  auto* frame = dynamic_cast<CFrameWnd*>(object);
  if (!frame) {
    delete object;
    return nullptr;
  }
  CCreateContext context;
  context.m_pCurrentFrame = other;
  context.m_pCurrentDoc = doc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
    delete frame;
    return nullptr;
  }
  return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible) {
  frame->InitialUpdateFrame(doc, makeVisible);
}

POSITION CDocTemplate::GetFirstDocPosition() const {
  return m_docList.empty() ? nullptr : platform::ui::PositionOf(0);
}

CDocument* CDocTemplate::GetNextDoc(POSITION& pos) const {
  size_t index = platform::ui::IndexOf(pos);
  CDocument* doc = index < m_docList.size() ? m_docList[index] : nullptr;
  pos = index + 1 < m_docList.size() ? platform::ui::PositionOf(index + 1) : nullptr;
  return doc;
}

void CDocTemplate::AddDocument(CDocument* doc) {
  m_docList.push_back(doc);
  doc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* doc) {
  m_docList.erase(std::remove(m_docList.begin(), m_docList.end(), doc), m_docList.end());
  if (doc->m_pDocTemplate == this) doc->m_pDocTemplate = nullptr;
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(const char* pathName, CDocument*& match) {
  match = nullptr;
  std::string path = pathName ? pathName : "";
  for (CDocument* doc : m_docList) {
    if (!doc->GetPathName().empty() && platform::NativePath(doc->GetPathName()) == platform::NativePath(path)) {
      match = doc;
      return yesAlreadyOpen;
    }
  }
  std::string ext;
  GetDocString(ext, filterExt);
  if (!ext.empty() && platform::EndsWithNoCase(path, ext)) return yesAttemptNative;
  return yesAttemptForeign;
}

void CDocTemplate::CloseAllDocuments(BOOL endSession) {
  (void)endSession;
  std::vector<CDocument*> docs = m_docList;
  for (CDocument* doc : docs) doc->OnCloseDocument();
}

BOOL CDocTemplate::SaveAllModified() {
  std::vector<CDocument*> docs = m_docList;
  for (CDocument* doc : docs)
    if (!doc->SaveModified()) return FALSE;
  return TRUE;
}

CDocument* CMultiDocTemplate::OpenDocumentFile(const char* pathName, BOOL makeVisible) {
  CDocument* doc = CreateNewDocument();
  if (!doc) return nullptr;
  BOOL autoDelete = doc->m_bAutoDelete;
  doc->m_bAutoDelete = FALSE;
  CFrameWnd* frame = CreateNewFrame(doc, nullptr);
  doc->m_bAutoDelete = autoDelete;
  if (!frame) {
    delete doc;
    return nullptr;
  }
  if (!pathName) {
    SetDefaultTitle(doc);
    if (!doc->OnNewDocument()) {
      frame->DestroyWindow();
      return nullptr;
    }
    ++m_nUntitledCount;
  } else {
    if (!doc->OnOpenDocument(pathName)) {
      frame->DestroyWindow();
      return nullptr;
    }
    doc->SetPathName(pathName);
  }
  InitialUpdateFrame(frame, doc, makeVisible);
  return doc;
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* doc) {
  std::string name;
  if (!GetDocString(name, docName) || name.empty()) name = "Untitled";
  doc->SetTitle(name + std::to_string(m_nUntitledCount + 1));
}
