#pragma once
// The CHP adapters over the legacy binary forms (XDA and the older form).
#include <memory>

#include "arrayfiles/unified/IUnifiedCHPDataAdapter.h"
#include "arrayfiles/unified/IUnifiedCHPHeaderAdapter.h"
#include "arrayfiles/chp/LegacyCHPFile.h"

namespace unified_io {

class LegacyCHPHeaderAdapter : public IUnifiedCHPHeaderAdapter {
 public:
  explicit LegacyCHPHeaderAdapter(legacy_chp::CLegacyCHPHeader* header) : legacyHeader(header) {}

  int GetCols() override;
  int GetRows() override;
  int GetNumProbeSets() override;
  int GetAssayType() override;
  std::u16string GetChipType() override;
  std::u16string GetAlgName() override;
  std::u16string GetAlgVersion() override;
  void GetAlgorithmParameters(UnifiedTagValuePairList& params) override;
  int GetNumAlgorithmParameters() override;
  int GetNumSummaryParameters() override;
  void GetSummaryParameters(UnifiedTagValuePairList& params) override;
  std::u16string GetParentCellFile() override;
  std::u16string GetProgID() override;
  std::u16string GetAlgorithmParameter(const std::u16string& tag) override;
  std::u16string GetSummaryParameter(const std::u16string& tag) override;
  void GetBackgroundZoneInfo(UnifiedBackgroundZoneInfo& info) override;
  void GetBackgroundZones(std::vector<UnifiedBackgroundZone>& zones) override;
  UnifiedBackgroundZone GetBackgroundZone(int index) override;
  // The first zone at exactly (x, y); zeros when there is none.
  UnifiedBackgroundZone GetBackgroundZone(float x, float y);
  int GetMagic() override;
  int GetVersion() override;

 private:
  legacy_chp::CLegacyCHPHeader* legacyHeader;
};

class LegacyCHPDataAdapter : public IUnifiedCHPDataAdapter {
 public:
  LegacyCHPDataAdapter();
  ~LegacyCHPDataAdapter() override;
  LegacyCHPDataAdapter(const LegacyCHPDataAdapter&) = delete;
  LegacyCHPDataAdapter& operator=(const LegacyCHPDataAdapter&) = delete;

  IUnifiedCHPHeaderAdapter* GetHeader() override;
  // Reads the header only and clears again, whatever the result.
  bool CanReadFile() override;
  // The legacy forms carry no probe-set names: always empty.
  std::string GetProbeSetName(int index) override;
  bool GetExpressionResults(int index, UnifiedExpressionProbeSetResults& result) override;
  bool GetGenotypingResults(int index, UnifiedGenotypeProbeSetResults& result) override;
  bool GetUniversalResults(int index, UnifiedUniversalProbeSetResults& result) override;
  bool GetResequencingResults(UnifiedResequencingResults& result) override;
  void SetGenotypeCallsOnly(bool only) override { legacyChp.genotypeCallsOnly = only; }
  bool GetGenotypeCalls(std::vector<std::uint8_t>& calls) override;
  bool Read() override;
  bool ReadHeader() override;
  void SetFileName(const std::string& name) override;
  std::string GetFileName() override;
  void Clear() override;
  // Legacy files have no file identifier: always empty.
  std::string GetFileId() override;
  generic_io::GenericData* GetGenericData() override;

  // The reader's text for the last failure.
  [[nodiscard]] std::string GetError() const override { return legacyChp.errorText; }

 private:
  // The record at `index` when it exists and the file is of `assay`.
  template <class Record>
  const Record* ResultAt(int index, int assay) const;

  legacy_chp::CLegacyCHPFile legacyChp;
  std::unique_ptr<LegacyCHPHeaderAdapter> header;
};

}  // namespace unified_io
