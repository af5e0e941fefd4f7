// The older binary form of a CHP file ("BioArray Sequence File"): parameters
// as free text, fixed 256-byte texts, values in thousandths, and many fields
// that the program reads past.
#include <algorithm>

#include "arrayfiles/chp/LegacyCHPFile.h"
#include "arrayfiles/chp/LegacyCHPInput.h"
#include "platform/Strings.h"

namespace legacy_chp::detail {

namespace {

constexpr char kMagicText[] = "BioArray Sequence File";
constexpr std::size_t kMagicLength = sizeof(kMagicText) - 1;
constexpr std::size_t kFixedTextBytes = 256;

// Oldest versions each assay can be read from.
constexpr std::int32_t kFirstExpressionVersion = 12;
constexpr std::int32_t kFirstUniversalVersion = 10;
// Version 12 files carry extra fields that later versions dropped.
constexpr std::int32_t kVerboseVersion = 12;

// Probe-set type codes of this form, mapped to assay types.
std::int32_t AssayFromProbeSetType(std::int32_t type) {
  switch (type) {
    case 1: return kResequencing;
    case 2: return kGenotyping;
    case 3: return kExpression;
    case 7: return kUniversal;
    default: return kUnknown;
  }
}

// Splits "tag=value" at its first run of '=' the way the files were written:
// leading '=' are skipped and the value ends at the next '='.
TagValuePair SplitPair(const std::string& text) {
  TagValuePair pair;
  std::size_t tagStart = text.find_first_not_of('=');
  if (tagStart == std::string::npos) return pair;
  std::size_t tagEnd = std::min(text.find('=', tagStart), text.size());
  pair.Tag = text.substr(tagStart, tagEnd - tagStart);
  std::size_t valueStart = text.find_first_not_of('=', tagEnd);
  if (valueStart == std::string::npos) return pair;
  std::size_t valueEnd = std::min(text.find('=', valueStart), text.size());
  pair.Value = text.substr(valueStart, valueEnd - valueStart);
  return pair;
}

// Words without '=' belong to the pair before them; the pairs are listed from
// the last to the first, so a repeated tag is found with its later value.
TagValuePairList ParseOlderParameterText(const std::string& text) {
  std::vector<std::string> pairTexts;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t start = text.find_first_not_of(' ', pos);
    if (start == std::string::npos) break;
    std::size_t end = std::min(text.find(' ', start), text.size());
    std::string word = text.substr(start, end - start);
    if (word.find('=') != std::string::npos) {
      pairTexts.push_back(std::move(word));
    } else if (!pairTexts.empty()) {
      pairTexts.back() += ' ';
      pairTexts.back() += word;
    }
    pos = end;
  }
  TagValuePairList pairs;
  for (auto it = pairTexts.rbegin(); it != pairTexts.rend(); ++it) pairs.push_back(SplitPair(*it));
  return pairs;
}

struct OlderLayout {
  std::int32_t version = 0;
  // Per probe set, its cell count (low 16 bits, signed).
  std::vector<std::int16_t> cellCounts;

  [[nodiscard]] bool Verbose() const { return version == kVerboseVersion; }
  // A block of one cell of a probe pair.
  [[nodiscard]] std::size_t CellBlockBytes() const { return Verbose() ? 5 * 4 + 2 : 2 * 2; }
  // Two 32-bit numbers and two cell blocks.
  [[nodiscard]] std::size_t PairBlockBytes() const { return 2 * 4 + 2 * CellBlockBytes(); }
};

bool SkipBlocks(LegacyInput& in, std::int64_t count, std::size_t bytesEach) {
  if (!in.Fits(count, bytesEach)) return false;
  in.Skip(std::size_t(count) * bytesEach);
  return true;
}

bool ReadExpressionRecord(LegacyInput& in, const OlderLayout& layout,
                          CExpressionProbeSetResults& r) {
  bool verbose = layout.Verbose();
  r.count1 = std::uint16_t(in.Int32());
  r.count2 = std::uint16_t(in.Int32());
  if (verbose) in.Int32();
  in.Int32();
  if (verbose) in.Skip(3 * 4);
  r.value1 = in.Float32();
  if (verbose) in.Int32();
  r.value2 = in.Float32();
  r.code1 = std::uint8_t(in.Int32());
  if (!SkipBlocks(in, r.count1, layout.PairBlockBytes())) return false;
  r.hasExtendedFields = in.Int32() == 1;
  if (!r.hasExtendedFields) return true;
  r.count3 = std::uint16_t(in.Int32());
  if (verbose) in.Skip(3 * 4);
  r.code2 = std::uint8_t(in.Int32());
  in.UInt8();
  if (verbose) in.Skip(1 + 4 + 4);
  r.value6 = in.Thousandths();
  in.Int32();
  if (verbose) in.Int32();
  r.value4 = in.Thousandths();
  if (verbose) in.Int32();
  r.value5 = in.Thousandths();
  r.value3 = verbose ? in.Thousandths() : in.Float32();
  return true;
}

bool ReadGenotypeRecord(LegacyInput& in, const OlderLayout& layout, CGenotypeProbeSetResults& r) {
  std::int32_t entries = in.Int32();
  // Each entry: a number, a counted text, a byte and three numbers.
  if (!in.Fits(entries, 4 + 4 + 1 + 3 * 4)) return false;
  for (std::int32_t i = 0; i < entries; ++i) {
    in.Int32();
    if (!in.SkipCountedText()) return false;
    in.UInt8();
    in.Skip(3 * 4);
  }
  if (in.UInt8() == 1) {
    in.Int32();
    for (int i = 0; i < 3; ++i) {
      if (!in.SkipCountedText()) return false;
    }
    in.Skip(2 * 4);
    r.call = in.UInt8();
    r.value1 = layout.Verbose() ? in.Thousandths() : in.Float32();
    in.Skip(3 * 4);
    r.value2 = in.Float32();
    r.value3 = in.Float32();
  } else {
    r.call = kOlderFormNoCall;
  }
  if (!in.SkipCountedText() || !in.SkipCountedText()) return false;
  return SkipBlocks(in, in.Int32(), 4 + 2 * layout.CellBlockBytes());
}

bool ReadUniversalRecord(LegacyInput& in, const OlderLayout& layout, std::int16_t cells,
                         CUniversalProbeSetResults& r) {
  if (!SkipBlocks(in, in.Int32(), 1) || !SkipBlocks(in, in.Int32(), 1)) return false;
  std::int32_t groups = in.Int32();
  if (!in.Fits(groups, 4)) return false;
  std::size_t cellBytes = layout.version <= kVerboseVersion ? 2 * 4 + 3 * 4 : 2 * 2;
  if (layout.version <= kVerboseVersion && layout.version >= 8) cellBytes += 2;
  for (std::int32_t g = 0; g < groups; ++g) {
    float value = in.Thousandths();
    if (g == 0) r.value = value;
    if (!SkipBlocks(in, std::max<std::int16_t>(cells, 0), cellBytes)) return false;
  }
  return true;
}

bool ReadResequencing(LegacyInput& in, CResequencingData& data) {
  data.Clear();
  std::int32_t n = in.Int32();
  // Per position: the base, two dropped bytes, a dropped 16-bit value and a score.
  if (!in.Fits(n, 1 + 1 + 1 + 2 + 4)) return false;
  data.calledBases.resize(std::size_t(n));
  data.scores.resize(std::size_t(n));
  for (auto& base : data.calledBases) base = in.UInt8();
  in.Skip(std::size_t(n) * (1 + 1 + 2));
  std::int32_t length = in.Int32();
  if (!SkipBlocks(in, length, 1)) return false;
  if (length > 0 && !in.SkipCountedText()) return false;
  for (auto& score : data.scores) score = in.Float32();
  return true;
}

// Reads the probe sets' records one by one with `readOne(i)`; fails naming
// the first record the file ends inside (or whose counts claim more than the
// file holds), and keeps none of them.
template <class ReadOne>
bool ReadEachRecord(LegacyInput& in, CLegacyCHPFile& file, const char* what, ReadOne readOne) {
  const std::int32_t count = file.header.numProbeSets;
  for (std::size_t i = 0; i < std::size_t(count); ++i) {
    const std::uint64_t at = in.Position();
    if (!readOne(i) || in.Ended()) {
      file.results.clear();
      file.genotypeCalls.clear();
      return FailAt(file, PastEnd(in, platform::Format("%s record %zu of %d", what, i, count), at));
    }
  }
  return true;
}

// One record per probe set into `file.results`.
template <class Record, class ReadOne>
bool ReadRecords(LegacyInput& in, CLegacyCHPFile& file, const char* what, ReadOne readOne) {
  file.results.resize(std::size_t(file.header.numProbeSets));
  return ReadEachRecord(in, file, what, [&](std::size_t i) {
    auto r = std::make_unique<Record>();
    if (!readOne(i, *r)) return false;
    file.results[i] = std::move(r);
    return true;
  });
}

// Only the call of each genotyping record, into `file.genotypeCalls`.
bool ReadGenotypeCalls(LegacyInput& in, CLegacyCHPFile& file, const OlderLayout& layout) {
  file.genotypeCalls.resize(std::size_t(file.header.numProbeSets));
  return ReadEachRecord(in, file, "genotyping", [&](std::size_t i) {
    CGenotypeProbeSetResults r;
    if (!ReadGenotypeRecord(in, layout, r)) return false;
    file.genotypeCalls[i] = r.call;
    return true;
  });
}

// Why the header up to the probe-set types cannot be read, with where;
// empty when it was read.
std::string ReadHeader(LegacyInput& in, CLegacyCHPHeader& h, OlderLayout& layout) {
  const std::uint64_t versionAt = in.Position();
  h.version = layout.version = in.Int32();
  if (in.Ended()) return PastEnd(in, "version", versionAt);
  std::string algorithmParameters, summaryParameters;
  if (std::string why = ReadCountedTexts(in, {{"algorithm name", &h.algorithmName},
                                              {"algorithm version", &h.algorithmVersion},
                                              {"algorithm parameter text", &algorithmParameters},
                                              {"summary parameter text", &summaryParameters}});
      !why.empty()) {
    return why;
  }
  h.algorithmParameters = ParseOlderParameterText(algorithmParameters);
  h.summaryParameters = ParseOlderParameterText(summaryParameters);
  const std::uint64_t sizesAt = in.Position();
  h.rows = std::uint16_t(in.Int32());
  h.cols = std::uint16_t(in.Int32());
  h.numProbeSets = in.Int32();
  std::int32_t types = in.Int32();
  in.Int32();
  if (in.Ended()) return PastEnd(in, "fixed part of the header", sizesAt);
  if (h.numProbeSets < 0 || types < 0) {
    return platform::Format("the probe-set count %d and probe-set type count %d at offset %llu are not counts",
                            h.numProbeSets, types, static_cast<unsigned long long>(sizesAt + 8));
  }
  // Two numbers per probe set and two per probe-set type follow.
  if (!in.Fits(2 * std::int64_t(h.numProbeSets) + 2 * std::int64_t(types), 4)) {
    return platform::Format("the %d probe sets and %d probe-set types at offset %llu do not fit the %llu bytes left",
                            h.numProbeSets, types, static_cast<unsigned long long>(sizesAt + 8),
                            static_cast<unsigned long long>(in.Left()));
  }
  in.Skip(std::size_t(h.numProbeSets) * 4 + std::size_t(types) * 4);
  std::int32_t firstType = 0;
  for (std::int32_t i = 0; i < types; ++i) {
    std::int32_t type = in.Int32();
    if (i == 0) firstType = type;
  }
  h.assayType = h.numProbeSets == 0 ? kResequencing
                : types == 0        ? kUnknown
                                    : AssayFromProbeSetType(firstType);
  return {};
}

// The cell counts, the two fixed texts and the program id that end the
// header; the reason when the file ends inside them, else empty.
std::string ReadHeaderEnd(LegacyInput& in, CLegacyCHPHeader& h, OlderLayout& layout) {
  layout.cellCounts.resize(std::size_t(h.numProbeSets));
  for (auto& count : layout.cellCounts) count = std::int16_t(in.Int32());
  const std::uint64_t chipTypeAt = in.Position();
  h.chipType = in.FixedText(kFixedTextBytes);
  if (in.Ended()) return PastEnd(in, "chip type", chipTypeAt);
  h.parentCelFile = in.FixedText(kFixedTextBytes);
  if (in.Ended()) return PastEnd(in, "parent CEL file name", chipTypeAt + kFixedTextBytes);
  return ReadCountedTexts(in, {{"program id", &h.progId}});
}

}  // namespace

bool ReadOlderForm(LegacyInput& in, CLegacyCHPFile& file, bool headerOnly) {
  if (in.FixedText(kMagicLength) != kMagicText) {
    return FailAt(file, "at offset 0 the file begins with neither the XDA number 65 nor \"BioArray Sequence File\"");
  }
  CLegacyCHPHeader& h = file.header;
  OlderLayout layout;
  if (std::string why = ReadHeader(in, h, layout); !why.empty()) return FailAt(file, why);
  bool tooOld = ((h.assayType == kExpression || h.assayType == kGenotyping) &&
                 layout.version < kFirstExpressionVersion) ||
                (h.assayType == kUniversal && layout.version < kFirstUniversalVersion);
  if (tooOld) return Fail(file, messages::kUnsupportedOlderVersion);

  if (std::string why = ReadHeaderEnd(in, h, layout); !why.empty()) return FailAt(file, why);
  if (headerOnly) return true;

  switch (h.assayType) {
    case kExpression:
      return ReadRecords<CExpressionProbeSetResults>(
          in, file, "expression", [&](std::size_t, auto& r) { return ReadExpressionRecord(in, layout, r); });
    case kGenotyping:
      if (file.genotypeCallsOnly) return ReadGenotypeCalls(in, file, layout);
      return ReadRecords<CGenotypeProbeSetResults>(
          in, file, "genotyping", [&](std::size_t, auto& r) { return ReadGenotypeRecord(in, layout, r); });
    case kUniversal:
      return ReadRecords<CUniversalProbeSetResults>(in, file, "universal", [&](std::size_t i, auto& r) {
        return ReadUniversalRecord(in, layout, layout.cellCounts[i], r);
      });
    case kResequencing: {
      const std::uint64_t at = in.Position();
      if (ReadResequencing(in, file.resequencing) && !in.Ended()) return true;
      file.resequencing.Clear();
      return FailAt(file, PastEnd(in, "resequencing data", at));
    }
    default: return Fail(file, messages::kUnsupportedAssay);
  }
}

}  // namespace legacy_chp::detail
