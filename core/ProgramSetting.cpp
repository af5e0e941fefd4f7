#include "core/ProgramSetting.h"

#include <cmath>

#include "core/ProgramSettingProfile.h"
#include "platform/Numeric.h"

namespace core = qova::core;

namespace qova::core::setting {

float FloatFromStored(int stored) { return static_cast<float>(stored / 1000.0); }

int StoredFromFloat(float value) {
  return platform::SaturatingCast<int>(std::round(static_cast<double>(value) * 1000.0));
}

}  // namespace qova::core::setting

namespace {

// The record's stored keys after the display block, in the order they are
// written, each with the value a missing key gives (floats in thousandths).
// `Record` is CProgramSetting or const CProgramSetting.
template <class Record, class Visit>
void ForEachStoredKey(Record& s, Visit& visit) {
  const char* kFolders = "Default Section";
  const char* kDriveRoot = "c:\\";
  visit(kFolders, "DefaultDataFolder", s.DefaultDataFolder, kDriveRoot);
  visit(kFolders, "DefaultArrayDataFolder", s.DefaultArrayDataFolder, kDriveRoot);
  visit(kFolders, "DefaultAnalysisResultFolder", s.DefaultAnalysisResultFolder, kDriveRoot);
  visit(kFolders, "DefaultLibraryFolder", s.DefaultLibraryFolder, kDriveRoot);
  visit(kFolders, "DefaultOutputFolder", s.DefaultOutputFolder, kDriveRoot);

  visit("AUTO", "MAXREF", s.MAXREF, 10);
  visit("AUTO", "DOSELF", s.DOSELF, 1);
  visit("AUTO", "DONONSELF", s.DONONSELF, 1);
  visit("AUTO", "SKIPALREADY", s.SKIPALREADY, 0);
  visit("AUTO", "LIMITREF", s.LIMITREF, 0);
  visit("AUTO", "LIMITREFATTR", s.LIMITREFATTR, 5);
  visit("AUTO", "LIMITREFIDENT", s.LIMITREFIDENT, 1);
  visit("AUTO", "LIMITREFSTR", s.LIMITREFSTR, "");
  visit("AUTO", "EXCLUDESELF", s.EXCLUDESELF, 0);

  visit("ASCN", "THRESHOLD", s.THRESHOLD, 140);
  visit("ASCN", "ALPHA", s.ALPHA, 170);
  visit("ASCN", "BETA", s.BETA, 60);
  visit("ASCN", "KOSAMBI", s.KOSAMBI, 1000);
  visit("ASCN", "MARKAI", s.MARKAI, 7);
  visit("ASCN", "THRESHOLDS", s.THRESHOLDS, -120);
  visit("ASCN", "ALPHAS", s.ALPHAS, 300);
  visit("ASCN", "BETAS", s.BETAS, 360);
  visit("ASCN", "KOSAMBIS", s.KOSAMBIS, 1000);
  visit("ASCN", "MARKLOH", s.MARKLOH, 3);
  visit("ASCN", "THRESHOLDL", s.THRESHOLDL, 100);
  visit("ASCN", "ALPHAL", s.ALPHAL, 280);
  visit("ASCN", "BETAL", s.BETAL, 310);
  visit("ASCN", "KOSAMBIL", s.KOSAMBIL, 1000);
  visit("ASCN", "MARKUPD", s.MARKUPD, 1);
  visit("ASCN", "LOHOP", s.LOHOP, 0);
  visit("ASCN", "XOP", s.XOP, 0);
  visit("ASCN", "AUTOAI", s.AUTOAI, 0);

  visit("ASS", "ANALYSISTYPE", s.ANALYSISTYPE, 0);
  visit("ASS", "SAMPLE_CALLRATE", s.SAMPLE_CALLRATE, 900);
  visit("ASS", "SNP_CALLRATE", s.SNP_CALLRATE, 900);
  visit("ASS", "SNP_MAF", s.SNP_MAF, 0);
  visit("ASS", "SNP_CALLRATE_DIF", s.SNP_CALLRATE_DIF, 200);
  visit("ASS", "NUM_PERMUTATION", s.NUM_PERMUTATION, 10000);
}

constexpr const char* kExtraSection = "EXTRA";
constexpr const char* kNonSelfAlleleKey = "NONSELFALLELE";

}  // namespace

CProgramSetting::CProgramSetting() {
  core::setting::SetDefaults defaults;
  ForEachStoredKey(*this, defaults);
  NONSELFALLELE = 0;
  SetStartOfRunValues();
  // Loading leaves these two alone; the analysis reads them all the same.
  MorekomiRate = 0.0f;
  UseLDForLOH = 0;
}

void CProgramSetting::LoadFromProfile(const platform::Profile& profile) {
  Display.LoadFromProfile(profile);
  core::setting::Load load{profile};
  ForEachStoredKey(*this, load);
  NONSELFALLELE = profile.GetProfileInt(kExtraSection, kNonSelfAlleleKey, 0);
  SetStartOfRunValues();
}

bool CProgramSetting::SaveToProfile(platform::Profile& profile) const {
  platform::ProfileBatch batch(profile);
  bool ok = Display.SaveToProfile(profile);
  core::setting::Save save{profile};
  ForEachStoredKey(*this, save);
  return batch.End() && save.ok && ok;
}

void CProgramSetting::SetStartOfRunValues() {
  NotLimitToHeteroSNPs = 0;
  MovingAverageWindow = 1;
  HideExcludedBeforeCompensation = 0;
  HideExcludedAfterCompensation = 0;
  PanelDrawFlag = 1;
  AlleleAmplitude = 1.0f;
  SampleSpacing = 100;
  LeftMargin = 100;
  SampleNameX = 200;
  SampleNameY = 0;
  ScrollMultiple = 0;
  MorekomiCompensation = 0;
  UseNormalDistribution = 0;
  IntegralMarginMode = 0;
  RegressionMode = 0;
  UseFileList = 0;
  HeteroRate = 0.3f;
  MissHeteroRate = 0.03f;
  ExtraKosambi = 0.2f;
}
