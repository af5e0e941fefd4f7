#include "core/SettingSizePages.h"

#include "resources/SettingPages.h"

namespace res = qova::resources::settings;
namespace ids = qova::resources::settings::sizes;

namespace {

constexpr int kMinSize = 1;
constexpr int kMaxSize = 10000;

struct SizeRow {
  UINT x, xSpin, y, ySpin;
};

constexpr SizeRow kDisplayRows[3] = {{ids::kAllX, ids::kAllXSpin, ids::kAllY, ids::kAllYSpin},
                                     {ids::kEachX, ids::kEachXSpin, ids::kEachY, ids::kEachYSpin},
                                     {ids::kDisplayMultiX, ids::kDisplayMultiXSpin, ids::kMultiY, ids::kMultiYSpin}};
constexpr SizeRow kPrintRows[3] = {{ids::kAllX, ids::kAllXSpin, ids::kAllY, ids::kAllYSpin},
                                   {ids::kEachX, ids::kEachXSpin, ids::kEachY, ids::kEachYSpin},
                                   {ids::kPrintMultiX, ids::kPrintMultiXSpin, ids::kMultiY, ids::kMultiYSpin}};
constexpr UINT kOnePageBoxes[3] = {ids::kOnePageAll, ids::kOnePageEach, ids::kOnePageMulti};

int& OnePageFlag(CDisplaySetting::PrintKeys& p, int row) {
  return row == 0 ? p.ONE_ALL : row == 1 ? p.ONE_EACH : p.ONE_MULTI;
}

}  // namespace

IMPLEMENT_DYNAMIC(CPageDisplaySetting, CSettingPage)

CPageDisplaySetting::CPageDisplaySetting(CDisplaySetting* setting)
    : CSettingPage(res::kDisplayPage), m_pSetting(setting) {
  CDisplaySetting::DispKeys& d = m_pSetting->DISP;
  int* fields[3][2] = {{&d.ALL_X, &d.ALL_Y}, {&d.EACH_X, &d.EACH_Y}, {&d.MULTI_X, &d.MULTI_Y}};
  for (int r = 0; r < 3; ++r) {
    BindSpinEdit(kDisplayRows[r].x, kDisplayRows[r].xSpin, *fields[r][0], kMinSize, kMaxSize, false);
    BindSpinEdit(kDisplayRows[r].y, kDisplayRows[r].ySpin, *fields[r][1], kMinSize, kMaxSize, false);
  }
}

IMPLEMENT_DYNAMIC(CPagePrintSetting, CSettingPage)

CPagePrintSetting::CPagePrintSetting(CDisplaySetting* setting) : CSettingPage(res::kPrintPage), m_pSetting(setting) {
  CDisplaySetting::PrintKeys& p = m_pSetting->PRINT;
  int* fields[3][2] = {{&p.ALL_X, &p.ALL_Y}, {&p.EACH_X, &p.EACH_Y}, {&p.MULTI_X, &p.MULTI_Y}};
  for (int r = 0; r < 3; ++r) {
    BindSpinEdit(kPrintRows[r].x, kPrintRows[r].xSpin, *fields[r][0], kMinSize, kMaxSize, false);
    BindSpinEdit(kPrintRows[r].y, kPrintRows[r].ySpin, *fields[r][1], kMinSize, kMaxSize, false);
  }
}

BOOL CPagePrintSetting::OnSetActive() {
  for (int r = 0; r < 3; ++r) {
    SetChecked(kOnePageBoxes[r], OnePageFlag(m_pSetting->PRINT, r) != 0);
    ApplyOnePage(r);
  }
  return CSettingPage::OnSetActive();
}

BOOL CPagePrintSetting::OnCommand(WPARAM wParam, LPARAM lParam) {
  for (int r = 0; r < 3; ++r) {
    if (LOWORD(wParam) != kOnePageBoxes[r] || HIWORD(wParam) != BN_CLICKED) continue;
    OnePageFlag(m_pSetting->PRINT, r) = IsChecked(kOnePageBoxes[r]) ? 1 : 0;
    ApplyOnePage(r);
    return TRUE;
  }
  return CSettingPage::OnCommand(wParam, lParam);
}

void CPagePrintSetting::ApplyOnePage(int row) {
  const bool free = !IsChecked(kOnePageBoxes[row]);
  for (UINT id : {kPrintRows[row].x, kPrintRows[row].xSpin, kPrintRows[row].y, kPrintRows[row].ySpin})
    Enable(id, free);
}
