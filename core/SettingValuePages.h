#pragma once
// Pages of single settings: plot scales ("Scale"), the allele-specific
// two-state models ("Zenkor"), the association test's filters
// ("Association") and the fixed analysis and layout values ("Extra").
#include "core/DisplaySetting.h"
#include "core/ProgramSetting.h"
#include "core/SettingPage.h"

class CSettingScale : public CSettingPage {
  DECLARE_DYNAMIC(CSettingScale)
 public:
  explicit CSettingScale(CDisplaySetting* setting);

  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  CDisplaySetting* const m_pSetting;
};

// "Use Zenkor" edits NONSELFALLELE, which is never saved: it lasts for the run.
class CSettingZenkor : public CSettingPage {
  DECLARE_DYNAMIC(CSettingZenkor)
 public:
  explicit CSettingZenkor(CProgramSetting* setting);
};

// In no sheet; kept for a sheet that offers the association test's options.
class CSettingAssociation : public CSettingPage {
  DECLARE_DYNAMIC(CSettingAssociation)
 public:
  explicit CSettingAssociation(CProgramSetting* setting);

  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  CProgramSetting* const m_pSetting;
};

// In no sheet; the values it edits are set afresh at every start.
class CSettingExtra : public CSettingPage {
  DECLARE_DYNAMIC(CSettingExtra)
 public:
  explicit CSettingExtra(CProgramSetting* setting);

  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  CProgramSetting* const m_pSetting;
};
