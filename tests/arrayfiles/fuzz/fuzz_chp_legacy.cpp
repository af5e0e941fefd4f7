// libFuzzer target for the legacy CHP reader on its own: the input is read
// header-only and in full, in both legacy forms, and every record and list
// the reader kept is walked.
#include <cstdint>

#include "arrayfiles/chp/LegacyCHPFile.h"
#include "tests/arrayfiles/fuzz/FuzzInputFile.h"
#include "tests/arrayfiles/fuzz/FuzzTouch.h"

namespace {

using fuzz_support::Touch;

void Walk(const legacy_chp::CLegacyCHPFile& chp) {
  const legacy_chp::CLegacyCHPHeader& h = chp.header;
  Touch(h.chipType.size(), h.algorithmName.size(), h.progId.size(), h.parentCelFile.size());
  Touch(h.GetSummaryParameter("CalledGender").size(), h.GetAlgorithmParameter("Gender").size());
  for (const auto& zone : h.zones) Touch(h.GetBackgroundZone(zone.x, zone.y).background);
  for (const auto& record : chp.results) {
    if (auto g = dynamic_cast<const legacy_chp::CGenotypeProbeSetResults*>(record.get())) Touch(g->call, g->value7);
    if (auto e = dynamic_cast<const legacy_chp::CExpressionProbeSetResults*>(record.get())) Touch(e->value6);
    if (auto u = dynamic_cast<const legacy_chp::CUniversalProbeSetResults*>(record.get())) Touch(u->value);
  }
  const legacy_chp::CResequencingData& r = chp.resequencing;
  for (std::size_t i = 0; i < r.calledBases.size(); ++i) Touch(r.calledBases[i], r.scores[i]);
  for (const auto& c : r.forceCalls) Touch(c.position, c.call, c.code);
  for (const auto& c : r.origCalls) Touch(c.position, c.call);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (!fuzz_support::WriteInput(bytes, size)) return 0;
  legacy_chp::CLegacyCHPFile chp;
  chp.fileName = fuzz_support::InputPath();
  Touch(chp.IsXDACompatibleFile());
  for (bool headerOnly : {true, false}) {
    bool ok = chp.Read(headerOnly);
    // A failed read leaves nothing behind; a successful one what its header says.
    if (!ok && (!chp.results.empty() || chp.header.numProbeSets != 0)) __builtin_trap();
    if (ok && !chp.results.empty() && chp.results.size() != std::size_t(chp.header.numProbeSets)) __builtin_trap();
    Walk(chp);
  }
  return 0;
}
