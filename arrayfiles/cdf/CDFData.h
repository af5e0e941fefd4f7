#pragma once
// A CDF library file in the generic container form. The first data group is
// the index: its first data set names the probe sets. The groups after it are
// the probe sets in file order, each one's header giving the position of the
// next, so probe sets are reached by walking that chain.
//
// Only the file header and the generic data header are read when the file is
// opened; a probe set's group header is read when the probe set is asked for.
// Walking forward skips the probe sets in between by reading their group
// headers alone; asking for an earlier probe set walks again from the index.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "arrayfiles/cdf/CDFCellScan.h"
#include "arrayfiles/cdf/CDFProbeSetInformation.h"
#include "arrayfiles/generic/GenericData.h"

namespace generic_io {

// The data type id of a library file that holds only quality-control probe sets.
inline constexpr const char* kControlProbeSetsTypeId = "vendor-control-probesets";

class CDFData {
 public:
  CDFData();
  ~CDFData();
  CDFData(const CDFData&) = delete;
  CDFData& operator=(const CDFData&) = delete;

  void SetFileName(const std::string& path);
  [[nodiscard]] std::string GetFileName() const;
  [[nodiscard]] GenericData& GetGenericData() { return *file_; }

  // "REFSEQ" as narrow text; empty when absent.
  [[nodiscard]] std::string GetReferenceSequence() const;
  // "SETS"; 0 when absent. ParameterMismatchException for another type.
  [[nodiscard]] std::uint32_t GetProbeSetCount() const;
  [[nodiscard]] std::string GetDataTypeId() const;
  [[nodiscard]] bool IsControlFile() const {
    return file_->Header().genericHeader.fileTypeId == kControlProbeSetsTypeId;
  }
  // The number of data groups the file header gives.
  [[nodiscard]] std::int32_t GetDataGroupCount() const;

  // Fills `info` with probe set `index`. ProbeSetNotFoundException in a
  // control file or for an index outside the file's groups;
  // CDFAccessNotSupportedByModeException when no file was read; the
  // container's exceptions for a malformed file.
  void GetProbeSetInformation(std::int32_t index, CDFProbeSetInformation& info);
  // Appends the cells of probe set `index` to `cells`, group after group, as
  // GetProbeSetInformation's record gives them through its groups, without
  // making that record: for walks over every probe set. False, with `cells`
  // as they were, when the probe set is not plain enough for that (see
  // ScanProbeSetCells): its record then says what is wrong. Raises what
  // GetProbeSetInformation raises for the index, the mode or the walk to it.
  [[nodiscard]] bool ReadProbeSetCells(std::int32_t index, std::vector<CDFGroupCell>& cells);
  // The name of probe set `index` from the index data set (8-bit or 16-bit
  // text). ProbeSetNotFoundException for an index outside its rows;
  // DataSetNotOpenException when the index data set is missing or unreadable.
  [[nodiscard]] std::u16string GetProbeSetName(std::int32_t index);
  // The same name as narrow text (StringUtils::WideToNarrow of it), without
  // a wide copy; the same exceptions.
  [[nodiscard]] std::string GetProbeSetNarrowName(std::int32_t index);
  // The rows of the index data set; the exceptions of GetProbeSetName.
  [[nodiscard]] std::int32_t GetIndexRowCount();

  // Forgets the file's headers and the walk. Records handed out keep what
  // they hold; the next read starts with a new file object.
  void Clear();

 private:
  friend class CDFFileReader;
  // After the headers are read: the walk starts at probe set 0.
  void StartSequentialAccess();
  // Checks the index and walks to probe set `index`; its group header's position.
  std::uint32_t SeekProbeSet(std::int32_t index);
  // The position of the group after the one at `position`, reading its header alone.
  [[nodiscard]] std::uint32_t NextGroupPosition(std::uint32_t position);
  DataSet& IndexDataSet();
  // Checks the index and the names' column; the column's type (8-bit or 16-bit text).
  int NameType(std::int32_t index);

  std::shared_ptr<GenericData> file_;
  int mode_ = 0;  // 0 nothing read, 1 walking the probe sets
  std::int32_t nextIndex_ = 0;
  std::uint32_t nextPosition_ = 0;
  std::uint32_t firstProbeSetPosition_ = 0;
  // The walk gives back the pages of the probe sets behind it, so that a
  // library of a gigabyte is not kept resident while it is walked once.
  std::uint32_t releasedTo_ = 0;
  std::uint64_t fileSize_ = 0;
  std::unique_ptr<DataSet> indexDataSet_;
};

class CDFFileReader {
 public:
  // Clears `data`, reads the headers of the file (of `fileName`, or of the
  // name `data` holds when that is empty) and starts the walk at probe set 0.
  // The container's exceptions when the file is missing or malformed.
  void Read(const std::string& fileName, CDFData& data);
};

}  // namespace generic_io
