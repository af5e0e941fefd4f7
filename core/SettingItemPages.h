#pragma once
// The item pages: which panels the views draw, as bit masks of the display
// block. "Items" edits the masks of the allele-specific and non-self
// single-sample views, "Multiple" those of the multiple and whole-genome views.
#include <vector>

#include "core/DisplaySetting.h"
#include "core/SettingPage.h"

// What both item pages do with their two groups of check boxes: a group left
// empty keeps the page, and the masks are stored only on OK.
class CItemMaskPage : public CSettingPage {
  DECLARE_DYNAMIC(CItemMaskPage)
 public:
  BOOL OnInitDialog() override;
  BOOL OnKillActive() override;
  void OnOK() override;

 protected:
  struct MaskBox {
    UINT box;
    int group;  // 0 or 1
    int bit;
  };
  CItemMaskPage(UINT templateId, int& firstMask, int& secondMask, std::vector<MaskBox> boxes);
  // The masks the boxes give now; false when a group has nothing checked.
  bool MasksFromBoxes(int& first, int& second) const;

 private:
  int* m_masks[2];
  std::vector<MaskBox> m_boxes;
};

class CSettingItems : public CItemMaskPage {
  DECLARE_DYNAMIC(CSettingItems)
 public:
  // `liveNonSelfAllele` is the allele-specific switch of the settings the
  // program runs with (not of the sheet's copy): the non-self allele-based
  // boxes show only while it is on.
  CSettingItems(CDisplaySetting* setting, int liveNonSelfAllele);

  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;
  void OnOK() override;

 private:
  CDisplaySetting* const m_pSetting;
  const int m_liveNonSelfAllele;
};

class CSettingItemMulti : public CItemMaskPage {
  DECLARE_DYNAMIC(CSettingItemMulti)
 public:
  explicit CSettingItemMulti(CDisplaySetting* setting);
};
