#include "arrayfiles/generic/HeaderReaders.h"

#include <limits>

#include "arrayfiles/generic/GenericExceptions.h"

namespace generic_io {

using generic_exceptions::InvalidFileTypeException;
using generic_exceptions::InvalidVersionException;

namespace {

// The least bytes each item can take in a file, used to bound counts before
// anything is allocated: a STRING, WSTRING or BLOB takes at least its 4-byte count.
constexpr std::uint32_t kMinParameterBytes = 4 + 4 + 4;
constexpr std::uint32_t kMinDataHeaderBytes = 4 + 4 + 4 + 4 + 4 + 4;
constexpr std::uint32_t kMinColumnBytes = 4 + 1 + 4;
constexpr std::uint32_t kMinGroupHeaderBytes = 4 + 4 + 4 + 4;
constexpr std::uint32_t kMinSetHeaderBytes = 4 + 4 + 4 + 4 + 4 + 4;
constexpr std::uint32_t kMinMinimalSetHeaderBytes = 4 + 4 + 4;

GenericParameter ReadParameter(HeaderStream& stream) {
  std::u16string name = StreamInput::ReadText16(stream);
  std::vector<std::uint8_t> value = StreamInput::ReadBlob(stream);
  // Types are a few texts repeated in every header: read into one buffer per
  // thread, the parameter keeps which one it was.
  thread_local std::u16string type;
  StreamInput::ReadText16(stream, type);
  return GenericParameter(std::move(name), std::move(value), type);
}

ColumnDescription ReadColumn(HeaderStream& stream) {
  std::u16string name = StreamInput::ReadText16(stream);
  int type = StreamInput::ReadInt8(stream);
  std::int32_t size = StreamInput::ReadInt32(stream);
  // A text cell holds at least its count; no cell is empty.
  bool isText = type == kColumnText8 || type == kColumnText16;
  if (size <= 0 || (isText && size < 4)) throw InvalidFileTypeException();
  return ColumnDescription(std::move(name), type, size);
}

void ReadPositionsAndName(HeaderStream& stream, DataSetHeader& header) {
  header.headerStartPos = std::uint32_t(stream.Position());
  header.dataStartPos = StreamInput::ReadUInt32(stream);
  header.nextSetPos = StreamInput::ReadUInt32(stream);
  header.name = StreamInput::ReadText16(stream);
}

template <typename ReadOneSet>
void WalkSetChain(HeaderStream& stream, std::uint32_t count, std::uint32_t minBytes, DataGroupHeader& group,
                  ReadOneSet readOne) {
  RequireFits(count, minBytes, stream.Size());
  std::uint32_t position = group.dataSetPos;
  for (std::uint32_t i = 0; i < count; ++i) {
    DataSetHeader header;
    stream.Seek(position);
    position = readOne(stream, header);
    group.dataSetHeaders.push_back(std::move(header));
  }
}

template <typename ReadSets>
void WalkGroupChain(HeaderStream& stream, std::uint32_t count, FileHeader& header, ReadSets readSets) {
  RequireFits(count, kMinGroupHeaderBytes, stream.Size());
  std::uint32_t position = header.firstDataGroupPos;
  for (std::uint32_t i = 0; i < count; ++i) {
    DataGroupHeader group;
    stream.Seek(position);
    std::uint32_t setCount = DataGroupHeaderReader::ReadOne(stream, group);
    readSets(stream, setCount, group);
    position = group.nextGroupPos;
    header.dataGroupHeaders.push_back(std::move(group));
  }
}

}  // namespace

void FileHeaderReader::Read(HeaderStream& stream, FileHeader& header) {
  if (StreamInput::ReadUInt8(stream) != kGenericFileMagic) throw InvalidFileTypeException();
  if (StreamInput::ReadUInt8(stream) != kGenericFileVersion) throw InvalidVersionException();
  header.numDataGroups = StreamInput::ReadInt32(stream);
  header.firstDataGroupPos = StreamInput::ReadUInt32(stream);
  GenericDataHeaderReader::Read(stream, header.genericHeader);
}

void GenericDataHeaderReader::Read(HeaderStream& stream, GenericDataHeader& header, int depth) {
  if (depth > kMaxParentDepth) throw InvalidFileTypeException();
  header.fileTypeId = StreamInput::ReadText8(stream);
  header.fileId = StreamInput::ReadText8(stream);
  header.fileCreationTime = StreamInput::ReadText16(stream);
  header.locale = StreamInput::ReadText16(stream);
  std::uint32_t parameterCount = StreamInput::ReadCount(stream, kMinParameterBytes);
  for (std::uint32_t i = 0; i < parameterCount; ++i) header.AddParameter(ReadParameter(stream));
  std::uint32_t parentCount = StreamInput::ReadCount(stream, kMinDataHeaderBytes);
  for (std::uint32_t i = 0; i < parentCount; ++i) {
    GenericDataHeader parent;
    Read(stream, parent, depth + 1);
    header.parents.push_back(std::move(parent));
  }
}

std::uint32_t DataSetHeaderReader::ReadOne(HeaderStream& stream, DataSetHeader& header) {
  ReadPositionsAndName(stream, header);
  header.parameters.clear();
  header.columns.clear();
  std::uint32_t parameterCount = StreamInput::ReadCount(stream, kMinParameterBytes);
  header.parameters.reserve(parameterCount);
  for (std::uint32_t i = 0; i < parameterCount; ++i) header.parameters.push_back(ReadParameter(stream));
  std::uint32_t columnCount = StreamInput::ReadCount(stream, kMinColumnBytes);
  header.columns.reserve(columnCount);
  std::int64_t rowWidth = 0;
  for (std::uint32_t i = 0; i < columnCount; ++i) {
    header.columns.push_back(ReadColumn(stream));
    rowWidth += header.columns.back().GetWidth();
    if (rowWidth > std::numeric_limits<std::int32_t>::max()) throw InvalidFileTypeException();
  }
  header.rowCount = StreamInput::ReadInt32(stream);
  if (header.rowCount < 0) throw InvalidFileTypeException();
  return header.nextSetPos;
}

std::uint32_t DataSetHeaderReader::ReadOneMinimal(HeaderStream& stream, DataSetHeader& header) {
  ReadPositionsAndName(stream, header);
  return header.nextSetPos;
}

void DataSetHeaderReader::ReadAll(HeaderStream& stream, std::uint32_t count, DataGroupHeader& group) {
  WalkSetChain(stream, count, kMinSetHeaderBytes, group, ReadOne);
}

void DataSetHeaderReader::ReadAllMinimal(HeaderStream& stream, std::uint32_t count, DataGroupHeader& group) {
  WalkSetChain(stream, count, kMinMinimalSetHeaderBytes, group, ReadOneMinimal);
}

std::uint32_t DataGroupHeaderReader::ReadOne(HeaderStream& stream, DataGroupHeader& group) {
  group.nextGroupPos = StreamInput::ReadUInt32(stream);
  group.dataSetPos = StreamInput::ReadUInt32(stream);
  std::uint32_t setCount = StreamInput::ReadUInt32(stream);
  group.name = StreamInput::ReadText16(stream);
  return setCount;
}

std::uint32_t DataGroupHeaderReader::ReadNextPosition(HeaderStream& stream) {
  const std::uint32_t next = StreamInput::ReadUInt32(stream);
  static_cast<void>(StreamInput::ReadUInt32(stream));  // the first data set's position
  static_cast<void>(StreamInput::ReadUInt32(stream));  // the data set count
  StreamInput::SkipText16(stream);
  return next;
}

void DataGroupHeaderReader::ReadAll(HeaderStream& stream, std::uint32_t count, FileHeader& header) {
  WalkGroupChain(stream, count, header, DataSetHeaderReader::ReadAll);
}

void DataGroupHeaderReader::ReadAllMinimal(HeaderStream& stream, std::uint32_t count, FileHeader& header) {
  WalkGroupChain(stream, count, header, DataSetHeaderReader::ReadAllMinimal);
}

}  // namespace generic_io
