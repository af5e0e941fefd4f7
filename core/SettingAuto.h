#pragma once
// The "Automatic" page: the options of batch analysis, among them limiting
// the references to samples whose attribute is the test sample's or a given
// value. The values offered are those the extracted samples hold.
#include <string>
#include <vector>

#include "core/ProgramSetting.h"
#include "core/SettingPage.h"

class CSettingAuto : public CSettingPage {
  DECLARE_DYNAMIC(CSettingAuto)
 public:
  explicit CSettingAuto(CProgramSetting* setting);

  BOOL OnInitDialog() override;
  BOOL OnKillActive() override;
  void OnOK() override;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  // Attribute list, "is", both radios and the value box are usable while
  // "Limit reference" is checked; the value box only with the second radio.
  void ApplyLimitRule();
  // Fills the value box with the chosen attribute's values.
  void ListAttributeValues();

  CProgramSetting* const m_pSetting;
};

// The sorted distinct non-empty values of attribute `attribute` (1..5) over
// the extracted samples of `setting`'s array-data folder: through the
// sample-file index when `setting.UseFileList` is on, else by reading every
// .CFH header (a file that cannot be read is left out and named in the error
// log). `foundFiles` is false when scanning found no .CFH at all.
[[nodiscard]] std::vector<std::string> ExtractedAttributeValues(const CProgramSetting& setting, int attribute,
                                                                bool& foundFiles);
