#pragma once
// The chromosome bands of the human genome: position range, stain and band
// number of each band, grouped by chromosome, and once mapped to an array type
// the SNP index range that falls into each band.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Types.h"

class CArchive;
class CBasicData;
class CDC;

class CCytoband {
 public:
  // Chromosome entries 1..23 (23 = X); entry 24 follows the last chromosome.
  static constexpr int kChromosomeSlots = 25;
  static constexpr int kLastChromosome = 23;
  // The old text table is read into this many slots.
  static constexpr int kOldTextBandSlots = 851;
  // Bit of a band code that marks the short arm p.
  static constexpr int kShortArmBit = 4096;
  // Height of a drawn band, in logical units.
  static constexpr int kBandHeight = 70;
  static constexpr int kStainClasses = 8;

  // Loads "data\Cytoband.dtt" below the start folder, or the old text table
  // "data\cytoband2.txt"; shows "cytoband data cannot be loaded" and returns
  // FALSE when neither can be read.
  BOOL Load();
  // Loads from an explicit data folder (the start folder's "data" folder in Load).
  BOOL LoadFrom(const std::string& dataFolder);
  // Reads or writes the "Cytoband.dtt" layout. Loading validates what it reads
  // and throws CArchiveException (badFormat) for a table that does not hold together.
  void Serialize(CArchive& ar);
  void Copy(const CCytoband& source);
  void Free();

  // Fills BandFirstSnp/BandLastSnp. `starts` is the type's row of the chromosome
  // start table (entries 1..24); `positionOfSnp` gives the base-pair position of
  // a SNP index (through the annotation's order maps).
  BOOL MapToSnps(const int* starts, const std::function<std::int64_t(int snp)>& positionOfSnp);
  // The same for array type `type` with the annotation table of its family:
  // a SNP's position is that of its annotation row (through SortMap for the
  // combined types). A table without rows for every SNP of the starts maps no
  // band (each gets Last = First - 1) and gives FALSE.
  BOOL MapToSnps(int type, const int* starts, const CBasicData& table);

  // Draws the bands of `chromosome` as rectangles kBandHeight high from
  // `yTop`, in the stain colours: across their SNP runs (after MapToSnps), or
  // with byPosition across their positions in units of 10 bases. `xOffset` is
  // added to both ends; a band without SNPs is not drawn in SNP mode. The
  // context's pen and brush are left as they were.
  void Draw(CDC* dc, int chromosome, int xOffset, int yTop, BOOL byPosition) const;

  // The label of the band of `chromosome` that holds `value` (a SNP index, or a
  // position in units of 10 bases when byPosition); empty when none holds it.
  void GetBandName(std::string& name, int chromosome, int value, BOOL byPosition) const;
  static void FormatBandName(std::string& name, int code);
  [[nodiscard]] static int EncodeBand(bool shortArm, int major, int minor) {
    return (shortArm ? kShortArmBit : 0) + major * 64 + minor;
  }

  // Stain colours, index = stain class (0x00BBGGRR).
  static const std::uint32_t kStainColors[kStainClasses];

  int BandCount = 0;
  std::vector<std::int32_t> BandStart;
  std::vector<std::int32_t> BandEnd;
  std::vector<std::int32_t> BandStain;
  std::vector<std::int32_t> BandCode;
  std::vector<std::int32_t> BandFirstSnp;
  std::vector<std::int32_t> BandLastSnp;
  std::int32_t ChromosomeFirstBand[kChromosomeSlots] = {};

 private:
  void Reallocate(int count);
  BOOL LoadOldText(const std::string& path);
  [[nodiscard]] bool HasChromosome(int chromosome) const;
};
