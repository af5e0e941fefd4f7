#pragma once
// Checks the sample and table loaders make before they trust a count from a
// file. The platform's CArchive::CheckAvailable reports a bad count; these
// report a file that ends too early as the truncation it most likely is.
#include <cstdint>
#include <string>

#include "platform/Archive.h"

// A file that is a well-formed archive but whose contents the program cannot
// use: a sample whose SNP ranges do not fit its array type, a table whose
// indexes point outside it. Cause badFormat; the text says what is wrong.
class CDataFormatException : public CArchiveException {
 public:
  CDataFormatException(std::string fileName, std::string problem);
  [[nodiscard]] const char* what() const noexcept override { return text_.c_str(); }
  [[nodiscard]] const std::string& Problem() const { return problem_; }

 private:
  std::string problem_;
  std::string text_;
};

namespace qova::core {

// Throws CDataFormatException naming the archive's file.
[[noreturn]] void ThrowFormatProblem(const CArchive& ar, std::string problem);

// The name of the file under the archive, for error texts (empty for none).
[[nodiscard]] std::string ArchiveFileName(const CArchive& ar);

// Throws CArchiveException(cause) naming the archive's file.
[[noreturn]] void ThrowArchiveError(const CArchive& ar, CArchiveException::Cause cause);

// Throws end-of-file unless `count` records of `recordSize` bytes remain.
void RequireBytesLeft(const CArchive& ar, std::uint64_t count, std::uint64_t recordSize);

// Throws CDataFormatException when more than `bytes` remain. A sample file
// ends with its records: bytes after them mean that the file's layout is not
// the one its version, counts and kind name (a wrong version string, a damaged
// marker count, allele records under a plain name), and reading on would show
// values shifted into the wrong SNPs.
void RequireNothingAfter(const CArchive& ar, std::uint64_t bytes);

}  // namespace qova::core
