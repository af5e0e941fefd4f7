#include "arrayfiles/unified/LegacyCHPDataAdapter.h"

#include "arrayfiles/common/StringUtils.h"

namespace unified_io {

namespace {

UnifiedBackgroundZone ToUnified(const legacy_chp::BackgroundZone& zone) {
  return {zone.x, zone.y, zone.background};
}

}  // namespace

// ---- header adapter ---------------------------------------------------------

int LegacyCHPHeaderAdapter::GetCols() { return legacyHeader->cols; }
int LegacyCHPHeaderAdapter::GetRows() { return legacyHeader->rows; }
int LegacyCHPHeaderAdapter::GetNumProbeSets() { return legacyHeader->numProbeSets; }
int LegacyCHPHeaderAdapter::GetAssayType() { return legacyHeader->assayType; }
std::u16string LegacyCHPHeaderAdapter::GetChipType() { return StringUtils::NarrowToWide(legacyHeader->chipType); }
std::u16string LegacyCHPHeaderAdapter::GetAlgName() {
  return StringUtils::NarrowToWide(legacyHeader->algorithmName);
}
std::u16string LegacyCHPHeaderAdapter::GetAlgVersion() {
  return StringUtils::NarrowToWide(legacyHeader->algorithmVersion);
}

void LegacyCHPHeaderAdapter::GetAlgorithmParameters(UnifiedTagValuePairList& params) {
  ToWideTagValueList(legacyHeader->algorithmParameters, params);
}

int LegacyCHPHeaderAdapter::GetNumAlgorithmParameters() {
  return int(legacyHeader->algorithmParameters.size());
}
int LegacyCHPHeaderAdapter::GetNumSummaryParameters() {
  return int(legacyHeader->summaryParameters.size());
}

void LegacyCHPHeaderAdapter::GetSummaryParameters(UnifiedTagValuePairList& params) {
  ToWideTagValueList(legacyHeader->summaryParameters, params);
}

std::u16string LegacyCHPHeaderAdapter::GetParentCellFile() {
  return StringUtils::NarrowToWide(legacyHeader->parentCelFile);
}
std::u16string LegacyCHPHeaderAdapter::GetProgID() { return StringUtils::NarrowToWide(legacyHeader->progId); }

std::u16string LegacyCHPHeaderAdapter::GetAlgorithmParameter(const std::u16string& tag) {
  return StringUtils::NarrowToWide(legacyHeader->GetAlgorithmParameter(StringUtils::WideToNarrow(tag)));
}

std::u16string LegacyCHPHeaderAdapter::GetSummaryParameter(const std::u16string& tag) {
  return StringUtils::NarrowToWide(legacyHeader->GetSummaryParameter(StringUtils::WideToNarrow(tag)));
}

void LegacyCHPHeaderAdapter::GetBackgroundZoneInfo(UnifiedBackgroundZoneInfo& info) {
  info.numberZones = legacyHeader->zoneCount;
  info.smoothFactor = legacyHeader->smoothFactor;
  GetBackgroundZones(info.zones);
}

void LegacyCHPHeaderAdapter::GetBackgroundZones(std::vector<UnifiedBackgroundZone>& zones) {
  for (const legacy_chp::BackgroundZone& zone : legacyHeader->zones) zones.push_back(ToUnified(zone));
}

UnifiedBackgroundZone LegacyCHPHeaderAdapter::GetBackgroundZone(int index) {
  if (index < 0 || std::size_t(index) >= legacyHeader->zones.size()) return {};
  return ToUnified(legacyHeader->zones[std::size_t(index)]);
}

UnifiedBackgroundZone LegacyCHPHeaderAdapter::GetBackgroundZone(float x, float y) {
  return ToUnified(legacyHeader->GetBackgroundZone(x, y));
}

int LegacyCHPHeaderAdapter::GetMagic() { return legacyHeader->magic; }
int LegacyCHPHeaderAdapter::GetVersion() { return legacyHeader->version; }

// ---- data adapter -----------------------------------------------------------

LegacyCHPDataAdapter::LegacyCHPDataAdapter()
    : header(std::make_unique<LegacyCHPHeaderAdapter>(&legacyChp.header)) {}

LegacyCHPDataAdapter::~LegacyCHPDataAdapter() { legacyChp.Clear(); }

IUnifiedCHPHeaderAdapter* LegacyCHPDataAdapter::GetHeader() { return header.get(); }

bool LegacyCHPDataAdapter::CanReadFile() {
  bool ok = legacyChp.Open(true);
  legacyChp.Clear();
  return ok;
}

std::string LegacyCHPDataAdapter::GetProbeSetName(int) { return {}; }

template <class Record>
const Record* LegacyCHPDataAdapter::ResultAt(int index, int assay) const {
  const legacy_chp::CLegacyCHPHeader& h = legacyChp.header;
  if (h.assayType != assay || index < 0 || index >= h.numProbeSets) return nullptr;
  if (std::size_t(index) >= legacyChp.results.size()) return nullptr;
  return dynamic_cast<const Record*>(legacyChp.results[std::size_t(index)].get());
}

bool LegacyCHPDataAdapter::GetExpressionResults(int index,
                                                UnifiedExpressionProbeSetResults& result) {
  auto r = ResultAt<legacy_chp::CExpressionProbeSetResults>(index, legacy_chp::kExpression);
  if (!r) return false;
  CopyExpressionRow(*r, result);
  return true;
}

bool LegacyCHPDataAdapter::GetGenotypingResults(int index, UnifiedGenotypeProbeSetResults& result) {
  auto r = ResultAt<legacy_chp::CGenotypeProbeSetResults>(index, legacy_chp::kGenotyping);
  if (!r) return false;
  CopyGenotypeRow(*r, result);
  return true;
}

bool LegacyCHPDataAdapter::GetGenotypeCalls(std::vector<std::uint8_t>& calls) {
  if (!legacyChp.genotypeCallsOnly) return IUnifiedCHPDataAdapter::GetGenotypeCalls(calls);
  calls.clear();
  if (legacyChp.header.assayType != legacy_chp::kGenotyping) return false;
  calls = legacyChp.genotypeCalls;
  calls.resize(std::size_t(std::max(legacyChp.header.numProbeSets, 0)));
  return true;
}

bool LegacyCHPDataAdapter::GetUniversalResults(int index, UnifiedUniversalProbeSetResults& result) {
  auto r = ResultAt<legacy_chp::CUniversalProbeSetResults>(index, legacy_chp::kUniversal);
  if (!r) return false;
  result.value = r->value;
  return true;
}

bool LegacyCHPDataAdapter::GetResequencingResults(UnifiedResequencingResults& result) {
  if (legacyChp.header.assayType != legacy_chp::kResequencing) return false;
  const legacy_chp::CResequencingData& data = legacyChp.resequencing;
  result.calledBases.insert(result.calledBases.end(), data.calledBases.begin(),
                            data.calledBases.end());
  result.scores.insert(result.scores.end(), data.scores.begin(), data.scores.end());
  for (const legacy_chp::ForceCall& call : data.forceCalls) {
    result.forceCalls.push_back({call.position, call.call, call.code});
  }
  for (const legacy_chp::OrigCall& call : data.origCalls) {
    result.origCalls.push_back({call.position, call.call});
  }
  return true;
}

bool LegacyCHPDataAdapter::Read() { return legacyChp.Read(false); }

bool LegacyCHPDataAdapter::ReadHeader() { return legacyChp.Read(true); }

void LegacyCHPDataAdapter::SetFileName(const std::string& name) { legacyChp.fileName = name; }

std::string LegacyCHPDataAdapter::GetFileName() { return legacyChp.fileName; }

void LegacyCHPDataAdapter::Clear() { legacyChp.Clear(); }

std::string LegacyCHPDataAdapter::GetFileId() { return {}; }

generic_io::GenericData* LegacyCHPDataAdapter::GetGenericData() { return nullptr; }

}  // namespace unified_io
