// The XDA form of a legacy CHP file: a fixed header of counted texts,
// parameter pairs and background zones, then fixed-size records per assay.
#include <algorithm>
#include <memory>
#include <vector>

#include "arrayfiles/chp/LegacyCHPFile.h"
#include "arrayfiles/chp/LegacyCHPInput.h"
#include "platform/ByteOrder.h"
#include "platform/Strings.h"

namespace legacy_chp::detail {

namespace {

constexpr std::int32_t kHighestXdaVersion = 2;
// Expression analysis kinds: without and with the extended fields.
constexpr std::uint8_t kExpressionBasic = 2;
constexpr std::uint8_t kExpressionExtended = 3;
constexpr std::size_t kExpressionBasicBytes = 13;
constexpr std::size_t kExpressionExtendedBytes = 32;
// A genotyping record carries two more values when its stated size is this.
constexpr std::int32_t kGenotypeLongRecord = 21;
constexpr std::size_t kGenotypeShortBytes = 13;
constexpr std::size_t kForceCallBytes = 6;
constexpr std::size_t kOrigCallBytes = 5;

unsigned long long At(const LegacyInput& in) { return static_cast<unsigned long long>(in.Position()); }

// Why the parameter list cannot be read, with where; empty when it was read.
std::string ReadPairs(LegacyInput& in, const char* what, TagValuePairList& pairs) {
  const unsigned long long at = At(in);
  std::int32_t count = in.Int32();
  if (in.Ended()) return PastEnd(in, std::string(what) + " parameter count", at);
  // Each pair holds at least its two 32-bit lengths.
  if (!in.Fits(count, 8)) {
    return platform::Format("the %d %s parameters at offset %llu do not fit the %llu bytes left", count, what, at,
                            static_cast<unsigned long long>(in.Left()));
  }
  for (std::int32_t i = 0; i < count; ++i) {
    TagValuePair pair;
    const unsigned long long pairAt = At(in);
    if (!in.CountedText(pair.Tag) || !in.CountedText(pair.Value)) {
      return PastEnd(in, platform::Format("%s parameter %d", what, i), pairAt);
    }
    pairs.push_back(std::move(pair));
  }
  return {};
}

// Offset of the array size, the probe-set count and the assay type: the
// fixed part of the header.
constexpr std::uint64_t kDimensionsAt = 8;

// Why the header cannot be read, with where; empty when it was read.
std::string ReadHeader(LegacyInput& in, CLegacyCHPHeader& h) {
  h.cols = in.UInt16();
  h.rows = in.UInt16();
  h.numProbeSets = in.Int32();
  in.Int32();  // not used
  h.assayType = in.Int32();
  if (in.Ended()) return PastEnd(in, "fixed part of the header", kDimensionsAt);
  if (h.numProbeSets < 0) return platform::Format("the probe-set count at offset 12 is %d", h.numProbeSets);
  if (std::string why = ReadCountedTexts(in, {{"program id", &h.progId},
                                              {"parent CEL file name", &h.parentCelFile},
                                              {"chip type", &h.chipType},
                                              {"algorithm name", &h.algorithmName},
                                              {"algorithm version", &h.algorithmVersion}});
      !why.empty()) {
    return why;
  }
  if (std::string why = ReadPairs(in, "algorithm", h.algorithmParameters); !why.empty()) return why;
  if (std::string why = ReadPairs(in, "summary", h.summaryParameters); !why.empty()) return why;
  const unsigned long long zonesAt = At(in);
  h.zoneCount = in.Int32();
  h.smoothFactor = in.Float32();
  if (in.Ended()) return PastEnd(in, "background zone count", zonesAt);
  if (!in.Fits(h.zoneCount, 12)) {
    return platform::Format("the %d background zones at offset %llu do not fit the %llu bytes left", h.zoneCount,
                            zonesAt, static_cast<unsigned long long>(in.Left()));
  }
  h.zones.reserve(std::size_t(h.zoneCount));
  for (std::int32_t i = 0; i < h.zoneCount; ++i) {
    BackgroundZone zone;
    zone.x = in.Float32();
    zone.y = in.Float32();
    zone.background = in.Float32();
    h.zones.push_back(zone);
  }
  return {};
}

// The fields that lead an assay's records, read at `at`; false, with the
// file's error set, when the file ends inside them.
bool LeadRead(CLegacyCHPFile& file, const LegacyInput& in, const char* what, std::uint64_t at) {
  return !in.Ended() || FailAt(file, PastEnd(in, what, at));
}

bool ReadExpression(LegacyInput& in, CLegacyCHPFile& file) {
  const std::uint64_t at = in.Position();
  std::uint8_t kind = in.UInt8();
  in.Int32();  // record size, not used
  if (!LeadRead(file, in, "expression record kind", at)) return false;
  if (kind != kExpressionBasic && kind != kExpressionExtended) {
    return Fail(file, messages::kUnsupportedExpression);
  }
  bool extended = kind == kExpressionExtended;
  std::int32_t n = file.header.numProbeSets;
  const std::size_t recordBytes = extended ? kExpressionExtendedBytes : kExpressionBasicBytes;
  if (!in.Fits(n, recordBytes)) return FailRecords(file, in, "expression", n, recordBytes);
  file.results.resize(std::size_t(n));
  for (auto& slot : file.results) {
    auto r = std::make_unique<CExpressionProbeSetResults>();
    r->code1 = in.UInt8();
    r->value1 = in.Float32();
    r->value2 = in.Float32();
    r->count1 = in.UInt16();
    r->count2 = in.UInt16();
    r->hasExtendedFields = extended;
    if (extended) {
      r->code2 = in.UInt8();
      r->value3 = in.Float32();
      r->value4 = in.Float32();
      r->value5 = in.Float32();
      r->value6 = in.Float32();
      r->count3 = in.UInt16();
    }
    slot = std::move(r);
  }
  return true;
}

bool ReadGenotyping(LegacyInput& in, CLegacyCHPFile& file) {
  const std::uint64_t at = in.Position();
  bool longRecord = in.Int32() == kGenotypeLongRecord;
  if (!LeadRead(file, in, "genotyping record size", at)) return false;
  std::int32_t n = file.header.numProbeSets;
  const std::size_t recordBytes = longRecord ? std::size_t(kGenotypeLongRecord) : kGenotypeShortBytes;
  if (!in.Fits(n, recordBytes)) return FailRecords(file, in, "genotyping", n, recordBytes);
  // The records were checked to fit: they are read a block at a time rather
  // than field by field, through one small buffer (a buffer of the whole
  // table, 21 MB for a million probe sets, would be faulted in and zeroed
  // only to be copied out once).
  constexpr std::size_t kRecordsPerBlock = 65536;
  const auto count = std::size_t(n);
  if (file.genotypeCallsOnly) {
    file.genotypeCalls.resize(count);
  } else {
    file.results.resize(count);
  }
  std::vector<std::uint8_t> block;
  for (std::size_t first = 0; first < count; first += kRecordsPerBlock) {
    const std::size_t last = std::min(count, first + kRecordsPerBlock);
    if (!in.Bytes(block, (last - first) * recordBytes)) {
      file.genotypeCalls.clear();
      file.results.clear();
      return FailRecords(file, in, "genotyping", n, recordBytes);
    }
    const std::uint8_t* p = block.data();
    for (std::size_t k = first; k < last; ++k, p += recordBytes) {
      if (file.genotypeCallsOnly) {
        file.genotypeCalls[k] = p[0];
        continue;
      }
      auto r = std::make_unique<CGenotypeProbeSetResults>();
      r->call = p[0];
      r->value1 = platform::ReadLEFloat(p + 1);
      r->value2 = r->value4 = platform::ReadLEFloat(p + 5);
      r->value3 = r->value5 = platform::ReadLEFloat(p + 9);
      if (longRecord) {
        r->value6 = platform::ReadLEFloat(p + 13);
        r->value7 = platform::ReadLEFloat(p + 17);
      }
      file.results[k] = std::move(r);
    }
  }
  return true;
}

bool ReadUniversal(LegacyInput& in, CLegacyCHPFile& file) {
  const std::uint64_t at = in.Position();
  in.Int32();  // record size, not used
  if (!LeadRead(file, in, "universal record size", at)) return false;
  std::int32_t n = file.header.numProbeSets;
  if (!in.Fits(n, 4)) return FailRecords(file, in, "universal", n, 4);
  file.results.resize(std::size_t(n));
  for (auto& slot : file.results) {
    auto r = std::make_unique<CUniversalProbeSetResults>();
    r->value = in.Float32();
    slot = std::move(r);
  }
  return true;
}

bool ReadResequencing(LegacyInput& in, CLegacyCHPFile& file) {
  CResequencingData& data = file.resequencing;
  data.Clear();
  const std::uint64_t at = in.Position();
  in.Int32();  // record size, not used
  std::int32_t n = in.Int32();
  if (!LeadRead(file, in, "resequencing record size", at)) return false;
  if (!in.Fits(n, 1 + 4)) return FailRecords(file, in, "resequencing", n, 1 + 4);
  data.calledBases.resize(std::size_t(n));
  data.scores.resize(std::size_t(n));
  for (auto& base : data.calledBases) base = in.UInt8();
  for (auto& score : data.scores) score = in.Float32();
  if (file.header.version < 2) return true;

  const std::uint64_t forceAt = in.Position();
  std::int32_t m = in.Int32();
  if (!LeadRead(file, in, "force call count", forceAt)) return false;
  if (!in.Fits(m, kForceCallBytes)) return FailRecords(file, in, "force call", m, kForceCallBytes);
  data.forceCalls.resize(std::size_t(m));
  for (ForceCall& call : data.forceCalls) {
    call.position = in.Int32();
    call.call = in.UInt8();
    call.code = in.UInt8();
  }
  const std::uint64_t origAt = in.Position();
  std::int32_t k = in.Int32();
  if (!LeadRead(file, in, "original call count", origAt)) return false;
  if (!in.Fits(k, kOrigCallBytes)) return FailRecords(file, in, "original call", k, kOrigCallBytes);
  data.origCalls.resize(std::size_t(k));
  for (OrigCall& call : data.origCalls) {
    call.position = in.Int32();
    call.call = in.UInt8();
  }
  return true;
}

}  // namespace

bool ReadXdaForm(LegacyInput& in, CLegacyCHPFile& file, bool headerOnly) {
  CLegacyCHPHeader& h = file.header;
  h.magic = in.Int32();
  h.version = in.Int32();
  if (in.Ended()) return FailAt(file, PastEnd(in, "version", 4));
  if (h.version > kHighestXdaVersion) return Fail(file, messages::kUnsupportedXdaVersion);
  if (const std::string why = ReadHeader(in, h); !why.empty()) return FailAt(file, why);
  if (headerOnly) return true;

  switch (h.assayType) {
    case kExpression: return ReadExpression(in, file);
    case kGenotyping: return ReadGenotyping(in, file);
    case kUniversal: return ReadUniversal(in, file);
    case kResequencing: return ReadResequencing(in, file);
    default: return Fail(file, messages::kUnsupportedAssay);
  }
}

}  // namespace legacy_chp::detail
