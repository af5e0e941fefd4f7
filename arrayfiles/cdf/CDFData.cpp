#include "arrayfiles/cdf/CDFData.h"

#include <algorithm>

#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/generic/GenericFileReader.h"
#include "arrayfiles/generic/HeaderReaders.h"
#include "platform/Paths.h"

namespace generic_io {

namespace {

constexpr std::u16string_view kReferenceParameter = u"REFSEQ";
constexpr std::u16string_view kProbeSetCountParameter = u"SETS";
// A data group header takes at least its two positions, its data set count
// and the count of its name.
constexpr std::uint64_t kMinGroupHeaderBytes = 16;
// How far the walk goes before it gives back the pages behind it.
constexpr std::uint32_t kReleaseBytes = 32u << 20;

}  // namespace

CDFData::CDFData() : file_(std::make_shared<GenericData>()) {}

CDFData::~CDFData() { Clear(); }

void CDFData::SetFileName(const std::string& path) { file_->Header().fileName = path; }

std::string CDFData::GetFileName() const { return file_->Header().fileName; }

std::string CDFData::GetReferenceSequence() const {
  GenericParameter parameter;
  if (!file_->Header().genericHeader.FindParameter(kReferenceParameter, parameter)) return std::string();
  return parameter.GetValueAscii();
}

std::uint32_t CDFData::GetProbeSetCount() const {
  GenericParameter parameter;
  if (!file_->Header().genericHeader.FindParameter(kProbeSetCountParameter, parameter)) return 0;
  return parameter.GetValueUInt32();
}

std::string CDFData::GetDataTypeId() const { return file_->Header().genericHeader.fileTypeId; }

std::int32_t CDFData::GetDataGroupCount() const { return file_->Header().numDataGroups; }

void CDFData::Clear() {
  // The index data set reads from the file object's mapping: it goes first.
  indexDataSet_.reset();
  const std::string fileName = file_->Header().fileName;
  // Records handed out keep the old file object alive; this one starts afresh.
  file_ = std::make_shared<GenericData>();
  file_->Header().fileName = fileName;
  mode_ = 0;
  nextIndex_ = 0;
  nextPosition_ = 0;
  firstProbeSetPosition_ = 0;
  releasedTo_ = 0;
  fileSize_ = 0;
}

std::uint32_t CDFData::NextGroupPosition(std::uint32_t position) { return file_->NextDataGroupPosition(position); }

void CDFData::StartSequentialAccess() {
  const FileHeader& header = file_->Header();
  // Every group the file header counts must have room in the file; the walk
  // never follows more links than that.
  platform::FileStatus status;
  fileSize_ = platform::GetFileStatus(header.fileName, status) ? status.size : 0;
  if (header.numDataGroups < 1) throw generic_exceptions::InvalidFileTypeException();
  RequireFits(static_cast<std::uint64_t>(header.numDataGroups), kMinGroupHeaderBytes, fileSize_);
  firstProbeSetPosition_ = NextGroupPosition(header.firstDataGroupPos);
  nextPosition_ = firstProbeSetPosition_;
  nextIndex_ = 0;
  mode_ = 1;
}

std::uint32_t CDFData::SeekProbeSet(std::int32_t index) {
  if (IsControlFile()) throw generic_exceptions::ProbeSetNotFoundException();
  if (index < 0 || static_cast<std::int64_t>(index) >= static_cast<std::int64_t>(GetDataGroupCount()) - 1) {
    throw generic_exceptions::ProbeSetNotFoundException();
  }
  if (mode_ != 1) throw generic_exceptions::CDFAccessNotSupportedByModeException();
  if (index < nextIndex_) {
    nextIndex_ = 0;
    nextPosition_ = firstProbeSetPosition_;
  }
  while (nextIndex_ < index) {
    nextPosition_ = NextGroupPosition(nextPosition_);
    ++nextIndex_;
  }
  if (nextPosition_ > releasedTo_ && nextPosition_ - releasedTo_ >= kReleaseBytes) {
    file_->ReleaseMappedPages(std::max(releasedTo_, firstProbeSetPosition_), nextPosition_);
    releasedTo_ = nextPosition_;
  }
  return nextPosition_;
}

void CDFData::GetProbeSetInformation(std::int32_t index, CDFProbeSetInformation& info) {
  DataGroup group = file_->DataGroup(SeekProbeSet(index));
  // A probe set whose cells run past the end of the file is reported here,
  // not left to show up as a group without cells.
  for (const DataSetHeader& set : group.Header().dataSetHeaders) {
    const std::uint64_t end = std::uint64_t(set.dataStartPos) +
                              std::uint64_t(std::max(set.rowCount, 0)) * std::uint64_t(std::max(set.GetRowSize(), 0));
    if (set.rowCount < 0 || end > fileSize_) throw generic_exceptions::InvalidFileTypeException();
  }
  const std::uint32_t next = group.Header().nextGroupPos;
  info.SetDataGroup(std::move(group), file_);
  nextPosition_ = next;
  ++nextIndex_;
}

bool CDFData::ReadProbeSetCells(std::int32_t index, std::vector<CDFGroupCell>& cells) {
  const std::uint32_t position = SeekProbeSet(index);
  const std::span<const std::uint8_t> bytes = file_->MappedFileBytes();
  std::uint32_t next = 0;
  if (bytes.data() == nullptr || !ScanProbeSetCells(bytes, fileSize_, position, cells, next)) return false;
  nextPosition_ = next;
  ++nextIndex_;
  return true;
}

DataSet& CDFData::IndexDataSet() {
  if (!indexDataSet_) {
    DataGroup index = file_->DataGroup(file_->Header().firstDataGroupPos);
    if (index.Header().GetDataSetCount() == 0) throw generic_exceptions::DataSetNotOpenException();
    indexDataSet_ = index.DataSet(0);
  }
  if (!indexDataSet_->IsOpen() && !indexDataSet_->Open()) throw generic_exceptions::DataSetNotOpenException();
  return *indexDataSet_;
}

std::int32_t CDFData::GetIndexRowCount() { return IndexDataSet().Rows(); }

int CDFData::NameType(std::int32_t index) {
  DataSet& names = IndexDataSet();
  if (index < 0 || index >= names.Rows()) throw generic_exceptions::ProbeSetNotFoundException();
  if (names.Columns() < 1) throw generic_exceptions::DataSetNotOpenException();
  // The names may be 8-bit or 16-bit text.
  const int type = names.Header().columns[0].GetType();
  if (type != kColumnText8 && type != kColumnText16) throw generic_exceptions::ParameterMismatchException();
  return type;
}

std::u16string CDFData::GetProbeSetName(std::int32_t index) {
  if (NameType(index) == kColumnText8) {
    std::string name;
    IndexDataSet().GetData(index, 0, name);
    return StringUtils::NarrowToWide(name);
  }
  std::u16string name;
  IndexDataSet().GetData(index, 0, name);
  return name;
}

std::string CDFData::GetProbeSetNarrowName(std::int32_t index) {
  std::string name;
  if (NameType(index) == kColumnText8) {
    IndexDataSet().GetData(index, 0, name);
  } else {
    IndexDataSet().GetText16AsNarrow(index, 0, name);
  }
  return name;
}

void CDFFileReader::Read(const std::string& fileName, CDFData& data) {
  const std::string name = fileName.empty() ? data.GetFileName() : fileName;
  data.Clear();
  GenericFileReader reader;
  reader.SetFilename(name);
  reader.Read(*data.file_, NoDataGroupHeaders);
  data.StartSequentialAccess();
}

}  // namespace generic_io
