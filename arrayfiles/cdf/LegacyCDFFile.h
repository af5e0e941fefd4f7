#pragma once
// Reader of CDF library files that are not in the generic container: the
// text form (a "[CDF]" first line, versions GC1.0 to GC3.0), read whole into
// memory, and the binary XDA form (first 32-bit word 67), of which Read takes
// the header and maps the file; names, offsets and records are read where
// they lie when asked for. Like the other legacy readers it keeps the text of its
// last failure and returns false instead of throwing.
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "arrayfiles/cdf/LegacyCDFRecords.h"
#include "platform/FileMapping.h"

namespace legacy_cdf_detail {
struct GroupFields;
struct ProbeSetFields;
}  // namespace legacy_cdf_detail

class CLegacyCDFFile {
 public:
  CLegacyCDFFile() = default;
  ~CLegacyCDFFile();
  CLegacyCDFFile(const CLegacyCDFFile&) = delete;
  CLegacyCDFFile& operator=(const CLegacyCDFFile&) = delete;

  void SetFileName(const std::string& name) { fileName_ = name; }
  [[nodiscard]] const std::string& GetFileName() const { return fileName_; }

  // Closes, then reads the XDA form when the file starts with its magic
  // number and the text form otherwise; closes again on failure, when the
  // header keeps what was read but counts no probe sets or QC units.
  [[nodiscard]] bool Read();
  [[nodiscard]] bool IsXDACompatibleFile() const;
  // The two forms' readers, for callers that know the form; each closes
  // first and after a failure, as Read does.
  bool ReadXDAFormat();
  bool ReadTextFormat();
  // A reader of the XDA file that `other` has read, on the bytes `other`
  // mapped, for walking the file on another thread while `other` walks it
  // too (a reader keeps its error text and what it has walked). False (and
  // closed, with the error text set) when `other` holds no open XDA file.
  bool ReadCopyOf(const CLegacyCDFFile& other);
  // Whether an XDA file is open: read, its records read when asked.
  [[nodiscard]] bool IsXDAOpen() const { return records_ != nullptr; }

  [[nodiscard]] CLegacyCDFFileHeader GetHeader() const { return header_; }
  // The reader's own header record (valid as long as the reader lives).
  [[nodiscard]] const CLegacyCDFFileHeader& HeaderRecord() const { return header_; }
  [[nodiscard]] std::string GetError() const { return error_; }

  // The name of probe set `index` in file order; empty when there is none.
  [[nodiscard]] std::string GetProbeSetName(int index);
  // Fills `info` with probe set `index`. False (with an empty record, and the
  // error text set when the file is at fault) when there is no such probe set
  // or its record cannot be read.
  bool GetProbeSetInformation(int index, CLegacyCDFProbeSetInformation& info);
  // The cells GetProbeSetInformation's groups would hold, group after group,
  // each with its group's index, into `cells` (emptied first), without a
  // record per group: for walks over every probe set. False as
  // GetProbeSetInformation, and then `cells` is empty.
  bool GetProbeSetCells(int index, std::vector<CLegacyCDFGroupCell>& cells);
  // QC units are kept by the text form only.
  bool GetQCProbeSetInformation(int index, CLegacyCDFQCProbeSetInformation& info) const;

  // Closes the file and forgets the probe sets, QC units and names; the
  // header keeps its values.
  void Close();

 private:
  bool Fail(const char* message);
  // `message` followed by what failed and where: "CDF file: probe set 3 at offset ...".
  bool FailAt(const char* message, const std::string& detail);
  // Ends a failed read: the error text (when given), Close, and no probe sets counted.
  bool ReadFailed(const char* message);
  bool ReadXDAHeader();
  bool ReadXDAProbeSet(int index, CLegacyCDFProbeSetInformation& info);
  // Checks probe set `index`'s XDA record and hands each group's fields
  // (all but the name), its name field and the bytes of its cells (numCells
  // records) to `group(GroupFields&, name, cells)`, in file order.
  template <class GroupVisitor>
  bool WalkXDAProbeSet(int index, legacy_cdf_detail::ProbeSetFields& set, GroupVisitor&& group);
  // `n` bytes of the XDA file from `pos`; null when the file ends first.
  const std::uint8_t* XDABytes(std::uint64_t pos, std::uint64_t n);
  // Where a walk in file order has got to in the mapped file: the pages it
  // has passed are given back to the system, so that a walk over a library
  // of hundreds of megabytes does not keep all of it resident (the bytes
  // read the same if read again).
  class PassedPages {
   public:
    void Passed(const platform::MappedView& view, std::uint64_t pos);
    void Reset() { walking_ = false; }

   private:
    bool walking_ = false;
    std::uint64_t from_ = 0;
  };

  std::streamoff namesPos_ = 0;
  std::streamoff qcIndexPos_ = 0;
  std::streamoff probeSetIndexPos_ = 0;
  std::uint64_t fileSize_ = 0;
  std::ifstream stream_;
  bool textRead_ = false;  // the text form's records are in memory
  CLegacyCDFFileHeader header_;
  std::vector<std::string> probeSetNames_;  // text form
  // XDA form: the whole file mapped, shared with the readers ReadCopyOf makes.
  std::shared_ptr<const platform::MappedView> records_;
  PassedPages recordsPassed_;
  PassedPages namesPassed_;
  std::vector<CLegacyCDFProbeSetInformation> probeSets_;
  std::vector<CLegacyCDFQCProbeSetInformation> qcProbeSets_;
  std::string fileName_;
  std::string error_;
};
