#include "core/DisplaySetting.h"

#include "core/ProgramSettingProfile.h"

namespace core = qova::core;

namespace {

// The 83 stored keys in block order, each with the value a missing key gives.
// `Block` is CDisplaySetting or const CDisplaySetting.
template <class Block, class Visit>
void ForEachStoredKey(Block& d, Visit& visit) {
  visit("PRINT", "ALL_X", d.PRINT.ALL_X, 100);
  visit("PRINT", "ALL_Y", d.PRINT.ALL_Y, 100);
  visit("PRINT", "EACH_X", d.PRINT.EACH_X, 100);
  visit("PRINT", "EACH_Y", d.PRINT.EACH_Y, 100);
  visit("PRINT", "MULTI_X", d.PRINT.MULTI_X, 100);
  visit("PRINT", "MULTI_Y", d.PRINT.MULTI_Y, 100);
  visit("PRINT", "ONE_ALL", d.PRINT.ONE_ALL, 0);
  visit("PRINT", "ONE_EACH", d.PRINT.ONE_EACH, 0);
  visit("PRINT", "ONE_MULTI", d.PRINT.ONE_MULTI, 0);

  visit("DISP", "ALL_X", d.DISP.ALL_X, 100);
  visit("DISP", "ALL_Y", d.DISP.ALL_Y, 100);
  visit("DISP", "EACH_X", d.DISP.EACH_X, 100);
  visit("DISP", "EACH_Y", d.DISP.EACH_Y, 100);
  visit("DISP", "MULTI_X", d.DISP.MULTI_X, 100);
  visit("DISP", "MULTI_Y", d.DISP.MULTI_Y, 100);

  visit("SCALE", "SELF_ISLOG", d.SCALE.SELF_ISLOG, 0);
  visit("SCALE", "NONSELF_ISLOG", d.SCALE.NONSELF_ISLOG, 1);
  visit("SCALE", "MAG_SELF", d.SCALE.MAG_SELF, 100);
  visit("SCALE", "MAG_NONSELF", d.SCALE.MAG_NONSELF, 100);

  visit("ITEMS", "MULTI", d.ITEMS.MULTI, 1798);
  visit("ITEMS", "SELF", d.ITEMS.SELF, 27);
  visit("ITEMS", "NONSELF", d.ITEMS.NONSELF, 1079);
  visit("ITEMS", "MULTIALL", d.ITEMS.MULTIALL, 1024);
  visit("ITEMS", "HMMHONLY", d.ITEMS.HMMHONLY, 0);
  visit("ITEMS", "SNPINTERVALWGV", d.ITEMS.SNPINTERVALWGV, 10);

  visit("COLOR", "C1", d.COLOR.C1, 16711680);
  visit("COLOR", "C2", d.COLOR.C2, 255);
  visit("COLOR", "C3", d.COLOR.C3, 25600);
  visit("COLOR", "C4", d.COLOR.C4, 16711680);
  visit("COLOR", "C5", d.COLOR.C5, 25600);
  visit("COLOR", "C6", d.COLOR.C6, 12753396);
  visit("COLOR", "C7", d.COLOR.C7, 255);
  visit("COLOR", "C8", d.COLOR.C8, 16711680);
  visit("COLOR", "C9", d.COLOR.C9, 3289650);
  visit("COLOR", "C10", d.COLOR.C10, 6579300);
  visit("COLOR", "C11", d.COLOR.C11, 6579300);
  visit("COLOR", "W1", d.COLOR.W1, 3);
  visit("COLOR", "W2", d.COLOR.W2, 1);
  visit("COLOR", "W3", d.COLOR.W3, 1);
  visit("COLOR", "W4", d.COLOR.W4, 3);
  visit("COLOR", "LINETYPE9", d.COLOR.LINETYPE9, 0);
  visit("COLOR", "LINETYPE10", d.COLOR.LINETYPE10, 2);
  visit("COLOR", "LINETYPE11", d.COLOR.LINETYPE11, 3);

  visit("COLOR2", "SAME", d.COLOR2.SAME, 16711680);
  visit("COLOR2", "NEXT", d.COLOR2.NEXT, 16776960);
  visit("COLOR2", "ONE", d.COLOR2.ONE, 16711935);
  visit("COLOR2", "2SD", d.COLOR2.TWO_SD, 16711680);
  visit("COLOR2", "FRAG", d.COLOR2.FRAG, 0);
  visit("COLOR2", "SD", d.COLOR2.SD, 0);
  visit("COLOR2", "FRAG_SAME", d.COLOR2.FRAG_SAME, 0);
  visit("COLOR2", "FRAG_NEXT", d.COLOR2.FRAG_NEXT, 0);
  visit("COLOR2", "FRAG_ONE", d.COLOR2.FRAG_ONE, 0);
  visit("COLOR2", "SD_2SD", d.COLOR2.SD_2SD, 0);

  // The copy-number gradient and the user-marker colours share their defaults.
  static constexpr int kGradient[7] = {16711680, 16777088, 65535, 16744703, 8421631, 4210943, 255};
  static constexpr const char* kCnKeys[7] = {"CN0", "CN1", "CN2", "CN3", "CN4", "CN5", "CN6"};
  for (int i = 0; i < 7; ++i) visit("COLORM", kCnKeys[i], d.COLORM.CN[i], kGradient[i]);
  static constexpr int kLohGradient[5] = {65535, 16755884, 16744576, 16728128, 16711680};
  static constexpr const char* kLohKeys[5] = {"LOH0", "LOH1", "LOH2", "LOH3", "LOH4"};
  for (int i = 0; i < 5; ++i) visit("COLORM", kLohKeys[i], d.COLORM.LOH[i], kLohGradient[i]);
  visit("COLORM", "thLOH1", d.COLORM.thLOH1, 30);
  visit("COLORM", "thLOH2", d.COLORM.thLOH2, 300);
  visit("COLORM", "thLOH3", d.COLORM.thLOH3, 600);
  visit("COLORM", "thLOH4", d.COLORM.thLOH4, 1000);

  visit("INTEGRATE", "COL1", d.INTEGRATE.COL1, 150);
  visit("INTEGRATE", "COL2", d.INTEGRATE.COL2, 255);
  visit("INTEGRATE", "COL3", d.INTEGRATE.COL3, 38400);
  visit("INTEGRATE", "COL4", d.INTEGRATE.COL4, 65280);
  visit("INTEGRATE", "WIDTH", d.INTEGRATE.WIDTH, 20);

  visit("MARKER", "WIDTH", d.MARKER.WIDTH, 10);
  visit("MARKER", "INTERVAL", d.MARKER.INTERVAL, 7);
  static constexpr const char* kMarkerKeys[7] = {"COL0", "COL1", "COL2", "COL3", "COL4", "COL5", "COL6"};
  for (int i = 0; i < 7; ++i) visit("MARKER", kMarkerKeys[i], d.MARKER.COL[i], kGradient[i]);
}

}  // namespace

CDisplaySetting::CDisplaySetting() {
  core::setting::SetDefaults defaults;
  ForEachStoredKey(*this, defaults);
  ResetLayoutWords();
}

void CDisplaySetting::LoadFromProfile(const platform::Profile& profile) {
  core::setting::Load load{profile};
  ForEachStoredKey(*this, load);
  ResetLayoutWords();
}

bool CDisplaySetting::SaveToProfile(platform::Profile& profile) const {
  platform::ProfileBatch batch(profile);
  core::setting::Save save{profile};
  ForEachStoredKey(*this, save);
  return batch.End() && save.ok;
}

void CDisplaySetting::ResetLayoutWords() {
  MultiTopMargin = 100;
  MultiGapPercent = 100;
  MultiNameX = 200;
  MultiNameY = 0;
  MultiNameScrolls = 0;
}
