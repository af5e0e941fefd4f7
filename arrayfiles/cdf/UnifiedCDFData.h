#pragma once
// One view of a CDF library file whatever its form: the generic container
// form through generic_io::CDFData, the text and XDA forms through
// CLegacyCDFFile, chosen by looking at the file. Probe sets, groups and cells
// come out in small records that hold whichever underlying record is in use.
//
// The accessors never let the generic form's exceptions out: a probe set,
// group or cell that cannot be read gives an empty name or an empty record.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "arrayfiles/cdf/CDFData.h"
#include "arrayfiles/cdf/LegacyCDFFile.h"

namespace unified_io {

class UnifiedCDFFileHeader {
 public:
  // The number of probe sets. For a generic file the smallest of its "SETS"
  // parameter, its data groups less the index group and the index's rows
  // (0, with the failure noted as the data object's error, when any of them
  // cannot be read), and 0 for a control-probe-set file.
  [[nodiscard]] int GetNumProbeSets() const;
  [[nodiscard]] int GetNumQCProbeSets() const;
  // Rows and columns of the array; the generic form does not carry them (0).
  [[nodiscard]] int GetRows() const;
  [[nodiscard]] int GetCols() const;
  [[nodiscard]] const std::string& GetReferenceSequence() const { return referenceSequence_; }

 private:
  friend class UnifiedCDFData;
  void Clear();

  const CLegacyCDFFileHeader* legacyHeader_ = nullptr;
  generic_io::CDFData* genericData_ = nullptr;
  std::string referenceSequence_;
  std::string* errorSink_ = nullptr;  // the owning data object's error text
};

class UnifiedCDFProbeInformation {
 public:
  [[nodiscard]] int GetX() const;
  [[nodiscard]] int GetY() const;
  [[nodiscard]] char GetPBase() const;
  [[nodiscard]] char GetTBase() const;
  // The list (atom) of the cell and its exposure (index position).
  [[nodiscard]] int GetListIndex() const;
  [[nodiscard]] int GetExpos() const;
  void Clear();

 private:
  friend class UnifiedCDFProbeGroupInformation;
  std::optional<CLegacyCDFProbeInformation> legacyCell_;
  std::optional<generic_io::CDFProbeInformation> genericCell_;
};

class UnifiedCDFProbeGroupInformation {
 public:
  // For a generic group: the smaller of its "Cells" parameter and its rows.
  [[nodiscard]] int GetNumCells() const;
  [[nodiscard]] std::string GetName() const;
  [[nodiscard]] int GetDirection() const;
  // Fills `cell`; a cell outside the group is a default (legacy) or zero (generic) cell.
  void GetCell(int index, UnifiedCDFProbeInformation& cell);
  void Clear();

 private:
  friend class UnifiedCDFProbeSetInformation;
  std::optional<CLegacyCDFProbeGroupInformation> legacyGroup_;
  std::optional<generic_io::CDFProbeGroupInformation> genericGroup_;
};

class UnifiedCDFProbeSetInformation {
 public:
  [[nodiscard]] int GetNumGroups() const;
  [[nodiscard]] int GetProbeSetType() const;
  // Fills `group`; a group outside the probe set is an empty group.
  void GetGroupInformation(int index, UnifiedCDFProbeGroupInformation& group) const;
  void Clear();

 private:
  friend class UnifiedCDFData;
  std::optional<CLegacyCDFProbeSetInformation> legacySet_;
  std::optional<generic_io::CDFProbeSetInformation> genericSet_;
};

// A cell of a probe set with the index of the group that holds it, as
// UnifiedCDFData::GetProbeSetCells hands it out: the legacy reader's walk
// record, which the legacy forms fill in place.
using UnifiedCDFGroupCell = CLegacyCDFGroupCell;

class UnifiedCDFData {
 public:
  UnifiedCDFData() { header_.errorSink_ = &error_; }
  ~UnifiedCDFData() { Close(); }
  UnifiedCDFData(const UnifiedCDFData&) = delete;
  UnifiedCDFData& operator=(const UnifiedCDFData&) = delete;

  void SetFileName(const std::string& path) { fileName_ = path; }
  [[nodiscard]] const std::string& GetFileName() const { return fileName_; }

  // Chooses the reader by the file and reads the file; false on any failure.
  [[nodiscard]] bool Read();
  // A reader of the file `other` has read, with an error text and a walk of
  // its own, for walking the file on another thread while `other` walks it
  // too: the binary legacy form reads the file `other` mapped (CLegacyCDFFile::
  // ReadCopyOf). False for the other forms, whose readers take the whole file
  // when they open it and are better read once.
  [[nodiscard]] bool ReadCopyOf(const UnifiedCDFData& other);
  // Whether ReadCopyOf can copy this reader: it holds a file of the binary
  // legacy form, open.
  [[nodiscard]] bool CanBeCopied() const { return legacyFile_ && legacyFile_->IsXDAOpen(); }
  // Why the last Read, or a probe-set lookup since, failed: the legacy
  // reader's text, or the name of the generic form's exception.
  [[nodiscard]] const std::string& GetError() const { return error_; }

  // The header view, filled from the reader in use; empty without one.
  UnifiedCDFFileHeader& GetHeader();
  // The probe set's name, or "" when there is none or it cannot be read.
  [[nodiscard]] std::string GetProbeSetName(int index);
  // Fills `info`; an empty record (no groups) when the probe set cannot be read.
  void GetProbeSetInformation(int index, UnifiedCDFProbeSetInformation& info);
  // Into `cells` (emptied first), group after group: every cell that
  // GetProbeSetInformation's groups give through GetNumCells and GetCell,
  // with its group's index. For walks over every probe set: no record is
  // built per probe set, group or cell (a generic probe set that is not
  // plain is read through its records). False, with `cells` empty and the
  // error noted as GetProbeSetInformation notes it, when the probe set cannot
  // be read: a walk can tell a damaged record from a probe set without cells.
  [[nodiscard]] bool GetProbeSetCells(int index, std::vector<UnifiedCDFGroupCell>& cells);
  // Closes and forgets the reader; the header view empties with it.
  void Close();

  // True when the file's headers read as the generic container's.
  [[nodiscard]] static bool IsGenericFile(const std::string& path);

 private:
  void CreateObject();
  // GetProbeSetCells of a generic file without the records where the probe
  // set is plain: whether it was read; nothing when the records must be read.
  std::optional<bool> ReadPlainGenericCells(int index, std::vector<UnifiedCDFGroupCell>& cells);

  std::unique_ptr<CLegacyCDFFile> legacyFile_;
  UnifiedCDFFileHeader header_;
  std::unique_ptr<generic_io::CDFData> genericData_;
  std::vector<generic_io::CDFGroupCell> genericCells_;  // GetProbeSetCells' room, kept from call to call
  std::string fileName_;
  std::string error_;
};

}  // namespace unified_io
