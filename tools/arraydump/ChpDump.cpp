// arraydump of CHP files in every form, read through the registry the rest of
// the program uses: the form, the header with the algorithm and chip-summary
// parameters, the background zones, then one row per probe set with its call
// ("A", "B", "AB", "No Call") or its result values ("--sets N" prints the
// first N).
#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <string_view>

#include "arrayfiles/unified/UnifiedCHPData.h"
#include "platform/Paths.h"
#include "tools/arraydump/ArrayDump.h"

namespace arraydump {

namespace {

// After the CEL and CDF printers, before the generic header tree: the
// registry takes only files one of its adapters reads.
constexpr int kChpPriority = 400;

// The first word of a file tells the forms apart.
constexpr int kGenericMagic = 59;
constexpr int kXdaMagic = 65;

const char* FormName(unified_io::IUnifiedCHPHeaderAdapter& header) {
  switch (header.GetMagic()) {
    case kGenericMagic: return "chp-generic";
    case kXdaMagic: return "chp-xda";
    default: return "chp-older";
  }
}

const char* AssayName(int assay) {
  switch (assay) {
    case unified_io::kAssayExpression: return "expression";
    case unified_io::kAssayGenotyping: return "genotyping";
    case unified_io::kAssayResequencing: return "resequencing";
    case unified_io::kAssayUniversal: return "universal";
    default: return "unknown";
  }
}

void PrintParameters(std::ostream& out, const char* name, const unified_io::UnifiedTagValuePairList& params) {
  PrintField(out, std::string(name) + "s", static_cast<long long>(params.size()));
  for (const unified_io::UnifiedTagValuePair& param : params) {
    PrintField(out, name, std::string_view(Printable(param.Tag) + '\t' + Printable(param.Value)));
  }
}

void PrintHeader(unified_io::IUnifiedCHPDataAdapter& chp, std::ostream& out) {
  unified_io::IUnifiedCHPHeaderAdapter& h = *chp.GetHeader();
  PrintField(out, "format", std::string_view(FormName(h)));
  PrintField(out, "file-id", std::string_view(chp.GetFileId()));
  PrintField(out, "version", static_cast<long long>(h.GetVersion()));
  PrintField(out, "assay-type", static_cast<long long>(h.GetAssayType()));
  PrintField(out, "assay", std::string_view(AssayName(h.GetAssayType())));
  PrintField(out, "rows", static_cast<long long>(h.GetRows()));
  PrintField(out, "columns", static_cast<long long>(h.GetCols()));
  PrintField(out, "probe-sets", static_cast<long long>(h.GetNumProbeSets()));
  PrintField(out, "chip-type", std::string_view(Printable(h.GetChipType())));
  PrintField(out, "algorithm", std::string_view(Printable(h.GetAlgName())));
  PrintField(out, "algorithm-version", std::string_view(Printable(h.GetAlgVersion())));
  PrintField(out, "parent-cel-file", std::string_view(Printable(h.GetParentCellFile())));
  PrintField(out, "program-id", std::string_view(Printable(h.GetProgID())));
  unified_io::UnifiedTagValuePairList params;
  h.GetAlgorithmParameters(params);
  PrintParameters(out, "algorithm-parameter", params);
  params.clear();
  h.GetSummaryParameters(params);
  PrintParameters(out, "summary-parameter", params);
  unified_io::UnifiedBackgroundZoneInfo zones;
  h.GetBackgroundZoneInfo(zones);
  PrintField(out, "background-zones", static_cast<long long>(zones.numberZones));
  PrintField(out, "smooth-factor", std::string_view(FloatText(zones.smoothFactor)));
  for (const unified_io::UnifiedBackgroundZone& zone : zones.zones) {
    PrintField(out, "zone",
               std::string_view(FloatText(zone.x) + '\t' + FloatText(zone.y) + '\t' + FloatText(zone.background)));
  }
}

// One row of the probe set at `index` ("index name call values", or the
// result values), or false when the file has no row of its kind there.
bool PrintProbeSet(unified_io::IUnifiedCHPDataAdapter& chp, int assay, int index, std::ostream& out) {
  const std::string prefix = std::to_string(index) + '\t' + chp.GetProbeSetName(index);
  if (assay == unified_io::kAssayGenotyping) {
    unified_io::UnifiedGenotypeProbeSetResults r;
    if (!chp.GetGenotypingResults(index, r)) return false;
    out << prefix << '\t' << r.GetAssignmentCallString();
    for (float v : {r.value1, r.value2, r.value3, r.value4, r.value5, r.value6, r.value7}) out << '\t' << FloatText(v);
  } else if (assay == unified_io::kAssayExpression) {
    unified_io::UnifiedExpressionProbeSetResults r;
    if (!chp.GetExpressionResults(index, r)) return false;
    out << prefix << '\t' << int(r.code1) << '\t' << FloatText(r.value1) << '\t' << FloatText(r.value2) << '\t'
        << r.count1 << '\t' << r.count2;
    if (r.hasExtendedFields) {
      out << '\t' << int(r.code2);
      for (float v : {r.value3, r.value4, r.value5, r.value6}) out << '\t' << FloatText(v);
      out << '\t' << r.count3;
    }
  } else if (assay == unified_io::kAssayUniversal) {
    unified_io::UnifiedUniversalProbeSetResults r;
    if (!chp.GetUniversalResults(index, r)) return false;
    out << prefix << '\t' << FloatText(r.value);
  } else {
    return false;
  }
  out << '\n';
  return true;
}

void PrintResequencing(unified_io::IUnifiedCHPDataAdapter& chp, std::ostream& out) {
  unified_io::UnifiedResequencingResults r;
  if (!chp.GetResequencingResults(r)) return;
  PrintField(out, "called-bases", static_cast<long long>(r.calledBases.size()));
  for (std::size_t i = 0; i < r.calledBases.size(); ++i) {
    out << i << '\t' << Printable(std::u16string(1, char16_t(r.calledBases[i]))) << '\t'
        << FloatText(i < r.scores.size() ? r.scores[i] : 0.0f) << '\n';
  }
  PrintField(out, "force-calls", static_cast<long long>(r.forceCalls.size()));
  for (const unified_io::UnifiedForceCall& c : r.forceCalls) {
    out << c.position << '\t' << int(c.call) << '\t' << int(c.code) << '\n';
  }
  PrintField(out, "orig-calls", static_cast<long long>(r.origCalls.size()));
  for (const unified_io::UnifiedOrigCall& c : r.origCalls) out << c.position << '\t' << int(c.call) << '\n';
}

// True for a file that begins as one of the two legacy forms does. Such a
// file no other printer takes, so its reader's reason is the one to tell;
// a generic file the CHP readers refuse still has its header tree printed.
bool BeginsAsLegacyChp(const std::string& path) {
  constexpr std::string_view kOlderMagic = "BioArray Sequence File";
  std::ifstream in(platform::NativePath(path), std::ios::binary);
  char start[kOlderMagic.size()] = {};
  in.read(start, sizeof start);
  const std::string_view begun(start, std::size_t(in.gcount()));
  if (begun == kOlderMagic) return true;
  return begun.size() >= 4 && begun[0] == char(kXdaMagic) && begun[1] == 0 && begun[2] == 0 && begun[3] == 0;
}

bool PrintChpFile(const std::string& path, std::ostream& out) {
  std::string reason;
  std::unique_ptr<unified_io::UnifiedCHPData> data = unified_io::UnifiedCHPDataReg::Read(path, reason);
  unified_io::UnifiedCHPLegacyData* chpData = unified_io::UnifiedCHPLegacyData::FromBase(data.get());
  if (chpData == nullptr) {
    if (!data && BeginsAsLegacyChp(path)) throw std::runtime_error("CHP file: " + reason);
    return false;
  }
  unified_io::IUnifiedCHPDataAdapter& chp = chpData->Adapter();
  PrintHeader(chp, out);
  const int assay = chp.GetHeader()->GetAssayType();
  if (assay == unified_io::kAssayResequencing) {
    PrintResequencing(chp, out);
    return true;
  }
  long long shown = std::max(chp.GetHeader()->GetNumProbeSets(), 0);
  if (std::optional<long long> limit = NumericOption("sets"); limit && *limit >= 0) shown = std::min(shown, *limit);
  // Rows end where the file's results end, whatever its header claims.
  for (int i = 0; i < shown; ++i) {
    if (!PrintProbeSet(chp, assay, i, out)) break;
  }
  return true;
}

const PrinterRegistration kChp{kChpPriority, "chp", &PrintChpFile};

}  // namespace

}  // namespace arraydump
