#pragma once
// The one application-wide data object: the settings record, the cytoband
// table, the per-type chromosome tables, the seven annotation tables and the
// sample-file index. The application object creates it at start-up and keeps
// it for the whole run; everything else reads the settings and the tables
// through it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "core/Cytoband.h"
#include "core/ProgramSetting.h"
#include "core/SampleFileList.h"
#include "platform/Types.h"

// The modeless single-view navigator. It belongs to the view layer; the data
// object holds it while it is open and destroys it at exit.
class ISingleViewList {
 public:
  virtual ~ISingleViewList() = default;
};

// Runs the "Program Setting" sheet on a working copy of the settings and
// returns the button that closed it (IDOK or IDCANCEL). The layer that builds
// the sheet's pages installs it.
using ProgramSettingSheet = std::function<int(CProgramSetting& workingCopy)>;

class CGlobalData {
 public:
  // The constant chromosome tables are filled from the start, so they can be
  // used even when loading fails; the settings record, the cytoband table and
  // the sample-file index exist from the start, empty.
  CGlobalData();
  ~CGlobalData();
  CGlobalData(const CGlobalData&) = delete;
  CGlobalData& operator=(const CGlobalData&) = delete;

  // Loads the settings from the profile, sets the start folder, and loads the
  // cytoband table and the annotation tables from the start folder's "data"
  // folder. FALSE when the cytoband table cannot be loaded (the annotation
  // tables are then not read); a later call tries again. Once it succeeded,
  // further calls do nothing and return TRUE.
  BOOL Load();
  // Fills the chromosome tables and reads the seven annotation tables. A
  // missing or unreadable table of families 0..4 is reported ("cannot load"
  // and the file); absent tables of families 5 and 6 are skipped silently. The
  // tables read stand either way: check HasBasicData before using one.
  BOOL LoadBasicData();
  // Runs the settings sheet on a copy of the settings; OK makes the copy the
  // settings and writes them to the profile. Without an installed sheet
  // nothing changes. True when the sheet closed with OK: whoever keeps a copy
  // of a setting (the documents keep the folders) takes it again.
  bool EditProgramSetting();
  static void SetProgramSettingSheet(ProgramSettingSheet sheet);

  [[nodiscard]] bool IsLoaded() const { return loaded_; }
  // The folder of the fixed tables: the start folder's "data" folder.
  [[nodiscard]] std::string DataFolder() const;

  // True when family `family`'s annotation table was read whole.
  [[nodiscard]] bool HasBasicData(int family) const;
  // The annotation table of an array type's family, or null when it is not
  // loaded.
  [[nodiscard]] const CBasicData* BasicDataOfType(int type) const;
  // The five numbers a new extracted sample of array type `type` takes (first,
  // last, last of X, last autosome SNP index and the SNP count); zeros for an
  // index outside 0..12.
  [[nodiscard]] ArrayTypeInfoValues TypeInfo(int type) const;
  // The chromosome (1..23) of SNP index `snp` of array type `type`, or 0 for
  // an index outside the type's chromosomes (the SNPs after X included).
  [[nodiscard]] int ChromosomeOfSnp(int type, std::int32_t snp) const;

  std::unique_ptr<CProgramSetting> ProgramSetting;
  std::unique_ptr<CCytoband> Cytoband;
  std::unique_ptr<ISingleViewList> SingleViewList;
  // One table per family 0..6.
  std::unique_ptr<CBasicData[]> BasicData;
  std::unique_ptr<CSampleFileList> FileList;

  std::int32_t ArrayChromosomeStarts[qova::core::kArrayTypeCount][qova::core::kChromosomeTableSlots] = {};
  std::int32_t ArrayFirstSnpIndex[qova::core::kArrayTypeCount] = {};
  std::int32_t ArrayLastSnpIndex[qova::core::kArrayTypeCount] = {};
  std::int32_t ArrayLastSnpIndexX[qova::core::kArrayTypeCount] = {};
  std::int32_t ArrayLastSnpIndexAutosomes[qova::core::kArrayTypeCount] = {};
  std::int32_t ArraySnpCount[qova::core::kArrayTypeCount] = {};

 private:
  void FillChromosomeTables();
  // Reads one family's table; false (and the table empty) when it could not.
  bool LoadFamilyTable(int family, const std::string& path);

  bool loaded_ = false;
};
