#pragma once
// The "Display" and "Print" pages: the on-screen and printed sizes (per cent)
// of the all-chromosome, single-chromosome and multiple views, and on the
// Print page whether each view kind is printed on one page.
#include "core/DisplaySetting.h"
#include "core/SettingPage.h"

class CPageDisplaySetting : public CSettingPage {
  DECLARE_DYNAMIC(CPageDisplaySetting)
 public:
  explicit CPageDisplaySetting(CDisplaySetting* setting);

 private:
  CDisplaySetting* const m_pSetting;
};

class CPagePrintSetting : public CSettingPage {
  DECLARE_DYNAMIC(CPagePrintSetting)
 public:
  explicit CPagePrintSetting(CDisplaySetting* setting);

  BOOL OnSetActive() override;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  // A row's edits and spins are usable exactly while it is not printed on one page.
  void ApplyOnePage(int row);

  CDisplaySetting* const m_pSetting;
};
