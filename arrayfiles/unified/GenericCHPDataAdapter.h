#pragma once
// The CHP adapters over a file in the generic container.
//
// Reading loads the headers and makes sure that what the callers will ask
// for can be answered: the header's typed parameters have their types, and a
// file of one of the four result kinds has a result data set that opens.
// A file that fails either is not one this adapter reads.
#include <memory>

#include "arrayfiles/chp/CHPData.h"
#include "arrayfiles/unified/IUnifiedCHPDataAdapter.h"
#include "arrayfiles/unified/IUnifiedCHPHeaderAdapter.h"

namespace unified_io {

class GenericCHPHeaderAdapter final : public IUnifiedCHPHeaderAdapter {
 public:
  explicit GenericCHPHeaderAdapter(generic_io::CHPData* data) : chpData(data) {}

  int GetCols() override { return chpData->GetCelCols(); }
  int GetRows() override { return chpData->GetCelRows(); }
  int GetNumProbeSets() override { return chpData->GetEntryCount(); }
  // 0 to 3 for the four kinds of result, 4 for any other file-type id.
  int GetAssayType() override;
  std::u16string GetChipType() override { return chpData->GetArrayType(); }
  std::u16string GetAlgName() override { return chpData->GetAlgorithmName(); }
  std::u16string GetAlgVersion() override { return chpData->GetAlgorithmVersion(); }
  void GetAlgorithmParameters(UnifiedTagValuePairList& params) override;
  int GetNumAlgorithmParameters() override;
  int GetNumSummaryParameters() override;
  void GetSummaryParameters(UnifiedTagValuePairList& params) override;
  std::u16string GetParentCellFile() override { return chpData->GetParentCelFile(); }
  std::u16string GetProgID() override { return chpData->GetProgId(); }
  std::u16string GetAlgorithmParameter(const std::u16string& tag) override;
  std::u16string GetSummaryParameter(const std::u16string& tag) override;
  // The smooth factor is the first zone's.
  void GetBackgroundZoneInfo(UnifiedBackgroundZoneInfo& info) override;
  void GetBackgroundZones(std::vector<UnifiedBackgroundZone>& zones) override;
  UnifiedBackgroundZone GetBackgroundZone(int index) override;
  int GetMagic() override;
  int GetVersion() override;

 private:
  // The zones the file holds; none when its zone data set is missing or unreadable.
  std::vector<generic_io::BackgroundZoneRow> Zones();

  generic_io::CHPData* chpData;
};

class GenericCHPDataAdapter final : public IUnifiedCHPDataAdapter {
 public:
  GenericCHPDataAdapter();
  ~GenericCHPDataAdapter() override;
  GenericCHPDataAdapter(const GenericCHPDataAdapter&) = delete;
  GenericCHPDataAdapter& operator=(const GenericCHPDataAdapter&) = delete;

  IUnifiedCHPHeaderAdapter* GetHeader() override { return header.get(); }
  // Every exception of the read is caught and answers false.
  bool CanReadFile() override;
  // From the expression or genotyping row; empty for other kinds of file.
  std::string GetProbeSetName(int index) override;
  bool GetExpressionResults(int index, UnifiedExpressionProbeSetResults& result) override;
  bool GetGenotypingResults(int index, UnifiedGenotypeProbeSetResults& result) override;
  bool GetGenotypeCalls(std::vector<std::uint8_t>& calls) override;
  bool GetUniversalResults(int index, UnifiedUniversalProbeSetResults& result) override;
  bool GetResequencingResults(UnifiedResequencingResults& result) override;
  bool Read() override { return CanReadFile(); }
  // The whole header set is read either way.
  bool ReadHeader() override { return CanReadFile(); }
  void SetFileName(const std::string& name) override { chpData.SetFilename(name); }
  std::string GetFileName() override { return chpData.GetFilename(); }
  void Clear() override { chpData.Clear(); }
  std::string GetFileId() override;
  generic_io::GenericData* GetGenericData() override { return &chpData.GetGenericData(); }
  [[nodiscard]] std::string GetError() const override { return error; }

  [[nodiscard]] generic_io::CHPData& GetCHPData() { return chpData; }

 private:
  [[nodiscard]] bool IsType(std::string_view typeId) const { return chpData.GetFileTypeId() == typeId; }
  // Throws when a question the callers will ask cannot be answered.
  void CheckAnswers();

  generic_io::CHPData chpData;
  std::unique_ptr<GenericCHPHeaderAdapter> header;
  std::string error;
};

}  // namespace unified_io
