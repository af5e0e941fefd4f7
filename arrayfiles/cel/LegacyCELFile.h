#pragma once
// Reader of a CEL file (one scanned array: intensity, standard deviation and
// pixel count per cell, plus masked and outlier cells) in the forms older than
// the generic container: text versions 3 ("[CEL]") and 2 ("COLS/ROWS="), the
// little-endian XDA form, the big-endian "BCEL" form and the compact "CCEL"
// form. The binary forms stay in a read-only mapping and are decoded per
// access; the text forms are parsed into a table of their own.
//
// Failures leave an error text and a false result; nothing is thrown. Every
// count, length and offset a file gives is checked against the file before it
// is used, and every cell access against the table it reads.
#include <cstdint>
#include <iosfwd>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "arrayfiles/cel/LegacyCELHeader.h"
#include "platform/FileMapping.h"

// One cell as the legacy forms hand it out.
struct CLegacyCELFileEntry {
  float Intensity = 0;
  float Stdv = 0;
  std::uint16_t Pixels = 0;
};

class CLegacyCELFile {
 public:
  // The storage forms, as recorded in the file-format field.
  enum FileFormat : std::int32_t {
    kOldCompactFormat = 0,  // refused
    kTextFormat = 1,
    kXdaFormat = 2,
    kBcelFormat = 3,
    kCompactFormat = 4,
  };

  // Bits of the read state given to ReadEx.
  static constexpr int kReadAll = 1;
  static constexpr int kReadOutliers = 4;
  static constexpr int kReadMasks = 8;

  // The error texts.
  static constexpr const char* kUnableToOpen = "Unable to open the file.";
  static constexpr const char* kWrongFormat = "The file does not appear to be the correct format.";
  static constexpr const char* kUnableToMap = "Unable to map view for the win memory map file.";
  static constexpr const char* kUnrecognizedText = "Unrecognized CEL file format.";
  static constexpr const char* kOldCompactRefused = "This version of compact cel file is no longer supported.";

  CLegacyCELFile();
  ~CLegacyCELFile();
  CLegacyCELFile(const CLegacyCELFile&) = delete;
  CLegacyCELFile& operator=(const CLegacyCELFile&) = delete;

  void SetFileName(const std::string& name) { fileName_ = name; }
  [[nodiscard]] const std::string& GetFileName() const { return fileName_; }

  // Closes, detects the form and reads it. With headerOnly, no cell is kept
  // and nothing stays mapped.
  [[nodiscard]] bool Read(bool headerOnly = false);
  // Reads the whole file with the read flags taken from `state`; closes on failure.
  bool ReadEx(const std::string& fileName, int state);
  // Releases the mapping or the cell table, clears the header and the sets.
  void Close();

  [[nodiscard]] const std::string& GetError() const { return error_; }
  void SetError(const std::string& error) { error_ = error; }

  [[nodiscard]] int GetFileFormat() const { return format_; }
  [[nodiscard]] int GetReadState() const { return readState_; }
  void SetReadMaskedCells(bool value) { readMasks_ = value; }
  void SetReadOutlierCells(bool value) { readOutliers_ = value; }
  [[nodiscard]] bool GetReadMaskedCells() const { return readMasks_; }
  [[nodiscard]] bool GetReadOutlierCells() const { return readOutliers_; }

  [[nodiscard]] CLegacyCELHeader& GetHeaderData() { return header_; }
  [[nodiscard]] const CLegacyCELHeader& GetHeaderData() const { return header_; }
  std::string GetHeader() { return header_.GetHeader(); }
  [[nodiscard]] const std::string& GetAlg() const { return header_.GetAlg(); }
  [[nodiscard]] std::string GetParams() const { return header_.GetParams(); }
  [[nodiscard]] const std::string& GetChipType() const { return header_.GetChipType(); }
  [[nodiscard]] const std::string& GetDatHeader() const { return header_.GetDatHeader(); }
  [[nodiscard]] std::string GetAlgorithmParameter(const std::string& name) const {
    return header_.GetAlgorithmParameter(name);
  }
  // The parameter name at `position` (from 1).
  [[nodiscard]] std::string GetAlgorithmParameterTag(int position) const {
    return header_.GetAlgorithmParameterTag(position);
  }
  std::string GetHeaderValue(const std::string& key) { return header_.GetHeaderValue(key); }

  // Cells by index y * columns + x. An index without a cell gives zeros.
  void GetEntry(int index, CLegacyCELFileEntry& entry) const {
    GetValues(index, entry.Intensity, entry.Stdv, entry.Pixels);
  }
  // The entry's fields written straight to where the caller keeps them.
  void GetValues(int index, float& intensity, float& stdv, std::uint16_t& pixels) const;
  [[nodiscard]] float GetIntensity(int index) const;
  // The intensities of many cells by index, as GetIntensity gives each.
  void GetIntensities(std::span<const std::int32_t> indexes, std::span<float> intensities) const;
  [[nodiscard]] float GetStdv(int index) const;
  [[nodiscard]] std::uint16_t GetPixels(int index) const;
  [[nodiscard]] std::uint16_t GetPixels(int x, int y) const;
  [[nodiscard]] bool IsMasked(int x, int y) const;
  [[nodiscard]] bool IsOutlier(int x, int y) const;
  [[nodiscard]] bool IsMaskedIndex(int index) const { return masked_.count(index) != 0; }
  [[nodiscard]] bool IsOutlierIndex(int index) const { return outliers_.count(index) != 0; }
  // The cell index of (x, y), or -1 when it lies outside the grid.
  [[nodiscard]] int CellIndex(int x, int y) const;

  [[nodiscard]] bool IsXDACompatibleFile() const;
  [[nodiscard]] bool IsBCelFile() const;
  [[nodiscard]] bool IsCompactCelFile() const;
  [[nodiscard]] bool IsOldCompactCelFile() const;
  // True while a view of the file is mapped.
  [[nodiscard]] bool IsMapped() const { return view_.IsValid(); }

 private:
  // One cell of the text forms.
  struct TextCell {
    float intensity = 0;
    float stdv = 0;
    std::int16_t pixels = 0;
  };
  class ByteCursor;

  bool ReadTextFormat(bool headerOnly);
  bool ReadTextVersion3Header(std::istream& in);
  bool ReadTextVersion2Cells(std::istream& in);
  bool ReadTextVersion3Cells(std::istream& in);
  bool ReadTextCoordinateSection(std::istream& in, const char* section, bool keep, std::uint32_t& count,
                                 std::map<int, bool>& cells);
  bool ReadXDAFormat(bool headerOnly);
  bool ReadBCELFormat(bool headerOnly);
  bool ReadCompactFormat(bool headerOnly);
  // Maps the whole file; false with the error text set.
  bool MapWholeFile();
  // Drops the mapping or the text table, keeping the header.
  void ReleaseCells();
  // Reads `count` coordinates of `recordBytes` each from `start` of the view
  // into `cells`, or sets `count` to 0 when they are not to be kept.
  bool ReadCoordinateTable(const char* table, std::uint64_t start, std::size_t recordBytes, bool keep,
                           std::uint32_t& count, std::map<int, bool>& cells);
  // True when `count` records of `recordBytes` from `start` lie inside the
  // mapped file; else false with an error naming the table and the bytes.
  bool TableFits(const char* table, std::uint64_t start, std::uint64_t count, std::size_t recordBytes);
  // The fields the XDA and compact forms share after their magic: version,
  // dimensions, the three texts and the cell margin.
  void ReadLittleEndianFields(ByteCursor& in);
  // The header steps the XDA and compact forms share after their fixed fields.
  void FinishStoredHeader();
  // Checks the dimensions against the cell count: false with the error set.
  bool CheckDimensions();
  bool Fail(const char* message);
  // The format error with what failed and where: "CEL file: the outlier table
  // at offset ...".
  bool FailAt(const std::string& detail);
  // The error of a header that ends at the cursor's position.
  bool FailCutHeader(const ByteCursor& in, const char* form);
  // The error of a text form that ends before `what` ("before its [MASKS]
  // section"), naming its last line: a file cut short.
  bool FailTextEnds(const std::string& what);
  // The error of the line just read from `in` that is not `what` ("a cell
  // of its [INTENSITY] section"): the file's unfinished last line when the
  // text ends inside it, else by its number.
  bool FailTextLine(std::istream& in, const char* what);
  // Lines of the text file among its first `bytes` bytes (all of it when
  // negative), an unfinished last line counted.
  [[nodiscard]] std::size_t TextLinesIn(std::int64_t bytes) const;
  // Adds a coordinate to a set, refusing one outside the grid; `offset` is
  // where its record starts.
  bool AddCell(const char* table, std::uint64_t offset, std::map<int, bool>& cells, std::int64_t x, std::int64_t y);
  // True when `index` has a cell in the current table.
  [[nodiscard]] bool HasCell(int index) const;
  // Leading bytes of the file, fewer when it is shorter or cannot be opened.
  [[nodiscard]] std::string LeadingBytes(std::size_t count) const;

  std::int32_t format_ = kXdaFormat;
  std::string error_;
  std::string fileName_;
  CLegacyCELHeader header_;
  std::vector<TextCell> textCells_;
  std::map<int, bool> masked_;
  std::map<int, bool> outliers_;
  std::int32_t readState_ = kReadAll;
  bool readMasks_ = true;
  bool readOutliers_ = true;
  platform::FileMapping mapping_;
  platform::MappedView view_;
  // Start of the cell records inside the view, and how many there are.
  const std::uint8_t* cellData_ = nullptr;
  std::int32_t mappedCells_ = 0;
};
