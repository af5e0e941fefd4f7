#pragma once
// The header of a CEL file in one of the forms older than the generic
// container: dimensions, the header text, the algorithm with its parameters,
// the DAT header with the chip type inside it, and the grid corners.
#include <cstdint>
#include <map>
#include <string>

// Corner coordinates of the scanned grid, in pixels.
struct LegacyGridCoords {
  std::int32_t upperLeftX = 0;
  std::int32_t upperLeftY = 0;
  std::int32_t upperRightX = 0;
  std::int32_t upperRightY = 0;
  std::int32_t lowerRightX = 0;
  std::int32_t lowerRightY = 0;
  std::int32_t lowerLeftX = 0;
  std::int32_t lowerLeftY = 0;
};

class CLegacyCELHeader {
 public:
  // Separates the fields of a DAT header.
  static constexpr char kDatFieldSeparator = '\x14';

  CLegacyCELHeader() { Clear(); }

  // Back to the state after construction (the magic number is left alone).
  void Clear();

  [[nodiscard]] std::int32_t GetMagic() const { return magic_; }
  [[nodiscard]] std::int32_t GetVersion() const { return version_; }
  [[nodiscard]] std::int32_t GetCols() const { return cols_; }
  [[nodiscard]] std::int32_t GetRows() const { return rows_; }
  [[nodiscard]] std::int32_t GetNumCells() const { return numCells_; }
  [[nodiscard]] const std::string& GetHeaderText() const { return header_; }
  [[nodiscard]] const std::string& GetAlg() const { return alg_; }
  // The parameters text as the file gave it.
  [[nodiscard]] const std::string& GetParamsText() const { return paramsText_; }
  [[nodiscard]] const std::string& GetChipType() const { return chipType_; }
  [[nodiscard]] const std::string& GetDatHeader() const { return datHeader_; }
  [[nodiscard]] std::int32_t GetCellMargin() const { return cellMargin_; }
  [[nodiscard]] std::uint32_t GetNumOutliers() const { return numOutliers_; }
  [[nodiscard]] std::uint32_t GetNumMasked() const { return numMasked_; }
  [[nodiscard]] const LegacyGridCoords& GetGridCorners() const { return grid_; }

  // All parameters in their order, as "name:value" pairs joined by ';'.
  [[nodiscard]] std::string GetParams() const;
  // The value of a parameter, empty when there is none of that name.
  [[nodiscard]] std::string GetAlgorithmParameter(const std::string& name) const;
  // The name at a position of the parameter order (from 1), empty when none.
  [[nodiscard]] std::string GetAlgorithmParameterTag(int position) const;
  [[nodiscard]] int GetNumberAlgorithmParameters() const { return static_cast<int>(params_.size()); }

  // Rebuilds the header text from the fields (the DAT header is first brought
  // in line with the chip type), keeps it and returns it.
  std::string GetHeader();
  // One header field by key, ignoring the key's case; empty for unknown keys.
  std::string GetHeaderValue(const std::string& key);

 private:
  friend class CLegacyCELFile;

  // Splits a parameters text into name/value pairs and adds them in order.
  void ParseAlgorithmParameters(const std::string& text);
  // Adds a pair unless the name is present; a new name gets the next position.
  void AddAlgorithmParameter(const std::string& name, const std::string& value);
  // Keeps the cell margin and adds it as the "CellMargin" parameter.
  void SetCellMargin(std::int32_t margin);
  // The cell margin from the "CellMargin" parameter, read as a decimal number.
  void CellMarginFromParameter();
  // The chip type from the DAT header inside the header text.
  void ParseChipTypeFromHeaderText();
  // The DAT header from the "DatHeader=" line of the header text.
  void ParseDatHeaderFromHeaderText();
  // The four grid corners, taken only when all eight numbers read.
  void ParseGridCornersFromHeaderText();
  // Puts the chip type into the DAT header (or makes one when it is empty).
  void SyncDatHeaderWithChipType();

  std::int32_t magic_ = 0;
  std::int32_t version_ = 0;
  std::int32_t cols_ = 0;
  std::int32_t rows_ = 0;
  std::int32_t numCells_ = 0;
  std::string header_;
  std::string alg_;
  std::string paramsText_;
  std::string chipType_;
  std::string datHeader_;
  std::int32_t cellMargin_ = 0;
  std::uint32_t numOutliers_ = 0;
  std::uint32_t numMasked_ = 0;
  LegacyGridCoords grid_;
  std::map<std::string, std::string> params_;
  std::map<int, std::string> paramOrder_;
};
