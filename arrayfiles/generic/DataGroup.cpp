#include "arrayfiles/generic/DataGroup.h"

#include "arrayfiles/generic/GenericExceptions.h"

namespace generic_io {

DataGroup::DataGroup(std::string fileName, DataGroupHeader header, const platform::FileMapping* mapping,
                     bool loadEntireDataSetHint, std::shared_ptr<const platform::MappedView> wholeFile)
    : fileName_(std::move(fileName)),
      header_(std::make_shared<const DataGroupHeader>(std::move(header))),
      useMemoryMapping_(true),
      mapping_(mapping),
      wholeFile_(std::move(wholeFile)),
      loadEntireDataSetHint_(loadEntireDataSetHint) {}

DataGroup::DataGroup(std::string fileName, DataGroupHeader header, std::istream* stream,
                     bool loadEntireDataSetHint)
    : fileName_(std::move(fileName)),
      header_(std::make_shared<const DataGroupHeader>(std::move(header))),
      useMemoryMapping_(false),
      fileStream_(stream),
      loadEntireDataSetHint_(loadEntireDataSetHint) {}

std::unique_ptr<DataSet> DataGroup::DataSet(std::int32_t index) const {
  if (index < 0 || index >= header_->GetDataSetCount()) throw generic_exceptions::DataSetNotFoundException();
  std::shared_ptr<const DataSetHeader> setHeader(header_, &header_->GetDataSetHeader(std::size_t(index)));
  if (useMemoryMapping_) {
    return std::make_unique<generic_io::DataSet>(fileName_, setHeader, mapping_, loadEntireDataSetHint_, wholeFile_);
  }
  return std::make_unique<generic_io::DataSet>(fileName_, setHeader, fileStream_, loadEntireDataSetHint_);
}

}  // namespace generic_io
