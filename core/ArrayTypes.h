#pragma once
// The vocabulary of array types: the thirteen chip types the program knows,
// the annotation family each belongs to, and where each type's SNPs sit in its
// family's annotation table. Every table of the program that is indexed by type
// or by family is indexed by the numbers defined here.
#include <array>
#include <cstdint>
#include <string_view>

namespace qova {

inline constexpr int kArrayTypeCount = 13;
inline constexpr int kArrayFamilyCount = 7;

// The most SNPs any sample object holds: the largest family table (534,500)
// with room to spare. The main document's samples are allocated this large,
// so no sample file may claim more.
inline constexpr std::int32_t kSampleSnpCapacity = 540000;

// One annotation family: the chips whose SNPs share one annotation table.
struct ArrayFamilyInfo {
  int family;                  // family index 0..6, the annotation table's index
  const char* annotationFile;  // file name in the data folder
  std::int32_t snpCount;       // rows of the family table = length of a sample's per-SNP arrays
  bool extended;               // rows carry the three extra columns of the newest chip
};

inline constexpr std::array<ArrayFamilyInfo, kArrayFamilyCount> kArrayFamilies{{
    {0, "BasicDataXba131.dtt", 11560, false},
    {1, "BasicDataXba142.dtt", 10204, false},
    {2, "BasicData100K.dtt", 116204, false},
    {3, "BasicData500KMendel.dtt", 534500, false},
    {4, "BasicData500K.dtt", 500568, false},
    {5, "BasicDataAgilent244K.dtt", 236424, false},
    {6, "BasicDataSNP_5.dtt", 500446, true},
}};

// One chip type. The single arrays of a two-array set own a sub-range of their
// family table; the combined types ("...+...") and the other single types
// start at row 0. Rows are inclusive: firstSnp..lastSnp.
struct ArrayTypeInfo {
  int type;               // type index 0..12
  const char* name;       // the chip's name as the array files give it (case matters)
  int family;             // index into kArrayFamilies
  std::int32_t firstSnp;  // first row of the type in its family table
  std::int32_t lastSnp;   // last row of the type (inclusive)
  std::int32_t snpCount;  // rows of the family table (equal for every type of a family)
};

inline constexpr std::array<ArrayTypeInfo, kArrayTypeCount> kArrayTypes{{
    {0, "Mapping10K_Xba131", 0, 0, 11559, 11560},
    {1, "Mapping10K_Xba142", 1, 0, 10203, 10204},
    {2, "Mapping50K_Hind240", 2, 0, 57243, 116204},
    {3, "Mapping50K_Xba240", 2, 57244, 116203, 116204},
    {4, "Mapping50K_Hind+Xba", 2, 0, 116203, 116204},
    {5, "Mendel_Sty", 3, 0, 267268, 534500},
    {6, "Mendel_Nsp", 3, 267269, 534499, 534500},
    {7, "Mendel_Sty+Nsp", 3, 0, 534499, 534500},
    {8, "Mapping250K_Sty", 4, 0, 238303, 500568},
    {9, "Mapping250K_Nsp", 4, 238304, 500567, 500568},
    {10, "Mapping250K_Sty+Nsp", 4, 0, 500567, 500568},
    {11, "Agilent244K", 5, 0, 236423, 236424},
    {12, "GenomeWideSNP_5", 6, 0, 500445, 500446},
}};

// The type of an exact (case-sensitive) name, or nullptr for a name the
// program does not know.
[[nodiscard]] const ArrayTypeInfo* FindArrayType(std::string_view name);

}  // namespace qova

// The type index 0..12 of a chip name; a name not in the list gives 0.
[[nodiscard]] int ArrayTypeIndex(std::string_view name);
// The family index 0..6 of a chip name; a name not in the list gives 0.
[[nodiscard]] int ArrayClassIndex(std::string_view name);
