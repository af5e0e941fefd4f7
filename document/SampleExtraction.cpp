#include "document/SampleExtraction.h"

#include <exception>
#include <memory>
#include <optional>

#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/unified/UnifiedCHPData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "document/ExtractionParts.h"
#include "document/LibraryLayout.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

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

// Sums the perfect-match intensities of every SNP probe set into `sample`,
// with the CHP calls of the same probe-set indexes.
void ExtractSnpProbeSets(const LibraryLayout& library, const std::string& chpFileName, ChpCalls& chp, CelCells& cel,
                         CArrayData& sample) {
  const std::string& libraryFile = library.FileName();
  const std::int32_t last = sample.Header.LastSnpIndex;
  std::int32_t position = sample.Header.FirstSnpIndex;
  for (std::size_t k = 0; k < library.SnpCount(); ++k) {
    if (position > last) {
      Fail(platform::Format("The library file %s holds more SNP probe sets than the chip type %s has SNPs (%d)",
                            libraryFile.c_str(), sample.Header.ArrayType.c_str(), last - sample.Header.FirstSnpIndex + 1));
    }
    const int i = library.ProbeSetIndex(k);
    if (i >= chp.Count()) {
      Fail(platform::Format("The CHP file %s has no result for probe set %d of the library file %s",
                            chpFileName.c_str(), i, libraryFile.c_str()));
    }
    double sumA = 0.0;
    for (const LayoutCell& cell : library.CellsA(k)) sumA += cel.Intensity(cell.X, cell.Y, libraryFile);
    double sumB = 0.0;
    for (const LayoutCell& cell : library.CellsB(k)) sumB += cel.Intensity(cell.X, cell.Y, libraryFile);
    const auto p = static_cast<std::size_t>(position);
    sample.SignalA[p] = static_cast<float>(sumA);
    sample.SignalB[p] = static_cast<float>(sumB);
    sample.Call[p] = chp.CallOf(i);
    ++position;
  }
}

void Extract(const ExtractionRequest& request, const ExtractionFolders& folders, LibraryLayoutCache& libraries,
             ExtractionResult& result) {
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
  const qova::ArrayTypeInfo* type = qova::FindArrayType(chipType);
  if (type == nullptr) {
    Fail(platform::Format("The chip type \"%s\" of %s is not one this program knows", chipType.c_str(),
                          celFileName.c_str()));
  }
  platform::FileStatus chpStatus;
  if (!platform::GetFileStatus(chpPath, chpStatus)) Fail(kChpFileNotFoundMessage);
  const std::string cdfPath = LibraryFilePath(folders.LibraryFolder, chipType);
  if (!platform::FileExists(cdfPath)) Fail(kLibraryFileNotFoundMessage);

  CArrayData sample(result.SampleName, chipType, TypeInfoValues(*type), CTime(chpStatus.creationTime));
  const bool test = request.Mode == kExtractUnpairedTest || request.Mode == kExtractPairedTest;
  sample.Header.IsTest = test ? 1 : 0;
  sample.Header.IsPaired = paired ? 1 : 0;
  if (paired) sample.Header.SelfReference = partner;
  if (gender == "M" || gender == "F") sample.Header.Sex = gender;
  result.Replaced = extraction::KeepTypedFields(result.OutputPath, sample.Header);
  ExtractSnpProbeSets(*libraries.Layout(cdfPath), chpFileName, chp, cel, sample);

  try {
    sample.StoreFile(result.OutputPath);
  } catch (const std::exception&) {
    Fail(platform::Format("The sample file %s cannot be written", platform::FileNameOf(result.OutputPath).c_str()));
  }
  result.Stored = true;
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
  return platform::JoinPath(libraryFolder, qova::LibraryFileName(chipType));
}

ExtractionResult ExtractSampleFiles(const ExtractionRequest& request, const ExtractionFolders& folders) {
  LibraryLayoutCache library;
  return ExtractSampleFiles(request, folders, library);
}

ExtractionResult ExtractSampleFiles(const ExtractionRequest& request, const ExtractionFolders& folders,
                                    LibraryLayoutCache& libraries) {
  return extraction::Guarded(request, [&](ExtractionResult& result) { Extract(request, folders, libraries, result); });
}
