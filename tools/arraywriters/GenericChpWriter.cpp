#include "tools/arraywriters/GenericChpWriter.h"

#include <algorithm>

#include "platform/Strings.h"

namespace arraywriters {

namespace {

enum class ResultKind { kGenotyping, kExpression, kUniversal, kResequencing };

// The kind of result the file holds: by its type id, or, for an id of no
// kind (tests of unknown types), by the rows it was given.
ResultKind KindOf(const GenericChpFile& f) {
  if (f.fileTypeId == kGenotypingChpTypeId) return ResultKind::kGenotyping;
  if (f.fileTypeId == kExpressionChpTypeId) return ResultKind::kExpression;
  if (f.fileTypeId == kUniversalChpTypeId) return ResultKind::kUniversal;
  if (f.fileTypeId == kResequencingChpTypeId) return ResultKind::kResequencing;
  if (!f.expression.empty()) return ResultKind::kExpression;
  if (!f.universal.empty()) return ResultKind::kUniversal;
  if (!f.calledBases.empty()) return ResultKind::kResequencing;
  return ResultKind::kGenotyping;
}

GenericColumnSpec Column(std::u16string name, std::int8_t type, std::int32_t size) {
  return GenericColumnSpec{std::move(name), type, size};
}

// A probe-set name column wide enough for the longest name.
template <class Row>
GenericColumnSpec NameColumn(const std::vector<Row>& rows, bool wide) {
  std::size_t longest = 0;
  for (const Row& row : rows) longest = std::max(longest, row.probeSetName.size());
  return wide ? Column(u"ProbeSetName", kColumnText16, std::int32_t(4 + 2 * longest))
              : Column(u"ProbeSetName", kColumnText8, std::int32_t(4 + longest));
}

void AppendName(std::string& row, const std::string& name, const GenericColumnSpec& column) {
  if (column.type == kColumnText16) {
    AppendText16Cell(row, platform::Widen(name), column.size);
  } else {
    AppendText8Cell(row, name, column.size);
  }
}

void AppendUInt8(std::string& row, std::uint8_t v) { AppendInt8Cell(row, std::int8_t(v)); }
void AppendUInt16(std::string& row, std::uint16_t v) { AppendInt16Cell(row, std::int16_t(v)); }

GenericDataSetSpec GenotypingSet(const GenericChpFile& f) {
  GenericDataSetSpec set{u"Genotyping Results", {}, {NameColumn(f.genotyping, f.wideNames)}, 0, {}};
  set.columns.push_back(Column(u"Call", kColumnUInt8, 1));
  for (int i = 1; i <= 7; ++i) {
    set.columns.push_back(Column(u"Value" + platform::Widen(std::to_string(i)), kColumnFloat, 4));
  }
  for (const GenericGenotypeRow& r : f.genotyping) {
    AppendName(set.elements, r.probeSetName, set.columns[0]);
    AppendUInt8(set.elements, r.call);
    for (float v : r.values) AppendFloatCell(set.elements, v);
  }
  set.rowCount = std::int32_t(f.genotyping.size());
  return set;
}

GenericDataSetSpec ExpressionSet(const GenericChpFile& f) {
  GenericDataSetSpec set{u"Expression Results", {}, {NameColumn(f.expression, f.wideNames)}, 0, {}};
  set.columns.push_back(Column(u"Code1", kColumnUInt8, 1));
  set.columns.push_back(Column(u"Value1", kColumnFloat, 4));
  set.columns.push_back(Column(u"Value2", kColumnFloat, 4));
  set.columns.push_back(Column(u"Count1", kColumnUInt16, 2));
  set.columns.push_back(Column(u"Count2", kColumnUInt16, 2));
  if (f.extendedExpression) {
    set.columns.push_back(Column(u"Code2", kColumnUInt8, 1));
    for (const char16_t* name : {u"Value3", u"Value4", u"Value5", u"Value6"}) {
      set.columns.push_back(Column(name, kColumnFloat, 4));
    }
    set.columns.push_back(Column(u"Count3", kColumnUInt16, 2));
  }
  for (const GenericExpressionRow& r : f.expression) {
    AppendName(set.elements, r.probeSetName, set.columns[0]);
    AppendUInt8(set.elements, r.code1);
    AppendFloatCell(set.elements, r.value1);
    AppendFloatCell(set.elements, r.value2);
    AppendUInt16(set.elements, r.count1);
    AppendUInt16(set.elements, r.count2);
    if (!f.extendedExpression) continue;
    AppendUInt8(set.elements, r.code2);
    for (float v : {r.value3, r.value4, r.value5, r.value6}) AppendFloatCell(set.elements, v);
    AppendUInt16(set.elements, r.count3);
  }
  set.rowCount = std::int32_t(f.expression.size());
  return set;
}

GenericDataSetSpec UniversalSet(const GenericChpFile& f) {
  GenericDataSetSpec set{u"Universal Results", {}, {Column(u"Background", kColumnFloat, 4)}, 0, {}};
  for (float v : f.universal) AppendFloatCell(set.elements, v);
  set.rowCount = std::int32_t(f.universal.size());
  return set;
}

GenericDataSetSpec ResequencingSet(const GenericChpFile& f) {
  GenericDataSetSpec set{u"Resequencing Results", {},
                         {Column(u"Call", kColumnInt8, 1), Column(u"Score", kColumnFloat, 4)}, 0, {}};
  for (std::size_t i = 0; i < f.calledBases.size(); ++i) {
    AppendUInt8(set.elements, f.calledBases[i]);
    AppendFloatCell(set.elements, i < f.scores.size() ? f.scores[i] : 0.0f);
  }
  set.rowCount = std::int32_t(f.calledBases.size());
  return set;
}

GenericDataSetSpec ZoneSet(const GenericChpFile& f) {
  GenericDataSetSpec set{u"Background Zone Data", {}, {}, 0, {}};
  for (const char16_t* name : {u"X", u"Y", u"Background", u"SmoothFactor"}) {
    set.columns.push_back(Column(name, kColumnFloat, 4));
  }
  for (const GenericBackgroundZone& z : f.zones) {
    for (float v : {z.x, z.y, z.background, z.smoothFactor}) AppendFloatCell(set.elements, v);
  }
  set.rowCount = std::int32_t(f.zones.size());
  return set;
}

GenericDataSetSpec ForceCallSet(const GenericChpFile& f) {
  GenericDataSetSpec set{u"Force Call Data", {},
                         {Column(u"Position", kColumnInt32, 4), Column(u"Call", kColumnInt8, 1),
                          Column(u"Reason", kColumnInt8, 1)},
                         std::int32_t(f.forceCalls.size()), {}};
  for (const ChpForceCall& c : f.forceCalls) {
    AppendInt32Cell(set.elements, c.position);
    AppendUInt8(set.elements, c.call);
    AppendUInt8(set.elements, c.code);
  }
  return set;
}

GenericDataSetSpec OrigCallSet(const GenericChpFile& f) {
  GenericDataSetSpec set{u"Orig Call Data", {},
                         {Column(u"Position", kColumnInt32, 4), Column(u"Call", kColumnInt8, 1)},
                         std::int32_t(f.origCalls.size()), {}};
  for (const ChpOrigCall& c : f.origCalls) {
    AppendInt32Cell(set.elements, c.position);
    AppendUInt8(set.elements, c.call);
  }
  return set;
}

// Each result data set sits alone in a data group of its own name.
GenericDataGroupSpec GroupOf(GenericDataSetSpec set) {
  GenericDataGroupSpec group{set.name, {}};
  group.dataSets.push_back(std::move(set));
  return group;
}

void AddPrefixed(std::vector<GenericParameterSpec>& out, const std::u16string& prefix,
                 const std::vector<GenericParameterSpec>& params) {
  for (GenericParameterSpec param : params) {
    param.name = prefix + param.name;
    out.push_back(std::move(param));
  }
}

}  // namespace

GenericFileSpec GenericChpSpec(const GenericChpFile& f) {
  GenericFileSpec spec;
  spec.header.fileTypeId = f.fileTypeId;
  spec.header.fileId = f.fileId;
  spec.header.creationTime = u"2007-02-26T08:15:00Z";
  auto& params = spec.header.parameters;
  params.push_back(TextParameter(u"vendor-array-type", f.arrayType));
  params.push_back(TextParameter(u"vendor-algorithm-name", f.algorithmName));
  params.push_back(TextParameter(u"vendor-algorithm-version", f.algorithmVersion));
  params.push_back(TextParameter(u"vendor-parent-celfile", f.parentCelFile));
  params.push_back(TextParameter(u"vendor-progid", f.progId));
  if (f.celRows) params.push_back(Int32Parameter(u"vendor-cel-rows", *f.celRows));
  if (f.celCols) params.push_back(Int32Parameter(u"vendor-cel-cols", *f.celCols));
  AddPrefixed(params, u"vendor-algorithm-param-", f.algorithmParameters);
  AddPrefixed(params, u"vendor-chipsummary-", f.summaryParameters);

  switch (KindOf(f)) {
    case ResultKind::kGenotyping: spec.groups.push_back(GroupOf(GenotypingSet(f))); break;
    case ResultKind::kExpression: spec.groups.push_back(GroupOf(ExpressionSet(f))); break;
    case ResultKind::kUniversal: spec.groups.push_back(GroupOf(UniversalSet(f))); break;
    case ResultKind::kResequencing: spec.groups.push_back(GroupOf(ResequencingSet(f))); break;
  }
  spec.groups.push_back(GroupOf(ZoneSet(f)));
  if (KindOf(f) == ResultKind::kResequencing) {
    spec.groups.push_back(GroupOf(ForceCallSet(f)));
    spec.groups.push_back(GroupOf(OrigCallSet(f)));
  }
  return spec;
}

std::string GenericChpBytes(const GenericChpFile& file) { return GenericFileBytes(GenericChpSpec(file)); }

bool SaveGenericChp(const std::string& path, const GenericChpFile& file) {
  return WriteGenericFile(path, GenericChpSpec(file));
}

}  // namespace arraywriters
