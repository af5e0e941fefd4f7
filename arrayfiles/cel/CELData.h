#pragma once
// One CEL file in the generic container: its headers, and handles on the cell
// data sets of its "Default Group", opened at their first use. Header
// questions are answered from the data header's parameters; cell values are
// read one at a time, big-endian, straight out of the mapped data sets.
//
// "Intensity" is the one data set a CEL file must have. "StdDev", "Pixel",
// "Outlier" and "Mask" are optional: a file without them (or with one whose
// cells do not fit the file) reads zero deviations and pixel counts and no
// outlier or masked cells. Every cell index is checked against the rows of the
// data set it reads.
#include <cstdint>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "arrayfiles/generic/DataSet.h"
#include "arrayfiles/generic/GenericData.h"
#include "arrayfiles/generic/GenericParameter.h"

namespace generic_io {

// A masked or outlier cell.
struct XYCoord {
  std::int16_t xCoord = 0;
  std::int16_t yCoord = 0;
};

class CELData {
 public:
  CELData();
  ~CELData();
  CELData(const CELData&) = delete;
  CELData& operator=(const CELData&) = delete;

  // Empties the headers and closes the data sets; the file name stays.
  void Clear();

  void SetFileName(const std::string& name) { genericData_.Header().fileName = name; }
  [[nodiscard]] std::string GetFileName() const { return genericData_.Header().fileName; }
  [[nodiscard]] GenericData& GetGenericData() { return genericData_; }

  // Header parameters; a missing one gives 0 or an empty text, one of another
  // type than its own raises ParameterMismatchException.
  [[nodiscard]] std::uint8_t GetVersion();
  [[nodiscard]] std::u16string GetArrayType();
  [[nodiscard]] std::u16string GetMasterFileName();
  [[nodiscard]] std::u16string GetLibraryPackageName();
  [[nodiscard]] std::u16string GetAlgorithmName();
  // Looked up once, then kept until Clear.
  [[nodiscard]] std::int32_t GetRows();
  [[nodiscard]] std::int32_t GetCols();

  // The rows of "Intensity"; DataSetNotFoundException when the file lacks it.
  [[nodiscard]] std::int32_t GetNumCells();
  // Opens "Intensity" and checks that its cells can be read; false when they
  // cannot (DataSetNotFoundException when the file lacks it).
  bool OpenIntensityDataSet();
  // True when "Intensity" can be read and every optional data set the file
  // has can be read too (DataSetNotFoundException without "Intensity").
  bool CheckDataSets();

  // Every value of one cell. Values of a cell beyond a data set's rows are 0.
  void GetData(std::int32_t index, float& intensity, float& stdev, std::int16_t& pixels, bool& outlier,
               bool& masked);
  // The same without the outlier and masked flags (the per-cell path of readers).
  void GetValues(std::int32_t index, float& intensity, float& stdev, std::int16_t& pixels);
  // Each fills `values` with the one value of the cell; false (and no value)
  // when the cell lies beyond the data set or the data set is unreadable.
  bool GetIntensities(std::int32_t index, std::vector<float>& values);
  // The intensities of many cells by index, 0 where GetValues gives 0.
  void GetIntensities(std::span<const std::int32_t> indexes, std::span<float> intensities);
  bool GetStdev(std::int32_t index, std::vector<float>& values);
  bool GetNumPixels(std::int32_t index, std::vector<std::int16_t>& values);
  // Append the cell's flag; false (and nothing appended) when the file has no
  // outlier (masked) cells at all.
  bool GetOutliers(std::int32_t index, std::vector<bool>& flags);
  bool GetMasked(std::int32_t index, std::vector<bool>& flags);
  [[nodiscard]] bool IsOutlier(std::int32_t index);
  [[nodiscard]] bool IsMasked(std::int32_t index);
  // Every outlier (masked) cell, ordered by y, then x.
  void GetOutlierCoords(std::vector<XYCoord>& coords);
  void GetMaskCoords(std::vector<XYCoord>& coords);

  // Every "vendor-algorithm-param-" parameter in header order, named without the prefix.
  void GetAlgorithmParameters(std::vector<GenericParameter>& params);
  // The algorithm parameter of that tag, named without the prefix.
  bool FindAlgorithmParameter(std::u16string_view tag, GenericParameter& param);

 private:
  // Column 0 of an open value data set, read cell by cell. A set that lies
  // wholly in its window is addressed directly, without asking the set.
  class ValueColumn {
   public:
    void Reset(std::unique_ptr<DataSet> set = nullptr);
    [[nodiscard]] bool IsOpen() const { return set_ != nullptr; }
    [[nodiscard]] std::int32_t Rows() const { return rows_; }
    // The first byte of the row's cell, or null outside the set.
    const std::uint8_t* Cell(std::int32_t row) {
      if (row < 0 || row >= rows_) return nullptr;
      if (base_ != nullptr) return base_ + std::size_t(row) * stride_;
      return set_->FilePosition(row, 0);
    }

   private:
    std::unique_ptr<DataSet> set_;
    const std::uint8_t* base_ = nullptr;
    std::size_t stride_ = 0;
    std::int32_t rows_ = 0;
  };
  // What became of an optional data set at its first use.
  enum class SetState { kNotLooked, kAbsent, kReadable, kUnreadable };
  // An optional value data set: closed until first asked for, then kept.
  struct ValueSet {
    ValueColumn column;
    SetState state = SetState::kNotLooked;
  };
  // Coordinates ordered by y, then x.
  using CoordSet = std::set<std::pair<std::int16_t, std::int16_t>>;

  // The data set's column, open when the set has a first column of `width` bytes.
  ValueColumn& OpenValueSet(ValueSet& value, std::u16string_view name, std::int32_t width);
  void LoadCoords(std::u16string_view name, CoordSet& coords, SetState& state);
  [[nodiscard]] bool InCoords(const CoordSet& coords, std::int32_t index);
  [[nodiscard]] float IntensityAt(std::int32_t index);
  std::u16string TextParameter(std::u16string_view name);

  GenericData genericData_;
  std::int32_t intensityColumnType_ = -1;
  bool intensityLooked_ = false;
  ValueColumn intensity_;
  ValueSet stdev_;
  ValueSet pixels_;
  CoordSet outliers_;
  SetState outliersState_ = SetState::kNotLooked;
  CoordSet masks_;
  SetState masksState_ = SetState::kNotLooked;
  std::int32_t cachedRows_ = -1;
  std::int32_t cachedCols_ = -1;
};

class CELFileReader {
 public:
  // Clears `data`, then reads the headers of `fileName` (or, when that is
  // empty, of the name `data` holds). The container's exceptions pass through.
  void Read(const std::string& fileName, CELData& data);
};

}  // namespace generic_io
