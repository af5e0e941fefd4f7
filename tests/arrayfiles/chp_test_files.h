#pragma once
// Legacy CHP files the CHP tests share, described through our own writers.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "arrayfiles/chp/LegacyCHPFile.h"
#include "platform/ByteOrder.h"
#include "platform/Paths.h"
#include "tests/support/TempHome.h"
#include "tools/arraywriters/GenericChpWriter.h"
#include "tools/arraywriters/GenericWriter.h"
#include "tools/arraywriters/LegacyChpWriters.h"

namespace chptest {

using namespace arraywriters;

inline void PatchInt32(std::string& bytes, std::size_t offset, std::int32_t value) {
  platform::WriteLE32(bytes.data() + offset, std::uint32_t(value));
}

// Writes `bytes` to `path`, then cuts the file back one byte at a time and
// calls `check(size)` for every shorter size down to 0 (cutting is far
// cheaper than writing each prefix anew).
template <class Check>
void ForEachTruncation(const std::string& path, const std::string& bytes, Check check) {
  if (!WriteBytes(path, bytes)) throw std::runtime_error("cannot write " + path);
  for (std::size_t size = bytes.size(); size-- > 0;) {
    std::filesystem::resize_file(platform::NativePath(path), size);
    check(size);
  }
}

// A legacy CHP reader over files the test writes.
class LegacyChpReaderTest : public qova::test::TempHomeTest {
 protected:
  // Writes `bytes` and reads them back; the reader is left for inspection.
  bool ReadBytes(const std::string& bytes, bool headerOnly = false) {
    std::string path = Path("legacy.chp");
    EXPECT_TRUE(WriteBytes(path, bytes));
    chp.fileName = path;
    return chp.Read(headerOnly);
  }
  template <class File>
  bool ReadFile(const File& file, bool headerOnly = false) {
    return ReadBytes(file.Bytes(), headerOnly);
  }
  // Reads `bytes` cut to every shorter size, in full and for the calls
  // alone: each read fails with the format message and where the file ends,
  // and keeps no record.
  void ExpectEveryCutRefused(const std::string& bytes) {
    chp.fileName = Path("cut.chp");
    for (const bool callsOnly : {false, true}) {
      chp.genotypeCallsOnly = callsOnly;
      ForEachTruncation(chp.fileName, bytes, [&](std::size_t size) {
        SCOPED_TRACE(size);
        EXPECT_FALSE(chp.Read());
        EXPECT_TRUE(chp.errorText.starts_with(std::string(legacy_chp::messages::kWrongFormat) + " CHP file: "))
            << chp.errorText;
        EXPECT_NE(chp.errorText.find("at offset "), std::string::npos) << chp.errorText;
        EXPECT_TRUE(chp.results.empty());
        EXPECT_TRUE(chp.genotypeCalls.empty());
      });
    }
    chp.genotypeCallsOnly = false;
  }
  // The record at `i`, which must be of class Record.
  template <class Record>
  const Record& At(std::size_t i) {
    const Record* r = dynamic_cast<const Record*>(chp.results.at(i).get());
    EXPECT_NE(r, nullptr);
    static const Record empty;
    return r ? *r : empty;
  }

  legacy_chp::CLegacyCHPFile chp;
};

inline XdaChpFile XdaHeader() {
  XdaChpFile f;
  f.version = 2;
  f.cols = 2560;
  f.rows = 2561;
  f.progId = "Prog.Id.1";
  f.parentCelFile = "C:\\data\\S01.CEL";
  f.chipType = "Mapping50K_Xba240";
  f.algorithmName = "Brlmm";
  f.algorithmVersion = "1.0";
  f.algorithmParameters = {{"Threshold", "0.5"}, {"Bandwidth", "0.25"}};
  f.summaryParameters = {{"CalledGender", "F"}, {"call rate", "99.1"}};
  f.smoothFactor = 100.0f;
  f.zones = {{10.0f, 20.0f, 55.5f}, {30.0f, 40.0f, 66.5f}};
  return f;
}

inline XdaChpFile XdaGenotyping() {
  XdaChpFile f = XdaHeader();
  f.assayType = kChpGenotyping;
  f.genotypeRecordSize = 21;
  f.genotyping = {{6, 0.1f, 0.2f, 0.3f, 0.6f, 0.7f},
                  {7, 0.5f, 1.5f, 2.5f, 3.5f, 4.5f},
                  {8, 1.0f, 2.0f, 3.0f, 6.0f, 7.0f}};
  return f;
}

inline XdaChpFile XdaExpression(std::uint8_t kind) {
  XdaChpFile f = XdaHeader();
  f.assayType = kChpExpression;
  f.expressionKind = kind;
  XdaExpressionRecord a;
  a.code1 = 1;
  a.value1 = 100.0f;
  XdaExpressionRecord b;
  b.code1 = 21;
  b.value1 = 11.25f;
  b.value2 = 0.125f;
  b.count1 = 40000;
  b.count2 = 7;
  b.code2 = 22;
  b.value3 = 3.0f;
  b.value4 = 4.0f;
  b.value5 = 5.0f;
  b.value6 = 6.0f;
  b.count3 = 65535;
  f.expression = {a, b};
  return f;
}

inline XdaChpFile XdaResequencing() {
  XdaChpFile f = XdaHeader();
  f.assayType = kChpResequencing;
  f.calledBases = {'A', 'C', 'G', 'T', 'N'};
  f.scores = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f};
  f.forceCalls = {{5, 'A', 1}, {-7, 'G', 3}};
  f.origCalls = {{123456, 'T'}};
  return f;
}

// Offset of the first byte after the counted texts of an XDA header.
inline std::size_t XdaTextsEnd(const XdaChpFile& f) {
  std::size_t offset = 24;
  for (const std::string* s :
       {&f.progId, &f.parentCelFile, &f.chipType, &f.algorithmName, &f.algorithmVersion}) {
    offset += 4 + s->size();
  }
  return offset;
}

inline std::size_t PairsBytes(const std::vector<ChpTagValue>& pairs) {
  std::size_t bytes = 4;
  for (const ChpTagValue& p : pairs) bytes += 8 + p.tag.size() + p.value.size();
  return bytes;
}

// A resequencing file in which, one at a time, each count or length of the
// file claims far more than the file holds.
inline std::vector<std::string> XdaFilesWithEachCountInflated() {
  XdaChpFile f = XdaResequencing();
  std::size_t algorithmCount = XdaTextsEnd(f);
  std::size_t firstTagLength = algorithmCount + 4;
  std::size_t summaryCount = algorithmCount + PairsBytes(f.algorithmParameters);
  std::size_t zoneCount = summaryCount + PairsBytes(f.summaryParameters);
  std::size_t results = zoneCount + 8 + 12 * f.zones.size();
  std::size_t baseCount = results + 4;
  std::size_t forceCount = baseCount + 4 + 5 * f.calledBases.size();
  std::size_t origCount = forceCount + 4 + 6 * f.forceCalls.size();
  std::vector<std::string> files;
  for (std::size_t offset :
       {algorithmCount, firstTagLength, summaryCount, zoneCount, baseCount, forceCount, origCount}) {
    std::string bytes = f.Bytes();
    PatchInt32(bytes, offset, 0x10000000);
    files.push_back(bytes);
  }
  return files;
}

// ---- the older form --------------------------------------------------------------

inline OlderChpFile OlderHeader(std::int32_t version, std::int32_t firstType) {
  OlderChpFile f;
  f.version = version;
  f.algorithmName = "Genotyping";
  f.algorithmVersion = "2.0";
  f.algorithmParameterText = "SF=0.5 NF=1.0";
  f.summaryParameterText = "CalledGender=M Call=rate 97";
  f.rows = 0x10000 + 712;  // only the low 16 bits count
  f.cols = 713;
  f.probeSetTypes = {firstType, 99};
  f.chipType = "Mapping10K_Xba131";
  f.parentCelFile = "S02.CEL";
  f.progId = "Older.Prog";
  return f;
}

inline OlderChpFile OlderGenotyping(std::int32_t version) {
  OlderChpFile f = OlderHeader(version, kOlderGenotypingType);
  f.genotyping = {{true, 6, 0.25f, 1.5f, 2.5f}, {false, 7, 9.0f, 9.0f, 9.0f},
                  {true, 8, -1.125f, 3.0f, 4.0f}};
  return f;
}

inline OlderChpFile OlderExpression(std::int32_t version) {
  OlderChpFile f = OlderHeader(version, kOlderExpressionType);
  OlderExpressionRecord a;
  a.count1 = 2;
  a.count2 = 9;
  a.value1 = 1.5f;
  a.value2 = 2.5f;
  a.code1 = 3;
  a.hasExtendedFields = true;
  a.count3 = 4;
  a.code2 = 5;
  a.value3 = 0.125f;
  a.value4 = 4.25f;
  a.value5 = -5.5f;
  a.value6 = 6.75f;
  OlderExpressionRecord b;
  b.count1 = 1;
  b.count2 = 2;
  b.value1 = 7.0f;
  b.value2 = 8.0f;
  b.code1 = 9;
  f.expression = {a, b};
  return f;
}

inline OlderChpFile OlderUniversal(std::int32_t version) {
  OlderChpFile f = OlderHeader(version, kOlderUniversalType);
  f.universal = {1.25f, -3.5f};
  f.cellCounts = {3, 2};
  return f;
}

inline OlderChpFile OlderResequencing(std::int32_t version, std::string text) {
  OlderChpFile f = OlderHeader(version, kOlderResequencingType);
  f.calledBases = {'T', 'A', 'C'};
  f.scores = {0.5f, 0.25f, 0.125f};
  f.resequencingText = std::move(text);
  return f;
}

// ---- the generic container ------------------------------------------------------

inline GenericChpFile GenericHeader(const char* typeId) {
  GenericChpFile f;
  f.fileTypeId = typeId;
  f.fileId = "0123-abcd";
  f.arrayType = u"Mapping250K_Nsp";
  f.algorithmName = u"BRLMM";
  f.algorithmVersion = u"1.0";
  f.parentCelFile = u"C:\\data\\S05.CEL";
  f.progId = u"Generic.Prog.1";
  f.celRows = 2560;
  f.celCols = 2561;
  f.algorithmParameters = {FloatParameter(u"Bandwidth", 0.25f), Int32Parameter(u"Seed", 7),
                           TextParameter(u"Mode", u"fast")};
  f.summaryParameters = {TextParameter(u"CalledGender", u"F"), FloatParameter(u"CallRate", 97.5f)};
  f.zones = {{1.0f, 2.0f, 30.5f, 2.0f}, {3.0f, 4.0f, 31.5f, 5.0f}, {5.0f, 6.0f, 32.5f, 7.0f}};
  return f;
}

inline GenericChpFile GenericGenotyping(bool wideNames = false) {
  GenericChpFile f = GenericHeader(kGenotypingChpTypeId);
  f.wideNames = wideNames;
  f.genotyping = {{"SNP_A-1", 6, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f}},
                  {"SNP_A-22", 7, {1, 2, 3, 4, 5, 6, 7}},
                  {"SNP_A-333", 8, {-1, -2, -3, -4, -5, -6, -7}},
                  {"CTRL-4", 11, {}}};
  return f;
}

inline GenericChpFile GenericExpression(bool extended) {
  GenericChpFile f = GenericHeader(kExpressionChpTypeId);
  f.extendedExpression = extended;
  GenericExpressionRow a;
  a.probeSetName = "1000_at";
  a.code1 = 1;
  a.value1 = 250.5f;
  a.value2 = 0.004f;
  a.count1 = 16;
  a.count2 = 15;
  a.code2 = 2;
  a.value3 = 3.5f;
  a.value4 = 4.5f;
  a.value5 = 5.5f;
  a.value6 = 6.5f;
  a.count3 = 60000;
  GenericExpressionRow b;
  b.probeSetName = "1001_at";
  b.value1 = 12.0f;
  f.expression = {a, b};
  return f;
}

inline GenericChpFile GenericUniversal() {
  GenericChpFile f = GenericHeader(kUniversalChpTypeId);
  f.universal = {10.5f, -1.25f, 0.0f};
  return f;
}

inline GenericChpFile GenericResequencing() {
  GenericChpFile f = GenericHeader(kResequencingChpTypeId);
  f.calledBases = {'G', 'A', 'T'};
  f.scores = {0.75f, 0.5f, 0.25f};
  f.forceCalls = {{100, 'C', 2}};
  f.origCalls = {{200, 'N'}, {-3, 'A'}};
  return f;
}

}  // namespace chptest
