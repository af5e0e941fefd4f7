#pragma once
// One data set of a generic file opened for reading its cells. Cells are read
// through a sliding read-only window of the file mapping (at most
// MaxWindowBytes wide) that moves when a requested cell lies outside it; the
// stream modes load the whole element area at Open, or the requested rows on
// each request, instead.
#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "arrayfiles/generic/DataSetHeader.h"
#include "platform/FileMapping.h"

namespace generic_io {

class DataSet {
 public:
  // The widest window ever mapped (200 MiB).
  static constexpr std::uint64_t MaxWindowBytes = 209715200;

  // Memory-mapped: the mapping belongs to the file object and must outlive the
  // set. With `wholeFile` (a view of the whole mapped file) the window is a
  // range of that view rather than a mapping of its own.
  DataSet(std::string fileName, const DataSetHeader& header, const platform::FileMapping* mapping,
          bool loadEntireDataSetHint, std::shared_ptr<const platform::MappedView> wholeFile = nullptr);
  DataSet(std::string fileName, std::shared_ptr<const DataSetHeader> header, const platform::FileMapping* mapping,
          bool loadEntireDataSetHint, std::shared_ptr<const platform::MappedView> wholeFile = nullptr);
  // Stream: the stream belongs to the file object and must outlive the set.
  DataSet(std::string fileName, const DataSetHeader& header, std::istream* stream, bool loadEntireDataSetHint);
  DataSet(std::string fileName, std::shared_ptr<const DataSetHeader> header, std::istream* stream,
          bool loadEntireDataSetHint);
  ~DataSet();
  DataSet(const DataSet&) = delete;
  DataSet& operator=(const DataSet&) = delete;

  // True when the cells can be read. Fails when the element area runs past the
  // end of the file, when the set has rows but no columns, or when the first
  // window cannot be mapped.
  [[nodiscard]] bool Open();
  // Why the last Open failed, with where ("the data set \"Genotype\" at
  // offset ... runs past the end of the file ..."); empty after a good Open.
  [[nodiscard]] std::string OpenProblem() const { return openProblem_; }
  // Releases the window (and, memory-mapped, forgets the mapping, so later
  // reads raise DataSetRemapException) or the loaded bytes.
  void Close();

  [[nodiscard]] const DataSetHeader& Header() const { return *header_; }
  [[nodiscard]] std::int32_t Rows() const { return header_->rowCount; }
  [[nodiscard]] int Columns() const { return int(header_->columns.size()); }
  [[nodiscard]] bool IsOpen() const { return isOpen_; }

  // The first byte of cell (row, column), big-endian as stored. `rowCount`
  // (clipped to the set's rows) asks that the cells of the following rows be
  // in the window too where the set holds them; the requested cell always is.
  // DataSetNotOpenException before Open; DataSetRemapException for a row or
  // column outside the set, or when the window cannot be moved.
  [[nodiscard]] const std::uint8_t* FilePosition(std::int32_t row, std::int32_t column, std::int32_t rowCount = 1);

  // An 8-bit text cell (INT32 count, bytes), bounded by the column's width.
  void GetData(std::int32_t row, std::int32_t column, std::string& text);
  // A 16-bit text cell (INT32 count, big-endian units), bounded by the column's width.
  void GetData(std::int32_t row, std::int32_t column, std::u16string& text);
  // A 16-bit text cell as narrow text (MemoryInput::ReadText16Narrow).
  void GetText16AsNarrow(std::int32_t row, std::int32_t column, std::string& text);

  // The cells of rows [startRow, startRow + count) of one column, cut to the
  // rows the set has, converted to host order. The column must be 2 (Raw16) or
  // 4 (Raw32, Float) bytes wide, else ParameterMismatchException.
  void GetDataRaw16(std::int32_t column, std::int32_t startRow, std::int32_t count,
                    std::vector<std::uint16_t>& values);
  void GetDataRaw32(std::int32_t column, std::int32_t startRow, std::int32_t count,
                    std::vector<std::uint32_t>& values);
  void GetDataFloat(std::int32_t column, std::int32_t startRow, std::int32_t count, std::vector<float>& values);
  // The same for the first byte of each cell of a column at least one byte
  // wide (an 8-bit code in a wider column reads as its first byte).
  void GetDataFirstBytes(std::int32_t column, std::int32_t startRow, std::int32_t count,
                         std::vector<std::uint8_t>& values);

  // The file range the window (or the loaded buffer) holds.
  [[nodiscard]] std::uint64_t WindowStart() const { return mapStart_; }
  [[nodiscard]] std::uint64_t WindowLength() const { return mapLen_; }
  // Narrows the window below MaxWindowBytes (never below one row), so tests
  // can move it over small files.
  void SetMaxWindowBytes(std::uint64_t bytes) { maxWindowBytes_ = bytes; }

 private:
  [[nodiscard]] std::uint64_t RowWidth() const { return columnByteOffsets_.back(); }
  [[nodiscard]] std::uint64_t AreaEnd() const;
  [[nodiscard]] std::uint64_t WindowLimit() const;
  bool MapWindow(std::uint64_t start, std::uint64_t length);
  const std::uint8_t* LoadRows(std::int32_t row, std::int32_t column, std::int32_t rowCount);
  void LoadBytes(std::uint64_t start, std::uint64_t length);
  void CheckCell(std::int32_t row, std::int32_t column) const;
  // The last row whose cell of `column` lies wholly in the window.
  [[nodiscard]] std::int64_t LastCellInWindow(std::int32_t column) const;
  // `wider`: the column may be wider than T, else it must be as wide.
  template <typename T, typename Decode>
  void ReadColumn(std::int32_t column, std::int32_t startRow, std::int32_t count, std::vector<T>& values,
                  Decode decode, bool wider = false);

  std::string fileName_;
  // Shared with the data group it came from: headers are read once per group
  // and never change after.
  std::shared_ptr<const DataSetHeader> header_;
  std::vector<std::uint32_t> columnByteOffsets_{0};  // one per column, then the row width
  bool useMemoryMapping_;
  const platform::FileMapping* mapping_ = nullptr;
  platform::MappedView view_;
  std::shared_ptr<const platform::MappedView> wholeFile_;
  std::istream* fileStream_ = nullptr;
  std::vector<std::uint8_t> loaded_;
  bool loadEntireDataSetHint_;
  bool isOpen_ = false;
  const std::uint8_t* data_ = nullptr;  // the byte at file position mapStart_
  std::uint64_t mapStart_ = 0;
  std::uint64_t mapLen_ = 0;
  std::uint64_t maxWindowBytes_ = MaxWindowBytes;
  std::string openProblem_;
};

}  // namespace generic_io
