#pragma once
// The pages of the settings sheets, in the order the sheets show them: those
// of the display block (both "Program Setting" and "View Setting"), and the
// thirteen of "Program Setting".
#include "core/SettingAuto.h"
#include "core/SettingColorPages.h"
#include "core/SettingFolders.h"
#include "core/SettingItemPages.h"
#include "core/SettingSizePages.h"
#include "core/SettingValuePages.h"
#include "platform/ui/PropertySheet.h"

namespace qova::core {

// Print, Items, Multiple (items), Color, Color2, Scale, Multiple (colours),
// Integral, Marker over one block. `liveNonSelfAllele` is the allele-specific
// switch of the settings the program runs with (see CSettingItems).
struct DisplaySettingPages {
  DisplaySettingPages(CDisplaySetting& block, int liveNonSelfAllele);
  void AddTo(CPropertySheet& sheet);

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

// Folders, Display, the display pages, Automatic and Zenkor over one record.
struct ProgramSettingPages {
  ProgramSettingPages(CProgramSetting& setting, int liveNonSelfAllele);
  void AddTo(CPropertySheet& sheet);

  CSettingFolders folders;
  CPageDisplaySetting display;
  DisplaySettingPages view;
  CSettingAuto automatic;
  CSettingZenkor zenkor;
};

}  // namespace qova::core
