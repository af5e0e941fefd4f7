#include "document/extraction/SampleExtraction.h"

#include <algorithm>
#include <array>
#include <exception>
#include <limits>
#include <memory>
#include <optional>
#include <span>

#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/unified/UnifiedCHPData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "document/extraction/ExtractionParts.h"
#include "document/extraction/LibraryLayout.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/UninitializedVector.h"

namespace extraction = qova::document::extraction;
namespace core = qova::core;

namespace {

using extraction::CelCells;
using extraction::ChpCalls;
using extraction::Fail;
using extraction::LayoutCell;
using extraction::LibraryLayout;
using extraction::LibraryLayoutCache;
using extraction::TypeInfoValues;

constexpr std::string_view kBrlmmP = ".brlmm-p";
constexpr std::string_view kBrlmm = ".brlmm";

// The intensity of every cell the library names, in the order of its
// Cells(), read from the CEL file in one pass. A cell outside the CEL file's
// grid reads as 0 and the first such cell's SNP is `firstOutside`
// (SnpCount() when there is none), failed when the sums reach it.
struct LibraryIntensities {
  platform::UninitializedVector<float> values;  // every value is written by the pass over the CEL file
  std::size_t firstOutside = 0;
  LayoutCell outsideCell{};
};

// The SNP whose cells hold the library's cell number `cell`.
std::size_t SnpOfCell(const LibraryLayout& library, std::size_t cell) {
  std::size_t end = 0;
  for (std::size_t k = 0; k < library.SnpCount(); ++k) {
    end += library.CellsA(k).size() + library.CellsB(k).size();
    if (cell < end) return k;
  }
  return library.SnpCount();
}

LibraryIntensities ReadLibraryCells(const LibraryLayout& library, CelCells& cel) {
  LibraryIntensities read;
  read.firstOutside = library.SnpCount();
  const std::span<const LayoutCell> cells = library.Cells();
  read.values.resize(cells.size());
  // The cells go to the CEL file in blocks whose positions stay in the
  // processor's cache, each found in a plain pass without a branch per
  // cell; the SNP of a cell outside the grid is looked for only when there is one.
  constexpr std::size_t kBlock = 4096;
  std::array<std::int32_t, kBlock> indexes;
  const std::int64_t cols = cel.Cols();
  const auto rows = static_cast<std::uint32_t>(std::max(cel.Rows(), 0));
  const auto colsLimit = static_cast<std::uint32_t>(std::max(cel.Cols(), 0));
  bool anyOutside = false;
  for (std::size_t begin = 0; begin < cells.size(); begin += kBlock) {
    const std::size_t n = std::min(kBlock, cells.size() - begin);
    for (std::size_t c = 0; c < n; ++c) {
      const LayoutCell cell = cells[begin + c];
      const std::int64_t at = std::int64_t(cell.Y) * cols + cell.X;
      const bool inside = static_cast<std::uint32_t>(cell.X) < colsLimit &&
                          static_cast<std::uint32_t>(cell.Y) < rows && at <= std::numeric_limits<std::int32_t>::max();
      indexes[c] = inside ? static_cast<std::int32_t>(at) : -1;
      anyOutside |= !inside;
    }
    cel.Intensities(std::span(indexes).first(n), std::span(read.values).subspan(begin, n));
  }
  if (anyOutside) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
      if (cel.Holds(cells[c].X, cells[c].Y)) continue;
      read.firstOutside = SnpOfCell(library, c);
      read.outsideCell = cells[c];
      break;
    }
  }
  return read;
}

// Sums the perfect-match intensities of every SNP probe set into `sample`,
// whose SNP positions they fill, with the CHP calls of the same probe-set
// indexes.
void ExtractSnpProbeSets(const LibraryLayout& library, const std::string& chpFileName, ChpCalls& chp, CelCells& cel,
                         CArrayData& sample) {
  const std::string& libraryFile = library.FileName();
  std::int32_t position = sample.Header.FirstSnpIndex;
  const LibraryIntensities intensities = ReadLibraryCells(library, cel);
  cel.RequireData(intensities.values, libraryFile);
  const float* next = intensities.values.data();
  for (std::size_t k = 0; k < library.SnpCount(); ++k) {
    const int i = library.ProbeSetIndex(k);
    if (i >= chp.Count()) {
      Fail(platform::Format("The CHP file %s has no result for probe set %d of the library file %s",
                            chpFileName.c_str(), i, libraryFile.c_str()));
    }
    if (k == intensities.firstOutside) {
      cel.FailOutside(intensities.outsideCell.X, intensities.outsideCell.Y, libraryFile);
    }
    double sumA = 0.0;
    for (const float* end = next + library.CellsA(k).size(); next != end; ++next) sumA += *next;
    double sumB = 0.0;
    for (const float* end = next + library.CellsB(k).size(); next != end; ++next) sumB += *next;
    const auto p = static_cast<std::size_t>(position);
    sample.SignalA[p] = static_cast<float>(sumA);
    sample.SignalB[p] = static_cast<float>(sumB);
    sample.Call[p] = chp.CallOf(i);
    ++position;
  }
}

// Fills `result` as far as it gets, and `prepared` with the sample once it is whole.
void Prepare(const ExtractionFolders& folders, LibraryLayoutCache& libraries, ExtractionResult& result,
             PreparedSample& prepared) {
  const ExtractionRequest& request = prepared.Request;
  const std::string& chpFileName = request.ChpFileName;
  result.SampleName = SampleNameOfChpFile(chpFileName);
  const bool paired = request.Mode == kExtractPairedTest || request.Mode == kExtractPairedReference;
  const std::string partner = paired ? SampleNameOfChpFile(request.PartnerFileName) : std::string();
  std::string problem = SampleNameProblem(result.SampleName);
  if (problem.empty() && paired) problem = SampleNameProblem(partner);
  if (!problem.empty()) Fail(problem);
  const std::string chpPath = platform::JoinPath(folders.DataFolder, chpFileName);
  const std::string celFileName = result.SampleName + ".CEL";
  const std::string celPath = platform::JoinPath(folders.DataFolder, celFileName);
  result.OutputPath = platform::JoinPath(folders.ArrayDataFolder, result.SampleName + ".CFH");

  if (!platform::FileExists(celPath)) Fail(kCelFileNotFoundMessage);
  CelCells cel(celPath, celFileName);
  ChpCalls chp(chpPath);
  const std::string gender = chp.CalledGender();

  const std::string& chipType = cel.ChipType();
  const core::ArrayTypeInfo* type = core::FindArrayType(chipType);
  if (type == nullptr) {
    Fail(platform::Format("The chip type \"%s\" of %s is not one this program knows", chipType.c_str(),
                          celFileName.c_str()));
  }
  platform::FileStatus chpStatus;
  if (!platform::GetFileStatus(chpPath, chpStatus)) Fail(kChpFileNotFoundMessage);
  prepared.LibraryPath = LibraryFilePath(folders.LibraryFolder, chipType);
  if (!platform::FileExists(prepared.LibraryPath)) Fail(kLibraryFileNotFoundMessage);

  auto sample = std::make_unique<CArrayData>(result.SampleName, chipType, TypeInfoValues(*type),
                                             CTime(chpStatus.creationTime));
  const bool test = request.Mode == kExtractUnpairedTest || request.Mode == kExtractPairedTest;
  sample->Header.IsTest = test ? 1 : 0;
  sample->Header.IsPaired = paired ? 1 : 0;
  if (paired) sample->Header.SelfReference = partner;
  if (gender == "M" || gender == "F") sample->Header.Sex = gender;
  // Kept also when the library cannot be read: it may have been caught
  // while it was being replaced.
  prepared.LibraryStatusKnown = platform::GetFileStatus(prepared.LibraryPath, prepared.LibraryStatus);
  const std::shared_ptr<const LibraryLayout> library = libraries.Layout(prepared.LibraryPath);
  prepared.LibraryStatusKnown = library->StatusKnown();
  prepared.LibraryStatus = library->Status();
  // What both files declare is compared before a cell is read: a library of
  // another array would be read at the wrong cells without a word.
  cel.RequireGrid(library->Cols(), library->Rows(), library->FileName());
  extraction::RequireSnpPositions(library->SnpCount(), *type, library->FileName());
  ExtractSnpProbeSets(*library, chpFileName, chp, cel, *sample);
  prepared.Sample = std::move(sample);
}

}  // namespace

std::string SampleNameOfChpFile(std::string_view fileName) {
  std::string_view name = fileName.substr(0, fileName.size() >= 4 ? fileName.size() - 4 : 0);
  if (platform::EndsWithNoCase(name, kBrlmmP)) {
    name.remove_suffix(kBrlmmP.size());
  } else if (platform::EndsWithNoCase(name, kBrlmm)) {
    name.remove_suffix(kBrlmm.size());
  }
  return std::string(name);
}

std::string SampleNameProblem(std::string_view name) {
  if (name.empty()) return "The file name gives no sample name";
  if (name.find_first_of("$\t/\\") != std::string_view::npos) {
    return platform::Format("The sample name \"%s\" cannot be used: it holds \"$\", a tab or a path separator",
                            std::string(name).c_str());
  }
  return {};
}

std::string LibraryFilePath(const std::string& libraryFolder, const std::string& chipType) {
  return platform::JoinPath(libraryFolder, core::LibraryFileName(chipType));
}

PreparedSample::PreparedSample() = default;
PreparedSample::PreparedSample(PreparedSample&&) noexcept = default;
PreparedSample& PreparedSample::operator=(PreparedSample&&) noexcept = default;
PreparedSample::~PreparedSample() = default;

PreparedSample PrepareSampleFiles(const ExtractionRequest& request, const ExtractionFolders& folders,
                                  LibraryLayoutCache& libraries) {
  PreparedSample prepared;
  prepared.Request = request;
  prepared.Result = extraction::Guarded(
      request, [&](ExtractionResult& result) { Prepare(folders, libraries, result, prepared); });
  return prepared;
}

bool LibraryChangedSince(const PreparedSample& prepared) {
  if (!prepared.LibraryStatusKnown) return false;
  platform::FileStatus now;
  return !platform::GetFileStatus(prepared.LibraryPath, now) || now.size != prepared.LibraryStatus.size ||
         now.modificationTime != prepared.LibraryStatus.modificationTime;
}

ExtractionResult StorePreparedSample(PreparedSample& prepared) {
  ExtractionResult result = std::move(prepared.Result);
  if (!prepared.Sample) return result;
  const std::unique_ptr<CArrayData> sample = std::move(prepared.Sample);
  result.Replaced = extraction::KeepTypedFields(result.OutputPath, sample->Header);
  try {
    sample->StoreFile(result.OutputPath);
  } catch (const std::exception& error) {
    result.Message = extraction::SampleFileNotWritten(result.OutputPath, error);
    result.Replaced = false;
    return result;
  }
  result.Stored = true;
  return result;
}

ExtractionResult ExtractSampleFiles(const ExtractionRequest& request, const ExtractionFolders& folders) {
  LibraryLayoutCache library;
  return ExtractSampleFiles(request, folders, library);
}

ExtractionResult ExtractSampleFiles(const ExtractionRequest& request, const ExtractionFolders& folders,
                                    LibraryLayoutCache& libraries) {
  PreparedSample prepared = PrepareSampleFiles(request, folders, libraries);
  return StorePreparedSample(prepared);
}
