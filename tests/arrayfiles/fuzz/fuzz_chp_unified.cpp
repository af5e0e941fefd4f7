// libFuzzer target for CHP files through the reader registry, as the
// extraction reads them: the input is read as whichever form the adapters
// take it for, then every header question and every result getter is asked,
// for each probe set (up to a bound that keeps one input fast) and for
// indexes just outside the file.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/unified/UnifiedCHPData.h"
#include "tests/arrayfiles/fuzz/FuzzInputFile.h"
#include "tests/arrayfiles/fuzz/FuzzTouch.h"

namespace {

// Probe sets walked per input: a header may claim billions that hold nothing.
constexpr int kWalkLimit = 512;

using fuzz_support::Touch;

void AskHeader(unified_io::IUnifiedCHPHeaderAdapter& h) {
  Touch(h.GetCols(), h.GetRows(), h.GetNumProbeSets(), h.GetAssayType(), h.GetMagic(), h.GetVersion());
  Touch(h.GetChipType().size(), h.GetAlgName().size(), h.GetAlgVersion().size(), h.GetParentCellFile().size(),
        h.GetProgID().size());
  unified_io::UnifiedTagValuePairList params;
  h.GetAlgorithmParameters(params);
  h.GetSummaryParameters(params);
  Touch(params.size(), h.GetNumAlgorithmParameters(), h.GetNumSummaryParameters());
  for (const auto& param : params) {
    Touch(h.GetAlgorithmParameter(param.Tag).size(), h.GetSummaryParameter(param.Tag).size());
  }
  Touch(h.GetSummaryParameter(u"CalledGender").size(), h.GetSummaryParameter(u"Gender").size());
  unified_io::UnifiedBackgroundZoneInfo info;
  h.GetBackgroundZoneInfo(info);
  std::vector<unified_io::UnifiedBackgroundZone> zones;
  h.GetBackgroundZones(zones);
  for (int i : {-1, 0, 1, info.numberZones - 1, info.numberZones}) Touch(h.GetBackgroundZone(i).background);
  Touch(info.smoothFactor, zones.size());
}

void AskResults(unified_io::IUnifiedCHPDataAdapter& chp) {
  const int count = chp.GetHeader()->GetNumProbeSets();
  auto ask = [&](int i) {
    unified_io::UnifiedGenotypeProbeSetResults g;
    unified_io::UnifiedExpressionProbeSetResults e;
    unified_io::UnifiedUniversalProbeSetResults u;
    Touch(chp.GetGenotypingResults(i, g), chp.GetExpressionResults(i, e), chp.GetUniversalResults(i, u));
    Touch(g.GetAssignmentCallString().size(), chp.GetProbeSetName(i).size(), g.value7, e.value6, u.value);
  };
  for (int i = 0; i < std::min(count, kWalkLimit); ++i) ask(i);
  // Written so that a count of INT32_MAX cannot overflow.
  for (long long i : {-1LL, count - 1LL, 0LL + count, count + 1LL}) {
    if (i >= INT32_MIN && i <= INT32_MAX) ask(int(i));
  }
  unified_io::UnifiedResequencingResults r;
  Touch(chp.GetResequencingResults(r), r.calledBases.size(), r.forceCalls.size(), r.origCalls.size());
  Touch(chp.GetFileId().size(), chp.GetGenericData() != nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (!fuzz_support::WriteInput(bytes, size)) return 0;
  std::unique_ptr<unified_io::UnifiedCHPData> data = unified_io::UnifiedCHPDataReg::Read(fuzz_support::InputPath());
  unified_io::UnifiedCHPLegacyData* chp = unified_io::UnifiedCHPLegacyData::FromBase(data.get());
  if (chp == nullptr) return 0;
  try {
    unified_io::UnifiedCHPHeader header = chp->GetHeader();
    Touch(header.GetChipType().size(), header.GetSummaryParameter(u"CalledGender").size());
    AskHeader(*chp->Adapter().GetHeader());
    AskResults(chp->Adapter());
  } catch (const generic_exceptions::GenericException&) {
    // The data sets' own exceptions reach callers of the accessors.
  }
  return 0;
}
