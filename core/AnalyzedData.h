#pragma once
// One analysed sample: the header, eleven per-SNP result arrays (in position
// order), two summary values and the sample's marker regions. A self-reference
// analysis is stored as .CFS, a non-self one as .CFN, or as .CFA when it also
// ran the allele-specific steps.
//
// The files (archive encoding):
//   1  header block (SampleHeader.h, analysed-sample rules)
//   2  marker count M (int32), then M regions            only in version "1.001"
//   3  IsSelf                                            bool
//   4  AnalysisArrayType                                 string
//   5  for i = FirstSnpIndex..LastSnpIndex, one record:
//        self (IsSelf):   LogRatioA, LogRatioB, LogRatio (float); CopyNumberState,
//                         AlleleStateA, AlleleStateB, ValidFlag, CallTest,
//                         CallReference (int32)                           36 bytes
//        non-self (.CFN): LogRatio (float); CopyNumberState, ValidFlag,
//                         CallTest (int32); LohLikelihood (float)          20 bytes
//        non-self allele (.CFA): the nine self fields, then LohLikelihood  40 bytes
//   6  SampleSD, MeanState                               2 floats
//
// Nothing in a non-self file says which of its two layouts it has; the file's
// kind (its extension) does. So every reader and writer takes the kind from
// its caller instead of from the allele-specific setting, which the user can
// switch while files of the other kind exist.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/MarkerRegion.h"
#include "core/SampleHeader.h"
#include "platform/Archive.h"
#include "platform/Types.h"

class CArrayData;

// What an analysis produced, and so which arrays a sample has and which
// record layout its file uses.
enum class AnalysisKind {
  Self,           // .CFS: allele arrays, no LOH likelihood
  NonSelf,        // .CFN: total signal only, with LOH likelihood
  NonSelfAllele,  // .CFA: allele arrays and LOH likelihood
};

// ".CFS", ".CFN" or ".CFA".
[[nodiscard]] const char* AnalysisFileExtension(AnalysisKind kind);
// The kind a file name's extension gives (any case), or nothing for another
// extension.
[[nodiscard]] std::optional<AnalysisKind> AnalysisKindOfFile(std::string_view fileName);
// The kind of a non-self result with the allele-specific switch on or off.
[[nodiscard]] AnalysisKind NonSelfAnalysisKind(bool alleleSpecific);

class CAnalyzedData {
 public:
  // Bytes of one per-SNP record in each layout.
  static constexpr int kSelfRecordSize = 36;
  static constexpr int kNonSelfRecordSize = 20;
  static constexpr int kNonSelfAlleleRecordSize = 40;

  // An empty sample: default header, no arrays, no markers.
  CAnalyzedData() = default;
  // The result of analysing `source` as `kind`: its header and markers, its
  // array type, arrays for its SnpCount with every SNP valid.
  CAnalyzedData(const CArrayData& source, AnalysisKind kind);

  // Frees the arrays, then gives the arrays that `kind` uses room for n SNPs,
  // all zero but ValidFlag, which is 1. The others stay absent (empty).
  void Allocate(std::int32_t n, AnalysisKind kind);
  // All eleven arrays at the full sample capacity, ValidFlag 1: such an object
  // can load every file the program writes.
  void AllocateMax();
  // Empties the markers and releases every array.
  void FreeArrays();

  // Stores, or loads into the existing arrays (growing those the file's layout
  // needs when they are too small), by the archive's mode. `kind` is the
  // file's kind; only a non-self sample's layout depends on it.
  //
  // Storing sets Version to "1.001", refuses a header whose ranges do not fit
  // its type, or arrays that the layout needs but lack, before writing
  // anything, and then refreshes the open documents that show this sample.
  //
  // Loading with headerOnly reads the header block and nothing else. A whole
  // load checks that the file holds every record before it changes anything,
  // replaces the markers (an older file has none), and rebuilds
  // EditedCopyNumberState. Errors are the archive's: end-of-file for a file
  // that ends early, CDataFormatException for ranges that do not fit.
  void SerializeSample(CArchive& ar, AnalysisKind kind, BOOL headerOnly);
  // Loads a whole file as SerializeSample does, but first replaces the arrays
  // by exactly those the file's layout fills, sized for its SnpCount. Storing
  // through it does nothing.
  void Serialize(CArchive& ar, AnalysisKind kind);

  // Writes the whole sample to `path`, replacing the file atomically; the
  // extension gives the layout (anything but .CFA is written as .CFN when the
  // sample is not a self result).
  void StoreFile(const std::string& path);
  // Reads `path` (the header only, or everything into the existing arrays);
  // the extension gives the layout.
  void LoadFile(const std::string& path, bool headerOnly = false);
  // Reads the whole of `path` into arrays made for it.
  void LoadFileAllocating(const std::string& path);

  // Sets EditedCopyNumberState to CopyNumberState over the sample's range and
  // lays the HMM-state marker regions over it, later regions winning; regions
  // are cut to the range and reversed or outside ones are skipped.
  void RebuildEditedCopyNumberState();

  SampleHeader Header;
  std::vector<float> LogRatioA;        // log2 ratio of allele A, test against reference
  std::vector<float> LogRatioB;        // log2 ratio of allele B
  std::vector<float> LogRatio;         // log2 ratio of the total signal A+B
  std::vector<std::int32_t> CopyNumberState;  // total HMM state 0..6
  std::vector<std::int32_t> AlleleStateA;     // allele HMM state 0..4
  std::vector<std::int32_t> AlleleStateB;
  std::vector<std::int32_t> ValidFlag;        // 1 = SNP used by the analysis
  std::vector<std::int32_t> CallTest;         // GenotypeCall of the test sample
  std::vector<std::int32_t> CallReference;    // GenotypeCall of the reference; AB marks the SNPs the allele steps use
  std::vector<float> LohLikelihood;
  // CopyNumberState with the HMM-state marker regions laid over it; what the
  // views show. Rebuilt on every load, never stored.
  std::vector<std::int32_t> EditedCopyNumberState;
  float SampleSD = 0.0f;   // SD of the total log2 ratio over the base range
  float MeanState = 0.0f;  // mean copy-number state over the autosomes
  bool IsSelf = false;     // analysed against the self reference
  std::string AnalysisArrayType;  // array type of the extracted sample analysed
  bool WorkFlag = false;   // copied with the object, never stored
  MarkerRegionList Markers;

 private:
  void Store(CArchive& ar, AnalysisKind kind);
  void Load(CArchive& ar, AnalysisKind kind, bool headerOnly, bool allocate);
};
