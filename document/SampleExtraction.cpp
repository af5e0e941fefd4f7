#include "document/SampleExtraction.h"

#include <exception>
#include <memory>
#include <optional>

#include "arrayfiles/cdf/UnifiedCDFData.h"
#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/unified/UnifiedCHPData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "document/ExtractionParts.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace {

using extraction::CelCells;
using extraction::ChpCalls;
using extraction::Fail;
using extraction::IsPerfectMatch;
using extraction::TypeInfoValues;

constexpr std::string_view kBrlmmP = ".brlmm-p";
constexpr std::string_view kBrlmm = ".brlmm";

// Sums the perfect-match intensities of every SNP probe set into `sample`,
// with the CHP calls of the same probe-set indexes.
void ExtractSnpProbeSets(const std::string& cdfPath, const std::string& chpFileName, ChpCalls& chp, CelCells& cel,
                         CArrayData& sample) {
  const std::string libraryFile = platform::FileNameOf(cdfPath);
  unified_io::UnifiedCDFData cdf;
  cdf.SetFileName(cdfPath);
  if (!cdf.Read()) Fail(platform::Format("The library file %s cannot be read", libraryFile.c_str()));

  const int probeSets = cdf.GetHeader().GetNumProbeSets();
  const std::int32_t last = sample.Header.LastSnpIndex;
  std::int32_t position = sample.Header.FirstSnpIndex;
  unified_io::UnifiedCDFProbeSetInformation set;
  unified_io::UnifiedCDFProbeGroupInformation group;
  unified_io::UnifiedCDFProbeInformation cell;
  for (int i = 0; i < probeSets; ++i) {
    if (!cdf.GetProbeSetName(i).starts_with("SNP")) continue;
    if (position > last) {
      Fail(platform::Format("The library file %s holds more SNP probe sets than the chip type %s has SNPs (%d)",
                            libraryFile.c_str(), sample.Header.ArrayType.c_str(), last - sample.Header.FirstSnpIndex + 1));
    }
    if (i >= chp.Count()) {
      Fail(platform::Format("The CHP file %s has no result for probe set %d of the library file %s",
                            chpFileName.c_str(), i, libraryFile.c_str()));
    }
    double sums[2] = {0.0, 0.0};
    cdf.GetProbeSetInformation(i, set);
    const int groups = set.GetNumGroups();
    for (int g = 0; g < groups; ++g) {
      set.GetGroupInformation(g, group);
      const int cells = group.GetNumCells();
      for (int c = 0; c < cells; ++c) {
        group.GetCell(c, cell);
        if (!IsPerfectMatch(cell.GetPBase(), cell.GetTBase())) continue;
        sums[g % 2] += cel.Intensity(cell.GetX(), cell.GetY(), libraryFile);
      }
    }
    const auto p = static_cast<std::size_t>(position);
    sample.SignalA[p] = static_cast<float>(sums[0]);
    sample.SignalB[p] = static_cast<float>(sums[1]);
    sample.Call[p] = chp.CallOf(i);
    ++position;
  }
}

void Extract(const ExtractionRequest& request, const ExtractionFolders& folders, ExtractionResult& result) {
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
  ExtractSnpProbeSets(cdfPath, chpFileName, chp, cel, sample);

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
  ExtractionResult result;
  try {
    Extract(request, folders, result);
  } catch (const extraction::Failure& failure) {
    result.Message = failure.message;
  } catch (const std::exception& e) {
    // Anything else a reader lets out (for instance running out of memory on
    // a huge file) ends this sample only.
    result.Message = platform::Format("The files of %s cannot be extracted: %s", request.ChpFileName.c_str(), e.what());
  }
  return result;
}
