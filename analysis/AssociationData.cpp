#include "analysis/AssociationData.h"

#include <utility>

#include "analysis/PermutationCounter.h"
#include "core/ArchiveChecks.h"
#include "core/ArrayTypes.h"
#include "core/GlobalData.h"
#include "platform/Archive.h"
#include "platform/Strings.h"

namespace core = qova::core;

namespace {

// Bytes of one position's results in the file: valid and four floats.
constexpr std::uint64_t kResultBytes = 20;

// A name count, refused when negative or when the rest of the file could not
// hold that many names (each takes at least its one-byte length).
std::int32_t ReadNameCount(CArchive& ar, const char* what) {
  std::int32_t count = 0;
  ar >> count;
  if (count < 0 || static_cast<std::uint64_t>(count) > ar.BytesLeft()) {
    core::ThrowFormatProblem(ar, platform::Format("the number of %s, %d, is more than the file can hold", what, count));
  }
  return count;
}

void ReadNames(CArchive& ar, std::int32_t count, std::vector<std::string>& names) {
  names.resize(static_cast<std::size_t>(count));
  for (std::string& name : names) ar >> name;
}

void WriteNames(CArchive& ar, const std::vector<std::string>& names) {
  ar << static_cast<std::int32_t>(names.size());
  for (const std::string& name : names) ar << name;
}

}  // namespace

AssociationData::AssociationData(const CGlobalData& global) : global_(&global) {}

void AssociationData::FreeArrays() {
  ReleaseArrays();
  caseNames.clear();
  controlNames.clear();
}

void AssociationData::ReleaseArrays() {
  nullHistogram = {};
  chiSquare = {};
  pValue = {};
  reserved1 = {};
  reserved2 = {};
  valid = {};
  calls = {};
}

std::int32_t AssociationData::SnpCount() const {
  if (core::FindArrayType(arrayType) == nullptr) return 0;
  return global_->ArraySnpCount[ArrayTypeIndex(arrayType)];
}

void AssociationData::AllocateArrays() {
  const auto n = static_cast<std::size_t>(SnpCount());
  nullHistogram.assign(qova::analysis::kNullBins, 0);
  chiSquare.assign(n, 0.0f);
  pValue.assign(n, 0.0f);
  reserved1.assign(n, 0.0f);
  reserved2.assign(n, 0.0f);
  valid.assign(n, 0);
  calls.assign(caseNames.size() + controlNames.size(), std::vector<std::uint8_t>(n, 0));
}

void AssociationData::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    Store(ar);
    return;
  }
  AssociationData loaded(*global_);
  loaded.workerThreads = workerThreads;
  loaded.permutationBatch = permutationBatch;
  loaded.Load(ar);
  *this = std::move(loaded);
}

void AssociationData::Store(CArchive& ar) const {
  const auto n = static_cast<std::size_t>(SnpCount());
  ar << std::string(kVersion);
  WriteNames(ar, caseNames);
  WriteNames(ar, controlNames);
  ar << arrayType;
  // An object whose calls were never read stores zeros in their place.
  const std::vector<std::uint8_t> none(n, 0);
  for (std::size_t s = 0; s < caseNames.size() + controlNames.size(); ++s) {
    const bool have = s < calls.size() && calls[s].size() == n;
    ar.Write((have ? calls[s] : none).data(), n);
  }
  const bool results = valid.size() == n;
  for (std::size_t i = 0; i < n; ++i) {
    ar << (results ? valid[i] : 0) << (results ? chiSquare[i] : 0.0f) << (results ? pValue[i] : 0.0f)
       << (results ? reserved1[i] : 0.0f) << (results ? reserved2[i] : 0.0f);
  }
}

void AssociationData::Load(CArchive& ar) {
  ar >> version;
  ReadNames(ar, ReadNameCount(ar, "cases"), caseNames);
  ReadNames(ar, ReadNameCount(ar, "controls"), controlNames);
  ar >> arrayType;
  if (core::FindArrayType(arrayType) == nullptr) {
    core::ThrowFormatProblem(ar, platform::Format("the array type \"%s\" is not one this program knows",
                                                  arrayType.c_str()));
  }
  const auto n = static_cast<std::uint64_t>(SnpCount());
  const std::uint64_t samples = caseNames.size() + controlNames.size();
  const std::uint64_t expected = samples * n + kResultBytes * n;
  if (ar.BytesLeft() != expected) {
    core::ThrowFormatProblem(
        ar, platform::Format("%llu bytes of calls and results follow the array type, where %llu samples of %s "
                             "take %llu",
                             static_cast<unsigned long long>(ar.BytesLeft()), static_cast<unsigned long long>(samples),
                             arrayType.c_str(), static_cast<unsigned long long>(expected)));
  }
  AllocateArrays();
  for (std::vector<std::uint8_t>& sample : calls) ar.ReadExact(sample.data(), sample.size());
  for (std::size_t i = 0; i < n; ++i) {
    ar >> valid[i] >> chiSquare[i] >> pValue[i] >> reserved1[i] >> reserved2[i];
  }
}
