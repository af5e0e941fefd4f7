#pragma once
// The in-memory face of one generic file: the headers read from it, the
// read-only mapping of the file (made at the first data access, not before),
// and the data groups and data sets opened on demand.
#include <cstdint>
#include <fstream>
#include <memory>
#include <span>
#include <string_view>

#include "arrayfiles/generic/DataGroup.h"
#include "arrayfiles/generic/DataSet.h"
#include "arrayfiles/generic/FileHeader.h"
#include "platform/FileMapping.h"
#include "arrayfiles/generic/StreamInput.h"

namespace generic_io {

class GenericData {
 public:
  GenericData() = default;
  ~GenericData();
  // Data sets and groups handed out point into this object.
  GenericData(const GenericData&) = delete;
  GenericData& operator=(const GenericData&) = delete;

  [[nodiscard]] FileHeader& Header() { return header_; }
  [[nodiscard]] const FileHeader& Header() const { return header_; }

  // The group header at that file position with its complete data set headers
  // (not added to Header()). FileNotOpenException when the file cannot be
  // mapped; the header exceptions when it is malformed.
  [[nodiscard]] generic_io::DataGroup DataGroup(std::uint32_t position);
  // The next-group position of the group header at that file position, its
  // data set headers left unread; the exceptions of DataGroup.
  [[nodiscard]] std::uint32_t NextDataGroupPosition(std::uint32_t position);
  // A new, not yet opened data set found by exact group and set names. A set
  // read with the minimal header mode is completed first, and the completion
  // kept. FileNotOpenException, DataGroupNotFoundException, DataSetNotFoundException.
  [[nodiscard]] std::unique_ptr<generic_io::DataSet> DataSet(std::u16string_view groupName,
                                                            std::u16string_view setName);

  // The whole file's bytes through the mapping, mapped at the first call and
  // shared with the header reads and data sets; empty when the file is read
  // through the stream or cannot be mapped.
  [[nodiscard]] std::span<const std::uint8_t> MappedFileBytes();
  // Opens the file and its mapping once; false when either fails.
  bool MapFile();
  // Lets the system take back the resident pages of the whole-file view in
  // [from, to) of the file; they are read again when touched. Nothing
  // happens before the view is mapped.
  void ReleaseMappedPages(std::uint64_t from, std::uint64_t to) const;
  // Closes the mapping, the file and the stream.
  void UnmapFile();
  // Opens Header().fileName for binary input; FileNotFoundException when it cannot.
  void OpenFStream(std::ifstream& stream);
  [[nodiscard]] bool IsMapped() const { return mapping_.IsOpen(); }

  // Empties the headers; the file name, the mapping and the modes stay.
  void Clear() { header_.Clear(); }

  // Read data sets through the stream instead of the mapping, loading the
  // whole element area at Open (hint) or the requested rows on each request.
  void UseMemoryMapping(bool use) { useMemoryMapping_ = use; }
  void LoadEntireDataSetHint(bool hint) { loadEntireDataSetHint_ = hint; }

 private:
  // The stream for reading headers after the first pass (and, in stream mode,
  // cells), opened once at its first use.
  std::ifstream& FileStream();
  [[nodiscard]] std::uint64_t FileSize();
  void CompleteDataSetHeader(DataSetHeader& header);
  // A header reader over the mapped file, or over the stream when not mapping.
  HeaderStream HeaderReadStream();
  // The whole-file view once it is mapped, else null.
  [[nodiscard]] std::shared_ptr<const platform::MappedView> WholeFileView() const;

  FileHeader header_;
  platform::FileMapping mapping_;
  // The whole file, mapped on the first header read after the first pass.
  // Data sets share it, so that opening one maps nothing more.
  std::shared_ptr<platform::MappedView> wholeFile_;
  bool useMemoryMapping_ = true;
  std::ifstream fileStream_;
  bool loadEntireDataSetHint_ = false;
};

}  // namespace generic_io
