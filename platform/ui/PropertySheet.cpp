#include "platform/ui/PropertySheet.h"

#include <algorithm>

#include "platform/ui/Backend.h"
#include "platform/ui/Resources.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

CPropertyPage::CPropertyPage(UINT templateId, UINT captionId) : CDialog(templateId), m_nIDCaption(captionId) {}

std::string CPropertyPage::GetCaption() const {
  if (m_nIDCaption) {
    std::string caption = AfxLoadString(m_nIDCaption);
    if (!caption.empty()) return caption;
  }
  const platform::ui::DialogTemplate* t = platform::ui::Resources::Instance().Dialog(m_nIDTemplate);
  return t ? t->caption : std::string();
}

void CPropertyPage::CreatePage(CPropertySheet& sheet) {
  CreateDialogWindow(&sheet, false, CPoint(0, 0));
  m_bCreated = true;
  m_bFirstSetActive = TRUE;
  platform::ui::Backend().WindowCreated(*this);
  InitDialog();
}

BOOL CPropertyPage::OnSetActive() {
  if (m_bFirstSetActive)
    m_bFirstSetActive = FALSE;
  else
    UpdateData(FALSE);
  return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

void CPropertyPage::OnOK() {}

void CPropertyPage::OnCancel() {}

BOOL CPropertyPage::OnApply() {
  OnOK();
  return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }

BOOL CPropertyPage::OnQueryCancel() { return TRUE; }

void CPropertyPage::SetModified(BOOL changed) {
  m_bModified = changed;
  if (m_pSheet) m_pSheet->NotifyChanged(platform::ui::ChangeEnabled);
}

CPropertySheet::CPropertySheet(std::string_view caption, CWnd* parent, UINT selectPage)
    : m_strCaption(caption), m_pParentWnd(parent), m_nStartPage(selectPage) {}

CPropertySheet::~CPropertySheet() {
  if (m_hWnd && m_hWnd->wnd == this) DestroyWindowImpl(false);
}

void CPropertySheet::AddPage(CPropertyPage* page) {
  page->m_pSheet = this;
  m_pages.push_back(page);
}

void CPropertySheet::RemovePage(int index) {
  if (index < 0 || index >= GetPageCount()) return;
  m_pages[size_t(index)]->m_pSheet = nullptr;
  m_pages.erase(m_pages.begin() + index);
}

CPropertyPage* CPropertySheet::GetPage(int index) const {
  return index >= 0 && index < GetPageCount() ? m_pages[size_t(index)] : nullptr;
}

CPropertyPage* CPropertySheet::GetActivePage() const { return GetPage(m_nActive); }

int CPropertySheet::GetPageIndex(const CPropertyPage* page) const {
  auto it = std::find(m_pages.begin(), m_pages.end(), page);
  return it == m_pages.end() ? -1 : int(it - m_pages.begin());
}

BOOL CPropertySheet::SetActivePage(int index) {
  CPropertyPage* next = GetPage(index);
  if (!next) return FALSE;
  if (!m_hWnd) {
    m_nStartPage = UINT(index);
    return TRUE;
  }
  if (index == m_nActive) return TRUE;
  if (CPropertyPage* current = GetActivePage()) {
    if (!current->OnKillActive()) return FALSE;
    if (current->m_hWnd) current->ShowWindow(SW_HIDE);
  }
  int previous = m_nActive;
  m_nActive = index;
  if (!next->m_hWnd) next->CreatePage(*this);
  if (!next->OnSetActive()) {
    // A page that refuses activation leaves the previous one in front.
    m_nActive = previous;
    if (CPropertyPage* back = GetActivePage()) back->ShowWindow(SW_SHOW);
    NotifyChanged(platform::ui::ChangeSelection);
    return FALSE;
  }
  next->ShowWindow(SW_SHOW);
  NotifyChanged(platform::ui::ChangeSelection);
  return TRUE;
}

INT_PTR CPropertySheet::DoModal() {
  if (m_pages.empty()) return -1;
  CreateState(KindOfWindow(), nullptr, 0, WS_POPUP | WS_CAPTION | WS_SYSMENU, CRect(100, 100, 100, 100), m_strCaption);
  m_hWnd->modal = true;
  m_hWnd->visible = true;
  struct Closer {
    CPropertySheet* sheet;
    ~Closer() {
      for (CPropertyPage* page : sheet->m_pages) {
        if (page->m_hWnd) page->DestroyWindow();
        page->m_bCreated = false;
      }
      if (sheet->m_hWnd) sheet->DestroyWindow();
      sheet->m_nActive = -1;
    }
  } closer{this};
  platform::ui::Backend().WindowCreated(*this);
  int start = std::min(int(m_nStartPage), GetPageCount() - 1);
  m_nActive = start;
  m_pages[size_t(start)]->CreatePage(*this);
  m_pages[size_t(start)]->OnSetActive();
  m_pages[size_t(start)]->ShowWindow(SW_SHOW);
  NotifyChanged(platform::ui::ChangeSelection);
  if (!m_hWnd->ended) platform::ui::Backend().RunPropertySheet(*this);
  return m_hWnd ? m_hWnd->modalResult : IDCANCEL;
}

void CPropertySheet::EndDialog(int result) {
  if (!m_hWnd) return;
  m_hWnd->modalResult = result;
  m_hWnd->ended = true;
  platform::ui::Backend().ModalEnded(*this);
}

BOOL CPropertySheet::ApplyAll() {
  CPropertyPage* current = GetActivePage();
  if (current && !current->OnKillActive()) return FALSE;
  for (CPropertyPage* page : m_pages) {
    if (!page->WasCreated()) continue;
    if (!page->OnApply()) {
      SetActivePage(GetPageIndex(page));
      return FALSE;
    }
    page->m_bModified = FALSE;
  }
  NotifyChanged(platform::ui::ChangeEnabled);
  return TRUE;
}

BOOL CPropertySheet::PressOk() {
  if (!ApplyAll()) return FALSE;
  EndDialog(IDOK);
  return TRUE;
}

void CPropertySheet::PressCancel() {
  CPropertyPage* current = GetActivePage();
  if (current && !current->OnQueryCancel()) return;
  for (CPropertyPage* page : m_pages)
    if (page->WasCreated()) page->OnReset();
  EndDialog(IDCANCEL);
}

BOOL CPropertySheet::PressApply() { return HasApplyButton() ? ApplyAll() : FALSE; }

bool CPropertySheet::IsApplyEnabled() const {
  return std::any_of(m_pages.begin(), m_pages.end(), [](const CPropertyPage* p) { return p->IsModified(); });
}
