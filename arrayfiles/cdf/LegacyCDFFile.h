#pragma once
// Reader of CDF library files that are not in the generic container: the
// text form (a "[CDF]" first line, versions GC1.0 to GC3.0), read whole into
// memory, and the binary XDA form (first 32-bit word 67), of which Read takes
// the header, the probe-set names and the record offsets; later requests seek
// to the records they need. Like the other legacy readers it keeps the text of its
// last failure and returns false instead of throwing.
#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "arrayfiles/cdf/LegacyCDFRecords.h"

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
  // Opens the XDA file that `other` has read with a read position of its
  // own, taking the header, the probe-set names and the record offsets from
  // `other` instead of reading them again: several threads can then walk one
  // file, a reader each. False (and closed, with the error text set) when
  // `other` holds no open XDA file, or its file cannot be opened again or has
  // changed size.
  bool ReadCopyOf(const CLegacyCDFFile& other);
  // Whether an XDA file is open: read, its records read when asked.
  [[nodiscard]] bool IsXDAOpen() const { return stream_.is_open(); }

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
  // Checks probe set `index`'s XDA record and hands each group's fields and
  // the bytes of its cells (numCells records) to `group`, in file order.
  bool WalkXDAProbeSet(int index, legacy_cdf_detail::ProbeSetFields& set,
                       const std::function<void(legacy_cdf_detail::GroupFields&, const std::uint8_t*)>& group);
  // `n` bytes of the XDA file from `pos`, through the read window; null when
  // the file ends first. Valid until the next call.
  const std::uint8_t* XDABytes(std::uint64_t pos, std::uint64_t n);

  std::streamoff namesPos_ = 0;
  std::streamoff qcIndexPos_ = 0;
  std::streamoff probeSetIndexPos_ = 0;
  std::uint64_t fileSize_ = 0;
  std::ifstream stream_;
  bool textRead_ = false;  // the text form's records are in memory
  CLegacyCDFFileHeader header_;
  // The probe-set names side by side in one block of text: name k ends at
  // ends[k] and starts where name k - 1 ends. A million names take about a
  // third of the memory they would as strings of their own, and readers that
  // ReadCopyOf made share them, as they share the record offsets.
  struct NameTable {
    std::string bytes;
    std::vector<std::uint32_t> ends;
    [[nodiscard]] std::size_t size() const { return ends.size(); }
    [[nodiscard]] std::string_view operator[](std::size_t k) const {
      const std::size_t begin = k == 0 ? 0 : ends[k - 1];
      return std::string_view(bytes).substr(begin, ends[k] - begin);
    }
    void Add(std::string_view name) {
      bytes += name;
      ends.push_back(static_cast<std::uint32_t>(bytes.size()));
    }
  };
  std::shared_ptr<const NameTable> probeSetNames_;
  // XDA form: where each probe set's record starts.
  std::shared_ptr<const std::vector<std::int32_t>> probeSetOffsets_;
  std::vector<std::uint8_t> window_;  // XDA form: the bytes from windowStart_ last read
  std::uint64_t windowStart_ = 0;
  std::vector<CLegacyCDFProbeSetInformation> probeSets_;
  std::vector<CLegacyCDFQCProbeSetInformation> qcProbeSets_;
  std::string fileName_;
  std::string error_;
};
