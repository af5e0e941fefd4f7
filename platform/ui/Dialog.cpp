#include "platform/ui/Dialog.h"

#include <stdexcept>

#include "platform/Strings.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DC.h"
#include "platform/ui/Resources.h"

using platform::ui::ControlKind;
using platform::ui::WindowKind;
using platform::ui::WindowState;

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, &CDialog::OnOK)
  ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

namespace platform::ui {

const DialogTemplate& RequireDialogTemplate(UINT id) {
  const DialogTemplate* t = Resources::Instance().Dialog(id);
  if (!t) throw std::logic_error(platform::Format("dialog template %u is not registered", id));
  return *t;
}

CRect DialogUnitsToPixels(const DialogRect& rect, CSize base) {
  int left = MulDiv(rect.x, base.cx, 4), top = MulDiv(rect.y, base.cy, 8);
  return {left, top, left + MulDiv(rect.cx, base.cx, 4), top + MulDiv(rect.cy, base.cy, 8)};
}

}  // namespace platform::ui

namespace {

// Controls start as the system makes them: an up-down runs from 100 down to
// 0, a month calendar shows today, lists and combo boxes start empty.
void SetControlDefaults(WindowState& s, ControlKind kind) {
  s.control = kind;
  switch (kind) {
    case ControlKind::UpDown:
      s.rangeMin = 100;
      s.rangeMax = 0;
      break;
    case ControlKind::MonthCalendar: GetLocalTime(&s.date); break;
    case ControlKind::ComboBox:
    case ControlKind::ListBox:
    case ControlKind::CheckListBox:
    case ControlKind::DragListBox:
    case ControlKind::ListCtrl: s.text.clear(); break;
    default: break;
  }
}

}  // namespace

void CDialog::CreateTemplateControls(CWnd& parent, const platform::ui::DialogTemplate& t) {
  using namespace platform::ui;
  WindowState& dialog = parent.State();
  CSize base = Backend().DialogBaseUnits(t.fontFace, t.fontSize);
  CRect size = DialogUnitsToPixels({0, 0, t.size.cx, t.size.cy}, base);
  dialog.rect.right = dialog.rect.left + size.Width();
  dialog.rect.bottom = dialog.rect.top + size.Height();
  WindowState* previous = nullptr;
  for (const ControlTemplate& c : t.controls) {
    std::unique_ptr<CWnd> control = MakeControlObject(c.kind);
    DWORD style = c.style | WS_CHILD | (c.visible ? WS_VISIBLE : 0) | (c.enabled ? 0 : WS_DISABLED);
    WindowState* s =
        control->CreateState(WindowKind::Control, parent.m_hWnd, c.id, style, DialogUnitsToPixels(c.rect, base), c.text);
    SetControlDefaults(*s, c.kind);
    if (c.kind == ControlKind::UpDown && (c.style & UDS_AUTOBUDDY)) s->buddy = previous;
    dialog.owned.push_back(std::move(control));
    previous = s;
  }
}


CDialog::~CDialog() {
  if (m_hWnd && m_hWnd->wnd == this) DestroyWindowImpl(false);
}

void CDialog::CreateDialogWindow(CWnd* parent, bool modal, CPoint origin) {
  const platform::ui::DialogTemplate& t = platform::ui::RequireDialogTemplate(m_nIDTemplate);
  CreateState(KindOfWindow(), parent && KindOfWindow() == WindowKind::PropertyPage ? parent->m_hWnd : nullptr,
              m_nIDTemplate, t.style, CRect(origin, CSize()), t.caption);
  m_hWnd->modal = modal;
  CreateTemplateControls(*this, t);
}

void CDialog::InitDialog() {
  if (!OnInitDialog() || !m_hWnd || m_hWnd->focusId) return;
  // As the system's dialog manager: the first control that Tab would reach
  // takes the focus, on screen too, unless the dialog chose another.
  for (WindowState* c : m_hWnd->children) {
    if ((c->style & WS_TABSTOP) && c->enabled && c->visible && c->wnd) {
      c->wnd->SetFocus();
      break;
    }
  }
}

INT_PTR CDialog::DoModal() {
  CreateDialogWindow(m_pParentWnd, true, CPoint(100, 100));
  m_hWnd->visible = true;
  struct Closer {
    CDialog* dialog;
    ~Closer() {
      if (dialog->m_hWnd) dialog->DestroyWindow();
    }
  } closer{this};
  platform::ui::Backend().WindowCreated(*this);
  InitDialog();
  if (m_hWnd && !m_hWnd->ended) platform::ui::Backend().RunModalDialog(*this);
  int result = m_hWnd ? m_hWnd->modalResult : IDCANCEL;
  return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  m_nIDTemplate = templateId;
  m_pParentWnd = parent;
  CreateDialogWindow(parent, false, CPoint(120, 120));
  platform::ui::Backend().WindowCreated(*this);
  InitDialog();
  return m_hWnd ? TRUE : FALSE;
}

void CDialog::EndDialog(int result) {
  if (!m_hWnd) return;
  m_hWnd->modalResult = result;
  m_hWnd->ended = true;
  if (m_hWnd->modal)
    platform::ui::Backend().ModalEnded(*this);
  else
    ShowWindow(SW_HIDE);
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::GotoDlgCtrl(CWnd* control) {
  if (control && control->m_hWnd) control->SetFocus();
}

void CDialog::NextDlgCtrl() {
  if (!m_hWnd) return;
  const auto& children = m_hWnd->children;
  size_t start = 0;
  for (size_t i = 0; i < children.size(); ++i)
    if (children[i]->id == m_hWnd->focusId) start = i + 1;
  for (size_t k = 0; k < children.size(); ++k) {
    WindowState* c = children[(start + k) % children.size()];
    if ((c->style & WS_TABSTOP) && c->enabled && c->visible) {
      c->wnd->SetFocus();
      return;
    }
  }
}
