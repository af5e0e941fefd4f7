#pragma once
// How a SNP index of a sample (position order) reaches its row of the family
// annotation table (table order): through the table's IndexMap, and for the
// combined types first through its SortMap.
#include <cstdint>

class CBasicData;

// The annotation row of SNP index `snp` of array type `type`, or -1 when the
// index or a map entry on the way lies outside the table.
[[nodiscard]] std::int32_t AnnotationRowOfSnp(const CBasicData& table, int type, std::int32_t snp);
