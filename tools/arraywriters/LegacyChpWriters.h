#pragma once
// Writers of CHP files in the two legacy binary forms, for tests, fuzz seeds
// and demo data: the XDA form (versions 1 and 2, every assay type) and the
// older "BioArray Sequence File" form. Each file is described by a plain
// record; Bytes() lays it out, and WriteBytes (GenericWriter.h) stores it.
//
// These writers are built from the format's layout on their own, without the
// readers' code, so that one misreading cannot hide in both.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace arraywriters {

struct ChpTagValue {
  std::string tag;
  std::string value;
};

struct ChpBackgroundZone {
  float x = 0.0f;
  float y = 0.0f;
  float background = 0.0f;
};

// Assay type codes both legacy forms' readers report.
enum ChpAssay : std::int32_t {
  kChpExpression = 0,
  kChpGenotyping = 1,
  kChpResequencing = 2,
  kChpUniversal = 3,
};

// ---- XDA form ----------------------------------------------------------------

struct XdaExpressionRecord {
  std::uint8_t code1 = 0;
  float value1 = 0.0f;
  float value2 = 0.0f;
  std::uint16_t count1 = 0;
  std::uint16_t count2 = 0;
  // Written only with analysis kind 3.
  std::uint8_t code2 = 0;
  float value3 = 0.0f;
  float value4 = 0.0f;
  float value5 = 0.0f;
  float value6 = 0.0f;
  std::uint16_t count3 = 0;
};

struct XdaGenotypeRecord {
  std::uint8_t call = 0;
  float value1 = 0.0f;
  float value2 = 0.0f;  // the reader also reports it as value 4
  float value3 = 0.0f;  // the reader also reports it as value 5
  // Written only with a record size of 21.
  float value6 = 0.0f;
  float value7 = 0.0f;
};

struct ChpForceCall {
  std::int32_t position = 0;
  std::uint8_t call = 0;
  std::uint8_t code = 0;
};

struct ChpOrigCall {
  std::int32_t position = 0;
  std::uint8_t call = 0;
};

struct XdaChpFile {
  std::int32_t magic = 65;
  std::int32_t version = 2;
  std::uint16_t cols = 0;
  std::uint16_t rows = 0;
  std::int32_t assayType = kChpGenotyping;
  // Default: the number of records of the assay type (called bases for
  // resequencing).
  std::optional<std::int32_t> numProbeSets;
  std::string progId;
  std::string parentCelFile;
  std::string chipType;
  std::string algorithmName;
  std::string algorithmVersion;
  std::vector<ChpTagValue> algorithmParameters;
  std::vector<ChpTagValue> summaryParameters;
  float smoothFactor = 0.0f;
  std::vector<ChpBackgroundZone> zones;

  // Expression: analysis kind 2 (13-byte records) or 3 (32-byte records).
  std::uint8_t expressionKind = 3;
  std::vector<XdaExpressionRecord> expression;
  // Genotyping: 21 writes seven values a record, anything else five.
  std::int32_t genotypeRecordSize = 21;
  std::vector<XdaGenotypeRecord> genotyping;
  std::vector<float> universal;
  // Resequencing; the forced and orig calls are written from version 2 on.
  std::vector<std::uint8_t> calledBases;
  std::vector<float> scores;  // one per called base
  std::vector<ChpForceCall> forceCalls;
  std::vector<ChpOrigCall> origCalls;

  [[nodiscard]] std::string Bytes() const;
};

// ---- the older form ------------------------------------------------------------

// Probe-set type codes of the older form (the first one gives the assay).
enum OlderProbeSetType : std::int32_t {
  kOlderResequencingType = 1,
  kOlderGenotypingType = 2,
  kOlderExpressionType = 3,
  kOlderUniversalType = 7,
};

struct OlderExpressionRecord {
  std::uint16_t count1 = 0;  // also the number of probe-pair blocks written
  std::uint16_t count2 = 0;
  float value1 = 0.0f;
  float value2 = 0.0f;
  std::uint8_t code1 = 0;
  bool hasExtendedFields = false;
  std::uint16_t count3 = 0;
  std::uint8_t code2 = 0;
  float value3 = 0.0f;  // thousandths at version 12, else a float
  float value4 = 0.0f;  // thousandths
  float value5 = 0.0f;  // thousandths
  float value6 = 0.0f;  // thousandths
};

struct OlderGenotypeRecord {
  bool called = true;  // false writes the flag 0 and nothing of the call
  std::uint8_t call = 0;
  float value1 = 0.0f;  // thousandths at version 12, else a float
  float value2 = 0.0f;
  float value3 = 0.0f;
};

struct OlderChpFile {
  std::int32_t version = 13;
  std::string algorithmName;
  std::string algorithmVersion;
  // Free texts of "tag=value" words separated by spaces.
  std::string algorithmParameterText;
  std::string summaryParameterText;
  std::int32_t rows = 0;
  std::int32_t cols = 0;
  std::vector<std::int32_t> probeSetTypes;
  // Default: the number of records of the first probe-set type's assay.
  std::optional<std::int32_t> numProbeSets;
  // Per probe set; missing entries are written as 0.
  std::vector<std::int32_t> cellCounts;
  std::string chipType;       // 256-byte field
  std::string parentCelFile;  // 256-byte field
  std::string progId;

  std::vector<OlderExpressionRecord> expression;
  std::vector<OlderGenotypeRecord> genotyping;
  // One value (in thousandths) per probe set, each with `universalGroups`
  // groups of the probe set's cells.
  std::vector<float> universal;
  std::int32_t universalGroups = 2;
  std::vector<std::uint8_t> calledBases;
  std::vector<float> scores;
  // A non-empty text writes the second, optional text after it.
  std::string resequencingText;

  [[nodiscard]] std::string Bytes() const;
};

}  // namespace arraywriters
