#pragma once
// The one object through which the program reads a CEL file, whatever its
// form: it asks the generic-format adapter first and the legacy one second
// whether they can read the file, keeps the first that can, and forwards
// every question to it.
//
// UnableToOpenFileException when neither adapter reads the file;
// FileNotOpenException from every accessor while no adapter is held.
#include <memory>
#include <span>
#include <string>

#include "arrayfiles/unified/IUnifiedCELDataAdapter.h"

namespace unified_io {

class UnifiedCELData {
 public:
  UnifiedCELData() = default;
  ~UnifiedCELData();
  UnifiedCELData(const UnifiedCELData&) = delete;
  UnifiedCELData& operator=(const UnifiedCELData&) = delete;

  void SetFileName(const std::string& value) { fileName_ = value; }
  [[nodiscard]] const std::string& GetFileName() const { return fileName_; }

  // Chooses the adapter afresh (a held one is dropped first).
  void CreateAdapter();
  // CreateAdapter, then the adapter's read.
  [[nodiscard]] bool Read(bool includeMaskAndOutliers);
  bool ReadHeader();
  // True when an adapter is held.
  [[nodiscard]] bool HasAdapter() const { return adapter_ != nullptr; }
  // The adapter held; FileNotOpenException without one.
  IUnifiedCELDataAdapter& Adapter();

  std::string GetFileId() { return Adapter().GetFileId(); }
  // The held adapter's error; after a read that no adapter took, why the
  // legacy reader refused the file.
  std::u16string GetError() { return adapter_ || refusal_.empty() ? Adapter().GetError() : refusal_; }
  std::u16string GetHeaderKey(const std::u16string& key) { return Adapter().GetHeaderKey(key); }
  int GetVersion() { return Adapter().GetVersion(); }
  int GetCols() { return Adapter().GetCols(); }
  int GetRows() { return Adapter().GetRows(); }
  int GetNumCells() { return Adapter().GetNumCells(); }
  std::u16string GetHeader() { return Adapter().GetHeader(); }
  std::u16string GetAlg() { return Adapter().GetAlg(); }
  std::u16string GetParams() { return Adapter().GetParams(); }
  std::u16string GetAlgorithmParameter(const std::u16string& tag) { return Adapter().GetAlgorithmParameter(tag); }
  std::u16string GetAlgorithmParameterTag(int index) { return Adapter().GetAlgorithmParameterTag(index); }
  int GetNumberAlgorithmParameters() { return Adapter().GetNumberAlgorithmParameters(); }
  std::u16string GetAlgorithmParameters() { return Adapter().GetAlgorithmParameters(); }
  void GetParameters(UnifiedTagValuePairList& values) { Adapter().GetParameters(values); }
  std::u16string GetDatHeader() { return Adapter().GetDatHeader(); }
  std::u16string GetChipType() { return Adapter().GetChipType(); }
  std::u16string GetMasterFileName() { return Adapter().GetMasterFileName(); }
  std::u16string GetLibraryPackageName() { return Adapter().GetLibraryPackageName(); }
  int GetCellMargin() { return Adapter().GetCellMargin(); }
  int GetNumOutliers() { return Adapter().GetNumOutliers(); }
  int GetNumMasked() { return Adapter().GetNumMasked(); }
  UnifiedGridCoords GetGridCorners() { return Adapter().GetGridCorners(); }
  int IndexToX(int index) { return Adapter().IndexToX(index); }
  int IndexToY(int index) { return Adapter().IndexToY(index); }
  int XYToIndex(int x, int y) { return Adapter().XYToIndex(x, y); }
  void GetEntry(int x, int y, UnifiedCELFileEntry& entry) { Adapter().GetEntry(x, y, entry); }
  void GetEntry(int index, UnifiedCELFileEntry& entry) { Adapter().GetEntry(index, entry); }
  float GetIntensity(int x, int y) { return Adapter().GetIntensity(x, y); }
  float GetIntensity(int index) { return Adapter().GetIntensity(index); }
  void GetIntensities(std::span<const std::int32_t> indexes, std::span<float> intensities) {
    Adapter().GetIntensities(indexes, intensities);
  }
  float GetStdv(int x, int y) { return Adapter().GetStdv(x, y); }
  float GetStdv(int index) { return Adapter().GetStdv(index); }
  std::int16_t GetPixels(int x, int y) { return Adapter().GetPixels(x, y); }
  std::int16_t GetPixels(int index) { return Adapter().GetPixels(index); }
  bool IsMasked(int index) { return Adapter().IsMasked(index); }
  bool IsMasked(int x, int y) { return Adapter().IsMasked(x, y); }
  bool IsOutlier(int index) { return Adapter().IsOutlier(index); }
  bool IsOutlier(int x, int y) { return Adapter().IsOutlier(x, y); }
  int GetReadState() { return Adapter().GetReadState(); }
  generic_io::CELData* GetGenericData() { return Adapter().GetGenericData(); }
  // Releases the file's data; the adapter stays.
  void Close() { Adapter().Close(); }

 private:
  [[noreturn]] static void ThrowFileNotOpenException();

  std::unique_ptr<IUnifiedCELDataAdapter> adapter_;
  std::u16string refusal_;
  std::string fileName_;
};

}  // namespace unified_io
