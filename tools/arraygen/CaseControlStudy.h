#pragma once
// Case/control studies for the association test: genotype calls of two
// groups of samples of one array type, with a chosen set of SNPs whose
// allele frequency differs between the groups, written as a library file
// and one CHP file per sample.
//
// Every SNP position gets a B-allele frequency between 0.1 and 0.5; a
// sample's genotype follows Hardy-Weinberg proportions for it, and a small
// share of calls are no calls. At the associated SNPs the cases' frequency is
// raised by a chosen amount. Everything depends only on the seed.
#include <cstdint>
#include <string>
#include <vector>

#include "core/BasicData.h"
#include "tools/arraygen/ArrayGen.h"

namespace arraygen {

struct CaseControlSpec {
  std::string ArrayType = "Mapping10K_Xba142";
  std::uint64_t Seed = 1;
  int Cases = 100;
  int Controls = 100;
  int AssociatedSnps = 20;
  double FrequencyRaise = 0.3;  // added to the cases' B-allele frequency
  double NoCallShare = 0.01;
  LayoutOptions Layout;  // SnpSets is the type's range
  CdfForm Cdf = CdfForm::kXda;
  // The forms of the CHP files, taken in turn over the samples.
  std::vector<ChpForm> ChpForms = {ChpForm::kXda};
  std::string ChpSuffix = ".CHP";
  int Threads = 2;  // CHP files written at once
};

// The calls of a study in position order (the order of the association's
// per-SNP arrays): 0 no call, 1 AA, 2 AB, 3 BB.
struct CaseControlCalls {
  std::vector<std::int32_t> Associated;         // positions, ascending, among the type's tested SNPs
  std::vector<std::vector<std::uint8_t>> Calls;  // per sample, cases first, the family's SNP count each
};

// Throws std::invalid_argument for an unknown type or counts out of range.
[[nodiscard]] CaseControlCalls MakeCaseControlCalls(const CaseControlSpec& spec);

struct CaseControlStudy {
  CaseControlCalls Genotypes;
  std::string LibraryFile;                // file name in the library folder
  std::vector<std::string> CaseFiles;     // CHP file names in the data folder
  std::vector<std::string> ControlFiles;
};

// Writes the library file into `libraryFolder` and the CHP files into
// `dataFolder`. `annotation` is the family table (datagen::MakeAnnotation),
// whose IndexMap puts each position's call in its table row, the row of the
// CHP file the association reads it from. Throws std::runtime_error when a
// file cannot be written.
CaseControlStudy WriteCaseControlStudy(const std::string& dataFolder, const std::string& libraryFolder,
                                       const CBasicData& annotation, const CaseControlSpec& spec);

}  // namespace arraygen
