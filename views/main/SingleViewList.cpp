#include "views/main/SingleViewList.h"

#include "document/ApplicationData.h"
#include "document/QOVADoc.h"
#include "platform/ui/App.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/Frame.h"
#include "resources/DisplaySamplesDialog.h"
#include "views/main/QOVAView.h"

namespace ids = qova::resources::single_view;

IMPLEMENT_DYNAMIC(CSingleViewList, CDialog)

BEGIN_MESSAGE_MAP(CSingleViewList, CDialog)
  ON_LBN_SELCHANGE(ids::kNames, &CSingleViewList::OnSelchangeNames)
END_MESSAGE_MAP()

CSingleViewList::CSingleViewList() : CDialog(qova::resources::kSingleViewListDialog, nullptr) {
  qova::resources::RegisterDisplaySamplesDialogs();
}

void CSingleViewList::Install() {
  CQOVADoc::SetSingleViewListFactory([](const std::vector<std::string>& names) -> std::unique_ptr<ISingleViewList> {
    auto list = std::make_unique<CSingleViewList>();
    list->m_listNames = names;
    if (!list->Create(qova::resources::kSingleViewListDialog, nullptr)) return nullptr;
    list->ShowWindow(SW_SHOW);
    return list;
  });
}

void CSingleViewList::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, static_cast<int>(ids::kNames), m_names);
}

BOOL CSingleViewList::OnInitDialog() {
  CDialog::OnInitDialog();
  for (const std::string& name : m_listNames) m_names.InsertString(-1, name);
  return TRUE;
}

void CSingleViewList::OnSelchangeNames() {
  const int line = m_names.GetCurSel();
  if (line == LB_ERR) return;
  m_strSelected = m_names.GetText(line);
  // Only a main view's document is a main document; with a graph or an
  // association window active, or none, a pick does nothing.
  auto* frame = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
  CMDIChildWnd* child = frame ? frame->MDIGetActive() : nullptr;
  auto* view = child ? dynamic_cast<CQOVAView*>(child->GetActiveView()) : nullptr;
  CQOVADoc* doc = view ? view->GetDocument() : nullptr;
  if (doc != nullptr) doc->OpenSingleResult(nullptr, m_strSelected);
}

void CSingleViewList::OnOK() { DestroyWindow(); }
void CSingleViewList::OnCancel() { DestroyWindow(); }

void CSingleViewList::PostNcDestroy() {
  // The data object owns the open list: letting go of it deletes this.
  if (qova::document::HasApplicationData()) {
    std::unique_ptr<ISingleViewList>& held = qova::document::ApplicationData().SingleViewList;
    if (held.get() == this) held.reset();
  }
}
