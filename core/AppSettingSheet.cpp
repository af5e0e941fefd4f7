#include "core/AppSettingSheet.h"

#include "core/GlobalData.h"
#include "core/SettingAuto.h"
#include "core/SettingColorPages.h"
#include "core/SettingFolders.h"
#include "core/SettingItemPages.h"
#include "core/SettingSizePages.h"
#include "core/SettingValuePages.h"
#include "platform/MessageBox.h"
#include "platform/ui/PropertySheet.h"

namespace qova {

namespace {

const CProgramSetting*& Live() {
  static const CProgramSetting* live = nullptr;
  return live;
}

int LiveNonSelfAllele() { return Live() ? Live()->NONSELFALLELE : 0; }

// The pages of the display block that "Program Setting" and "View Setting"
// share, bound to one block.
struct DisplayPages {
  DisplayPages(CDisplaySetting& block, int liveNonSelfAllele)
      : print(&block), items(&block, liveNonSelfAllele), itemMulti(&block), color(&block), color2(&block),
        scale(&block), colorM(&block), integrate(&block), marker(&block) {}
  // In tab order after the Display page's place.
  void AddTo(CPropertySheet& sheet) {
    for (CPropertyPage* page : std::initializer_list<CPropertyPage*>{&print, &items, &itemMulti, &color, &color2,
                                                                     &scale, &colorM, &integrate, &marker})
      sheet.AddPage(page);
  }
  CPagePrintSetting print;
  CSettingItems items;
  CSettingItemMulti itemMulti;
  CSettingColor color;
  CSettingColor2 color2;
  CSettingScale scale;
  CSettingColorM colorM;
  CSettingIntegrate integrate;
  CSettingMarker marker;
};

// A sheet with OK and Cancel only: Apply would look as if it took effect,
// while the copy counts only after OK.
void WithoutApply(CPropertySheet& sheet) { sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW; }

}  // namespace

int RunProgramSettingSheet(CProgramSetting& workingCopy) {
  // The live switch is the copy's own until OK.
  const int liveNonSelfAllele = workingCopy.NONSELFALLELE;
  CPropertySheet sheet("Program Setting");
  WithoutApply(sheet);
  CSettingFolders folders(&workingCopy);
  CPageDisplaySetting display(&workingCopy.Display);
  DisplayPages pages(workingCopy.Display, liveNonSelfAllele);
  CSettingAuto automatic(&workingCopy);
  CSettingZenkor zenkor(&workingCopy);
  sheet.AddPage(&folders);
  sheet.AddPage(&display);
  pages.AddTo(sheet);
  sheet.AddPage(&automatic);
  sheet.AddPage(&zenkor);
  return int(sheet.DoModal());
}

int RunViewSettingSheet(CDisplaySetting& block) {
  CDisplaySetting copy = block;
  CPropertySheet sheet("View Setting");
  WithoutApply(sheet);
  DisplayPages pages(copy, LiveNonSelfAllele());
  pages.AddTo(sheet);
  const int result = int(sheet.DoModal());
  if (result == IDOK) block = copy;
  return result;
}

int RunAutoSettingSheet(CProgramSetting& setting) {
  CProgramSetting copy(setting);
  CPropertySheet sheet("Setting");
  WithoutApply(sheet);
  CSettingAuto automatic(&copy);
  sheet.AddPage(&automatic);
  const int result = int(sheet.DoModal());
  if (result != IDOK) return result;
  setting = copy;
  if (!setting.SaveToProfile()) AfxMessageBox("The settings could not be saved.");
  return result;
}

void InstallProgramSettingSheet() { CGlobalData::SetProgramSettingSheet(&RunProgramSettingSheet); }

void SetLiveProgramSetting(const CProgramSetting* live) { Live() = live; }

}  // namespace qova
