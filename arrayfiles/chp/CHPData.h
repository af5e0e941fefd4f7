#pragma once
// One CHP (analysis result) file in the generic container: its headers, the
// header parameters the CHP adapters ask for, and handles on its result data
// sets, opened at their first use. Result rows are read one at a time,
// big-endian, straight out of the mapped data sets.
//
// Every row getter checks the row against the rows of the data set it reads
// and reads only the columns the set has, each only when it is wide enough
// for its value; what cannot be read keeps its previous value.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "arrayfiles/generic/DataSet.h"
#include "arrayfiles/generic/GenericData.h"
#include "arrayfiles/generic/GenericParameter.h"

namespace generic_io {

// The file-type ids of the four kinds of CHP file.
inline constexpr std::string_view kExpressionChpType = "vendor-expression-probeset-analysis";
inline constexpr std::string_view kGenotypingChpType = "vendor-genotyping-probeset-analysis";
inline constexpr std::string_view kResequencingChpType = "vendor-resequencing-probeset-analysis";
inline constexpr std::string_view kUniversalChpType = "vendor-universal-probeset-analysis";

// The result data sets; each lives in a data group of the same name.
inline constexpr std::u16string_view kExpressionResults = u"Expression Results";
inline constexpr std::u16string_view kGenotypingResults = u"Genotyping Results";
inline constexpr std::u16string_view kUniversalResults = u"Universal Results";
inline constexpr std::u16string_view kResequencingResults = u"Resequencing Results";
inline constexpr std::u16string_view kBackgroundZoneData = u"Background Zone Data";
inline constexpr std::u16string_view kForceCallData = u"Force Call Data";
inline constexpr std::u16string_view kOrigCallData = u"Orig Call Data";

struct ExpressionResultRow {
  std::string probeSetName;
  std::uint8_t code1 = 0;
  float value1 = 0.0f;
  float value2 = 0.0f;
  std::uint16_t count1 = 0;
  std::uint16_t count2 = 0;
  // True when the data set has more than 6 columns and the fields below were read.
  bool hasExtendedFields = false;
  std::uint8_t code2 = 0;
  float value3 = 0.0f;
  float value4 = 0.0f;
  float value5 = 0.0f;
  float value6 = 0.0f;
  std::uint16_t count3 = 0;
};

struct GenotypeResultRow {
  std::string probeSetName;
  // 6 "A", 7 "B", 8 "AB", any other value "No Call".
  std::uint8_t call = 0;
  float value1 = 0.0f;
  float value2 = 0.0f;
  float value3 = 0.0f;
  float value4 = 0.0f;
  float value5 = 0.0f;
  float value6 = 0.0f;
  float value7 = 0.0f;
};

struct BackgroundZoneRow {
  float x = 0.0f;
  float y = 0.0f;
  float background = 0.0f;
  float smoothFactor = 0.0f;
};

class CHPData {
 public:
  CHPData();
  virtual ~CHPData();
  CHPData(const CHPData&) = delete;
  CHPData& operator=(const CHPData&) = delete;

  // Closes the data sets and empties the headers; the file name stays.
  void Clear();

  [[nodiscard]] std::string GetFilename() const { return genericData_.Header().fileName; }
  void SetFilename(const std::string& name) { genericData_.Header().fileName = name; }
  [[nodiscard]] std::string GetFileTypeId() const;
  [[nodiscard]] GenericData& GetGenericData() { return genericData_; }

  // Row counts of the first data set of data groups 0 to 3 (0 when the file
  // has no such group or set).
  [[nodiscard]] std::int32_t GetEntryCount() const { return GroupRowCount(0); }
  [[nodiscard]] std::int32_t GetBackgroundZoneCount() const { return GroupRowCount(1); }
  [[nodiscard]] std::int32_t GetForceCallCount() const { return GroupRowCount(2); }
  [[nodiscard]] std::int32_t GetOrigCallCount() const { return GroupRowCount(3); }

  // Each opens its data set once (the container's exceptions when the file
  // lacks it) and hands it out when it is open, else null.
  DataSet* OpenExpressionResults();
  DataSet* OpenGenotypingResults();
  DataSet* OpenUniversalResults();
  DataSet* OpenResequencingResults();
  DataSet* OpenBackgroundZones();
  DataSet* OpenForceCalls();
  DataSet* OpenOrigCalls();

  // False, and `row` untouched, when the row lies beyond the data set or the
  // set does not open.
  bool GetExpressionEntry(std::int32_t index, ExpressionResultRow& row);
  bool GetGenotypeEntry(std::int32_t index, GenotypeResultRow& row);
  // The call code of every row of the genotyping results, as GetGenotypeEntry
  // gives each; false (and `calls` empty) when the set does not open.
  bool GetGenotypeCalls(std::vector<std::uint8_t>& calls);
  bool GetBackgroundZone(std::int32_t index, BackgroundZoneRow& row);
  // Appends zones 0 .. count - 1 (those the data set holds).
  void GetBackgroundZones(std::int32_t count, std::vector<BackgroundZoneRow>& zones);
  bool GetUniversalEntry(std::int32_t index, float& value);
  bool GetResequencingEntry(std::int32_t index, std::uint8_t& call, float& score);
  bool GetForceCallEntry(std::int32_t index, std::int32_t& position, std::uint8_t& call, std::uint8_t& code);
  bool GetOrigCallEntry(std::int32_t index, std::int32_t& position, std::uint8_t& call);

  // Text parameters; empty when absent, ParameterMismatchException when of another type.
  [[nodiscard]] std::u16string GetArrayType() const;
  [[nodiscard]] std::u16string GetAlgorithmName() const;
  [[nodiscard]] std::u16string GetParentCelFile() const;
  [[nodiscard]] std::u16string GetAlgorithmVersion() const;
  [[nodiscard]] std::u16string GetProgId() const;
  // Looked up once, then kept until Clear; 0 when absent.
  [[nodiscard]] std::int32_t GetCelRows();
  [[nodiscard]] std::int32_t GetCelCols();

  // The parameter of that name (prefix added), named without the prefix; an
  // empty record of that name when there is none.
  [[nodiscard]] GenericParameter GetAlgorithmParameter(std::u16string_view name) const;
  [[nodiscard]] GenericParameter GetChipSummaryParameter(std::u16string_view name) const;
  // Every parameter with the prefix, in header order, named without it.
  [[nodiscard]] std::vector<GenericParameter> GetAlgorithmParameters() const;
  [[nodiscard]] std::vector<GenericParameter> GetChipSummaryParameters() const;

  // Why the last result data set that would not open failed, with where;
  // empty when every one asked for opened.
  [[nodiscard]] const std::string& OpenFailure() const { return openFailure_; }

  // True when the probe-set names of the last opened expression or
  // genotyping data set are 16-bit texts.
  [[nodiscard]] bool WideProbeSetNames() const { return wideNames_; }

 private:
  // A result data set: null until asked for, then kept (open or not).
  struct ResultSet {
    std::unique_ptr<DataSet> set;
    bool open = false;
  };

  [[nodiscard]] std::int32_t GroupRowCount(std::size_t group) const;
  DataSet* OpenSet(ResultSet& result, std::u16string_view name);
  // Opens a set of probe-set names and notes how its names are stored.
  DataSet* OpenNamedSet(ResultSet& result, std::u16string_view name);
  std::string ProbeSetName(DataSet& set, std::int32_t row);
  [[nodiscard]] std::u16string TextParameter(std::u16string_view name) const;
  std::int32_t IntParameter(std::u16string_view name, std::int32_t& cache);
  [[nodiscard]] GenericParameter PrefixedParameter(std::u16string_view prefix, std::u16string_view name) const;
  [[nodiscard]] std::vector<GenericParameter> PrefixedParameters(std::u16string_view prefix) const;

  bool wideNames_ = false;
  std::string openFailure_;
  GenericData genericData_;
  std::int32_t cachedRows_ = -1;
  std::int32_t cachedCols_ = -1;
  ResultSet expression_;
  ResultSet genotyping_;
  ResultSet universal_;
  ResultSet resequencing_;
  ResultSet backgroundZones_;
  ResultSet forceCalls_;
  ResultSet origCalls_;
};

class CHPFileReader {
 public:
  void SetFilename(const std::string& name) { fileName_ = name; }
  // Clears `data`, then reads the headers of the reader's file (or, when it
  // has none, of the name `data` holds). The container's exceptions pass through.
  void Read(CHPData& data);

 private:
  std::string fileName_;
};

}  // namespace generic_io
