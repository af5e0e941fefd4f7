#pragma once
// The header that stands first in every sample object and every sample file
// (.CFH, .CFS, .CFN, .CFA), and the rules by which the sample serialisers
// write and read it.
//
// On disk, in this order (archive encoding, little-endian):
//   1  Version, SampleName, ArrayType                         3 strings
//   2  IsTest                                                 int32
//   3  Attribute1..Attribute5, Sex                            6 strings
//   4  CreateTime                                             time
//   5  NonSelfBaseRange                                       4 x int32
//   6  SelfBaseRange                                          4 x int32 (see the version rules)
//   7  SnpCount, FirstSnpIndex, LastSnpIndex,
//      LastAutosomeSnpIndex, IsPaired                         5 x int32, in this order
//   8  SelfReference                                          string
//   9  SaveTime                                               time
//  10  RefCandidateCount                                      int32
//  11  RefCandidates                                          string
//  12  NonSelfReferenceCount                                  int32
//  13  NonSelfReferences                                      string
//  14  SelfAnalyzed, Combined                                 2 bools
//  15  HmmMeans[k], HmmSdFactors[k] for k = 0..6              14 floats, interleaved
//  16  AlleleHmmMeans[k], AlleleHmmSdFactors[k], k = 0..4     10 floats, interleaved (see the version rules)
// WorkValue and LastXSnpIndex live in memory only.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ArchiveChecks.h"
#include "platform/Archive.h"
#include "platform/Time.h"

// The version every store writes. Older files carry an empty or another text.
inline constexpr const char* kSampleFileVersion = "1.001";

inline constexpr int kHmmStateCount = 7;        // total copy-number states 0..6
inline constexpr int kAlleleHmmStateCount = 5;  // allele states 0..4

// The model parameters a new sample starts with, by state.
inline constexpr std::array<float, kHmmStateCount> kDefaultHmmMeans{-1.24f, -0.49f, 0.0f, 0.3f,
                                                                   0.657f, 0.899f, 2.5f};
inline constexpr std::array<float, kHmmStateCount> kDefaultHmmSdFactors{2.361f, 1.405f, 1.0f, 0.776f,
                                                                       0.634f, 0.536f, 0.465f};
inline constexpr std::array<float, kAlleleHmmStateCount> kDefaultAlleleHmmMeans{-0.7f, 0.0f, 0.5f, 0.7f,
                                                                               2.0f};
inline constexpr std::array<float, kAlleleHmmStateCount> kDefaultAlleleHmmSdFactors{1.6f, 1.0f, 0.7f,
                                                                                   0.634f, 0.4f};

// A base range: the SNPs over which an analysis takes its SD and baseline.
enum BaseRangeItem { kBaseFirstSnp = 0, kBaseLastSnp = 1, kBaseMode = 2, kBaseCopyNumber = 3 };

struct SampleHeader {
  std::string Version;
  std::string SampleName;  // the file name without extension
  std::string ArrayType;   // one of the thirteen chip names
  std::int32_t IsTest = 0; // 1 test sample, 0 reference sample
  std::string Attribute1, Attribute2, Attribute3, Attribute4, Attribute5;
  std::string Sex;         // "M", "F" or empty
  CTime CreateTime;
  // {first SNP, last SNP, baseline mode, copy number N}; mode 1 takes the
  // baseline from the total HMM means, 2 from allele A, anything else from B.
  std::array<std::int32_t, 4> NonSelfBaseRange{};
  std::array<std::int32_t, 4> SelfBaseRange{};
  std::int32_t WorkValue = 0;   // carried and copied, never stored
  std::int32_t IsPaired = 0;    // 1 when extracted as one of a test/reference pair
  std::string SelfReference;    // the other sample of the pair
  CTime SaveTime;               // last store of the extracted sample
  std::int32_t RefCandidateCount = 0;
  std::string RefCandidates;    // names, each followed by "$"
  std::int32_t NonSelfReferenceCount = 0;
  std::string NonSelfReferences;  // names separated by "$"
  std::int32_t FirstSnpIndex = 0;         // first row of the array type in its family table
  std::int32_t LastSnpIndex = 0;          // last row of the array type (inclusive)
  std::int32_t LastAutosomeSnpIndex = 0;  // last row of chromosome 22
  std::int32_t LastXSnpIndex = 0;         // last row of chromosome X; memory only
  std::int32_t SnpCount = 0;              // length of every per-SNP array of the sample
  bool SelfAnalyzed = false;
  bool Combined = false;  // combined from two arrays: positions go through the annotation's SortMap
  std::array<float, kHmmStateCount> HmmMeans = kDefaultHmmMeans;
  std::array<float, kHmmStateCount> HmmSdFactors = kDefaultHmmSdFactors;
  std::array<float, kAlleleHmmStateCount> AlleleHmmMeans = kDefaultAlleleHmmMeans;
  std::array<float, kAlleleHmmStateCount> AlleleHmmSdFactors = kDefaultAlleleHmmSdFactors;

  void SetDefaultHmmParameters();
  void SetDefaultAlleleHmmParameters();

  friend bool operator==(const SampleHeader&, const SampleHeader&) = default;
};

// Which sample file a header block belongs to; the two differ in when the
// self-reference base range is present.
enum class SampleFileKind {
  Extracted,  // .CFH: the self base range is always there
  Analyzed,   // .CFS/.CFN/.CFA: only in version "1.001" files
};

// Version rules for reading (a byte-wise compare of Version):
//  - "1.001": every item is present.
//  - The self base range (item 6) is absent from analysed files of any other
//    version; it then takes first SNP, last SNP and mode from NonSelfBaseRange
//    and keeps its copy number N.
//  - The allele pairs (item 16) are absent in any other version; the allele
//    parameters are then the defaults. (They never carry over from whatever
//    sample the object held before: that would attach one sample's model to
//    another.)
[[nodiscard]] bool HasSelfBaseRange(SampleFileKind kind, const std::string& version);
[[nodiscard]] bool HasAllelePairs(const std::string& version);

// Whether the sample is analysed against its paired sample: only a test
// sample is, never the normal of the pair, which names its tumour too.
[[nodiscard]] bool IsSelfAnalysable(const SampleHeader& header);

// Whether `sex` is a value the program uses for the header's Sex: "M", "F" or
// empty (not determined), exactly so.
[[nodiscard]] bool IsSexValue(const std::string& sex);

// Why a header's SNP ranges do not fit its array type (or the sample capacity),
// or empty when they do. Stores and loads refuse such headers: the ranges index
// every per-SNP array and the family's annotation table.
[[nodiscard]] std::string SampleRangeProblem(const SampleHeader& header);

// One non-self reference as the header lists it: its score as written
// ("0.123456"), empty in a list of names alone, and its sample name.
struct NonSelfReference {
  std::string Score;
  std::string Name;
};

// The non-self references the header lists, at most NonSelfReferenceCount of
// them. The reference selection writes each as its score and its name
// ("0.123456$S07$"); a list of names alone (the older candidate lists) is
// read as it stands. Every reader of the stored list reads it here.
[[nodiscard]] std::vector<NonSelfReference> NonSelfReferenceList(const SampleHeader& header);
// The names of that list.
[[nodiscard]] std::vector<std::string> NonSelfReferenceNames(const SampleHeader& header);

// Writes items 1-16 after setting Version to "1.001". A header whose ranges
// do not fit raises CDataFormatException before anything is written.
void WriteSampleHeader(CArchive& ar, SampleHeader& header);

// Reads a header block into `header` under the version rules. The fields never
// stored (WorkValue, LastXSnpIndex) keep their values. The header is validated
// before it replaces `header`: a truncated block raises the archive's
// end-of-file error and a misfit one CDataFormatException, and in both cases
// `header` is left as it was.
void ReadSampleHeader(CArchive& ar, SampleHeader& header, SampleFileKind kind);
