#pragma once
// Reader of CHP (analysis result) files in the two legacy binary forms: the XDA
// form (first 32-bit word 65) and the older form that opens with the text
// "BioArray Sequence File". The whole file is read into memory; a file that
// cannot be read leaves an English text in `errorText` and a false result.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "arrayfiles/generic/UnifiedTagValuePair.h"

namespace legacy_chp {

// Narrow tag/value settings, in the form the unified layer widens.
using TagValuePair = unified_io::TagValuePair;
using TagValuePairList = unified_io::TagValuePairList;

struct BackgroundZone {
  float x = 0.0f;
  float y = 0.0f;
  float background = 0.0f;
};

// Assay types as the header stores them.
enum AssayType : std::int32_t {
  kExpression = 0,
  kGenotyping = 1,
  kResequencing = 2,
  kUniversal = 3,
  kUnknown = 4,
};

class CLegacyCHPHeader {
 public:
  CLegacyCHPHeader() { Clear(); }

  void Clear();

  // Value of the first pair whose tag equals `tag` exactly; empty when none.
  [[nodiscard]] std::string GetAlgorithmParameter(const std::string& tag) const;
  [[nodiscard]] std::string GetSummaryParameter(const std::string& tag) const;
  // The first zone at exactly (x, y); a zone of zeros when there is none.
  [[nodiscard]] BackgroundZone GetBackgroundZone(float x, float y) const;

  std::int32_t magic = 0;
  std::int32_t version = 0;
  std::uint16_t cols = 0;
  std::uint16_t rows = 0;
  std::int32_t numProbeSets = 0;
  std::int32_t assayType = kUnknown;
  std::string chipType;
  std::string algorithmName;
  std::string algorithmVersion;
  std::string parentCelFile;
  std::string progId;
  TagValuePairList algorithmParameters;
  TagValuePairList summaryParameters;
  std::int32_t zoneCount = 0;
  float smoothFactor = 0.0f;
  std::vector<BackgroundZone> zones;
};

// Base of the per-probe-set records; the file owns them through this class.
class CProbeSetResults {
 public:
  virtual ~CProbeSetResults() = default;
};

class CExpressionProbeSetResults : public CProbeSetResults {
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

class CGenotypeProbeSetResults : public CProbeSetResults {
 public:
  // 6 "A", 7 "B", 8 "AB", anything else "No Call".
  std::uint8_t call = 0;
  float value1 = 0.0f;
  float value2 = 0.0f;
  float value3 = 0.0f;
  float value4 = 0.0f;
  float value5 = 0.0f;
  float value6 = 0.0f;
  float value7 = 0.0f;
};

// The call the older form stores for a probe set that was not called.
inline constexpr std::uint8_t kOlderFormNoCall = 11;

class CUniversalProbeSetResults : public CProbeSetResults {
 public:
  float value = 0.0f;
};

struct ForceCall {
  std::int32_t position = 0;
  std::uint8_t call = 0;
  std::uint8_t code = 0;
};

struct OrigCall {
  std::int32_t position = 0;
  std::uint8_t call = 0;
};

struct CResequencingData {
  std::vector<std::uint8_t> calledBases;
  std::vector<float> scores;
  std::vector<ForceCall> forceCalls;
  std::vector<OrigCall> origCalls;

  void Clear();
};

class CLegacyCHPFile {
 public:
  CLegacyCHPFile() { Clear(); }
  ~CLegacyCHPFile() { Clear(); }
  CLegacyCHPFile(const CLegacyCHPFile&) = delete;
  CLegacyCHPFile& operator=(const CLegacyCHPFile&) = delete;

  // Reads `fileName`; with `headerOnly` it stops after the header. Whatever
  // was loaded before is cleared first.
  [[nodiscard]] bool Open(bool headerOnly);
  // `Open`, clearing the object again when it fails.
  [[nodiscard]] bool Read(bool headerOnly = false);
  // Empties the header, the records and the resequencing data. The file name
  // and the last error text stay, so a caller can still report the failure.
  void Clear();
  // True when the file opens and its first 32-bit word is the XDA magic.
  [[nodiscard]] bool IsXDACompatibleFile() const;

  CLegacyCHPHeader header;
  std::string fileName;
  std::string errorText;
  // One record per probe set, index = probe-set index; null allowed.
  std::vector<std::unique_ptr<CProbeSetResults>> results;
  // Set before a read: of a genotyping file only the call code of each probe
  // set is kept, in `genotypeCalls`, and `results` stays empty. Other files
  // read as they always do.
  bool genotypeCallsOnly = false;
  std::vector<std::uint8_t> genotypeCalls;
  CResequencingData resequencing;
};

// The failure texts of the reader.
namespace messages {
inline constexpr const char* kUnableToOpen = "Unable to open the file.";
inline constexpr const char* kWrongFormat = "The file does not appear to be the correct format.";
inline constexpr const char* kUnsupportedXdaVersion = "Unable to read this version of the CHP file.";
inline constexpr const char* kUnsupportedOlderVersion =
    "This version of the CHP file is not supported by the parser.";
inline constexpr const char* kUnsupportedAssay =
    "The software only supports reading expression, genotyping, tag or resequencing CHP files.";
inline constexpr const char* kUnsupportedExpression =
    "The software only supports reading MAS 5 and above expression CHP files.";
}  // namespace messages

}  // namespace legacy_chp
