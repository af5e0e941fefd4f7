#pragma once
// A case/control comparison of two groups of samples by SNP: every sample's
// genotype calls, read from its CHP file, and per SNP an allelic chi-square
// statistic with an empirical P value from 10,000 label permutations. It is
// the whole content of an association document, which creates it empty,
// fills the two name lists and the array type, has it read the calls, runs
// the test on a menu command, and opens and saves it as an .AAD file.
//
// The .AAD file (archive encoding, little-endian):
//   1  version                 archive string, "1.000" (not checked on loading)
//   2  number of cases n1      int32
//   3  case names              n1 archive strings
//   4  number of controls n2   int32
//   5  control names           n2 archive strings
//   6  array type              archive string, one of the thirteen type names
//   7  calls                   per sample (cases first) N bytes, positions 0..N-1
//   8  per-SNP results         per position: valid int32, chiSquare, pValue,
//                              reserved1, reserved2 (float each)
// N is the SNP count of the array type. The null histogram is not stored.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Types.h"

class CArchive;
class CGlobalData;

class AssociationData {
 public:
  static constexpr const char* kVersion = "1.000";
  static constexpr int kPermutations = 10000;

  // Empty lists and strings, no arrays. The settings and annotation tables
  // are read from `global` when the calls are read.
  explicit AssociationData(const CGlobalData& global);

  // Frees every array and empties both name lists; run it before changing
  // the lists.
  void FreeArrays();

  // Fills the calls of both lists from their CHP files (data folder + name),
  // through the array type's library file. False at once, with nothing
  // allocated and nothing shown, when the library file is missing; false when
  // the user cancels (no arrays are kept). A CHP file that cannot be read is
  // reported with "SNPs call is not performed" and keeps zero calls.
  [[nodiscard]] bool ReadGenotypeCalls();

  // The array type recorded in the header of CHP file `path`, as the file
  // holds it. False when no registered reader reads the file.
  [[nodiscard]] static bool ReadChpChipType(const std::string& path, std::u16string& chipType);

  // Computes valid, chiSquare and pValue: the observed allelic chi-square of
  // every SNP and its P value against the permuted statistics of all valid
  // SNPs, pooled. The permutations run in batches; Cancel keeps the first
  // batch and drops a later one still running, and the P values then come
  // from the permutations of the batches completed. Always true.
  bool PermutationTest();

  // Stores, or loads (by the archive's direction). A load reads into a fresh
  // object and replaces this one only when the whole file was good; a bad
  // file throws CArchiveException (CDataFormatException for contents that do
  // not fit) naming the file.
  void Serialize(CArchive& ar);

  // True once calls and per-SNP arrays exist (after a read or a load).
  [[nodiscard]] bool HasArrays() const { return !valid.empty(); }
  // The type's SNP count, 0 for a name that is not one of the thirteen.
  [[nodiscard]] std::int32_t SnpCount() const;

  std::vector<std::string> caseNames;
  std::vector<std::string> controlNames;
  std::string arrayType;
  std::vector<std::int32_t> nullHistogram;  // kNullBins counts once allocated
  std::vector<float> chiSquare;
  std::vector<float> pValue;
  std::vector<float> reserved1;  // stored and loaded, never computed (0)
  std::vector<float> reserved2;
  std::vector<std::int32_t> valid;
  std::string version = kVersion;
  // One array of SnpCount() calls per sample, cases first: 0 no call, 1 AA,
  // 2 AB, 3 BB.
  std::vector<std::vector<std::uint8_t>> calls;

  // Worker threads of the permutation test; 0 means one per core. Any number
  // gives the same results.
  int workerThreads = 0;
  // Permutations drawn and counted per batch; 0 makes the first batch a
  // fraction of a second and the later ones 2,000 permutations.
  int permutationBatch = 0;

 private:
  // Gives every array its size for SnpCount() SNPs and the listed samples, all zero.
  void AllocateArrays();
  // Frees every array; the lists stay.
  void ReleaseArrays();
  void Store(CArchive& ar) const;
  void Load(CArchive& ar);

  const CGlobalData* global_;
};
