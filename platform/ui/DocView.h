#pragma once
// Documents, views and the templates that make them. A document holds the
// data and its modified flag; its views show it and are told of changes
// through UpdateAllViews; a multi-document template creates a document with
// its child frame and view, in the order the templates were registered.
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/CmdTarget.h"
#include "platform/ui/Wnd.h"

class CArchive;
class CDC;
class CDocTemplate;
class CDocument;
class CFrameWnd;
class CPrintDialog;
class CView;

struct CCreateContext {
  const CRuntimeClass* m_pNewViewClass = nullptr;
  CDocument* m_pCurrentDoc = nullptr;
  CDocTemplate* m_pNewDocTemplate = nullptr;
  CView* m_pLastView = nullptr;
  CFrameWnd* m_pCurrentFrame = nullptr;
};

// What a print or print preview passes to the view, page by page.
struct CPrintInfo {
  CPrintInfo();
  ~CPrintInfo();
  CPrintInfo(const CPrintInfo&) = delete;
  CPrintInfo& operator=(const CPrintInfo&) = delete;

  void SetMinPage(UINT page) { m_nMinPage = page; }
  void SetMaxPage(UINT page) { m_nMaxPage = page; }
  [[nodiscard]] UINT GetMinPage() const { return m_nMinPage; }
  [[nodiscard]] UINT GetMaxPage() const { return m_nMaxPage; }
  [[nodiscard]] UINT GetFromPage() const;
  [[nodiscard]] UINT GetToPage() const;

  CPrintDialog* m_pPD;
  BOOL m_bDirect = FALSE;
  BOOL m_bPreview = FALSE;
  BOOL m_bContinuePrinting = TRUE;
  UINT m_nCurPage = 1;
  UINT m_nNumPreviewPages = 1;
  CRect m_rectDraw;
  UINT m_nMinPage = 1;
  UINT m_nMaxPage = 0xFFFF;
};

class CDocument : public CCmdTarget {
  DECLARE_DYNAMIC(CDocument)
 public:
  CDocument() = default;
  ~CDocument() override;

  [[nodiscard]] const std::string& GetTitle() const { return m_strTitle; }
  virtual void SetTitle(std::string_view title);
  [[nodiscard]] const std::string& GetPathName() const { return m_strPathName; }
  virtual void SetPathName(std::string_view path, BOOL addToMRU = TRUE);
  [[nodiscard]] CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

  [[nodiscard]] virtual BOOL IsModified() { return m_bModified; }
  virtual void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }

  void AddView(CView* view);
  void RemoveView(CView* view);
  [[nodiscard]] POSITION GetFirstViewPosition() const;
  CView* GetNextView(POSITION& pos) const;
  [[nodiscard]] const std::vector<CView*>& Views() const { return m_viewList; }
  // Calls OnUpdate of every view but `sender`.
  void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);

  virtual void DeleteContents() {}
  virtual BOOL OnNewDocument();
  virtual BOOL OnOpenDocument(const char* pathName);
  virtual BOOL OnSaveDocument(const char* pathName);
  virtual void OnCloseDocument();
  // Asks "Save changes to <title>?" when modified; FALSE when the user cancelled.
  virtual BOOL SaveModified();
  virtual BOOL CanCloseFrame(CFrameWnd* frame);
  virtual void Serialize(CArchive& ar);
  virtual void OnChangedViewList();
  // Saves under `pathName`, or asks for a name first when it is null.
  virtual BOOL DoSave(const char* pathName, BOOL replace = TRUE);
  virtual BOOL DoFileSave();
  BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override;

  BOOL m_bAutoDelete = TRUE;
  CDocTemplate* m_pDocTemplate = nullptr;

  // The framework's File commands of a document.
  void OnFileClose();
  void OnFileSave();
  void OnFileSaveAs();

 protected:
  std::string m_strTitle;
  std::string m_strPathName;
  BOOL m_bModified = FALSE;
  std::vector<CView*> m_viewList;

  DECLARE_MESSAGE_MAP()
};

class CView : public CWnd {
  DECLARE_DYNAMIC(CView)
 public:
  CView() = default;
  ~CView() override;

  [[nodiscard]] CDocument* GetDocument() const { return m_pDocument; }
  virtual void OnDraw(CDC* pDC) = 0;
  virtual void OnInitialUpdate();
  // The document changed: by default the whole view is repainted.
  virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
  virtual void OnPrepareDC(CDC* pDC, CPrintInfo* info = nullptr);
  virtual void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView);

  virtual BOOL OnPreparePrinting(CPrintInfo* info);
  // Runs the print dialog (unless printing directly); FALSE when cancelled.
  BOOL DoPreparePrinting(CPrintInfo* info);
  virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* info);
  virtual void OnPrint(CDC* pDC, CPrintInfo* info);
  virtual void OnEndPrinting(CDC* pDC, CPrintInfo* info);

  BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override;
  void OnPaint() override;
  int OnCreate(LPCREATESTRUCT cs) override;
  // A view going away stops being its frame's active view.
  void OnDestroy() override;
  void PostNcDestroy() override;

  // The framework's print commands (57607, 57608) and print preview (57609),
  // for the view's message map.
  void OnFilePrint();
  void OnFilePrintPreview();

  CDocument* m_pDocument = nullptr;

 protected:
  platform::ui::WindowKind KindOfWindow() const override { return platform::ui::WindowKind::View; }

 private:
  void RunPrintJob(BOOL preview);
  void LeaveFrame();
  friend class CDocument;
};

class CDocTemplate : public CCmdTarget {
  DECLARE_DYNAMIC(CDocTemplate)
 public:
  enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };
  enum Confidence { noAttempt, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign, yesAttemptNative, yesAlreadyOpen };

  CDocTemplate(UINT resourceId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
               const CRuntimeClass* viewClass);
  ~CDocTemplate() override;

  // One field of the template's resource string ("\nQOVA\nQOVA\n...").
  virtual BOOL GetDocString(std::string& text, DocStringIndex index) const;
  virtual CDocument* CreateNewDocument();
  virtual CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other);
  virtual void InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible = TRUE);
  // A new document (null path) or the document of a file, in a new frame.
  virtual CDocument* OpenDocumentFile(const char* pathName, BOOL makeVisible = TRUE) = 0;
  virtual void SetDefaultTitle(CDocument* doc) = 0;
  [[nodiscard]] virtual POSITION GetFirstDocPosition() const;
  virtual CDocument* GetNextDoc(POSITION& pos) const;
  virtual void AddDocument(CDocument* doc);
  virtual void RemoveDocument(CDocument* doc);
  virtual Confidence MatchDocType(const char* pathName, CDocument*& match);
  void CloseAllDocuments(BOOL endSession);
  BOOL SaveAllModified();

  UINT m_nIDResource;
  const CRuntimeClass* m_pDocClass;
  const CRuntimeClass* m_pFrameClass;
  const CRuntimeClass* m_pViewClass;
  std::string m_strDocStrings;

 protected:
  std::vector<CDocument*> m_docList;
};

class CMultiDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CMultiDocTemplate)
 public:
  using CDocTemplate::CDocTemplate;
  CDocument* OpenDocumentFile(const char* pathName, BOOL makeVisible = TRUE) override;
  void SetDefaultTitle(CDocument* doc) override;

  UINT m_nUntitledCount = 0;
};
