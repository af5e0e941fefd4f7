#include "document/exports/RawDataExport.h"

#include <algorithm>

#include "core/AnalyzedData.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "core/GlobalData.h"
#include "document/exports/TextExport.h"
#include "platform/Strings.h"

namespace core = qova::core;

namespace qova::document::exports {
namespace {

constexpr const char* kHeaders[kRawColumnCount] = {
    "ID",       "VendorSNPsID", "rsID", "Chromosome", "Position",  "log2ratio_AB",   "log2ratio_A",
    "log2ratio_B", "N_AB",      "N_A",  "N_B",        "Call_test", "Call_reference", "LOH_likelihood",
};

// The per-SNP array behind a data column; exactly one of the two is set.
struct DataArray {
  const std::vector<float>* floats = nullptr;
  const std::vector<std::int32_t>* ints = nullptr;
  [[nodiscard]] std::size_t size() const { return floats ? floats->size() : ints->size(); }
};

DataArray ArrayOf(const CAnalyzedData& s, int column) {
  switch (column) {
    case kRawColumnLogRatio: return {&s.LogRatio, nullptr};
    case kRawColumnLogRatioA: return {&s.LogRatioA, nullptr};
    case kRawColumnLogRatioB: return {&s.LogRatioB, nullptr};
    case kRawColumnStateAB: return {nullptr, &s.CopyNumberState};
    case kRawColumnStateA: return {nullptr, &s.AlleleStateA};
    case kRawColumnStateB: return {nullptr, &s.AlleleStateB};
    case kRawColumnCallTest: return {nullptr, &s.CallTest};
    case kRawColumnCallReference: return {nullptr, &s.CallReference};
    default: return {&s.LohLikelihood, nullptr};
  }
}

// The ID is the SNP index itself; the other four come from the table.
bool NeedsAnnotation(const RawColumnSet& columns) {
  for (int c = kRawColumnVendorSnpId; c < kRawAnnotationColumns; ++c) {
    if (columns[static_cast<std::size_t>(c)]) return true;
  }
  return false;
}

// The annotation row of SNP index `snp`; a combined type reaches it through SortMap.
std::int32_t AnnotationRow(const RawDataSource& s, std::int32_t snp) {
  const auto i = static_cast<std::size_t>(snp);
  const CBasicData& table = *s.Annotation;
  if (s.Sample->Header.Combined) return table.IndexMap[static_cast<std::size_t>(table.SortMap[i])];
  return table.IndexMap[i];
}

std::string AnnotationProblem(const RawDataSource& s) {
  const CBasicData& table = *s.Annotation;
  const auto maps = static_cast<std::int32_t>(std::min(table.IndexMap.size(), table.SortMap.size()));
  const std::int32_t rows = table.Capacity();
  if (s.LastX >= maps) {
    return platform::Format("the annotation table has %d SNPs, not the %d up to the last SNP of X", maps, s.LastX + 1);
  }
  for (std::int32_t i = s.First; i <= s.LastX; ++i) {
    if (s.Sample->Header.Combined) {
      const std::int32_t sorted = table.SortMap[static_cast<std::size_t>(i)];
      if (sorted < 0 || sorted >= maps) {
        return platform::Format("the sorted index %d of SNP %d lies outside the annotation table", sorted, i);
      }
    }
    const std::int32_t row = AnnotationRow(s, i);
    if (row < 0 || row >= rows) {
      return platform::Format("annotation row %d of SNP %d lies outside the table's %d rows", row, i, rows);
    }
  }
  return {};
}

void EndCell(TextExport& out, RawCellEnd end, bool& first) {
  if (end == RawCellEnd::TabAfterEach) return;
  if (!first) out.Tab();
  first = false;
}

void FinishCell(TextExport& out, RawCellEnd end) {
  if (end == RawCellEnd::TabAfterEach) out.Tab();
}

template <class T>
T ValueAt(const std::vector<T>& values, std::size_t i) {
  // An array the result's kind does not have reads as zeros, as a new array would.
  return values.empty() ? T{} : values[i];
}

void WriteCell(TextExport& out, const RawDataSource& s, int column, std::int32_t snp, std::int32_t row) {
  const auto i = static_cast<std::size_t>(snp);
  const auto k = static_cast<std::size_t>(row);
  const CAnalyzedData& d = *s.Sample;
  switch (column) {
    case kRawColumnId: out.Int(snp); break;
    case kRawColumnVendorSnpId: out.Text("SNP_A-").Int(s.Annotation->VendorSnpId[k]); break;
    case kRawColumnRsId: out.Text("rs").Int(s.Annotation->RsNumber[k]); break;
    case kRawColumnChromosome: out.Int(s.Annotation->Chromosome[k]); break;
    case kRawColumnPosition: out.Int(s.Annotation->Position[k]); break;
    case kRawColumnLogRatio: out.Fixed(ValueAt(d.LogRatio, i)); break;
    case kRawColumnLogRatioA: out.Fixed(ValueAt(d.LogRatioA, i)); break;
    case kRawColumnLogRatioB: out.Fixed(ValueAt(d.LogRatioB, i)); break;
    case kRawColumnStateAB: out.Int(ValueAt(d.CopyNumberState, i)); break;
    case kRawColumnStateA: out.Int(ValueAt(d.AlleleStateA, i)); break;
    case kRawColumnStateB: out.Int(ValueAt(d.AlleleStateB, i)); break;
    case kRawColumnCallTest: out.Int(ValueAt(d.CallTest, i)); break;
    case kRawColumnCallReference: out.Int(ValueAt(d.CallReference, i)); break;
    case kRawColumnLohLikelihood: out.Fixed(ValueAt(d.LohLikelihood, i)); break;
    default: break;
  }
}

}  // namespace

const char* RawColumnHeader(int column) { return column >= 0 && column < kRawColumnCount ? kHeaders[column] : ""; }

std::string PrepareRawData(const CAnalyzedData& sample, const CGlobalData& global, const RawColumnSet& columns,
                           RawDataSource& source) {
  const core::ArrayTypeInfo* type = core::FindArrayType(sample.Header.ArrayType);
  if (type == nullptr) return core::UnknownArrayType(sample.Header.ArrayType);
  RawDataSource s;
  s.Sample = &sample;
  s.Type = type->type;
  s.First = global.ArrayFirstSnpIndex[type->type];
  s.LastX = global.ArrayLastSnpIndexX[type->type];
  if (s.First < 0 || s.First > s.LastX) {
    return platform::Format("the SNP range %d..%d of %s is empty", s.First, s.LastX, type->name);
  }
  for (int c = kRawAnnotationColumns; c < kRawColumnCount; ++c) {
    const DataArray values = ArrayOf(sample, c);
    if (columns[static_cast<std::size_t>(c)] && values.size() != 0 && values.size() <= static_cast<std::size_t>(s.LastX)) {
      return platform::Format("the SNP range %d..%d of %s does not fit the sample's %d values of %s", s.First, s.LastX,
                              type->name, static_cast<int>(values.size()), kHeaders[c]);
    }
  }
  if (NeedsAnnotation(columns)) {
    if (!global.HasBasicData(type->family)) {
      return std::string("the annotation table ") + core::kArrayFamilies[static_cast<std::size_t>(type->family)].annotationFile +
             " is not loaded";
    }
    s.Annotation = global.BasicDataOfType(type->type);
    std::string problem = AnnotationProblem(s);
    if (!problem.empty()) return problem;
  }
  source = s;
  return {};
}

void WriteRawHeader(TextExport& out, const RawColumnSet& columns, int from, int to, RawCellEnd end) {
  bool first = true;
  for (int c = from; c < to; ++c) {
    if (!columns[static_cast<std::size_t>(c)]) continue;
    EndCell(out, end, first);
    out.Text(kHeaders[c]);
    FinishCell(out, end);
  }
}

void WriteRawCells(TextExport& out, const RawDataSource& source, const RawColumnSet& columns, int from, int to,
                   std::int32_t snp, RawCellEnd end) {
  const bool annotation = source.Annotation != nullptr && from < kRawAnnotationColumns;
  const std::int32_t row = annotation ? AnnotationRow(source, snp) : 0;
  bool first = true;
  for (int c = from; c < to; ++c) {
    if (!columns[static_cast<std::size_t>(c)]) continue;
    EndCell(out, end, first);
    WriteCell(out, source, c, snp, row);
    FinishCell(out, end);
  }
}

void WriteRawFile(TextExport& out, const RawDataSource& source, const RawColumnSet& columns, RawCellEnd end) {
  WriteRawHeader(out, columns, 0, kRawColumnCount, end);
  out.EndLine();
  for (std::int32_t i = source.First; i <= source.LastX; ++i) {
    WriteRawCells(out, source, columns, 0, kRawColumnCount, i, end);
    out.EndLine();
  }
}

RawColumnSet DocumentRawColumns(bool self) {
  RawColumnSet columns{};
  for (int c = 0; c < kRawAnnotationColumns; ++c) columns[static_cast<std::size_t>(c)] = true;
  columns[kRawColumnLogRatio] = columns[kRawColumnStateAB] = columns[kRawColumnCallTest] = true;
  if (self) {
    for (int c : {kRawColumnLogRatioA, kRawColumnLogRatioB, kRawColumnStateA, kRawColumnStateB, kRawColumnCallReference})
      columns[static_cast<std::size_t>(c)] = true;
  } else {
    columns[kRawColumnLohLikelihood] = true;
  }
  return columns;
}

}  // namespace qova::document::exports
