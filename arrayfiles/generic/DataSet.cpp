#include "arrayfiles/generic/DataSet.h"

#include <algorithm>
#include <cstring>

#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/generic/MemoryInput.h"
#include "arrayfiles/common/StringUtils.h"
#include "platform/ByteOrder.h"
#include "platform/Strings.h"

namespace generic_io {

using generic_exceptions::DataSetNotOpenException;
using generic_exceptions::DataSetRemapException;
using generic_exceptions::ParameterMismatchException;

namespace {

std::uint64_t SizeOfStream(std::istream& stream) {
  stream.clear();
  stream.seekg(0, std::ios::end);
  std::istream::pos_type end = stream.tellg();
  return end == std::istream::pos_type(-1) ? 0 : std::uint64_t(end);
}

}  // namespace

DataSet::DataSet(std::string fileName, const DataSetHeader& header, const platform::FileMapping* mapping,
                 bool loadEntireDataSetHint, std::shared_ptr<const platform::MappedView> wholeFile)
    : DataSet(std::move(fileName), std::make_shared<const DataSetHeader>(header), mapping, loadEntireDataSetHint,
              std::move(wholeFile)) {}

DataSet::DataSet(std::string fileName, std::shared_ptr<const DataSetHeader> header,
                 const platform::FileMapping* mapping, bool loadEntireDataSetHint,
                 std::shared_ptr<const platform::MappedView> wholeFile)
    : fileName_(std::move(fileName)),
      header_(std::move(header)),
      useMemoryMapping_(true),
      mapping_(mapping),
      wholeFile_(std::move(wholeFile)),
      loadEntireDataSetHint_(loadEntireDataSetHint) {}

DataSet::DataSet(std::string fileName, const DataSetHeader& header, std::istream* stream,
                 bool loadEntireDataSetHint)
    : DataSet(std::move(fileName), std::make_shared<const DataSetHeader>(header), stream, loadEntireDataSetHint) {}

DataSet::DataSet(std::string fileName, std::shared_ptr<const DataSetHeader> header, std::istream* stream,
                 bool loadEntireDataSetHint)
    : fileName_(std::move(fileName)),
      header_(std::move(header)),
      useMemoryMapping_(false),
      fileStream_(stream),
      loadEntireDataSetHint_(loadEntireDataSetHint) {}

DataSet::~DataSet() { Close(); }

std::uint64_t DataSet::AreaEnd() const {
  return std::uint64_t(header_->dataStartPos) + std::uint64_t(header_->rowCount) * RowWidth();
}

std::uint64_t DataSet::WindowLimit() const { return std::max(maxWindowBytes_, RowWidth()); }

bool DataSet::Open() {
  columnByteOffsets_.assign(1, 0);
  for (const ColumnDescription& column : header_->columns) {
    columnByteOffsets_.push_back(columnByteOffsets_.back() + std::uint32_t(column.GetWidth()));
  }
  isOpen_ = false;
  openProblem_.clear();
  if (header_->rowCount < 0 || (header_->rowCount > 0 && header_->columns.empty())) return false;
  std::uint64_t fileSize = 0;
  if (useMemoryMapping_) {
    if (mapping_ == nullptr || !mapping_->IsOpen()) return false;
    fileSize = mapping_->Size();
  } else {
    if (fileStream_ == nullptr) return false;
    fileSize = SizeOfStream(*fileStream_);
  }
  if (AreaEnd() > fileSize) {
    const std::uint64_t start = header_->dataStartPos;
    openProblem_ = platform::Format(
        "the data set \"%s\" at offset %llu runs past the end of the file (%d rows of %llu bytes, %llu bytes left)",
        StringUtils::WideToNarrow(header_->name).c_str(), static_cast<unsigned long long>(start), header_->rowCount,
        static_cast<unsigned long long>(RowWidth()),
        static_cast<unsigned long long>(start < fileSize ? fileSize - start : 0));
    return false;
  }
  if (header_->rowCount == 0) {
    // Nothing to map: every cell request is out of range.
    isOpen_ = true;
    return true;
  }
  if (useMemoryMapping_) {
    isOpen_ = MapWindow(header_->dataStartPos, AreaEnd() - header_->dataStartPos);
  } else {
    if (loadEntireDataSetHint_) LoadBytes(header_->dataStartPos, AreaEnd() - header_->dataStartPos);
    isOpen_ = true;
  }
  return isOpen_;
}

void DataSet::Close() {
  if (useMemoryMapping_) {
    view_.Reset();
    wholeFile_.reset();
    mapping_ = nullptr;
  } else {
    loaded_.clear();
    loaded_.shrink_to_fit();
    // The loaded bytes are gone; reading on would read nothing.
    isOpen_ = false;
  }
  data_ = nullptr;
  mapStart_ = 0;
  mapLen_ = 0;
}

bool DataSet::MapWindow(std::uint64_t start, std::uint64_t length) {
  mapStart_ = start;
  length = std::min(length, WindowLimit());
  view_.Reset();
  if (mapping_ != nullptr && wholeFile_ && start <= wholeFile_->Size() && length <= wholeFile_->Size() - start) {
    data_ = wholeFile_->Data() + start;
    mapLen_ = length;
    return true;
  }
  std::uint64_t delta = start % platform::FileMapping::kAllocationGranularity;
  if (mapping_ != nullptr) view_ = mapping_->Map(start - delta, std::size_t(delta + length));
  if (!view_.IsValid()) {
    // The set cannot be moved again; the file object's own mapping stays.
    data_ = nullptr;
    mapping_ = nullptr;
    mapStart_ = 0;
    mapLen_ = 0;
    return false;
  }
  data_ = view_.Data() + delta;
  mapLen_ = length;
  return true;
}

void DataSet::LoadBytes(std::uint64_t start, std::uint64_t length) {
  // Bytes past the end of the file stay zero.
  loaded_.assign(std::size_t(length), 0);
  fileStream_->clear();
  fileStream_->seekg(std::istream::off_type(start), std::ios::beg);
  fileStream_->read(reinterpret_cast<char*>(loaded_.data()), std::streamsize(length));
  fileStream_->clear();
  data_ = loaded_.data();
  mapStart_ = start;
  mapLen_ = length;
}

const std::uint8_t* DataSet::LoadRows(std::int32_t row, std::int32_t column, std::int32_t rowCount) {
  LoadBytes(header_->dataStartPos + columnByteOffsets_[column] + std::uint64_t(row) * RowWidth(),
            RowWidth() * std::uint64_t(rowCount));
  return data_;
}

void DataSet::CheckCell(std::int32_t row, std::int32_t column) const {
  if (row < 0 || row >= header_->rowCount || column < 0 || column >= Columns()) throw DataSetRemapException();
}

const std::uint8_t* DataSet::FilePosition(std::int32_t row, std::int32_t column, std::int32_t rowCount) {
  if (!isOpen_) throw DataSetNotOpenException();
  CheckCell(row, column);
  rowCount = std::clamp(rowCount, 1, header_->rowCount);
  if (!useMemoryMapping_ && !loadEntireDataSetHint_) return LoadRows(row, column, rowCount);

  const std::uint64_t rowWidth = RowWidth();
  const std::uint64_t startByte = header_->dataStartPos + columnByteOffsets_[column] + std::uint64_t(row) * rowWidth;
  if (useMemoryMapping_) {
    const std::uint64_t endByte =
        header_->dataStartPos + columnByteOffsets_[column + 1] + std::uint64_t(row + rowCount - 1) * rowWidth;
    if (startByte < mapStart_) {
      // Moving back: the window ends at or after the requested cells.
      std::uint64_t limit = WindowLimit();
      std::uint64_t newStart = endByte > limit ? endByte - limit : 0;
      newStart = std::clamp<std::uint64_t>(newStart, header_->dataStartPos, startByte);
      if (!MapWindow(newStart, AreaEnd() - newStart)) throw DataSetRemapException();
    } else if (endByte > mapStart_ + mapLen_) {
      // Moving on: the window starts at the requested cell.
      if (!MapWindow(startByte, AreaEnd() - startByte)) throw DataSetRemapException();
    }
  }
  return data_ + (startByte - mapStart_);
}

std::int64_t DataSet::LastCellInWindow(std::int32_t column) const {
  std::int64_t windowEnd = std::int64_t(mapStart_ + mapLen_);
  std::int64_t firstCellEnd = std::int64_t(header_->dataStartPos) + columnByteOffsets_[column + 1];
  if (windowEnd < firstCellEnd) return -1;
  return (windowEnd - firstCellEnd) / std::int64_t(RowWidth());
}

void DataSet::GetData(std::int32_t row, std::int32_t column, std::string& text) {
  const std::uint8_t* cell = FilePosition(row, column, 1);
  text = MemoryInput::ReadText8(cell, cell + header_->columns[column].GetWidth());
}

void DataSet::GetData(std::int32_t row, std::int32_t column, std::u16string& text) {
  const std::uint8_t* cell = FilePosition(row, column, 1);
  text = MemoryInput::ReadText16(cell, cell + header_->columns[column].GetWidth());
}

void DataSet::GetText16AsNarrow(std::int32_t row, std::int32_t column, std::string& text) {
  const std::uint8_t* cell = FilePosition(row, column, 1);
  text = MemoryInput::ReadText16Narrow(cell, cell + header_->columns[column].GetWidth());
}

template <typename T, typename Decode>
void DataSet::ReadColumn(std::int32_t column, std::int32_t startRow, std::int32_t count, std::vector<T>& values,
                         Decode decode, bool wider) {
  values.clear();
  if (!isOpen_) throw DataSetNotOpenException();
  if (column < 0 || column >= Columns()) throw DataSetRemapException();
  const std::int32_t width = header_->columns[column].GetWidth();
  if (wider ? width < std::int32_t(sizeof(T)) : width != std::int32_t(sizeof(T))) throw ParameterMismatchException();
  const std::int64_t rows = header_->rowCount;
  const std::int64_t first = std::clamp<std::int64_t>(startRow, 0, rows);
  const std::int64_t end = std::clamp<std::int64_t>(std::int64_t(startRow) + std::max(count, 0), first, rows);
  values.resize(std::size_t(end - first));
  const std::uint8_t* cell = nullptr;
  std::int64_t lastInWindow = -1;
  for (std::int64_t row = first; row < end; ++row) {
    if (row > lastInWindow) {
      cell = FilePosition(std::int32_t(row), column, std::int32_t(end - row));
      lastInWindow = LastCellInWindow(column);
    }
    values[std::size_t(row - first)] = decode(cell);
    cell += RowWidth();
  }
}

void DataSet::GetDataRaw16(std::int32_t column, std::int32_t startRow, std::int32_t count,
                           std::vector<std::uint16_t>& values) {
  ReadColumn(column, startRow, count, values, [](const std::uint8_t* p) { return platform::ReadBE16(p); });
}

void DataSet::GetDataRaw32(std::int32_t column, std::int32_t startRow, std::int32_t count,
                           std::vector<std::uint32_t>& values) {
  ReadColumn(column, startRow, count, values, [](const std::uint8_t* p) { return platform::ReadBE32(p); });
}

void DataSet::GetDataFloat(std::int32_t column, std::int32_t startRow, std::int32_t count,
                           std::vector<float>& values) {
  ReadColumn(column, startRow, count, values, [](const std::uint8_t* p) { return platform::ReadBEFloat(p); });
}

void DataSet::GetDataFirstBytes(std::int32_t column, std::int32_t startRow, std::int32_t count,
                                std::vector<std::uint8_t>& values) {
  ReadColumn(column, startRow, count, values, [](const std::uint8_t* p) { return *p; }, true);
}

}  // namespace generic_io
