#pragma once
// The records in which both CHP adapters hand out per-probe-set results and
// background zones, whatever the form of the file they were read from.
#include <cstdint>
#include <string>
#include <vector>

namespace unified_io {

class UnifiedProbeSetResults {
 public:
  virtual ~UnifiedProbeSetResults() = default;
};

// Genotype call codes of the whole program.
inline constexpr std::uint8_t kCallA = 6;
inline constexpr std::uint8_t kCallB = 7;
inline constexpr std::uint8_t kCallAB = 8;

class UnifiedGenotypeProbeSetResults : public UnifiedProbeSetResults {
 public:
  // "A" for 6, "B" for 7, "AB" for 8, "No Call" for any other code.
  [[nodiscard]] std::string GetAssignmentCallString() const;

  std::uint8_t alleleCall = 0;
  float value1 = 0.0f;
  float value2 = 0.0f;
  float value3 = 0.0f;
  float value4 = 0.0f;
  float value5 = 0.0f;
  float value6 = 0.0f;
  float value7 = 0.0f;
};

class UnifiedExpressionProbeSetResults : public UnifiedProbeSetResults {
 public:
  float value1 = 0.0f;
  float value2 = 0.0f;
  std::uint16_t count1 = 0;
  std::uint16_t count2 = 0;
  std::uint8_t code1 = 0;
  bool hasExtendedFields = false;
  float value3 = 0.0f;
  float value4 = 0.0f;
  float value5 = 0.0f;
  float value6 = 0.0f;
  std::uint16_t count3 = 0;
  std::uint8_t code2 = 0;
};

class UnifiedUniversalProbeSetResults : public UnifiedProbeSetResults {
 public:
  float value = 0.0f;
};

struct UnifiedForceCall {
  std::int32_t position = 0;
  std::uint8_t call = 0;
  std::uint8_t code = 0;
};

struct UnifiedOrigCall {
  std::int32_t position = 0;
  std::uint8_t call = 0;
};

struct UnifiedResequencingResults {
  std::vector<std::uint8_t> calledBases;
  std::vector<float> scores;
  std::vector<UnifiedForceCall> forceCalls;
  std::vector<UnifiedOrigCall> origCalls;
};

struct UnifiedBackgroundZone {
  float x = 0.0f;
  float y = 0.0f;
  float background = 0.0f;
};

struct UnifiedBackgroundZoneInfo {
  int numberZones = 0;
  float smoothFactor = 0.0f;
  std::vector<UnifiedBackgroundZone> zones;
};

// Copies of the per-probe-set rows of either form (whose fields carry the
// same names) into the unified records.
template <class Row>
void CopyExpressionRow(const Row& row, UnifiedExpressionProbeSetResults& result) {
  result.value1 = row.value1;
  result.value2 = row.value2;
  result.count1 = row.count1;
  result.count2 = row.count2;
  result.code1 = row.code1;
  result.hasExtendedFields = row.hasExtendedFields;
  result.value3 = row.value3;
  result.value4 = row.value4;
  result.value5 = row.value5;
  result.value6 = row.value6;
  result.count3 = row.count3;
  result.code2 = row.code2;
}

template <class Row>
void CopyGenotypeRow(const Row& row, UnifiedGenotypeProbeSetResults& result) {
  result.alleleCall = row.call;
  result.value1 = row.value1;
  result.value2 = row.value2;
  result.value3 = row.value3;
  result.value4 = row.value4;
  result.value5 = row.value5;
  result.value6 = row.value6;
  result.value7 = row.value7;
}

}  // namespace unified_io
