#include "arrayfiles/chp/CHPData.h"

#include <algorithm>

#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/generic/GenericFileReader.h"
#include "platform/ByteOrder.h"

namespace generic_io {

namespace {

constexpr std::u16string_view kArrayTypeParam = u"vendor-array-type";
constexpr std::u16string_view kAlgorithmNameParam = u"vendor-algorithm-name";
constexpr std::u16string_view kParentCelFileParam = u"vendor-parent-celfile";
constexpr std::u16string_view kAlgorithmVersionParam = u"vendor-algorithm-version";
constexpr std::u16string_view kProgIdParam = u"vendor-progid";
constexpr std::u16string_view kCelRowsParam = u"vendor-cel-rows";
constexpr std::u16string_view kCelColsParam = u"vendor-cel-cols";
constexpr std::u16string_view kAlgorithmParamPrefix = u"vendor-algorithm-param-";
constexpr std::u16string_view kChipSummaryPrefix = u"vendor-chipsummary-";

// An expression data set with more columns than this carries the extended fields.
constexpr int kBasicExpressionColumns = 6;

bool HasRow(const DataSet& set, std::int32_t row) { return row >= 0 && row < set.Rows(); }

// The cell, when the set has the column and it is wide enough for `bytes`.
const std::uint8_t* Cell(DataSet& set, std::int32_t row, int column, std::int32_t bytes) {
  if (column >= set.Columns() || set.Header().columns[std::size_t(column)].GetWidth() < bytes) return nullptr;
  return set.FilePosition(row, column);
}

void ReadCell(DataSet& set, std::int32_t row, int column, std::uint8_t& value) {
  if (const std::uint8_t* p = Cell(set, row, column, 1)) value = *p;
}
void ReadCell(DataSet& set, std::int32_t row, int column, std::uint16_t& value) {
  if (const std::uint8_t* p = Cell(set, row, column, 2)) value = platform::ReadBE16(p);
}
void ReadCell(DataSet& set, std::int32_t row, int column, float& value) {
  if (const std::uint8_t* p = Cell(set, row, column, 4)) value = platform::ReadBEFloat(p);
}
void ReadCell(DataSet& set, std::int32_t row, int column, std::int32_t& value) {
  if (const std::uint8_t* p = Cell(set, row, column, 4)) value = std::int32_t(platform::ReadBE32(p));
}

}  // namespace

CHPData::CHPData() { Clear(); }

CHPData::~CHPData() { Clear(); }

void CHPData::Clear() {
  for (ResultSet* result : {&genotyping_, &expression_, &universal_, &resequencing_, &backgroundZones_,
                            &forceCalls_, &origCalls_}) {
    *result = ResultSet{};
  }
  genericData_.Clear();
  // The next file read into this object must not see this one's mapping.
  genericData_.UnmapFile();
  cachedRows_ = -1;
  cachedCols_ = -1;
  openFailure_.clear();
}

std::string CHPData::GetFileTypeId() const { return genericData_.Header().genericHeader.fileTypeId; }

std::int32_t CHPData::GroupRowCount(std::size_t group) const {
  const auto& groups = genericData_.Header().dataGroupHeaders;
  if (group >= groups.size() || groups[group].dataSetHeaders.empty()) return 0;
  return std::max(groups[group].dataSetHeaders.front().rowCount, 0);
}

DataSet* CHPData::OpenSet(ResultSet& result, std::u16string_view name) {
  if (!result.set) {
    result.set = genericData_.DataSet(name, name);
    result.open = result.set->Open();
    if (!result.open) openFailure_ = result.set->OpenProblem();
  }
  return result.open ? result.set.get() : nullptr;
}

DataSet* CHPData::OpenNamedSet(ResultSet& result, std::u16string_view name) {
  bool first = !result.set;
  DataSet* set = OpenSet(result, name);
  if (first && result.set->Columns() > 0) {
    wideNames_ = result.set->Header().columns.front().GetType() == kColumnText16;
  }
  return set;
}

DataSet* CHPData::OpenExpressionResults() { return OpenNamedSet(expression_, kExpressionResults); }
DataSet* CHPData::OpenGenotypingResults() { return OpenNamedSet(genotyping_, kGenotypingResults); }
DataSet* CHPData::OpenUniversalResults() { return OpenSet(universal_, kUniversalResults); }
DataSet* CHPData::OpenResequencingResults() { return OpenSet(resequencing_, kResequencingResults); }
DataSet* CHPData::OpenBackgroundZones() { return OpenSet(backgroundZones_, kBackgroundZoneData); }
DataSet* CHPData::OpenForceCalls() { return OpenSet(forceCalls_, kForceCallData); }
DataSet* CHPData::OpenOrigCalls() { return OpenSet(origCalls_, kOrigCallData); }

// Each set's own name column says how its names are stored, so a file with
// both kinds of set cannot have one read with the other's text width.
std::string CHPData::ProbeSetName(DataSet& set, std::int32_t row) {
  if (set.Columns() == 0) return std::string();
  if (set.Header().columns.front().GetType() == kColumnText16) {
    std::u16string wide;
    set.GetData(row, 0, wide);
    return StringUtils::WideToNarrow(wide);
  }
  std::string name;
  set.GetData(row, 0, name);
  return name;
}

bool CHPData::GetExpressionEntry(std::int32_t index, ExpressionResultRow& row) {
  DataSet* set = OpenExpressionResults();
  if (set == nullptr || !HasRow(*set, index)) return false;
  row.probeSetName = ProbeSetName(*set, index);
  ReadCell(*set, index, 1, row.code1);
  ReadCell(*set, index, 2, row.value1);
  ReadCell(*set, index, 3, row.value2);
  ReadCell(*set, index, 4, row.count1);
  ReadCell(*set, index, 5, row.count2);
  row.hasExtendedFields = set->Columns() > kBasicExpressionColumns;
  if (row.hasExtendedFields) {
    ReadCell(*set, index, 6, row.code2);
    ReadCell(*set, index, 7, row.value3);
    ReadCell(*set, index, 8, row.value4);
    ReadCell(*set, index, 9, row.value5);
    ReadCell(*set, index, 10, row.value6);
    ReadCell(*set, index, 11, row.count3);
  }
  return true;
}

bool CHPData::GetGenotypeEntry(std::int32_t index, GenotypeResultRow& row) {
  DataSet* set = OpenGenotypingResults();
  if (set == nullptr || !HasRow(*set, index)) return false;
  row.probeSetName = ProbeSetName(*set, index);
  ReadCell(*set, index, 1, row.call);
  float* values[] = {&row.value1, &row.value2, &row.value3, &row.value4,
                     &row.value5, &row.value6, &row.value7};
  for (int i = 0; i < 7; ++i) ReadCell(*set, index, 2 + i, *values[i]);
  return true;
}

bool CHPData::GetGenotypeCalls(std::vector<std::uint8_t>& calls) {
  calls.clear();
  DataSet* set = OpenGenotypingResults();
  if (set == nullptr) return false;
  // The column whole, a window at a time, rather than a cell position per
  // row; a file without a call column gives no calls (code 0).
  constexpr int kCallColumn = 1;
  if (set->Columns() > kCallColumn && set->Header().columns[kCallColumn].GetWidth() >= 1) {
    set->GetDataFirstBytes(kCallColumn, 0, set->Rows(), calls);
  }
  calls.resize(std::size_t(std::max(set->Rows(), 0)));
  return true;
}

bool CHPData::GetBackgroundZone(std::int32_t index, BackgroundZoneRow& row) {
  DataSet* set = OpenBackgroundZones();
  if (set == nullptr || !HasRow(*set, index)) return false;
  ReadCell(*set, index, 0, row.x);
  ReadCell(*set, index, 1, row.y);
  ReadCell(*set, index, 2, row.background);
  ReadCell(*set, index, 3, row.smoothFactor);
  return true;
}

void CHPData::GetBackgroundZones(std::int32_t count, std::vector<BackgroundZoneRow>& zones) {
  for (std::int32_t i = 0; i < count; ++i) {
    BackgroundZoneRow zone;
    if (!GetBackgroundZone(i, zone)) break;
    zones.push_back(zone);
  }
}

bool CHPData::GetUniversalEntry(std::int32_t index, float& value) {
  DataSet* set = OpenUniversalResults();
  if (set == nullptr || !HasRow(*set, index)) return false;
  ReadCell(*set, index, 0, value);
  return true;
}

bool CHPData::GetResequencingEntry(std::int32_t index, std::uint8_t& call, float& score) {
  DataSet* set = OpenResequencingResults();
  if (set == nullptr || !HasRow(*set, index)) return false;
  ReadCell(*set, index, 0, call);
  ReadCell(*set, index, 1, score);
  return true;
}

bool CHPData::GetForceCallEntry(std::int32_t index, std::int32_t& position, std::uint8_t& call,
                                std::uint8_t& code) {
  DataSet* set = OpenForceCalls();
  if (set == nullptr || !HasRow(*set, index)) return false;
  ReadCell(*set, index, 0, position);
  ReadCell(*set, index, 1, call);
  ReadCell(*set, index, 2, code);
  return true;
}

bool CHPData::GetOrigCallEntry(std::int32_t index, std::int32_t& position, std::uint8_t& call) {
  DataSet* set = OpenOrigCalls();
  if (set == nullptr || !HasRow(*set, index)) return false;
  ReadCell(*set, index, 0, position);
  ReadCell(*set, index, 1, call);
  return true;
}

std::u16string CHPData::TextParameter(std::u16string_view name) const {
  GenericParameter param;
  if (!genericData_.Header().genericHeader.FindParameter(name, param)) return std::u16string();
  return param.GetValueText();
}

std::u16string CHPData::GetArrayType() const { return TextParameter(kArrayTypeParam); }
std::u16string CHPData::GetAlgorithmName() const { return TextParameter(kAlgorithmNameParam); }
std::u16string CHPData::GetParentCelFile() const { return TextParameter(kParentCelFileParam); }
std::u16string CHPData::GetAlgorithmVersion() const { return TextParameter(kAlgorithmVersionParam); }
std::u16string CHPData::GetProgId() const { return TextParameter(kProgIdParam); }

std::int32_t CHPData::IntParameter(std::u16string_view name, std::int32_t& cache) {
  if (cache < 0) {
    GenericParameter param;
    bool found = genericData_.Header().genericHeader.FindParameter(name, param);
    // A negative count stands for nothing; it must not look like "not read yet".
    cache = found ? std::max(param.GetValueInt32(), 0) : 0;
  }
  return cache;
}

std::int32_t CHPData::GetCelRows() { return IntParameter(kCelRowsParam, cachedRows_); }
std::int32_t CHPData::GetCelCols() { return IntParameter(kCelColsParam, cachedCols_); }

GenericParameter CHPData::PrefixedParameter(std::u16string_view prefix, std::u16string_view name) const {
  GenericParameter param;
  std::u16string full = std::u16string(prefix) + std::u16string(name);
  genericData_.Header().genericHeader.FindParameter(full, param);
  param.SetName(std::u16string(name));
  return param;
}

std::vector<GenericParameter> CHPData::PrefixedParameters(std::u16string_view prefix) const {
  std::vector<GenericParameter> params;
  genericData_.Header().genericHeader.GetParametersWithPrefix(prefix, params);
  for (GenericParameter& param : params) param.SetName(param.GetName().substr(prefix.size()));
  return params;
}

GenericParameter CHPData::GetAlgorithmParameter(std::u16string_view name) const {
  return PrefixedParameter(kAlgorithmParamPrefix, name);
}
GenericParameter CHPData::GetChipSummaryParameter(std::u16string_view name) const {
  return PrefixedParameter(kChipSummaryPrefix, name);
}
std::vector<GenericParameter> CHPData::GetAlgorithmParameters() const {
  return PrefixedParameters(kAlgorithmParamPrefix);
}
std::vector<GenericParameter> CHPData::GetChipSummaryParameters() const {
  return PrefixedParameters(kChipSummaryPrefix);
}

void CHPFileReader::Read(CHPData& data) {
  data.Clear();
  GenericFileReader reader;
  reader.SetFilename(fileName_.empty() ? data.GetFilename() : fileName_);
  reader.ReadHeader(data.GetGenericData(), AllHeaders);
}

}  // namespace generic_io
