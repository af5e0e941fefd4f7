#include "core/ArchiveChecks.h"

#include <string>

#include <utility>

#include "platform/Strings.h"

CDataFormatException::CDataFormatException(std::string fileName, std::string problem)
    : CArchiveException(badFormat, std::move(fileName)), problem_(std::move(problem)) {
  text_ = m_strFileName.empty() ? problem_ : m_strFileName + ": " + problem_;
}

namespace qova::core {

void ThrowFormatProblem(const CArchive& ar, std::string problem) {
  throw CDataFormatException(ArchiveFileName(ar), std::move(problem));
}

std::string ArchiveFileName(const CArchive& ar) {
  const CFile* file = ar.GetFile();
  return file ? file->GetFilePath() : std::string();
}

void ThrowArchiveError(const CArchive& ar, CArchiveException::Cause cause) {
  throw CArchiveException(cause, ArchiveFileName(ar));
}

void RequireBytesLeft(const CArchive& ar, std::uint64_t count, std::uint64_t recordSize) {
  // Divide rather than multiply so a huge count cannot wrap around.
  if (recordSize != 0 && count > ar.BytesLeft() / recordSize) ThrowArchiveError(ar, CArchiveException::endOfFile);
}

void RequireNothingAfter(const CArchive& ar, std::uint64_t bytes) {
  const std::uint64_t left = ar.BytesLeft();
  if (left > bytes) {
    ThrowFormatProblem(ar, platform::Format("%llu bytes follow the last record",
                                            static_cast<unsigned long long>(left - bytes)));
  }
}

}  // namespace qova::core
