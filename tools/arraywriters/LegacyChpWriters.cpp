#include "tools/arraywriters/LegacyChpWriters.h"

#include <cmath>

#include "platform/ByteOrder.h"

namespace arraywriters {

namespace {

// Fields the readers skip are written with values of their own, so that a
// reader that lands on one by mistake reads a number no test expects.
constexpr std::int32_t kSkippedNumber = 0x5A5A5A5A;
constexpr std::uint8_t kSkippedByte = 0xA5;

class Out {
 public:
  void I32(std::int32_t v) { platform::AppendLE32(bytes, std::uint32_t(v)); }
  void U16(std::uint16_t v) { platform::AppendLE16(bytes, v); }
  void U8(std::uint8_t v) { bytes.push_back(char(v)); }
  void F32(float v) { platform::AppendLEFloat(bytes, v); }
  void Thousandths(float v) { I32(std::int32_t(std::lround(double(v) * 1000.0))); }
  void Counted(const std::string& text) {
    I32(std::int32_t(text.size()));
    bytes += text;
  }
  void Fixed(const std::string& text, std::size_t n) {
    std::string field = text.substr(0, n);
    field.resize(n, '\0');
    bytes += field;
  }
  void SkippedNumbers(int count) {
    for (int i = 0; i < count; ++i) I32(kSkippedNumber);
  }
  void SkippedBytes(std::size_t count) { bytes.append(count, char(kSkippedByte)); }

  std::string bytes;
};

void WritePairs(Out& out, const std::vector<ChpTagValue>& pairs) {
  out.I32(std::int32_t(pairs.size()));
  for (const ChpTagValue& pair : pairs) {
    out.Counted(pair.tag);
    out.Counted(pair.value);
  }
}

std::int32_t XdaProbeSetCount(const XdaChpFile& f) {
  if (f.numProbeSets) return *f.numProbeSets;
  switch (f.assayType) {
    case kChpExpression: return std::int32_t(f.expression.size());
    case kChpGenotyping: return std::int32_t(f.genotyping.size());
    case kChpUniversal: return std::int32_t(f.universal.size());
    case kChpResequencing: return std::int32_t(f.calledBases.size());
    default: return 0;
  }
}

void WriteXdaResults(Out& out, const XdaChpFile& f) {
  switch (f.assayType) {
    case kChpExpression: {
      bool extended = f.expressionKind == 3;
      out.U8(f.expressionKind);
      out.I32(extended ? 32 : 13);
      for (const XdaExpressionRecord& r : f.expression) {
        out.U8(r.code1);
        out.F32(r.value1);
        out.F32(r.value2);
        out.U16(r.count1);
        out.U16(r.count2);
        if (!extended) continue;
        out.U8(r.code2);
        out.F32(r.value3);
        out.F32(r.value4);
        out.F32(r.value5);
        out.F32(r.value6);
        out.U16(r.count3);
      }
      break;
    }
    case kChpGenotyping:
      out.I32(f.genotypeRecordSize);
      for (const XdaGenotypeRecord& r : f.genotyping) {
        out.U8(r.call);
        out.F32(r.value1);
        out.F32(r.value2);
        out.F32(r.value3);
        if (f.genotypeRecordSize != 21) continue;
        out.F32(r.value6);
        out.F32(r.value7);
      }
      break;
    case kChpUniversal:
      out.I32(4);
      for (float v : f.universal) out.F32(v);
      break;
    case kChpResequencing:
      out.I32(5);
      out.I32(std::int32_t(f.calledBases.size()));
      for (std::uint8_t base : f.calledBases) out.U8(base);
      for (std::size_t i = 0; i < f.calledBases.size(); ++i) {
        out.F32(i < f.scores.size() ? f.scores[i] : 0.0f);
      }
      if (f.version < 2) break;
      out.I32(std::int32_t(f.forceCalls.size()));
      for (const ChpForceCall& c : f.forceCalls) {
        out.I32(c.position);
        out.U8(c.call);
        out.U8(c.code);
      }
      out.I32(std::int32_t(f.origCalls.size()));
      for (const ChpOrigCall& c : f.origCalls) {
        out.I32(c.position);
        out.U8(c.call);
      }
      break;
    default: break;
  }
}

// ---- the older form --------------------------------------------------------------

std::int32_t OlderProbeSetCount(const OlderChpFile& f) {
  if (f.numProbeSets) return *f.numProbeSets;
  if (f.probeSetTypes.empty()) return 0;
  switch (f.probeSetTypes.front()) {
    case kOlderExpressionType: return std::int32_t(f.expression.size());
    case kOlderGenotypingType: return std::int32_t(f.genotyping.size());
    case kOlderUniversalType: return std::int32_t(f.universal.size());
    default: return 0;
  }
}

// Version 12 files hold longer cell blocks and extra numbers.
bool Verbose(const OlderChpFile& f) { return f.version == 12; }

void WriteCellBlock(Out& out, const OlderChpFile& f) {
  if (Verbose(f)) {
    out.SkippedNumbers(5);
    out.SkippedBytes(2);
  } else {
    out.U16(std::uint16_t(kSkippedNumber));
    out.U16(std::uint16_t(kSkippedNumber));
  }
}

void WriteOlderExpression(Out& out, const OlderChpFile& f, const OlderExpressionRecord& r) {
  bool verbose = Verbose(f);
  out.I32(r.count1);
  out.I32(r.count2);
  if (verbose) out.SkippedNumbers(1);
  out.SkippedNumbers(1);
  if (verbose) out.SkippedNumbers(3);
  out.F32(r.value1);
  if (verbose) out.SkippedNumbers(1);
  out.F32(r.value2);
  out.I32(r.code1);
  for (int pair = 0; pair < r.count1; ++pair) {
    out.SkippedNumbers(2);
    WriteCellBlock(out, f);
    WriteCellBlock(out, f);
  }
  out.I32(r.hasExtendedFields ? 1 : 0);
  if (!r.hasExtendedFields) return;
  out.I32(r.count3);
  if (verbose) out.SkippedNumbers(3);
  out.I32(r.code2);
  out.SkippedBytes(1);
  if (verbose) {
    out.SkippedBytes(1);
    out.SkippedNumbers(2);
  }
  out.Thousandths(r.value6);
  out.SkippedNumbers(verbose ? 2 : 1);
  out.Thousandths(r.value4);
  if (verbose) out.SkippedNumbers(1);
  out.Thousandths(r.value5);
  if (verbose) {
    out.Thousandths(r.value3);
  } else {
    out.F32(r.value3);
  }
}

void WriteOlderGenotype(Out& out, const OlderChpFile& f, const OlderGenotypeRecord& r) {
  // One entry of the leading list, read past by the reader.
  out.I32(1);
  out.SkippedNumbers(1);
  out.Counted("entry");
  out.SkippedBytes(1);
  out.SkippedNumbers(3);
  out.U8(r.called ? 1 : 0);
  if (r.called) {
    out.SkippedNumbers(1);
    out.Counted("first");
    out.Counted("second");
    out.Counted("third");
    out.SkippedNumbers(2);
    out.U8(r.call);
    if (Verbose(f)) {
      out.Thousandths(r.value1);
    } else {
      out.F32(r.value1);
    }
    out.SkippedNumbers(3);
    out.F32(r.value2);
    out.F32(r.value3);
  }
  out.Counted("after");
  out.Counted("");
  // One block of a number and two cells.
  out.I32(1);
  out.SkippedNumbers(1);
  WriteCellBlock(out, f);
  WriteCellBlock(out, f);
}

void WriteOlderUniversal(Out& out, const OlderChpFile& f, float value, std::int32_t cells) {
  out.I32(3);
  out.SkippedBytes(3);
  out.I32(2);
  out.SkippedBytes(2);
  out.I32(f.universalGroups);
  for (std::int32_t g = 0; g < f.universalGroups; ++g) {
    if (g == 0) {
      out.Thousandths(value);
    } else {
      out.SkippedNumbers(1);
    }
    for (std::int32_t c = 0; c < cells; ++c) {
      if (f.version <= 12) {
        out.SkippedNumbers(2 + 3);
        if (f.version >= 8) out.SkippedBytes(2);
      } else {
        out.U16(std::uint16_t(kSkippedNumber));
        out.U16(std::uint16_t(kSkippedNumber));
      }
    }
  }
}

void WriteOlderResequencing(Out& out, const OlderChpFile& f) {
  std::size_t n = f.calledBases.size();
  out.I32(std::int32_t(n));
  for (std::uint8_t base : f.calledBases) out.U8(base);
  out.SkippedBytes(n);
  out.SkippedBytes(n);
  for (std::size_t i = 0; i < n; ++i) out.U16(std::uint16_t(kSkippedNumber));
  out.Counted(f.resequencingText);
  if (!f.resequencingText.empty()) out.Counted("optional");
  for (std::size_t i = 0; i < n; ++i) out.F32(i < f.scores.size() ? f.scores[i] : 0.0f);
}

}  // namespace

std::string XdaChpFile::Bytes() const {
  Out out;
  out.I32(magic);
  out.I32(version);
  out.U16(cols);
  out.U16(rows);
  out.I32(XdaProbeSetCount(*this));
  out.SkippedNumbers(1);
  out.I32(assayType);
  out.Counted(progId);
  out.Counted(parentCelFile);
  out.Counted(chipType);
  out.Counted(algorithmName);
  out.Counted(algorithmVersion);
  WritePairs(out, algorithmParameters);
  WritePairs(out, summaryParameters);
  out.I32(std::int32_t(zones.size()));
  out.F32(smoothFactor);
  for (const ChpBackgroundZone& zone : zones) {
    out.F32(zone.x);
    out.F32(zone.y);
    out.F32(zone.background);
  }
  WriteXdaResults(out, *this);
  return out.bytes;
}

std::string OlderChpFile::Bytes() const {
  Out out;
  out.bytes = "BioArray Sequence File";
  out.I32(version);
  out.Counted(algorithmName);
  out.Counted(algorithmVersion);
  out.Counted(algorithmParameterText);
  out.Counted(summaryParameterText);
  out.I32(rows);
  out.I32(cols);
  std::int32_t n = OlderProbeSetCount(*this);
  out.I32(n);
  out.I32(std::int32_t(probeSetTypes.size()));
  out.SkippedNumbers(1);
  out.SkippedNumbers(n);
  out.SkippedNumbers(int(probeSetTypes.size()));
  for (std::int32_t type : probeSetTypes) out.I32(type);
  auto cellsOf = [&](std::size_t i) { return i < cellCounts.size() ? cellCounts[i] : 0; };
  for (std::int32_t i = 0; i < n; ++i) out.I32(cellsOf(std::size_t(i)));
  out.Fixed(chipType, 256);
  out.Fixed(parentCelFile, 256);
  out.Counted(progId);

  std::int32_t first = probeSetTypes.empty() ? 0 : probeSetTypes.front();
  if (n == 0 || first == kOlderResequencingType) {
    WriteOlderResequencing(out, *this);
  } else if (first == kOlderExpressionType) {
    for (const OlderExpressionRecord& r : expression) WriteOlderExpression(out, *this, r);
  } else if (first == kOlderGenotypingType) {
    for (const OlderGenotypeRecord& r : genotyping) WriteOlderGenotype(out, *this, r);
  } else if (first == kOlderUniversalType) {
    for (std::size_t i = 0; i < universal.size(); ++i) {
      WriteOlderUniversal(out, *this, universal[i], cellsOf(i));
    }
  }
  return out.bytes;
}

}  // namespace arraywriters
