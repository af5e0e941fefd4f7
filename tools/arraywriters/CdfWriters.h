#pragma once
// Writers of CDF library files in the three forms the readers take: the text
// form ("[CDF]", versions GC1.0 to GC3.0), the binary XDA form, and the
// generic container form. They write a CdfLayout as a file's bytes; tests
// cut and patch those bytes to make malformed files.
#include <cstdint>
#include <ostream>
#include <string>

#include "tools/arraywriters/CdfLayout.h"
#include "tools/arraywriters/GenericWriter.h"

namespace arraywriters {

struct TextCdfOptions {
  int version = 3;  // 1, 2 or 3 ("GC1.0" .. "GC3.0")
  // False leaves the unit's cells per list out of its "NumAtoms" line, so
  // that the reader derives it from the unit type.
  bool cellsPerListInFile = true;
  bool crlf = false;
  bool blankLines = true;  // a blank line after every section, as the vendor files have
};

void WriteTextCdf(std::ostream& out, const CdfLayout& layout, const TextCdfOptions& options = {});
[[nodiscard]] std::string TextCdfImage(const CdfLayout& layout, const TextCdfOptions& options = {});

// Names of probe sets and blocks longer than 64 characters do not fit the
// XDA form's fixed fields: the writer throws std::length_error.
void WriteXdaCdf(std::ostream& out, const CdfLayout& layout, std::int32_t version = 1);
[[nodiscard]] std::string XdaCdfImage(const CdfLayout& layout, std::int32_t version = 1);

struct GenericCdfOptions {
  // A quality-control library file ("vendor-control-probesets"): it holds
  // the layout's QC sets in place of its probe sets.
  bool controlFile = false;
  // The index group's name column as 16-bit text (else 8-bit text).
  bool wideNames = true;
  // Leave out the "SETS" and "REFSEQ" header parameters.
  bool omitHeaderParameters = false;
};

// The container contents of a generic CDF file, for tests that change them
// (lying parameters, missing data sets) before writing.
[[nodiscard]] GenericFileSpec GenericCdfSpec(const CdfLayout& layout, const GenericCdfOptions& options = {});
[[nodiscard]] std::string GenericCdfImage(const CdfLayout& layout, const GenericCdfOptions& options = {});

}  // namespace arraywriters
