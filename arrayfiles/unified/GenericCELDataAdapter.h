#pragma once
// The CEL interface over a file in the generic container. Reading loads the
// headers and checks that the intensities can be read; cell values are then
// read one at a time from the mapped data sets.
#include "arrayfiles/cel/CELData.h"
#include "arrayfiles/unified/IUnifiedCELDataAdapter.h"

namespace unified_io {

class GenericCELDataAdapter final : public IUnifiedCELDataAdapter {
 public:
  GenericCELDataAdapter() = default;
  ~GenericCELDataAdapter() override;

  // Every exception of the read is caught and answers false.
  bool CanReadFile() override;
  void SetFileName(const std::string& value) override { data_.SetFileName(value); }
  std::string GetFileName() override { return data_.GetFileName(); }
  std::string GetFileId() override;
  void SetError(const std::u16string&) override {}
  std::u16string GetError() override { return std::u16string(); }
  std::u16string GetHeaderKey(const std::u16string&) override { return std::u16string(); }
  int GetVersion() override { return data_.GetVersion(); }
  int GetCols() override { return data_.GetCols(); }
  int GetRows() override { return data_.GetRows(); }
  int GetNumCells() override { return loaded_ ? data_.GetNumCells() : 0; }
  std::u16string GetHeader() override { return std::u16string(); }
  std::u16string GetAlg() override { return data_.GetAlgorithmName(); }
  std::u16string GetParams() override;
  std::u16string GetAlgorithmParameter(const std::u16string& tag) override;
  std::u16string GetAlgorithmParameterTag(int index) override;
  int GetNumberAlgorithmParameters() override;
  std::u16string GetAlgorithmParameters() override { return GetParams(); }
  void GetParameters(UnifiedTagValuePairList& values) override;
  std::u16string GetDatHeader() override;
  std::u16string GetChipType() override { return data_.GetArrayType(); }
  std::u16string GetMasterFileName() override { return data_.GetMasterFileName(); }
  std::u16string GetLibraryPackageName() override { return data_.GetLibraryPackageName(); }
  int GetCellMargin() override;
  int GetNumOutliers() override;
  int GetNumMasked() override;
  UnifiedGridCoords GetGridCorners() override;
  int IndexToX(int index) override;
  int IndexToY(int index) override;
  int XYToIndex(int x, int y) override;
  void GetEntry(int x, int y, UnifiedCELFileEntry& entry) override { GetEntry(XYToIndex(x, y), entry); }
  void GetEntry(int index, UnifiedCELFileEntry& entry) override;
  float GetIntensity(int x, int y) override { return GetIntensity(XYToIndex(x, y)); }
  float GetIntensity(int index) override;
  void GetIntensities(std::span<const std::int32_t> indexes, std::span<float> intensities) override;
  float GetStdv(int x, int y) override { return GetStdv(XYToIndex(x, y)); }
  float GetStdv(int index) override;
  std::int16_t GetPixels(int x, int y) override { return GetPixels(XYToIndex(x, y)); }
  std::int16_t GetPixels(int index) override;
  bool IsMasked(int index) override;
  bool IsMasked(int x, int y) override { return IsMasked(XYToIndex(x, y)); }
  bool IsOutlier(int index) override;
  bool IsOutlier(int x, int y) override { return IsOutlier(XYToIndex(x, y)); }
  // The data stays readable until Clear.
  void Close() override {}
  bool ReadHeader() override { return CanReadFile(); }
  // Masked and outlier cells are read when first asked for, whatever the flag.
  bool Read(bool) override { return CanReadFile(); }
  bool ReadEx(const std::string& fileName, int state) override;
  int GetReadState() override { return 1; }
  void Clear() override;
  generic_io::CELData* GetGenericData() override { return &data_; }

 private:
  generic_io::CELData data_;
  // Set by a successful read: the cells can be read.
  bool loaded_ = false;
};

}  // namespace unified_io
