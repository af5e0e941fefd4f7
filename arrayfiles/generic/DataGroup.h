#pragma once
// One data group of a generic file, handing out its data sets by index.
#include <cstdint>
#include <istream>
#include <memory>
#include <string>

#include "arrayfiles/generic/DataGroupHeader.h"
#include "arrayfiles/generic/DataSet.h"
#include "platform/FileMapping.h"

namespace generic_io {

class DataGroup {
 public:
  // The mapping or the stream belongs to the file object and must outlive the
  // group and the data sets it hands out.
  // `wholeFile`, when given, is a view of the whole mapped file that the
  // data sets read from instead of mapping windows of their own.
  DataGroup(std::string fileName, DataGroupHeader header, const platform::FileMapping* mapping,
            bool loadEntireDataSetHint, std::shared_ptr<const platform::MappedView> wholeFile = nullptr);
  DataGroup(std::string fileName, DataGroupHeader header, std::istream* stream, bool loadEntireDataSetHint);

  [[nodiscard]] const DataGroupHeader& Header() const { return *header_; }

  // A new, not yet opened data set for the set at `index`;
  // DataSetNotFoundException when the group has no such set.
  [[nodiscard]] std::unique_ptr<generic_io::DataSet> DataSet(std::int32_t index) const;

 private:
  std::string fileName_;
  // Shared with copies of the group and with its data sets.
  std::shared_ptr<const DataGroupHeader> header_;
  bool useMemoryMapping_;
  const platform::FileMapping* mapping_ = nullptr;
  std::shared_ptr<const platform::MappedView> wholeFile_;
  std::istream* fileStream_ = nullptr;
  bool loadEntireDataSetHint_;
};

}  // namespace generic_io
