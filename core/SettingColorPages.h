#pragma once
// The colour pages: plot colours, widths and pen styles ("Color"),
// fragment-relation and deviation colouring ("Color2"), the copy-number and
// LOH-likelihood gradients ("Multiple"), the integral view ("Integral") and
// the user markers ("Marker"). Each shows a swatch beside every colour and
// repaints whenever a value changes.
#include "core/DisplaySetting.h"
#include "core/SettingPage.h"

class CSettingColor : public CSettingPage {
  DECLARE_DYNAMIC(CSettingColor)
 public:
  explicit CSettingColor(CDisplaySetting* setting);

  BOOL OnInitDialog() override;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  void SelectPenStyles();
  CDisplaySetting* const m_pSetting;
};

class CSettingColor2 : public CSettingPage {
  DECLARE_DYNAMIC(CSettingColor2)
 public:
  explicit CSettingColor2(CDisplaySetting* setting);

  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  CDisplaySetting* const m_pSetting;
};

class CSettingColorM : public CSettingPage {
  DECLARE_DYNAMIC(CSettingColorM)
 public:
  explicit CSettingColorM(CDisplaySetting* setting);
};

class CSettingIntegrate : public CSettingPage {
  DECLARE_DYNAMIC(CSettingIntegrate)
 public:
  explicit CSettingIntegrate(CDisplaySetting* setting);
};

class CSettingMarker : public CSettingPage {
  DECLARE_DYNAMIC(CSettingMarker)
 public:
  explicit CSettingMarker(CDisplaySetting* setting);
};
