#include "document/extraction/ExtractionParts.h"

#include <algorithm>

#include "arrayfiles/cdf/UnifiedCDFData.h"
#include "arrayfiles/cel/LegacyCELFile.h"
#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/generic/GenericExceptions.h"
#include "core/BasicData.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace qova::document::extraction {

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
// table at offset ..."; the legacy readers put it after `where` ("CEL file: "),
// the generic ones say nothing else. Nothing when the error says only that
// the file is damaged.
std::string LocatedReason(const std::string& error, std::string_view where) {
  const std::size_t at = error.find(where);
  if (at != std::string::npos) return ": " + error.substr(at + where.size());
  if (error.find(" at offset ") != std::string::npos) return ": " + error;
  return {};
}

// Why a CEL file cannot be read, as ": ..." after its name: where the reader
// found it damaged, else the reader's own words, else that it is in no form
// the program reads.
std::string CelReason(const std::string& error) {
  if (std::string located = LocatedReason(error, "CEL file: "); !located.empty()) return located;
  if (error.empty() || error == CLegacyCELFile::kUnrecognizedText || error == CLegacyCELFile::kWrongFormat) {
    return ": it is in no CEL form this program reads";
  }
  return ": " + error;
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
    Fail(platform::Format("The CEL file %s cannot be read", fileName.c_str()) + CelReason(reason));
  }
  cols_ = cel_.GetCols();
  rows_ = cel_.GetRows();
  chipType_ = StringUtils::WideToNarrow(cel_.GetChipType());
}

CelCells::~CelCells() {
  if (cel_.HasAdapter()) cel_.Close();
}

void CelCells::FailOutside(int x, int y, const std::string& libraryFile) const {
  Fail(platform::Format("The library file %s names the cell (%d, %d), outside the CEL file %s of %d x %d cells",
                        libraryFile.c_str(), x, y, fileName_.c_str(), cols_, rows_));
}

void CelCells::RequireGrid(int cols, int rows, const std::string& libraryFile) const {
  if ((cols == 0 && rows == 0) || (cols == cols_ && rows == rows_)) return;
  Fail(platform::Format("The library file %s is of %d x %d cells, the CEL file %s of %d x %d cells",
                        libraryFile.c_str(), cols, rows, fileName_.c_str(), cols_, rows_));
}

void CelCells::RequireData(std::span<const float> intensities, const std::string& libraryFile) const {
  if (std::none_of(intensities.begin(), intensities.end(), [](float v) { return v != 0.0f; })) FailNoData(libraryFile);
}

void CelCells::FailNoData(const std::string& libraryFile) const {
  Fail(platform::Format("The CEL file %s holds no data: every cell the library file %s names is 0", fileName_.c_str(),
                        libraryFile.c_str()));
}

void RequireSnpPositions(std::size_t snpProbeSets, const qova::core::ArrayTypeInfo& type,
                         const std::string& libraryFile) {
  const auto positions = static_cast<std::size_t>(type.lastSnp - type.firstSnp + 1);
  if (snpProbeSets == positions) return;
  Fail(platform::Format("The library file %s holds %zu SNP probe sets, the chip type %s has %zu SNPs",
                        libraryFile.c_str(), snpProbeSets, type.name, positions));
}

const unified_io::UnifiedCELFileEntry& CelCells::Entry(int x, int y, const std::string& libraryFile) {
  if (!Holds(x, y)) FailOutside(x, y, libraryFile);
  cel_.GetEntry(x, y, entry_);
  return entry_;
}

std::string CalledGender(unified_io::UnifiedCHPLegacyData& chp) {
  std::u16string gender = chp.GetHeader().GetSummaryParameter(u"CalledGender");
  if (gender.empty()) gender = chp.GetHeader().GetSummaryParameter(u"Gender");
  return StringUtils::WideToNarrow(gender);
}

ChpCalls::ChpCalls(const std::string& path) {
  std::string reason;
  // Only the calls are read: no record is made per probe set.
  data_ = unified_io::UnifiedCHPDataReg::Read(path, reason, [](unified_io::UnifiedCHPData& data) {
    if (auto* legacy = unified_io::UnifiedCHPLegacyData::FromBase(&data)) legacy->SetGenotypeCallsOnly(true);
  });
  chp_ = unified_io::UnifiedCHPLegacyData::FromBase(data_.get());
  if (chp_ == nullptr) {
    // The reader's reason on a line of its own: the user learns which file is
    // damaged, and where, not only that there are no calls.
    const std::string fileName = platform::FileNameOf(path);
    Fail(std::string(kNoGenotypeCallsMessage) + "\n" +
         (!platform::FileExists(path) ? platform::Format("The CHP file %s does not exist", fileName.c_str())
                                    : platform::Format("The CHP file %s cannot be read", fileName.c_str()) +
                                          LocatedReason(reason, "CHP file: ")));
  }
  count_ = chp_->Adapter().GetHeader()->GetNumProbeSets();
  chp_->GetGenotypeCalls(calls_);
}

ChpCalls::~ChpCalls() = default;

std::int32_t SampleCallOf(std::uint8_t code) {
  switch (code) {
    case unified_io::kCallA: return kCallA;
    case unified_io::kCallAB: return kCallAB;
    case unified_io::kCallB: return kCallB;
    default: return kCallNone;
  }
}

std::string SampleFileNotWritten(const std::string& outputPath, const std::exception& error) {
  const std::string message =
      platform::Format("The sample file %s cannot be written: ", platform::FileNameOf(outputPath).c_str());
  return message + platform::MissingFolderReason(outputPath).value_or(error.what());
}

bool KeepTypedFields(const std::string& outputPath, SampleHeader& header) {
  if (!platform::FileExists(outputPath)) return false;
  CArrayData earlier;
  try {
    earlier.LoadFile(outputPath, false);
  } catch (const std::exception&) {
    return true;
  }
  const SampleHeader& typed = earlier.Header;
  header.Attribute1 = typed.Attribute1;
  header.Attribute2 = typed.Attribute2;
  header.Attribute3 = typed.Attribute3;
  header.Attribute4 = typed.Attribute4;
  header.Attribute5 = typed.Attribute5;
  if (header.Sex.empty()) header.Sex = typed.Sex;
  return true;
}

int SnpWalkProbeSetCount(unified_io::UnifiedCDFData& cdf, const std::string& library) {
  const int count = cdf.GetHeader().GetNumProbeSets();
  if (!cdf.GetError().empty()) Fail(library + " cannot be read");
  return count;
}

std::string SnpWalkProbeSetName(unified_io::UnifiedCDFData& cdf, int i, const std::string& library) {
  std::string name = cdf.GetProbeSetName(i);
  if (name.empty() && !cdf.GetError().empty()) {
    Fail(platform::Format("%s cannot be read at its probe set %d: %s", library.c_str(), i, cdf.GetError().c_str()));
  }
  return name;
}

ArrayTypeInfoValues TypeInfoValues(const qova::core::ArrayTypeInfo& type) {
  const auto& starts = qova::core::kArrayChromosomeStarts[type.type];
  ArrayTypeInfoValues values{};
  values[kTypeInfoFirstSnp] = type.firstSnp;
  values[kTypeInfoLastSnp] = type.lastSnp;
  values[kTypeInfoLastSnpX] = starts[kChromosomeX + 1] - 1;
  values[kTypeInfoLastSnpAutosomes] = starts[kChromosomeX] - 1;
  values[kTypeInfoSnpCount] = type.snpCount;
  return values;
}

}  // namespace qova::document::extraction
