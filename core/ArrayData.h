#pragma once
// One extracted sample: the header, per SNP the summed perfect-match
// intensities of allele A and B, the genotype call and a spare flag byte, and
// the sample's marker regions. Per-SNP arrays are in annotation-table order.
//
// The .CFH file (archive encoding):
//   1  header block (SampleHeader.h, extracted-sample rules)
//   2  marker count M (int32)                         only in version "1.001"
//   3  M regions, 4 x int32 each                      only in version "1.001"
//   4  for i = FirstSnpIndex..LastSnpIndex:
//      SignalA[i] float, SignalB[i] float, Call[i] int32, SpareFlag[i] bool   13 bytes
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/MarkerRegion.h"
#include "core/SampleHeader.h"
#include "platform/Archive.h"
#include "platform/Time.h"
#include "platform/Types.h"

// Genotype calls as the sample files hold them.
enum GenotypeCall : std::int32_t { kCallNone = 0, kCallA = 1, kCallAB = 2, kCallB = 3 };

// The five numbers the extraction constructor takes from the array-type
// tables, in this order.
enum ArrayTypeInfoItem {
  kTypeInfoFirstSnp = 0,
  kTypeInfoLastSnp = 1,
  kTypeInfoLastSnpX = 2,
  kTypeInfoLastSnpAutosomes = 3,
  kTypeInfoSnpCount = 4,
};
using ArrayTypeInfoValues = std::array<std::int32_t, 5>;

class CArrayData {
 public:
  // Bytes of one per-SNP record in a .CFH file.
  static constexpr int kSnpRecordSize = 13;

  // An empty sample: default header, no arrays, no markers.
  CArrayData() = default;
  // An empty sample with room for `snpCount` SNPs (all zero).
  explicit CArrayData(std::int32_t snpCount);
  // A new sample of an array type, as the extraction makes it: ranges from
  // `typeInfo`, both base ranges {first SNP, last autosome SNP, mode 1, N 2},
  // SaveTime now, default HMM parameters, arrays for the type's SNP count.
  CArrayData(const std::string& sampleName, const std::string& arrayType, const ArrayTypeInfoValues& typeInfo,
             CTime createTime);

  // Empties the markers and gives the four arrays room for n SNPs (all zero).
  void Allocate(std::int32_t n);
  // SNPs the arrays have room for.
  [[nodiscard]] std::int32_t Capacity() const { return static_cast<std::int32_t>(SignalA.size()); }

  [[nodiscard]] std::string GetSampleName() const { return Header.SampleName; }
  [[nodiscard]] std::string GetArrayType() const { return Header.ArrayType; }
  [[nodiscard]] std::string GetAttribute1() const { return Header.Attribute1; }
  [[nodiscard]] std::string GetAttribute2() const { return Header.Attribute2; }
  [[nodiscard]] std::string GetAttribute3() const { return Header.Attribute3; }
  [[nodiscard]] std::string GetAttribute4() const { return Header.Attribute4; }
  [[nodiscard]] std::string GetAttribute5() const { return Header.Attribute5; }
  [[nodiscard]] std::string GetSelfReference() const { return Header.SelfReference; }
  [[nodiscard]] std::string GetNonSelfReferences() const { return Header.NonSelfReferences; }
  [[nodiscard]] SampleHeader GetHeader() const { return Header; }
  void SetSelfReference(const std::string& name) { Header.SelfReference = name; }
  // The caller keeps NonSelfReferenceCount in step.
  void SetNonSelfReferences(const std::string& names) { Header.NonSelfReferences = names; }

  // Stores or loads by the archive's mode: withHeader covers the header block,
  // withData the markers and the per-SNP records. A header and a data pass may
  // follow each other on one loading archive; the data pass then goes by the
  // Version already in the object.
  //
  // Storing sets SaveTime to now and Version to "1.001" (even without the
  // header), refuses a header whose ranges do not fit its type or arrays too
  // small for them before writing anything, and, after a store that wrote the
  // header, refreshes the open documents that show this sample.
  //
  // Loading validates the header's ranges against the array type before it
  // touches the object; the arrays grow to SnpCount when they are smaller.
  // Errors are the archive's: end-of-file for a file that ends early,
  // CDataFormatException for ranges that do not fit.
  void SerializeSample(CArchive& ar, BOOL withData, BOOL withHeader);
  // The whole file, header and data.
  void Serialize(CArchive& ar) { SerializeSample(ar, TRUE, TRUE); }

  // Writes the whole sample to `path`, replacing the file atomically.
  void StoreFile(const std::string& path);
  // Reads `path`: the header, and the rest when withData.
  void LoadFile(const std::string& path, bool withData = true);

  SampleHeader Header;
  std::vector<float> SignalA;
  std::vector<float> SignalB;
  std::vector<std::int32_t> Call;      // GenotypeCall
  std::vector<std::uint8_t> SpareFlag; // stored and copied, never interpreted; 0 or 1
  std::int32_t MarkerCount = 0;        // the marker count as last read from a file
  MarkerRegionList Markers;

 private:
  void Store(CArchive& ar, bool withData, bool withHeader);
  void Load(CArchive& ar, bool withData, bool withHeader);
  void WriteSnpRecords(CArchive& ar) const;
  void ReadSnpRecords(CArchive& ar);
};
