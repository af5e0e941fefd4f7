// BasicData*.dtt: the file does not say how many rows it holds or whether
// they are extended; the family (--family) says both, --rows overrides the count.
#include <stdexcept>
#include <string>

#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "tools/sampledump/Dump.h"

namespace core = qova::core;

namespace sampledump {

void DumpBasicData(const Options& options, std::FILE* out) {
  if (options.family < 0 || options.family >= core::kArrayFamilyCount) {
    throw std::invalid_argument("an annotation table needs --family 0.." +
                                std::to_string(core::kArrayFamilyCount - 1));
  }
  const core::ArrayFamilyInfo& family = core::kArrayFamilies[options.family];
  const std::int64_t rows = options.rows >= 0 ? options.rows : family.snpCount;
  if (rows > core::kSampleSnpCapacity) throw std::invalid_argument("--rows is larger than any family table");
  CBasicData table;
  table.Allocate(static_cast<std::int32_t>(rows), family.extended ? 1 : 0);
  table.LoadFile(options.path, static_cast<std::int32_t>(rows));

  PrintField(out, "kind", "annotation table");
  PrintField(out, "Family", options.family);
  PrintField(out, "Name", table.Name);
  PrintField(out, "Rows", rows);
  PrintField(out, "IsExtended", table.IsExtended);
  const std::int64_t shown = RowsToPrint(options, rows);
  PrintField(out, "RowsShown", shown);
  std::fprintf(out,
               "row\tChromosome\tIndexMap\tSortMap\tPosition\tFragmentLength\tGcContent\tAuxInt\tHeterozygosity\t"
               "VendorSnpId\tRsNumber\tFragmentNumber%s\n",
               table.IsExtended != 0 ? "\tExtInt1\tExtFloat\tExtInt2" : "");
  for (std::int64_t k = 0; k < shown; ++k) {
    const auto j = static_cast<std::size_t>(k);
    std::fprintf(out, "%zu\t%d\t%d\t%d\t%d\t%d\t%s\t%d\t%s\t%d\t%d\t%d", j, table.Chromosome[j], table.IndexMap[j],
                 table.SortMap[j], table.Position[j], table.FragmentLength[j],
                 FormatFloat(table.GcContent[j]).c_str(), table.AuxInt[j],
                 FormatFloat(table.Heterozygosity[j]).c_str(), table.VendorSnpId[j], table.RsNumber[j],
                 table.FragmentNumber[j]);
    if (table.IsExtended != 0) {
      std::fprintf(out, "\t%d\t%s\t%d", table.ExtInt1[j], FormatFloat(table.ExtFloat[j]).c_str(), table.ExtInt2[j]);
    }
    std::fprintf(out, "\n");
  }
}

}  // namespace sampledump
