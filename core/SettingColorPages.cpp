#include "core/SettingColorPages.h"

#include "platform/ui/Controls.h"
#include "resources/SettingPages.h"

namespace res = qova::resources::settings;

namespace {

// The pen style lists; an item's index is the pen style.
constexpr const char* kPenStyleNames[] = {"SOLID", "DASH", "DOT", "DASHDOT", "DASHDOTDOT", "NULL"};

}  // namespace

IMPLEMENT_DYNAMIC(CSettingColor, CSettingPage)

CSettingColor::CSettingColor(CDisplaySetting* setting) : CSettingPage(res::kColorPage), m_pSetting(setting) {
  using namespace res::color;
  CDisplaySetting::ColorKeys& c = m_pSetting->COLOR;
  COLORREF* colors[11] = {&c.C1, &c.C2, &c.C3, &c.C4, &c.C5, &c.C6, &c.C7, &c.C8, &c.C9, &c.C10, &c.C11};
  int* widths[4] = {&c.W1, &c.W2, &c.W3, &c.W4};
  int* styles[3] = {&c.LINETYPE9, &c.LINETYPE10, &c.LINETYPE11};
  for (int k = 0; k < 11; ++k) AddColorButton(kButtons[k], *colors[k]);
  for (int k = 0; k < 4; ++k) {
    AddLineSwatch(kSwatches[k], *colors[k], widths[k]);
    BindSpinEdit(kWidths[k], kWidthSpins[k], *widths[k], 1, 100, true);
  }
  for (int k = 4; k < 8; ++k) AddFilledSwatch(kSwatches[k], *colors[k]);
  for (int k = 8; k < 11; ++k) AddLineSwatch(kSwatches[k], *colors[k], nullptr, 1, styles[k - 8]);
}

BOOL CSettingColor::OnInitDialog() {
  CSettingPage::OnInitDialog();
  for (UINT id : res::color::kPenStyles) {
    auto* combo = static_cast<CComboBox*>(GetDlgItem(int(id)));
    for (const char* name : kPenStyleNames) combo->AddString(name);
  }
  SelectPenStyles();
  return TRUE;
}

void CSettingColor::SelectPenStyles() {
  const int styles[3] = {m_pSetting->COLOR.LINETYPE9, m_pSetting->COLOR.LINETYPE10, m_pSetting->COLOR.LINETYPE11};
  for (int k = 0; k < 3; ++k) static_cast<CComboBox*>(GetDlgItem(int(res::color::kPenStyles[k])))->SetCurSel(styles[k]);
}

BOOL CSettingColor::OnCommand(WPARAM wParam, LPARAM lParam) {
  int* styles[3] = {&m_pSetting->COLOR.LINETYPE9, &m_pSetting->COLOR.LINETYPE10, &m_pSetting->COLOR.LINETYPE11};
  for (int k = 0; k < 3; ++k) {
    if (LOWORD(wParam) != res::color::kPenStyles[k] || HIWORD(wParam) != CBN_SELCHANGE) continue;
    *styles[k] = static_cast<CComboBox*>(GetDlgItem(int(res::color::kPenStyles[k])))->GetCurSel();
    Invalidate();
    return TRUE;
  }
  if (LOWORD(wParam) == res::color::kDefault && HIWORD(wParam) == BN_CLICKED) {
    m_pSetting->COLOR = CDisplaySetting().COLOR;
    SelectPenStyles();
    Invalidate();
    UpdateData(FALSE);
    return TRUE;
  }
  return CSettingPage::OnCommand(wParam, lParam);
}

IMPLEMENT_DYNAMIC(CSettingColor2, CSettingPage)

CSettingColor2::CSettingColor2(CDisplaySetting* setting) : CSettingPage(res::kColor2Page), m_pSetting(setting) {
  using namespace res::color2;
  CDisplaySetting::Color2Keys& c = m_pSetting->COLOR2;
  // The copy-number colour is the Color page's "copy number plot" colour.
  const struct {
    UINT button, swatch;
    COLORREF* field;
  } rows[] = {{kCopyNumberButton, kCopyNumberSwatch, &m_pSetting->COLOR.C7},
              {kSameButton, kSameSwatch, &c.SAME},
              {kNextButton, kNextSwatch, &c.NEXT},
              {kOneButton, kOneSwatch, &c.ONE},
              {kTwoSdButton, kTwoSdSwatch, &c.TWO_SD}};
  for (const auto& row : rows) {
    AddColorButton(row.button, *row.field);
    AddFilledSwatch(row.swatch, *row.field);
  }
}

BOOL CSettingColor2::OnInitDialog() {
  using namespace res::color2;
  CSettingPage::OnInitDialog();
  const CDisplaySetting::Color2Keys& c = m_pSetting->COLOR2;
  SetChecked(kFragment, c.FRAG != 0);
  SetChecked(kDeviation, c.SD != 0);
  // Never a group with nothing chosen.
  SetChecked(kNone, c.FRAG == 0 && c.SD == 0);
  SetChecked(kSame, c.FRAG_SAME != 0);
  SetChecked(kNext, c.FRAG_NEXT != 0);
  SetChecked(kOne, c.FRAG_ONE != 0);
  SetChecked(kAbove2Sd, c.SD_2SD != 0);
  return TRUE;
}

void CSettingColor2::OnOK() {
  using namespace res::color2;
  CDisplaySetting::Color2Keys& c = m_pSetting->COLOR2;
  c.FRAG = IsChecked(kFragment) ? 1 : 0;
  c.SD = IsChecked(kDeviation) ? 1 : 0;
  c.FRAG_SAME = IsChecked(kSame) ? 1 : 0;
  c.FRAG_NEXT = IsChecked(kNext) ? 1 : 0;
  c.FRAG_ONE = IsChecked(kOne) ? 1 : 0;
  c.SD_2SD = IsChecked(kAbove2Sd) ? 1 : 0;
  CSettingPage::OnOK();
}

IMPLEMENT_DYNAMIC(CSettingColorM, CSettingPage)

CSettingColorM::CSettingColorM(CDisplaySetting* setting) : CSettingPage(res::kColorMPage) {
  using namespace res::colorm;
  CDisplaySetting::ColorMKeys& m = setting->COLORM;
  for (int k = 0; k < 7; ++k) {
    AddColorButton(kCopyNumberButtons[k], m.CN[k]);
    AddFilledSwatch(kCopyNumberSwatches[k], m.CN[k]);
  }
  for (int k = 0; k < 5; ++k) {
    AddColorButton(kLohButtons[k], m.LOH[k]);
    AddFilledSwatch(kLohSwatches[k], m.LOH[k]);
  }
  // The boundaries need not ascend; the views sort out what they read.
  int* boundaries[4] = {&m.thLOH1, &m.thLOH2, &m.thLOH3, &m.thLOH4};
  for (int k = 0; k < 4; ++k) BindSpinEdit(kBoundaries[k], kBoundarySpins[k], *boundaries[k], 0, 10000, true);
}

IMPLEMENT_DYNAMIC(CSettingIntegrate, CSettingPage)

CSettingIntegrate::CSettingIntegrate(CDisplaySetting* setting) : CSettingPage(res::kIntegratePage) {
  using namespace res::integrate;
  CDisplaySetting::IntegrateKeys& g = setting->INTEGRATE;
  COLORREF* colors[4] = {&g.COL1, &g.COL2, &g.COL3, &g.COL4};
  for (int k = 0; k < 4; ++k) {
    AddColorButton(kButtons[k], *colors[k]);
    // The swatch shows a third of the lane width.
    AddLineSwatch(kSwatches[k], *colors[k], &g.WIDTH, 3);
  }
  BindSpinEdit(kLaneWidth, kLaneWidthSpin, g.WIDTH, 3, 100, true);
}

IMPLEMENT_DYNAMIC(CSettingMarker, CSettingPage)

CSettingMarker::CSettingMarker(CDisplaySetting* setting) : CSettingPage(res::kMarkerPage) {
  using namespace res::marker;
  CDisplaySetting::MarkerKeys& m = setting->MARKER;
  for (int k = 0; k < 7; ++k) {
    AddColorButton(kButtons[k], m.COL[k]);
    AddLineSwatch(kSwatches[k], m.COL[k], &m.WIDTH);
  }
  BindSpinEdit(kWidth, kWidthSpin, m.WIDTH, 1, 100, true);
  // Any number, 0 and negatives included; the views that space markers by it
  // must bound it themselves.
  BindInt(kInterval, m.INTERVAL);
}
