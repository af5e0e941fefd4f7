#pragma once
// Property sheets: titled pages in order, one active at a time. Leaving a
// page asks its OnKillActive (which may refuse); OK applies every page that
// was ever shown, in order; Cancel resets them and changes no data.
#include <string>
#include <vector>

#include "platform/ui/Dialog.h"

class CPropertySheet;

// Sheet header flags (values as the framework's).
constexpr DWORD PSH_NOAPPLYNOW = 0x00000080;  // OK and Cancel only

struct PROPSHEETHEADER {
  DWORD dwFlags = 0;
};

class CPropertyPage : public CDialog {
  DECLARE_DYNAMIC(CPropertyPage)
 public:
  explicit CPropertyPage(UINT templateId, UINT captionId = 0);

  // The page was brought to the front. The first time after its creation the
  // controls already hold the data; later the data is loaded again.
  virtual BOOL OnSetActive();
  // The page is being left: validates and saves the controls; FALSE keeps the page.
  virtual BOOL OnKillActive();
  virtual void OnOK() override;
  virtual void OnCancel() override;
  virtual BOOL OnApply();
  virtual void OnReset();
  virtual BOOL OnQueryCancel();
  void SetModified(BOOL changed = TRUE);
  [[nodiscard]] BOOL IsModified() const { return m_bModified; }

  [[nodiscard]] CPropertySheet* GetSheet() const { return m_pSheet; }
  // The tab caption: the caption string if one was given, else the template's.
  [[nodiscard]] std::string GetCaption() const;
  // Whether the page's window was ever created (it was shown at least once).
  [[nodiscard]] bool WasCreated() const { return m_bCreated; }

 protected:
  platform::ui::WindowKind KindOfWindow() const override { return platform::ui::WindowKind::PropertyPage; }

 private:
  friend class CPropertySheet;
  void CreatePage(CPropertySheet& sheet);

  UINT m_nIDCaption = 0;
  CPropertySheet* m_pSheet = nullptr;
  BOOL m_bFirstSetActive = TRUE;
  BOOL m_bModified = FALSE;
  bool m_bCreated = false;
};

class CPropertySheet : public CWnd {
  DECLARE_DYNAMIC(CPropertySheet)
 public:
  explicit CPropertySheet(std::string_view caption = {}, CWnd* parent = nullptr, UINT selectPage = 0);
  ~CPropertySheet() override;

  void AddPage(CPropertyPage* page);
  void RemovePage(int index);
  [[nodiscard]] int GetPageCount() const { return int(m_pages.size()); }
  [[nodiscard]] CPropertyPage* GetPage(int index) const;
  [[nodiscard]] CPropertyPage* GetActivePage() const;
  [[nodiscard]] int GetActiveIndex() const { return m_nActive; }
  [[nodiscard]] int GetPageIndex(const CPropertyPage* page) const;
  // Switches pages as a tab click does: FALSE when the current page refuses to be left.
  BOOL SetActivePage(int index);
  BOOL SetActivePage(CPropertyPage* page) { return SetActivePage(GetPageIndex(page)); }
  void SetTitle(std::string_view title) { m_strCaption = std::string(title); }
  [[nodiscard]] const std::string& GetTitle() const { return m_strCaption; }

  virtual INT_PTR DoModal();
  void EndDialog(int result);

  // The buttons of the sheet, as pressing them does; PressOk/PressApply
  // return FALSE when a page refused (PressApply also without an Apply button).
  BOOL PressOk();
  void PressCancel();
  BOOL PressApply();
  [[nodiscard]] bool IsOpen() const { return m_hWnd && !m_hWnd->ended; }
  // The Apply button is enabled while a page is modified.
  [[nodiscard]] bool IsApplyEnabled() const;
  // Set PSH_NOAPPLYNOW in m_psh before DoModal for a sheet without Apply.
  [[nodiscard]] bool HasApplyButton() const { return (m_psh.dwFlags & PSH_NOAPPLYNOW) == 0; }

  std::string m_strCaption;
  PROPSHEETHEADER m_psh;

 protected:
  platform::ui::WindowKind KindOfWindow() const override { return platform::ui::WindowKind::PropertySheet; }

 private:
  BOOL ApplyAll();
  std::vector<CPropertyPage*> m_pages;
  // The window the sheet was made for, as callers pass it.
  [[maybe_unused]] CWnd* m_pParentWnd = nullptr;
  UINT m_nStartPage = 0;
  int m_nActive = -1;
};
