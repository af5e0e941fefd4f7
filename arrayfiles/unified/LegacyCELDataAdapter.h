#pragma once
// The CEL interface over the reader of the older forms (text, XDA, "BCEL",
// compact). Narrow texts of the reader go out widened; wide arguments come in
// narrowed.
#include "arrayfiles/cel/LegacyCELFile.h"
#include "arrayfiles/unified/IUnifiedCELDataAdapter.h"

namespace unified_io {

class LegacyCELDataAdapter final : public IUnifiedCELDataAdapter {
 public:
  LegacyCELDataAdapter() = default;
  ~LegacyCELDataAdapter() override;

  bool CanReadFile() override;
  void SetFileName(const std::string& value) override { legacyCel_.SetFileName(value); }
  std::string GetFileName() override { return legacyCel_.GetFileName(); }
  std::string GetFileId() override { return std::string(); }
  void SetError(const std::u16string& value) override;
  std::u16string GetError() override;
  std::u16string GetHeaderKey(const std::u16string& key) override;
  int GetVersion() override { return Header().GetVersion(); }
  int GetCols() override { return Header().GetCols(); }
  int GetRows() override { return Header().GetRows(); }
  int GetNumCells() override { return Header().GetNumCells(); }
  std::u16string GetHeader() override;
  std::u16string GetAlg() override;
  std::u16string GetParams() override;
  std::u16string GetAlgorithmParameter(const std::u16string& tag) override;
  std::u16string GetAlgorithmParameterTag(int index) override;
  int GetNumberAlgorithmParameters() override { return Header().GetNumberAlgorithmParameters(); }
  std::u16string GetAlgorithmParameters() override { return GetParams(); }
  void GetParameters(UnifiedTagValuePairList& values) override;
  std::u16string GetDatHeader() override;
  std::u16string GetChipType() override;
  std::u16string GetMasterFileName() override { return std::u16string(); }
  std::u16string GetLibraryPackageName() override { return std::u16string(); }
  int GetCellMargin() override { return Header().GetCellMargin(); }
  int GetNumOutliers() override { return static_cast<int>(Header().GetNumOutliers()); }
  int GetNumMasked() override { return static_cast<int>(Header().GetNumMasked()); }
  UnifiedGridCoords GetGridCorners() override;
  int IndexToX(int index) override;
  int IndexToY(int index) override;
  int XYToIndex(int x, int y) override { return legacyCel_.CellIndex(x, y); }
  void GetEntry(int x, int y, UnifiedCELFileEntry& entry) override { GetEntry(XYToIndex(x, y), entry); }
  void GetEntry(int index, UnifiedCELFileEntry& entry) override;
  float GetIntensity(int x, int y) override { return GetIntensity(XYToIndex(x, y)); }
  float GetIntensity(int index) override { return legacyCel_.GetIntensity(index); }
  void GetIntensities(std::span<const std::int32_t> indexes, std::span<float> intensities) override {
    legacyCel_.GetIntensities(indexes, intensities);
  }
  float GetStdv(int x, int y) override { return GetStdv(XYToIndex(x, y)); }
  float GetStdv(int index) override { return legacyCel_.GetStdv(index); }
  std::int16_t GetPixels(int x, int y) override { return static_cast<std::int16_t>(legacyCel_.GetPixels(x, y)); }
  std::int16_t GetPixels(int index) override { return static_cast<std::int16_t>(legacyCel_.GetPixels(index)); }
  bool IsMasked(int index) override { return legacyCel_.IsMaskedIndex(index); }
  bool IsMasked(int x, int y) override { return legacyCel_.IsMasked(x, y); }
  bool IsOutlier(int index) override { return legacyCel_.IsOutlierIndex(index); }
  bool IsOutlier(int x, int y) override { return legacyCel_.IsOutlier(x, y); }
  void Close() override { legacyCel_.Close(); }
  bool ReadHeader() override;
  bool Read(bool includeMaskAndOutliers) override;
  bool ReadEx(const std::string& fileName, int state) override { return legacyCel_.ReadEx(fileName, state); }
  int GetReadState() override { return legacyCel_.GetReadState(); }
  void Clear() override { legacyCel_.Close(); }
  generic_io::CELData* GetGenericData() override { return nullptr; }

  // The reader itself, for callers that need its form.
  [[nodiscard]] const CLegacyCELFile& LegacyFile() const { return legacyCel_; }

 private:
  [[nodiscard]] const CLegacyCELHeader& Header() const { return legacyCel_.GetHeaderData(); }

  CLegacyCELFile legacyCel_;
};

}  // namespace unified_io
