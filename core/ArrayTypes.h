#pragma once
// The vocabulary of array types: the thirteen chip types the program knows,
// the annotation family each belongs to, and where each type's SNPs sit in its
// family's annotation table. Every table of the program that is indexed by type
// or by family is indexed by the numbers defined here.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qova::core {

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

// Entries of a per-type chromosome table: 1..22 the autosomes, 23 X, and 24
// one past the last SNP of X. Entry 0 holds no chromosome and is 0.
inline constexpr int kChromosomeTableSlots = 25;

// Per array type, entry c (1..23) is the SNP index of the first SNP of
// chromosome c in a sample's per-SNP arrays (position order), and entry 24 is
// one past the last SNP of X. SNP indexes from entry 24 up to the type's
// lastSnp belong to no chromosome. The single arrays of a two-array set count
// from their own firstSnp; the combined type's chromosome c holds the SNPs of
// both arrays on c.
inline constexpr std::int32_t kArrayChromosomeStarts[kArrayTypeCount][kChromosomeTableSlots] = {
    {0, 0, 877, 1829, 2634, 3438, 4208, 4994, 5576, 6129, 6666, 7268, 7902, 8442, 8929, 9326, 9653, 9911, 10097, 10441, 10539, 10761, 10957, 11037, 11344},  // 0
    {0, 0, 769, 1604, 2307, 3003, 3695, 4388, 4901, 5373, 5856, 6384, 6932, 7408, 7844, 8198, 8480, 8706, 8872, 9178, 9327, 9530, 9695, 9769, 10032},  // 1
    {0, 0, 4542, 9610, 13565, 17911, 22123, 26082, 29518, 33068, 35421, 38160, 40624, 43201, 45852, 47780, 49219, 50362, 51346, 53071, 53397, 54388, 55267, 55700, 56859},  // 2
    {0, 57244, 61902, 67173, 71032, 75249, 79394, 83494, 87099, 90517, 92946, 95880, 98769, 101445, 104008, 106087, 107677, 108912, 109883, 111718, 112082, 113184, 114206, 114534, 115738},  // 3
    {0, 0, 9200, 19539, 27353, 35916, 44273, 52332, 59373, 66341, 71123, 76796, 82149, 87402, 92616, 96623, 99652, 102030, 103985, 107545, 108235, 110328, 112229, 112990, 115353},  // 4
    {0, 0, 22624, 44058, 61318, 75990, 92415, 108387, 121754, 135708, 147889, 163549, 178073, 191356, 200333, 208688, 216835, 225950, 233166, 240612, 244827, 252596, 256130, 260420, 266441},  // 5
    {0, 267269, 287371, 309742, 328402, 347449, 364803, 382181, 396177, 411237, 423398, 437911, 451359, 464400, 475576, 483808, 490935, 498118, 503086, 511350, 514133, 520163, 524166, 526851, 533624},  // 6
    {0, 0, 42726, 86531, 122451, 156170, 189949, 223299, 250662, 279676, 304018, 334191, 362163, 388487, 408640, 425227, 440501, 456799, 468983, 484693, 491691, 505490, 513027, 520002, 532796},  // 7
    {0, 0, 20347, 39532, 54952, 68219, 83110, 97433, 109317, 121934, 132857, 147079, 160045, 171938, 180008, 187548, 194890, 203175, 209602, 216334, 220040, 226602, 229791, 233478, 238304},  // 8
    {0, 238304, 258177, 280392, 298773, 317840, 335005, 352152, 366103, 380943, 392884, 407163, 420470, 433531, 444649, 452830, 459844, 466868, 471722, 479871, 482564, 488402, 492338, 494858, 500568},  // 9
    {0, 0, 40220, 81620, 115421, 147755, 179811, 211281, 237116, 264573, 287437, 315938, 342211, 367165, 386353, 402074, 416430, 431739, 443020, 457901, 464300, 476700, 483825, 490032, 500568},  // 10
    {0, 0, 19364, 37999, 53950, 67422, 80780, 94163, 107498, 118562, 128039, 139166, 150704, 161957, 169679, 177937, 186017, 192898, 200626, 206442, 212485, 217870, 221279, 225388, 236424},  // 11
    {0, 0, 40203, 81598, 115390, 147706, 179759, 211224, 237054, 264508, 287367, 315864, 342133, 367081, 386265, 401982, 416331, 431640, 442917, 457797, 464193, 476591, 483715, 489921, 500446},  // 12
};

// The combined types (two arrays of a set read as one sample) find a SNP's
// annotation row through the table's SortMap before its IndexMap.
[[nodiscard]] constexpr bool IsCombinedArrayType(int type) { return type == 4 || type == 7 || type == 10; }
// "Agilent244K", whose results the views recalibrate and segment again themselves.
inline constexpr int kAgilentArrayType = 11;

// The type of an exact (case-sensitive) name, or nullptr for a name the
// program does not know.
[[nodiscard]] const ArrayTypeInfo* FindArrayType(std::string_view name);

// Why a sample of type `name` is refused when FindArrayType does not know it:
// the name quoted with the bytes of a damaged file escaped.
[[nodiscard]] std::string UnknownArrayType(std::string_view name);

// The library (CDF) file of a chip type: "GenomeWideSNP_5.Full.cdf" for that
// chip, "<chip type>.CDF" for every other.
[[nodiscard]] std::string LibraryFileName(std::string_view chipType);

}  // namespace qova::core

// The type index 0..12 of a chip name; a name not in the list gives 0.
[[nodiscard]] int ArrayTypeIndex(std::string_view name);
// The family index 0..6 of a chip name; a name not in the list gives 0.
[[nodiscard]] int ArrayClassIndex(std::string_view name);

