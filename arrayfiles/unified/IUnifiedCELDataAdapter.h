#pragma once
// The one interface through which the program reads a CEL file, whatever its
// form. GenericCELDataAdapter reads the generic container, LegacyCELDataAdapter
// the older forms; UnifiedCELData chooses between them.
//
// Cells are numbered y * columns + x. An index or (x, y) without a cell
// reads as a zero entry.
#include <cstdint>
#include <span>
#include <string>

#include "arrayfiles/generic/UnifiedTagValuePair.h"

namespace generic_io {
class CELData;
}

namespace unified_io {

struct UnifiedCELFileEntry {
  float Intensity = 0.0f;
  float Stdv = 0.0f;
  std::int16_t Pixels = 0;
};

struct UnifiedGridCoords {
  float upperleftx = 0.0f;
  float upperlefty = 0.0f;
  float upperrightx = 0.0f;
  float upperrighty = 0.0f;
  float lowerrightx = 0.0f;
  float lowerrighty = 0.0f;
  float lowerleftx = 0.0f;
  float lowerlefty = 0.0f;
};

class IUnifiedCELDataAdapter {
 public:
  virtual ~IUnifiedCELDataAdapter() = default;

  // Reads the file's header; false when this adapter cannot read the file.
  virtual bool CanReadFile() = 0;
  virtual void SetFileName(const std::string& value) = 0;
  virtual std::string GetFileName() = 0;
  virtual std::string GetFileId() = 0;
  virtual void SetError(const std::u16string& value) = 0;
  virtual std::u16string GetError() = 0;
  virtual std::u16string GetHeaderKey(const std::u16string& key) = 0;
  virtual int GetVersion() = 0;
  virtual int GetCols() = 0;
  virtual int GetRows() = 0;
  virtual int GetNumCells() = 0;
  virtual std::u16string GetHeader() = 0;
  virtual std::u16string GetAlg() = 0;
  // Every algorithm parameter as "tag:value", joined by ';'.
  virtual std::u16string GetParams() = 0;
  virtual std::u16string GetAlgorithmParameter(const std::u16string& tag) = 0;
  // The tag of the parameter at `index` (from 0); empty outside the list.
  virtual std::u16string GetAlgorithmParameterTag(int index) = 0;
  virtual int GetNumberAlgorithmParameters() = 0;
  virtual std::u16string GetAlgorithmParameters() = 0;
  // Appends one pair per algorithm parameter, in order.
  virtual void GetParameters(UnifiedTagValuePairList& values) = 0;
  virtual std::u16string GetDatHeader() = 0;
  virtual std::u16string GetChipType() = 0;
  virtual std::u16string GetMasterFileName() = 0;
  virtual std::u16string GetLibraryPackageName() = 0;
  virtual int GetCellMargin() = 0;
  virtual int GetNumOutliers() = 0;
  virtual int GetNumMasked() = 0;
  virtual UnifiedGridCoords GetGridCorners() = 0;
  // 0 for a file without columns.
  virtual int IndexToX(int index) = 0;
  virtual int IndexToY(int index) = 0;
  // -1 for a cell outside the grid.
  virtual int XYToIndex(int x, int y) = 0;
  virtual void GetEntry(int x, int y, UnifiedCELFileEntry& entry) = 0;
  virtual void GetEntry(int index, UnifiedCELFileEntry& entry) = 0;
  virtual float GetIntensity(int x, int y) = 0;
  virtual float GetIntensity(int index) = 0;
  // The intensities of many cells by index at once, each as GetEntry gives
  // it (0 for an index without a cell): the pass a reader makes over the
  // cells a library names, without a call per cell.
  virtual void GetIntensities(std::span<const std::int32_t> indexes, std::span<float> intensities) {
    UnifiedCELFileEntry entry;
    for (std::size_t i = 0; i < indexes.size() && i < intensities.size(); ++i) {
      GetEntry(indexes[i], entry);
      intensities[i] = entry.Intensity;
    }
  }
  virtual float GetStdv(int x, int y) = 0;
  virtual float GetStdv(int index) = 0;
  virtual std::int16_t GetPixels(int x, int y) = 0;
  virtual std::int16_t GetPixels(int index) = 0;
  virtual bool IsMasked(int index) = 0;
  virtual bool IsMasked(int x, int y) = 0;
  virtual bool IsOutlier(int index) = 0;
  virtual bool IsOutlier(int x, int y) = 0;
  virtual void Close() = 0;
  virtual bool ReadHeader() = 0;
  [[nodiscard]] virtual bool Read(bool includeMaskAndOutliers) = 0;
  virtual bool ReadEx(const std::string& fileName, int state) = 0;
  virtual int GetReadState() = 0;
  virtual void Clear() = 0;
  // The generic-format data behind the adapter, or null.
  virtual generic_io::CELData* GetGenericData() = 0;
};

}  // namespace unified_io
