#pragma once
// One sample's array files turned into its extracted-sample file (.CFH): the
// genotype calls and the called gender from the CHP file, the allele
// intensities from the CEL file, read through the chip's CDF library file.
// For every SNP probe set the perfect-match cells are summed per allele; the
// k-th SNP probe set of the library file fills SNP index FirstSnpIndex + k.
//
// The files, in the folders given:
//   CHP  DataFolder/<file name as listed>
//   CEL  DataFolder/<sample name>.CEL
//   CDF  LibraryFolder/<chip type>.CDF ("GenomeWideSNP_5.Full.cdf" for that chip)
//   out  ArrayDataFolder/<sample name>.CFH
//
// Nothing is written unless the whole sample was extracted: every file is
// read and checked first (an unknown chip, a library file that does not fit
// the chip, a CHP or CEL file that does not fit the library file), the sample
// is built in memory, and the .CFH replaces any old one in one step. What a
// user typed into the old one (its attributes, and its sex where the CHP file
// calls none) is carried over, so extracting a sample again loses no work.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Paths.h"

class CArrayData;

namespace qova::document::extraction {
class LibraryLayoutCache;
}

// What the extracted sample is, and how its partner relates to it.
enum ExtractionMode : int {
  kExtractUnpairedTest = 1,
  kExtractUnpairedReference = 2,
  kExtractPairedTest = 3,
  kExtractPairedReference = 4,
};

struct ExtractionFolders {
  std::string DataFolder;       // CHP and CEL files
  std::string LibraryFolder;    // CDF files
  std::string ArrayDataFolder;  // .CFH files
};

struct ExtractionRequest {
  std::string ChpFileName;  // as listed: with its extension, without folder
  ExtractionMode Mode = kExtractUnpairedTest;
  std::string PartnerFileName;  // the partner's CHP file name (modes 3 and 4)
};

struct ExtractionResult {
  bool Stored = false;      // the .CFH was written
  std::string SampleName;   // derived from the CHP file name
  std::string OutputPath;   // the .CFH (written or not)
  // What to tell the user; empty after a clean extraction. Every failure has
  // one, and a failure never stores anything.
  std::string Message;
  // An earlier sample file of the name was there; its typed fields were kept
  // (KeepTypedFields) when it could be read.
  bool Replaced = false;
  // Extract without CHP: the SNPs extracted and how many of them the cells
  // gave a call (-1 when the calls came from a CHP file), and why none could
  // be called when none was.
  std::int32_t SnpCount = 0;
  std::int32_t CalledSnps = -1;
  std::string NoCallReason;
};

// Messages, as the user sees them.
inline constexpr const char* kCelFileNotFoundMessage = "Cel file not found\nCel file name should not be modified";
inline constexpr const char* kNoGenotypeCallsMessage = "SNPs call is not performed";
inline constexpr const char* kChpFileNotFoundMessage = "CHP file cannot be found";
inline constexpr const char* kCelStatusUnreadableMessage = "CEL file cannot be found";
inline constexpr const char* kLibraryFileNotFoundMessage = "Indicate the folder that contains Library files";

// The sample name of a CHP file name: the last four characters (the
// extension) dropped, then a trailing ".brlmm-p" or else ".brlmm", in any case.
[[nodiscard]] std::string SampleNameOfChpFile(std::string_view fileName);

// Why `name` cannot be a sample name, or empty: it is empty, or holds "$" or
// a tab (they separate the fields of reference lists and list files) or a
// path separator.
[[nodiscard]] std::string SampleNameProblem(std::string_view name);

// The library file of a chip type, in `libraryFolder`.
[[nodiscard]] std::string LibraryFilePath(const std::string& libraryFolder, const std::string& chipType);

// One sample read and summed but not yet stored: what a worker thread hands
// to the thread that stores.
struct PreparedSample {
  PreparedSample();
  PreparedSample(PreparedSample&&) noexcept;
  PreparedSample& operator=(PreparedSample&&) noexcept;
  ~PreparedSample();

  ExtractionRequest Request;
  ExtractionResult Result;             // Message set when the sample failed
  std::unique_ptr<CArrayData> Sample;  // null after a failure
  // The library file the sums came from (or that could not be read), and
  // its status when it was read (unknown when it could not be taken, or when
  // the sample failed before its library was looked at).
  std::string LibraryPath;
  platform::FileStatus LibraryStatus;
  bool LibraryStatusKnown = false;
};

// Reads one sample's files and sums its intensities. Writes nothing, shows
// nothing and throws nothing, so it may run on any thread; the layouts come
// from `libraries`.
[[nodiscard]] PreparedSample PrepareSampleFiles(const ExtractionRequest& request, const ExtractionFolders& folders,
                                                qova::document::extraction::LibraryLayoutCache& libraries);

// Whether the library file a prepared sample was summed against (or failed
// to read) has changed on disk since: its size or modification time differs.
[[nodiscard]] bool LibraryChangedSince(const PreparedSample& prepared);

// Stores a prepared sample as its .CFH, carrying over what a user typed into
// an earlier file of the name; a failed one is returned as it is. Throws nothing.
[[nodiscard]] ExtractionResult StorePreparedSample(PreparedSample& prepared);

// Extracts one sample. Never throws for a bad or missing file: the result
// says what went wrong.
[[nodiscard]] ExtractionResult ExtractSampleFiles(const ExtractionRequest& request, const ExtractionFolders& folders);
// The same, with the library file's layout taken from `libraries`: the
// samples of one run share one reading of each library file.
[[nodiscard]] ExtractionResult ExtractSampleFiles(const ExtractionRequest& request, const ExtractionFolders& folders,
                                                  qova::document::extraction::LibraryLayoutCache& libraries);
