#include "core/GlobalData.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Profile.h"

namespace core = qova::core;

namespace {

ProgramSettingSheet& InstalledSheet() {
  static ProgramSettingSheet sheet;
  return sheet;
}

// Families whose tables ship with every installation; the others are
// optional and their absence is not worth a message.
constexpr int kRequiredFamilies = 5;

}  // namespace

CGlobalData::CGlobalData()
    : ProgramSetting(std::make_unique<CProgramSetting>()),
      Cytoband(std::make_unique<CCytoband>()),
      BasicData(std::make_unique<CBasicData[]>(core::kArrayFamilyCount)),
      FileList(std::make_unique<CSampleFileList>(*ProgramSetting)) {
  FillChromosomeTables();
}

CGlobalData::~CGlobalData() {
  Cytoband.reset();
  SingleViewList.reset();
  BasicData.reset();
  // The index reads its folders from the settings, so it goes first.
  FileList.reset();
  ProgramSetting.reset();
}

void CGlobalData::SetProgramSettingSheet(ProgramSettingSheet sheet) { InstalledSheet() = std::move(sheet); }

std::string CGlobalData::DataFolder() const { return platform::JoinPath(ProgramSetting->StartFolder, "data\\"); }

BOOL CGlobalData::Load() {
  if (loaded_) return TRUE;
  FileList->Close();
  *ProgramSetting = CProgramSetting();
  ProgramSetting->LoadFromProfile();
  ProgramSetting->StartFolder = platform::StartFolder();
  if (!Cytoband->LoadFrom(DataFolder())) return FALSE;
  if (!LoadBasicData()) return FALSE;
  loaded_ = true;
  return TRUE;
}

void CGlobalData::FillChromosomeTables() {
  for (int t = 0; t < core::kArrayTypeCount; ++t) {
    std::copy(std::begin(core::kArrayChromosomeStarts[t]), std::end(core::kArrayChromosomeStarts[t]),
              ArrayChromosomeStarts[t]);
    ArrayLastSnpIndex[t] = core::kArrayTypes[t].lastSnp;
    ArraySnpCount[t] = core::kArrayTypes[t].snpCount;
    ArrayFirstSnpIndex[t] = ArrayChromosomeStarts[t][1];
    ArrayLastSnpIndexX[t] = ArrayChromosomeStarts[t][24] - 1;
    ArrayLastSnpIndexAutosomes[t] = ArrayChromosomeStarts[t][23] - 1;
  }
}

BOOL CGlobalData::LoadBasicData() {
  FillChromosomeTables();
  BasicData = std::make_unique<CBasicData[]>(core::kArrayFamilyCount);
  const std::string folder = DataFolder();
  for (const core::ArrayFamilyInfo& family : core::kArrayFamilies) {
    const std::string path = platform::JoinPath(folder, family.annotationFile);
    if (family.family >= kRequiredFamilies && !platform::FileExists(path)) continue;
    if (!LoadFamilyTable(family.family, path)) AfxMessageBox("cannot load " + path);
  }
  return TRUE;
}

bool CGlobalData::LoadFamilyTable(int family, const std::string& path) {
  const core::ArrayFamilyInfo& info = core::kArrayFamilies[family];
  CBasicData& table = BasicData[family];
  table.Allocate(info.snpCount, info.extended ? 1 : 0);
  try {
    table.LoadFile(path, info.snpCount);
    return true;
  } catch (const std::exception&) {
    // Keep no half-read table around: users check HasBasicData.
    table.Allocate(0, table.IsExtended);
    return false;
  }
}

bool CGlobalData::HasBasicData(int family) const {
  if (!BasicData || family < 0 || family >= core::kArrayFamilyCount) return false;
  const std::int32_t rows = BasicData[family].LoadedRows();
  return rows > 0 && rows == core::kArrayFamilies[family].snpCount;
}

const CBasicData* CGlobalData::BasicDataOfType(int type) const {
  if (type < 0 || type >= core::kArrayTypeCount) return nullptr;
  const int family = core::kArrayTypes[type].family;
  return HasBasicData(family) ? &BasicData[family] : nullptr;
}

ArrayTypeInfoValues CGlobalData::TypeInfo(int type) const {
  ArrayTypeInfoValues values{};
  if (type < 0 || type >= core::kArrayTypeCount) return values;
  values[kTypeInfoFirstSnp] = ArrayFirstSnpIndex[type];
  values[kTypeInfoLastSnp] = ArrayLastSnpIndex[type];
  values[kTypeInfoLastSnpX] = ArrayLastSnpIndexX[type];
  values[kTypeInfoLastSnpAutosomes] = ArrayLastSnpIndexAutosomes[type];
  values[kTypeInfoSnpCount] = ArraySnpCount[type];
  return values;
}

int CGlobalData::ChromosomeOfSnp(int type, std::int32_t snp) const {
  if (type < 0 || type >= core::kArrayTypeCount) return 0;
  const std::int32_t* starts = ArrayChromosomeStarts[type];
  // The chromosome whose range [starts[c], starts[c+1]) holds the SNP; empty
  // chromosomes are skipped by taking the last start not above it.
  if (snp < starts[1] || snp >= starts[24]) return 0;
  const std::int32_t* next = std::upper_bound(starts + 1, starts + 25, snp);
  return static_cast<int>(next - starts) - 1;
}

bool CGlobalData::EditProgramSetting() {
  const ProgramSettingSheet& sheet = InstalledSheet();
  if (!sheet) return false;
  CProgramSetting workingCopy(*ProgramSetting);
  if (sheet(workingCopy) != IDOK) return false;
  *ProgramSetting = workingCopy;
  if (!ProgramSetting->SaveToProfile()) AfxMessageBox(platform::AppProfile().NotSavedMessage());
  return true;
}
