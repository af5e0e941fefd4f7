#pragma once
// Generated data folders: annotation tables for any array family that look
// like the vendor's (SNPs on the real hg17 chromosomes, ascending per
// chromosome in the order the chromosome-start tables give, plausible fragment
// lengths, GC contents and heterozygosities, unique SNP ids and rs numbers),
// next to the shipped cytoband table. Output depends only on the seed.
#include <cstdint>
#include <string>
#include <vector>

#include "core/BasicData.h"

namespace datagen {

inline constexpr std::uint64_t kDefaultSeed = 20070809;

// hg17 chromosome lengths in bases, entry c for chromosome c (1..22, 23 = X,
// 24 = Y); entry 0 is 0. The build of the genome tables and the band table.
inline constexpr std::int32_t kHg17ChromosomeLength[25] = {
    0,         245522847, 243018229, 199505740, 191411218, 180857866, 170975699, 158628139, 146274826,
    138429268, 135413628, 134452384, 132449811, 114142980, 106368585, 100338915, 88827254,  78774742,
    76117153,  63811651,  62435964,  46944323,  49554710,  154824264, 57701691,
};

// The longest position a generated SNP of chromosome c (1..23) may have: the
// shorter of the hg17 length and the chromosome's length on the views' genome
// axis, so every SNP lies both on the chromosome and in its column. For the
// SNPs after X (chromosome 24, no chromosome of the program) the hg17 length
// of Y.
[[nodiscard]] std::int32_t UsableChromosomeLength(int chromosome);

// The annotation table of family 0..6, with Capacity() rows = the family's
// SNP count. Rows are in table order: each single array type owns its rows
// (firstSnp..lastSnp) ordered by vendor SNP id, so IndexMap is a true
// permutation. Throws std::invalid_argument for another family.
[[nodiscard]] CBasicData MakeAnnotation(int family, std::uint64_t seed = kDefaultSeed);

// The file name of family `family`'s table in a data folder.
[[nodiscard]] std::string AnnotationFileName(int family);

// Writes the tables of `families` and copies of the cytoband and known-genes
// tables into `folder` (created when missing), in the program's file names; a program
// started in F finds them in F/data/. Each family's table depends only on the
// seed and the family. `cytobandTable` is the table to copy (default: the one
// this build ships). Throws std::invalid_argument for a family outside 0..6,
// CFileException or CArchiveException when a file cannot be written.
void WriteDataFolder(const std::string& folder, const std::vector<int>& families,
                     std::uint64_t seed = kDefaultSeed, const std::string& cytobandTable = {});

// Every family, 0..6.
[[nodiscard]] std::vector<int> AllFamilies();

// The cytoband table shipped with this build.
[[nodiscard]] std::string ShippedCytobandPath();
// The known-genes table shipped with this build.
[[nodiscard]] std::string ShippedKnownGenesPath();

}  // namespace datagen
