#include "core/SnpOrder.h"

#include "core/ArrayTypes.h"
#include "core/BasicData.h"

std::int32_t AnnotationRowOfSnp(const CBasicData& table, int type, std::int32_t snp) {
  // Tables built in memory have not been through the loader's checks, so
  // every step is bounded here.
  const std::int32_t rows = table.Capacity();
  auto inside = [rows](std::int32_t i) { return i >= 0 && i < rows; };
  if (!inside(snp)) return -1;
  if (qova::core::IsCombinedArrayType(type)) {
    snp = table.SortMap[snp];
    if (!inside(snp)) return -1;
  }
  const std::int32_t row = table.IndexMap[snp];
  return inside(row) ? row : -1;
}
