#pragma once
// Dialogs built from templates: modal (DoModal, on the caller's stack) or
// modeless (Create). Their controls are created from the template with the
// template's ids; OnInitDialog, the notification handlers of the message map
// and OnOK/OnCancel run the dialog's logic.
#include <string>

#include "platform/ui/Wnd.h"

namespace platform::ui {
struct DialogRect;
struct DialogTemplate;
}

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)
 public:
  CDialog() = default;
  explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}
  ~CDialog() override;

  // Runs the dialog modally; IDOK, IDCANCEL or what EndDialog was given.
  virtual INT_PTR DoModal();
  // Creates the dialog modeless; it is shown when its template or the caller says so.
  virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
  using CWnd::Create;
  void EndDialog(int result);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

  void GotoDlgCtrl(CWnd* control);
  void NextDlgCtrl();

  // True while a modal run or the modeless window is open and not yet ended.
  [[nodiscard]] bool IsOpen() const { return m_hWnd && !m_hWnd->ended; }
  // The template the dialog is built from.
  [[nodiscard]] UINT TemplateId() const { return m_nIDTemplate; }

  UINT m_nIDTemplate = 0;
  CWnd* m_pParentWnd = nullptr;

 protected:
  platform::ui::WindowKind KindOfWindow() const override { return platform::ui::WindowKind::Dialog; }
  // Makes the dialog window and its controls from the template (throws when
  // the template is not registered).
  void CreateDialogWindow(CWnd* parent, bool modal, CPoint origin);
  // OnInitDialog and the initial focus.
  void InitDialog();
  // Creates the controls of `dialogTemplate` as children of `parent` (whose
  // rectangle is sized from the template), converting dialog units to pixels.
  static void CreateTemplateControls(CWnd& parent, const platform::ui::DialogTemplate& dialogTemplate);

  DECLARE_MESSAGE_MAP()
};

namespace platform::ui {

// The template of `id`; throws std::logic_error when none is registered.
const DialogTemplate& RequireDialogTemplate(UINT id);
// Dialog units to pixels with the base units of the template's font
// (position and size each converted, as the system places controls).
[[nodiscard]] CRect DialogUnitsToPixels(const DialogRect& rect, CSize baseUnits);

}  // namespace platform::ui
