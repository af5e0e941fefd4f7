#pragma once
// Demo and test array sets: for one array type, a CDF library file, and per
// sample a CEL file and a CHP file, in any of the forms the readers take.
// The samples come from the synthetic-sample model of tools/samplegen
// (planted copy-number segments, LOH, bias, noise), so what an extraction
// reads back from these files is that model's sample and an analysis finds
// what was planted.
//
// How a sample becomes files:
//  - The library file lists one SNP probe set per SNP of the array type, in
//    annotation-table order (SNP set k is table row FirstSnpIndex + k, which
//    is how the extraction matches them), with copy-number and control sets
//    spread between them. Each SNP set has blocks alternating allele A and B,
//    each block a few perfect-match cells, with or without mismatch partners.
//  - In the CEL file the perfect-match cells of one allele share that
//    allele's signal: the signal is rounded to a whole number and split by a
//    fixed per-probe weight, so the cells are whole numbers (exact in every
//    form, the 16-bit ones included) and sum exactly to the rounded signal.
//    Mismatch cells carry a fraction of their partner's signal plus
//    background; every other cell is background.
//  - The CHP file holds, per probe set of the library file, the sample's call
//    (A 6, B 7, AB 8, no call 11) and, as a summary parameter, the called
//    gender from the sample's sex.
// Everything depends only on the seed and the sample names.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ArrayData.h"
#include "core/BasicData.h"
#include "tools/arraywriters/CdfLayout.h"
#include "tools/arraywriters/CelWriters.h"
#include "tools/samplegen/SampleGen.h"

namespace arraygen {

using arraywriters::CelForm;
enum class CdfForm { kText, kXda, kGeneric };
enum class ChpForm { kXda, kOlder, kGeneric };

inline constexpr CdfForm kAllCdfForms[] = {CdfForm::kText, CdfForm::kXda, CdfForm::kGeneric};
inline constexpr ChpForm kAllChpForms[] = {ChpForm::kXda, ChpForm::kOlder, ChpForm::kGeneric};

// Short names for command lines and test names: "text", "xda", "generic",
// "older" (CHP), and for CEL files "text3", "text2", "xda", "bcel", "compact", "generic".
[[nodiscard]] const char* FormName(CdfForm form);
[[nodiscard]] const char* FormName(ChpForm form);
[[nodiscard]] const char* FormName(CelForm form);
[[nodiscard]] bool ParseForm(const std::string& name, CdfForm& form);
[[nodiscard]] bool ParseForm(const std::string& name, ChpForm& form);
[[nodiscard]] bool ParseForm(const std::string& name, CelForm& form);

// Call codes of CHP genotyping records.
inline constexpr std::uint8_t kChpCallA = 6;
inline constexpr std::uint8_t kChpCallB = 7;
inline constexpr std::uint8_t kChpCallAB = 8;
inline constexpr std::uint8_t kChpNoCall = 11;
[[nodiscard]] std::uint8_t ChpCallOf(std::int32_t genotypeCall);

// The library file the extraction looks for: "GenomeWideSNP_5.Full.cdf" for
// that chip, "<chip>.CDF" for every other.
[[nodiscard]] std::string LibraryFileName(const std::string& chipType);

struct LayoutOptions {
  int PerfectMatchCellsPerAllele = 3;  // lists per block
  // 1: blocks A, B; 2: A, B, A, B, the second pair on the other strand.
  int BlockPairs = 1;
  bool MismatchCells = true;
  int CopyNumberSets = 0;  // one cell each, spread among the SNP sets
  int ControlSets = 8;
  // SNP probe sets; -1 for the array type's SNP range. More than the range
  // makes a library file too large for the type.
  std::int32_t SnpSets = -1;
};

// Layouts of about the size of the real chips: few cells for the 10K and
// 100K families, copy-number probe sets on GenomeWideSNP_5 (about 6.5
// million cells in all).
[[nodiscard]] LayoutOptions RealisticLayout(const std::string& arrayType);

// The probe layout of one array type, and the cells of its samples.
class ArrayDesign {
 public:
  // Throws std::invalid_argument for an unknown array type or bad options.
  ArrayDesign(std::string arrayType, std::uint64_t seed, const LayoutOptions& options = {});

  [[nodiscard]] const std::string& ArrayType() const { return arrayType_; }
  [[nodiscard]] const arraywriters::CdfLayout& Layout() const { return layout_; }
  // Layout probe-set index of the k-th SNP probe set.
  [[nodiscard]] const std::vector<std::int32_t>& SnpProbeSets() const { return snpSets_; }
  // The table row SNP set k stands for is FirstSnp() + k.
  [[nodiscard]] std::int32_t FirstSnp() const { return firstSnp_; }

  // The scanned array of `sample` (an extracted sample of this type, as
  // samplegen makes it). SNP sets beyond the sample's range get background.
  [[nodiscard]] arraywriters::CelArray MakeCel(const CArrayData& sample) const;
  // The CHP call code of every probe set of the layout.
  [[nodiscard]] std::vector<std::uint8_t> ChpCalls(const CArrayData& sample) const;

  // Writes the library file; throws std::runtime_error when it cannot.
  void WriteCdf(const std::string& path, CdfForm form) const;

 private:
  std::string arrayType_;
  std::uint64_t seed_;
  std::int32_t firstSnp_ = 0;
  arraywriters::CdfLayout layout_;
  std::vector<std::int32_t> snpSets_;
};

struct SampleFileOptions {
  CelForm Cel = CelForm::kXda;
  ChpForm Chp = ChpForm::kXda;
  // The CHP file is the sample name followed by this (".brlmm-p.CHP" and
  // ".brlmm.CHP" are what the vendor's software writes).
  std::string ChpSuffix = ".CHP";
  // The called gender the CHP file states; by default the sample's sex.
  std::optional<std::string> CalledGender;
  // The summary parameter that carries it ("CalledGender" or "Gender").
  std::string GenderParameter = "CalledGender";
  // A second summary parameter "Gender" with this value, after the first.
  std::optional<std::string> Gender;
};

struct SampleFiles {
  std::string Name;     // sample name
  std::string CelFile;  // file names in the data folder
  std::string ChpFile;
};

// The bytes of `sample`'s CHP file in the form `options` name; `celFile` is
// the parent CEL file it names.
[[nodiscard]] std::string ChpFileBytes(const ArrayDesign& design, const CArrayData& sample, const std::string& celFile,
                                       const SampleFileOptions& options);

// Writes `sample`'s CEL and CHP files into `dataFolder` (created when
// missing); throws std::runtime_error when a file cannot be written.
SampleFiles WriteSampleFiles(const ArrayDesign& design, const std::string& dataFolder, const CArrayData& sample,
                             const SampleFileOptions& options = {});

// A study (a test sample, its paired normal, unrelated references; see
// samplegen::StudySpec) as array files.
struct ArrayStudySpec {
  samplegen::StudySpec Study;
  LayoutOptions Layout;
  bool RealisticLayout = false;  // use RealisticLayout(type) instead of Layout
  CdfForm Cdf = CdfForm::kXda;
  SampleFileOptions Files;
  int Threads = 2;  // samples made at once
};

struct ArrayStudy {
  samplegen::Study Study;
  std::string LibraryFile;           // file name in the library folder
  std::vector<SampleFiles> Samples;  // the test first, then the references in Study order
  std::string ListFile;              // file name in the data folder
};

// The sample-list file of the Extract Data dialog written for a study: the
// test and its paired normal on one line, every other reference with "#REF".
inline constexpr const char* kStudyListFile = "SampleList.txt";

// Writes the library file into `libraryFolder`, every sample's CEL and CHP
// files and the sample-list file into `dataFolder`. `annotation` is the
// family table samplegen needs (datagen::MakeAnnotation).
ArrayStudy WriteArrayStudy(const std::string& dataFolder, const std::string& libraryFolder,
                           const CBasicData& annotation, const ArrayStudySpec& spec);

}  // namespace arraygen
