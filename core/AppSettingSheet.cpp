#include "core/AppSettingSheet.h"

#include <initializer_list>

#include "core/GlobalData.h"
#include "core/SettingSheetPages.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/ui/PropertySheet.h"

namespace qova::core {

namespace {

const CProgramSetting*& Live() {
  static const CProgramSetting* live = nullptr;
  return live;
}

int LiveNonSelfAllele() { return Live() ? Live()->NONSELFALLELE : 0; }

// A sheet with OK and Cancel only: Apply would look as if it took effect,
// while the copy counts only after OK.
void WithoutApply(CPropertySheet& sheet) { sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW; }

}  // namespace

DisplaySettingPages::DisplaySettingPages(CDisplaySetting& block, int liveNonSelfAllele)
    : print(&block), items(&block, liveNonSelfAllele), itemMulti(&block), color(&block), color2(&block),
      scale(&block), colorM(&block), integrate(&block), marker(&block) {}

void DisplaySettingPages::AddTo(CPropertySheet& sheet) {
  for (CPropertyPage* page : std::initializer_list<CPropertyPage*>{&print, &items, &itemMulti, &color, &color2,
                                                                   &scale, &colorM, &integrate, &marker})
    sheet.AddPage(page);
}

ProgramSettingPages::ProgramSettingPages(CProgramSetting& setting, int liveNonSelfAllele)
    : folders(&setting), display(&setting.Display), view(setting.Display, liveNonSelfAllele), automatic(&setting),
      zenkor(&setting) {}

void ProgramSettingPages::AddTo(CPropertySheet& sheet) {
  sheet.AddPage(&folders);
  sheet.AddPage(&display);
  view.AddTo(sheet);
  sheet.AddPage(&automatic);
  sheet.AddPage(&zenkor);
}

int RunProgramSettingSheet(CProgramSetting& workingCopy) {
  // The live switch is the copy's own until OK.
  const int liveNonSelfAllele = workingCopy.NONSELFALLELE;
  CPropertySheet sheet("Program Setting");
  WithoutApply(sheet);
  ProgramSettingPages pages(workingCopy, liveNonSelfAllele);
  pages.AddTo(sheet);
  return int(sheet.DoModal());
}

int RunViewSettingSheet(CDisplaySetting& block) {
  CDisplaySetting copy = block;
  CPropertySheet sheet("View Setting");
  WithoutApply(sheet);
  DisplaySettingPages pages(copy, LiveNonSelfAllele());
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
  if (!setting.SaveToProfile()) AfxMessageBox(platform::AppProfile().NotSavedMessage());
  return result;
}

void InstallProgramSettingSheet() { CGlobalData::SetProgramSettingSheet(&RunProgramSettingSheet); }

void SetLiveProgramSetting(const CProgramSetting* live) { Live() = live; }

}  // namespace qova::core
