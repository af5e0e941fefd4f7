#pragma once
// Format-independent access to one CHP file and its per-probe-set results.
// A result getter for another kind of file, or for an index outside
// 0 .. GetNumProbeSets() - 1, returns false and leaves the record untouched.
#include <cstdint>
#include <string>
#include <vector>

#include "arrayfiles/unified/IUnifiedCHPHeaderAdapter.h"
#include "arrayfiles/unified/UnifiedCHPResults.h"

namespace generic_io {
class GenericData;
}

namespace unified_io {

class IUnifiedCHPDataAdapter {
 public:
  virtual ~IUnifiedCHPDataAdapter() = default;

  virtual IUnifiedCHPHeaderAdapter* GetHeader() = 0;
  // True when this adapter can read the file; never throws.
  virtual bool CanReadFile() = 0;
  virtual std::string GetProbeSetName(int index) = 0;
  virtual bool GetExpressionResults(int index, UnifiedExpressionProbeSetResults& result) = 0;
  virtual bool GetGenotypingResults(int index, UnifiedGenotypeProbeSetResults& result) = 0;
  virtual bool GetUniversalResults(int index, UnifiedUniversalProbeSetResults& result) = 0;
  // Appends to the four lists of the record.
  virtual bool GetResequencingResults(UnifiedResequencingResults& result) = 0;
  // Asked before Read by a caller that wants only the genotype calls: an
  // adapter may then skip the other results of a genotyping file (and
  // GetGenotypingResults may answer false); GetGenotypeCalls answers alike.
  virtual void SetGenotypeCallsOnly(bool) {}
  // The call code of every probe set the header counts (index = probe-set
  // index), as GetGenotypingResults gives each (0 where it gives none);
  // false, and no calls, for a file that is not genotyping.
  virtual bool GetGenotypeCalls(std::vector<std::uint8_t>& calls) {
    calls.clear();
    if (GetHeader()->GetAssayType() != kAssayGenotyping) return false;
    UnifiedGenotypeProbeSetResults result;
    for (int i = 0, n = GetHeader()->GetNumProbeSets(); i < n; ++i) {
      result.alleleCall = 0;
      GetGenotypingResults(i, result);
      calls.push_back(result.alleleCall);
    }
    return true;
  }
  [[nodiscard]] virtual bool Read() = 0;
  virtual bool ReadHeader() = 0;
  virtual void SetFileName(const std::string& name) = 0;
  virtual std::string GetFileName() = 0;
  virtual void Clear() = 0;
  virtual std::string GetFileId() = 0;
  // The generic-format data of the file, or null for the legacy forms.
  virtual generic_io::GenericData* GetGenericData() = 0;
  // Why the last CanReadFile or Read failed, naming the place in the file
  // where the reader knows it; empty when it did not fail.
  [[nodiscard]] virtual std::string GetError() const { return {}; }
};

}  // namespace unified_io
