#include "arrayfiles/unified/GenericCHPDataAdapter.h"

#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/generic/GenericExceptions.h"

namespace unified_io {

namespace {

using generic_io::GenericParameter;

void AppendPairs(const std::vector<GenericParameter>& params, UnifiedTagValuePairList& list) {
  for (const GenericParameter& param : params) list.push_back({param.GetName(), param.ToString(), param});
}

UnifiedBackgroundZone ToUnified(const generic_io::BackgroundZoneRow& zone) {
  return {zone.x, zone.y, zone.background};
}

}  // namespace

// ---- header adapter ---------------------------------------------------------

int GenericCHPHeaderAdapter::GetAssayType() {
  const std::string type = chpData->GetFileTypeId();
  if (type == generic_io::kExpressionChpType) return kAssayExpression;
  if (type == generic_io::kGenotypingChpType) return kAssayGenotyping;
  if (type == generic_io::kResequencingChpType) return kAssayResequencing;
  if (type == generic_io::kUniversalChpType) return kAssayUniversal;
  return kAssayUnknown;
}

void GenericCHPHeaderAdapter::GetAlgorithmParameters(UnifiedTagValuePairList& params) {
  AppendPairs(chpData->GetAlgorithmParameters(), params);
}

void GenericCHPHeaderAdapter::GetSummaryParameters(UnifiedTagValuePairList& params) {
  AppendPairs(chpData->GetChipSummaryParameters(), params);
}

int GenericCHPHeaderAdapter::GetNumAlgorithmParameters() { return int(chpData->GetAlgorithmParameters().size()); }

int GenericCHPHeaderAdapter::GetNumSummaryParameters() { return int(chpData->GetChipSummaryParameters().size()); }

std::u16string GenericCHPHeaderAdapter::GetAlgorithmParameter(const std::u16string& tag) {
  return chpData->GetAlgorithmParameter(tag).ToString();
}

std::u16string GenericCHPHeaderAdapter::GetSummaryParameter(const std::u16string& tag) {
  return chpData->GetChipSummaryParameter(tag).ToString();
}

std::vector<generic_io::BackgroundZoneRow> GenericCHPHeaderAdapter::Zones() {
  std::vector<generic_io::BackgroundZoneRow> zones;
  std::int32_t count = chpData->GetBackgroundZoneCount();
  if (count <= 0) return zones;
  try {
    chpData->GetBackgroundZones(count, zones);
  } catch (const generic_exceptions::GenericException&) {
    // Zones are a detail of the scan; a file without readable ones has none.
  }
  return zones;
}

void GenericCHPHeaderAdapter::GetBackgroundZoneInfo(UnifiedBackgroundZoneInfo& info) {
  std::vector<generic_io::BackgroundZoneRow> zones = Zones();
  info.numberZones = chpData->GetBackgroundZoneCount();
  info.smoothFactor = zones.empty() ? 0.0f : zones.front().smoothFactor;
  for (const auto& zone : zones) info.zones.push_back(ToUnified(zone));
}

void GenericCHPHeaderAdapter::GetBackgroundZones(std::vector<UnifiedBackgroundZone>& zones) {
  for (const auto& zone : Zones()) zones.push_back(ToUnified(zone));
}

UnifiedBackgroundZone GenericCHPHeaderAdapter::GetBackgroundZone(int index) {
  generic_io::BackgroundZoneRow zone;
  try {
    chpData->GetBackgroundZone(index, zone);
  } catch (const generic_exceptions::GenericException&) {
    return {};
  }
  return ToUnified(zone);
}

int GenericCHPHeaderAdapter::GetMagic() { return chpData->GetGenericData().Header().magic; }

int GenericCHPHeaderAdapter::GetVersion() { return chpData->GetGenericData().Header().version; }

// ---- data adapter -----------------------------------------------------------

GenericCHPDataAdapter::GenericCHPDataAdapter() : header(std::make_unique<GenericCHPHeaderAdapter>(&chpData)) {}

GenericCHPDataAdapter::~GenericCHPDataAdapter() { chpData.Clear(); }

void GenericCHPDataAdapter::CheckAnswers() {
  (void)chpData.GetCelRows();
  (void)chpData.GetCelCols();
  (void)chpData.GetArrayType();
  (void)chpData.GetAlgorithmName();
  (void)chpData.GetAlgorithmVersion();
  (void)chpData.GetParentCelFile();
  (void)chpData.GetProgId();
  generic_io::DataSet* results = nullptr;
  if (IsType(generic_io::kExpressionChpType)) {
    results = chpData.OpenExpressionResults();
  } else if (IsType(generic_io::kGenotypingChpType)) {
    results = chpData.OpenGenotypingResults();
  } else if (IsType(generic_io::kUniversalChpType)) {
    results = chpData.OpenUniversalResults();
  } else if (IsType(generic_io::kResequencingChpType)) {
    results = chpData.OpenResequencingResults();
    bool callsReadable = (chpData.GetForceCallCount() == 0 || chpData.OpenForceCalls() != nullptr) &&
                         (chpData.GetOrigCallCount() == 0 || chpData.OpenOrigCalls() != nullptr);
    if (!callsReadable) results = nullptr;
  } else {
    return;  // a file of another kind: its header is all there is to read
  }
  // A file cut inside its zones ends before rows its header announces: it
  // is cut short, whatever of its results could be read.
  if (results != nullptr && chpData.GetBackgroundZoneCount() > 0 && chpData.OpenBackgroundZones() == nullptr) {
    results = nullptr;
  }
  if (results == nullptr) {
    generic_exceptions::DataSetNotOpenException notOpen;
    notOpen.Description(StringUtils::NarrowToWide(chpData.OpenFailure()));
    throw notOpen;
  }
}

bool GenericCHPDataAdapter::CanReadFile() {
  error.clear();
  try {
    generic_io::CHPFileReader().Read(chpData);
    CheckAnswers();
    return true;
  } catch (const generic_exceptions::GenericException& e) {
    error = StringUtils::WideToNarrow(e.Description());
    if (error.empty()) error = std::string("the generic reader refused it (") + e.what() + ")";
  } catch (const std::exception& e) {
    error = e.what();
  }
  chpData.Clear();
  return false;
}

std::string GenericCHPDataAdapter::GetProbeSetName(int index) {
  if (IsType(generic_io::kExpressionChpType)) {
    generic_io::ExpressionResultRow row;
    return chpData.GetExpressionEntry(index, row) ? row.probeSetName : std::string();
  }
  if (IsType(generic_io::kGenotypingChpType)) {
    generic_io::GenotypeResultRow row;
    return chpData.GetGenotypeEntry(index, row) ? row.probeSetName : std::string();
  }
  return std::string();
}

bool GenericCHPDataAdapter::GetExpressionResults(int index, UnifiedExpressionProbeSetResults& result) {
  generic_io::ExpressionResultRow row;
  if (!IsType(generic_io::kExpressionChpType) || !chpData.GetExpressionEntry(index, row)) return false;
  CopyExpressionRow(row, result);
  return true;
}

bool GenericCHPDataAdapter::GetGenotypingResults(int index, UnifiedGenotypeProbeSetResults& result) {
  generic_io::GenotypeResultRow row;
  if (!IsType(generic_io::kGenotypingChpType) || !chpData.GetGenotypeEntry(index, row)) return false;
  CopyGenotypeRow(row, result);
  return true;
}

bool GenericCHPDataAdapter::GetGenotypeCalls(std::vector<std::uint8_t>& calls) {
  calls.clear();
  if (!IsType(generic_io::kGenotypingChpType)) return false;
  chpData.GetGenotypeCalls(calls);
  // Probe sets the header counts beyond the rows have no call.
  calls.resize(std::size_t(std::max(GetHeader()->GetNumProbeSets(), 0)));
  return true;
}

bool GenericCHPDataAdapter::GetUniversalResults(int index, UnifiedUniversalProbeSetResults& result) {
  float value = 0.0f;
  if (!IsType(generic_io::kUniversalChpType) || !chpData.GetUniversalEntry(index, value)) return false;
  result.value = value;
  return true;
}

bool GenericCHPDataAdapter::GetResequencingResults(UnifiedResequencingResults& result) {
  if (!IsType(generic_io::kResequencingChpType)) return false;
  // The counts come from the headers; only rows the data sets hold are read.
  for (std::int32_t i = 0, n = chpData.GetEntryCount(); i < n; ++i) {
    std::uint8_t call = 0;
    float score = 0.0f;
    if (!chpData.GetResequencingEntry(i, call, score)) break;
    result.calledBases.push_back(call);
    result.scores.push_back(score);
  }
  for (std::int32_t i = 0, m = chpData.GetForceCallCount(); i < m; ++i) {
    UnifiedForceCall force;
    if (!chpData.GetForceCallEntry(i, force.position, force.call, force.code)) break;
    result.forceCalls.push_back(force);
  }
  for (std::int32_t i = 0, k = chpData.GetOrigCallCount(); i < k; ++i) {
    UnifiedOrigCall orig;
    if (!chpData.GetOrigCallEntry(i, orig.position, orig.call)) break;
    result.origCalls.push_back(orig);
  }
  return true;
}

std::string GenericCHPDataAdapter::GetFileId() { return chpData.GetGenericData().Header().genericHeader.GetFileId(); }

}  // namespace unified_io
