#include "document/ExtractionParts.h"

#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/generic/GenericExceptions.h"
#include "core/BasicData.h"
#include "platform/Strings.h"

namespace extraction {

void Fail(std::string message) { throw Failure{std::move(message)}; }

ExtractionResult Guarded(const ExtractionRequest& request, const std::function<void(ExtractionResult&)>& extract) {
  ExtractionResult result;
  try {
    extract(result);
  } catch (const Failure& failure) {
    result.Message = failure.message;
  } catch (const std::exception& e) {
    result.Message = platform::Format("The files of %s cannot be extracted: %s", request.ChpFileName.c_str(), e.what());
  }
  return result;
}

namespace {

// What a reader's error says of where the file is damaged, as ": the cell
// table at offset ..."; nothing when it says only that the file is damaged.
std::string LocatedReason(const std::string& error) {
  constexpr std::string_view kWhere = "CEL file: ";
  const std::size_t at = error.find(kWhere);
  return at == std::string::npos ? std::string() : ": " + error.substr(at + kWhere.size());
}

}  // namespace

CelCells::CelCells(const std::string& path, const std::string& fileName) : fileName_(fileName) {
  cel_.SetFileName(path);
  bool read = false;
  std::string reason;
  try {
    read = cel_.Read(true);
  } catch (const generic_exceptions::GenericException&) {
    read = false;
  }
  if (!read) {
    try {
      reason = StringUtils::WideToNarrow(cel_.GetError());
    } catch (const generic_exceptions::GenericException&) {
    }
    Fail(platform::Format("The CEL file %s cannot be read", fileName.c_str()) + LocatedReason(reason));
  }
  cols_ = cel_.GetCols();
  rows_ = cel_.GetRows();
  chipType_ = StringUtils::WideToNarrow(cel_.GetChipType());
}

CelCells::~CelCells() {
  if (cel_.HasAdapter()) cel_.Close();
}

const unified_io::UnifiedCELFileEntry& CelCells::Entry(int x, int y, const std::string& libraryFile) {
  if (x < 0 || y < 0 || x >= cols_ || y >= rows_) {
    Fail(platform::Format("The library file %s names the cell (%d, %d), outside the CEL file %s of %d x %d cells",
                          libraryFile.c_str(), x, y, fileName_.c_str(), cols_, rows_));
  }
  cel_.GetEntry(x, y, entry_);
  return entry_;
}

std::string CalledGender(unified_io::UnifiedCHPLegacyData& chp) {
  std::u16string gender = chp.GetHeader().GetSummaryParameter(u"CalledGender");
  if (gender.empty()) gender = chp.GetHeader().GetSummaryParameter(u"Gender");
  return StringUtils::WideToNarrow(gender);
}

ChpCalls::ChpCalls(const std::string& path) {
  data_ = unified_io::UnifiedCHPDataReg::Read(path);
  chp_ = unified_io::UnifiedCHPLegacyData::FromBase(data_.get());
  if (chp_ == nullptr) Fail("SNPs call is not performed");
  count_ = chp_->Adapter().GetHeader()->GetNumProbeSets();
}

ChpCalls::~ChpCalls() = default;

std::int32_t ChpCalls::CallOf(int index) {
  unified_io::UnifiedGenotypeProbeSetResults results;
  chp_->GetGenotypingResults(index, results);
  const std::string call = results.GetAssignmentCallString();
  if (call == "A") return kCallA;
  if (call == "AB") return kCallAB;
  if (call == "B") return kCallB;
  return kCallNone;
}

bool IsPerfectMatch(char probe, char target) {
  switch (probe) {
    case 'a': return target == 't';
    case 't': return target == 'a';
    case 'g': return target == 'c';
    case 'c': return target == 'g';
    case 'A': return target == 'T';
    case 'T': return target == 'A';
    case 'G': return target == 'C';
    case 'C': return target == 'G';
    default: return false;
  }
}

ArrayTypeInfoValues TypeInfoValues(const qova::ArrayTypeInfo& type) {
  const auto& starts = qova::kArrayChromosomeStarts[type.type];
  ArrayTypeInfoValues values{};
  values[kTypeInfoFirstSnp] = type.firstSnp;
  values[kTypeInfoLastSnp] = type.lastSnp;
  values[kTypeInfoLastSnpX] = starts[kChromosomeX + 1] - 1;
  values[kTypeInfoLastSnpAutosomes] = starts[kChromosomeX] - 1;
  values[kTypeInfoSnpCount] = type.snpCount;
  return values;
}

}  // namespace extraction
