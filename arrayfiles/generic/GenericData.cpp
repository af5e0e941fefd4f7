#include "arrayfiles/generic/GenericData.h"

#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/generic/HeaderReaders.h"
#include "arrayfiles/generic/StreamInput.h"
#include "platform/Paths.h"

namespace generic_io {

GenericData::~GenericData() {
  header_.Clear();
  UnmapFile();
}

bool GenericData::MapFile() {
  if (!mapping_.IsOpen()) return mapping_.Open(header_.fileName);
  return true;
}

void GenericData::ReleaseMappedPages(std::uint64_t from, std::uint64_t to) const {
  if (!wholeFile_ || !wholeFile_->IsValid() || from >= to) return;
  wholeFile_->ReleasePages(std::size_t(from), std::size_t(to - from));
}

void GenericData::UnmapFile() {
  wholeFile_.reset();
  mapping_.Close();
  if (fileStream_.is_open()) fileStream_.close();
}

void GenericData::OpenFStream(std::ifstream& stream) { OpenInputFile(header_.fileName, stream); }

std::ifstream& GenericData::FileStream() {
  if (!fileStream_.is_open()) OpenFStream(fileStream_);
  fileStream_.clear();
  return fileStream_;
}

std::uint64_t GenericData::FileSize() {
  if (mapping_.IsOpen()) return mapping_.Size();
  platform::FileStatus status;
  return platform::GetFileStatus(header_.fileName, status) ? status.size : 0;
}

std::shared_ptr<const platform::MappedView> GenericData::WholeFileView() const {
  if (wholeFile_ && wholeFile_->IsValid()) return wholeFile_;
  return nullptr;
}

std::span<const std::uint8_t> GenericData::MappedFileBytes() {
  if (!useMemoryMapping_ || !MapFile()) return {};
  if (!wholeFile_ || !wholeFile_->IsValid()) {
    wholeFile_ = std::make_shared<platform::MappedView>(mapping_.Map(0, std::size_t(mapping_.Size())));
  }
  if (!wholeFile_->IsValid()) return {};
  return {wholeFile_->Data(), wholeFile_->Size()};
}

HeaderStream GenericData::HeaderReadStream() {
  const std::span<const std::uint8_t> bytes = MappedFileBytes();
  if (bytes.data() != nullptr) return HeaderStream(bytes.data(), bytes.size());
  return HeaderStream(FileStream(), FileSize());
}

void GenericData::CompleteDataSetHeader(DataSetHeader& header) {
  HeaderStream stream = HeaderReadStream();
  stream.Seek(header.headerStartPos);
  DataSetHeader complete;
  DataSetHeaderReader::ReadOne(stream, complete);
  header = std::move(complete);
}

generic_io::DataGroup GenericData::DataGroup(std::uint32_t position) {
  if (useMemoryMapping_ && !MapFile()) throw generic_exceptions::FileNotOpenException();
  HeaderStream stream = HeaderReadStream();
  stream.Seek(position);
  DataGroupHeader group;
  std::uint32_t setCount = DataGroupHeaderReader::ReadOne(stream, group);
  DataSetHeaderReader::ReadAll(stream, setCount, group);
  if (useMemoryMapping_) {
    return generic_io::DataGroup(header_.fileName, std::move(group), &mapping_, loadEntireDataSetHint_, WholeFileView());
  }
  return generic_io::DataGroup(header_.fileName, std::move(group), &fileStream_, loadEntireDataSetHint_);
}

std::uint32_t GenericData::NextDataGroupPosition(std::uint32_t position) {
  if (useMemoryMapping_ && !MapFile()) throw generic_exceptions::FileNotOpenException();
  HeaderStream stream = HeaderReadStream();
  stream.Seek(position);
  return DataGroupHeaderReader::ReadNextPosition(stream);
}

std::unique_ptr<DataSet> GenericData::DataSet(std::u16string_view groupName, std::u16string_view setName) {
  if (useMemoryMapping_) {
    if (!MapFile()) throw generic_exceptions::FileNotOpenException();
  } else {
    FileStream();
  }
  DataGroupHeader* group = header_.FindDataGroupHeader(groupName);
  if (group == nullptr) throw generic_exceptions::DataGroupNotFoundException();
  DataSetHeader* setHeader = group->FindDataSetHeader(setName);
  if (setHeader == nullptr) throw generic_exceptions::DataSetNotFoundException();
  if (setHeader->IsMinimal()) CompleteDataSetHeader(*setHeader);
  if (useMemoryMapping_) {
    return std::make_unique<generic_io::DataSet>(header_.fileName, *setHeader, &mapping_, loadEntireDataSetHint_,
                                                 WholeFileView());
  }
  return std::make_unique<generic_io::DataSet>(header_.fileName, *setHeader, &fileStream_, loadEntireDataSetHint_);
}

}  // namespace generic_io
