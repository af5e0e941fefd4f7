#include "core/SettingItemPages.h"

#include <utility>

#include "platform/MessageBox.h"
#include "resources/SettingPages.h"

namespace res = qova::resources::settings;

namespace {

// The panels the masks' bits stand for (one meaning in every mask).
enum ItemBit : int {
  kCallBar = 0x1,
  kCopyNumber = 0x2,
  kHmm = 0x4,
  kAlleleBased = 0x8,
  kCytoband = 0x10,
  kLohEstimation = 0x20,
  kHmmGradient = 0x40,
  kLohGradient = 0x80,
  kScaleBar = 0x100,
  kCytobandTop = 0x200,
  kCopyNumberPlot = 0x400,
  kUserMarker = 0x800,
  kHmmOfAba = 0x1000,
  kAlleleDifference = 0x2000,
};

constexpr const char* kEmptyGroupMessage = "Select at least one item";

}  // namespace

IMPLEMENT_DYNAMIC(CItemMaskPage, CSettingPage)

CItemMaskPage::CItemMaskPage(UINT templateId, int& firstMask, int& secondMask, std::vector<MaskBox> boxes)
    : CSettingPage(templateId), m_masks{&firstMask, &secondMask}, m_boxes(std::move(boxes)) {}

BOOL CItemMaskPage::OnInitDialog() {
  CSettingPage::OnInitDialog();
  for (const MaskBox& b : m_boxes) SetChecked(b.box, (*m_masks[b.group] & b.bit) != 0);
  return TRUE;
}

bool CItemMaskPage::MasksFromBoxes(int& first, int& second) const {
  int masks[2] = {0, 0};
  for (const MaskBox& b : m_boxes)
    if (IsChecked(b.box)) masks[b.group] |= b.bit;
  first = masks[0];
  second = masks[1];
  return first != 0 && second != 0;
}

BOOL CItemMaskPage::OnKillActive() {
  int first = 0, second = 0;
  if (!MasksFromBoxes(first, second)) {
    AfxMessageBox(kEmptyGroupMessage);
    return FALSE;
  }
  return CSettingPage::OnKillActive();
}

void CItemMaskPage::OnOK() {
  int first = 0, second = 0;
  if (!MasksFromBoxes(first, second)) return;
  *m_masks[0] = first;
  *m_masks[1] = second;
  CSettingPage::OnOK();
}

IMPLEMENT_DYNAMIC(CSettingItems, CItemMaskPage)

CSettingItems::CSettingItems(CDisplaySetting* setting, int liveNonSelfAllele)
    : CItemMaskPage(res::kItemsPage, setting->ITEMS.SELF, setting->ITEMS.NONSELF,
                    {
                        {res::items::kSelfCallBar, 0, kCallBar},
                        {res::items::kSelfCopyNumber, 0, kCopyNumber},
                        {res::items::kSelfHmm, 0, kHmm},
                        {res::items::kSelfAlleleBased, 0, kAlleleBased},
                        {res::items::kSelfCytoband, 0, kCytoband},
                        {res::items::kSelfCopyNumberPlot, 0, kCopyNumberPlot},
                        {res::items::kSelfUserMarker, 0, kUserMarker},
                        {res::items::kSelfHmmOfAba, 0, kHmmOfAba},
                        {res::items::kSelfAlleleDifference, 0, kAlleleDifference},
                        {res::items::kNonSelfCallBar, 1, kCallBar},
                        {res::items::kNonSelfCopyNumber, 1, kCopyNumber},
                        {res::items::kNonSelfHmm, 1, kHmm},
                        {res::items::kNonSelfAlleleBased, 1, kAlleleBased},
                        {res::items::kNonSelfCytoband, 1, kCytoband},
                        {res::items::kNonSelfLoh, 1, kLohEstimation},
                        {res::items::kNonSelfCopyNumberPlot, 1, kCopyNumberPlot},
                        {res::items::kNonSelfUserMarker, 1, kUserMarker},
                        {res::items::kNonSelfHmmOfAba, 1, kHmmOfAba},
                    }),
      m_pSetting(setting),
      m_liveNonSelfAllele(liveNonSelfAllele) {}

BOOL CSettingItems::OnInitDialog() {
  CItemMaskPage::OnInitDialog();
  SetChecked(res::items::kHmmHorizontalOnly, m_pSetting->ITEMS.HMMHONLY != 0);
  return TRUE;
}

BOOL CSettingItems::OnSetActive() {
  // Hidden boxes keep their check, so their bits are stored again on OK.
  const int show = m_liveNonSelfAllele != 0 ? SW_SHOW : SW_HIDE;
  for (UINT box : {res::items::kNonSelfAlleleBased, res::items::kNonSelfHmmOfAba})
    if (CWnd* control = GetDlgItem(int(box))) control->ShowWindow(show);
  return CItemMaskPage::OnSetActive();
}

void CSettingItems::OnOK() {
  int first = 0, second = 0;
  if (!MasksFromBoxes(first, second)) return;
  m_pSetting->ITEMS.HMMHONLY = IsChecked(res::items::kHmmHorizontalOnly) ? 1 : 0;
  CItemMaskPage::OnOK();
}

IMPLEMENT_DYNAMIC(CSettingItemMulti, CItemMaskPage)

CSettingItemMulti::CSettingItemMulti(CDisplaySetting* setting)
    : CItemMaskPage(res::kItemMultiPage, setting->ITEMS.MULTI, setting->ITEMS.MULTIALL,
                    {
                        {res::itemmulti::kScaleBar, 0, kScaleBar},
                        {res::itemmulti::kCytobandTop, 0, kCytobandTop},
                        {res::itemmulti::kCallBar, 0, kCallBar},
                        {res::itemmulti::kCopyNumber, 0, kCopyNumber},
                        {res::itemmulti::kHmm, 0, kHmm},
                        {res::itemmulti::kCopyNumberPlot, 0, kCopyNumberPlot},
                        {res::itemmulti::kAlleleBased, 0, kAlleleBased},
                        {res::itemmulti::kCytoband, 0, kCytoband},
                        {res::itemmulti::kLoh, 0, kLohEstimation},
                        {res::itemmulti::kHmmGradient, 0, kHmmGradient},
                        {res::itemmulti::kLohGradient, 0, kLohGradient},
                        {res::itemmulti::kUserMarker, 0, kUserMarker},
                        {res::itemmulti::kWholeCopyNumberPlot, 1, kCopyNumberPlot},
                        {res::itemmulti::kWholeCopyNumber, 1, kCopyNumber},
                        {res::itemmulti::kWholeAlleleBased, 1, kAlleleBased},
                        {res::itemmulti::kWholeHmmGradient, 1, kHmmGradient},
                        {res::itemmulti::kWholeLohGradient, 1, kLohGradient},
                        {res::itemmulti::kWholeCallBar, 1, kCallBar},
                        {res::itemmulti::kWholeUserMarker, 1, kUserMarker},
                    }) {
  BindInt(res::itemmulti::kInterval, setting->ITEMS.SNPINTERVALWGV, 1, 1000);
}
