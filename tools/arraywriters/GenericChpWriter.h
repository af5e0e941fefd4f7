#pragma once
// Writer of CHP files in the generic container: genotyping, expression,
// universal and resequencing results, for tests, fuzz seeds and demo data.
//
// The file holds the results in data group 0 (one data set of the same name
// as its group), the background zones in group 1, and, for resequencing, the
// forced calls and the orig calls in groups 2 and 3. The header carries the
// array type, the algorithm, the parent CEL file, the program id, the
// scanned rows and columns, and the algorithm and chip-summary parameters
// under their prefixes.
//
// Built from the format's layout on its own, without the readers' code.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/arraywriters/GenericWriter.h"
#include "tools/arraywriters/LegacyChpWriters.h"

namespace arraywriters {

inline constexpr const char* kGenotypingChpTypeId = "vendor-genotyping-probeset-analysis";
inline constexpr const char* kExpressionChpTypeId = "vendor-expression-probeset-analysis";
inline constexpr const char* kUniversalChpTypeId = "vendor-universal-probeset-analysis";
inline constexpr const char* kResequencingChpTypeId = "vendor-resequencing-probeset-analysis";

struct GenericGenotypeRow {
  std::string probeSetName;
  std::uint8_t call = 0;  // 6 "A", 7 "B", 8 "AB", others "No Call"
  float values[7] = {};
};

struct GenericExpressionRow {
  std::string probeSetName;
  std::uint8_t code1 = 0;
  float value1 = 0.0f;
  float value2 = 0.0f;
  std::uint16_t count1 = 0;
  std::uint16_t count2 = 0;
  // Written only when the file has the extended columns.
  std::uint8_t code2 = 0;
  float value3 = 0.0f;
  float value4 = 0.0f;
  float value5 = 0.0f;
  float value6 = 0.0f;
  std::uint16_t count3 = 0;
};

struct GenericBackgroundZone {
  float x = 0.0f;
  float y = 0.0f;
  float background = 0.0f;
  float smoothFactor = 0.0f;
};

struct GenericChpFile {
  std::string fileTypeId = kGenotypingChpTypeId;
  std::string fileId = "chp-0001";
  std::u16string arrayType;
  std::u16string algorithmName;
  std::u16string algorithmVersion;
  std::u16string parentCelFile;
  std::u16string progId;
  // Left out of the header when not set.
  std::optional<std::int32_t> celRows;
  std::optional<std::int32_t> celCols;
  // Named without their prefixes; any value type.
  std::vector<GenericParameterSpec> algorithmParameters;
  std::vector<GenericParameterSpec> summaryParameters;

  // Probe-set names as 16-bit texts instead of 8-bit ones.
  bool wideNames = false;
  std::vector<GenericGenotypeRow> genotyping;
  // Expression with the six extended columns, or only the basic six.
  bool extendedExpression = true;
  std::vector<GenericExpressionRow> expression;
  std::vector<float> universal;
  std::vector<std::uint8_t> calledBases;
  std::vector<float> scores;  // one per called base
  std::vector<ChpForceCall> forceCalls;
  std::vector<ChpOrigCall> origCalls;
  std::vector<GenericBackgroundZone> zones;
};

// The file as a container spec, for tests that change it before writing.
[[nodiscard]] GenericFileSpec GenericChpSpec(const GenericChpFile& file);
[[nodiscard]] std::string GenericChpBytes(const GenericChpFile& file);
// Writes the file to a program path; false when it cannot.
bool SaveGenericChp(const std::string& path, const GenericChpFile& file);

}  // namespace arraywriters
