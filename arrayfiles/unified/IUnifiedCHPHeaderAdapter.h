#pragma once
// Format-independent access to the header of one CHP file: array type,
// algorithm and its parameters, chip-summary values (the called gender among
// them) and background zones.
#include <string>
#include <vector>

#include "arrayfiles/generic/UnifiedTagValuePair.h"
#include "arrayfiles/unified/UnifiedCHPResults.h"

namespace unified_io {

// Assay types as the adapters report them.
enum UnifiedAssayType : int {
  kAssayExpression = 0,
  kAssayGenotyping = 1,
  kAssayResequencing = 2,
  kAssayUniversal = 3,
  kAssayUnknown = 4,
};

class IUnifiedCHPHeaderAdapter {
 public:
  virtual ~IUnifiedCHPHeaderAdapter() = default;

  virtual int GetCols() = 0;
  virtual int GetRows() = 0;
  virtual int GetNumProbeSets() = 0;
  virtual int GetAssayType() = 0;
  virtual std::u16string GetChipType() = 0;
  virtual std::u16string GetAlgName() = 0;
  virtual std::u16string GetAlgVersion() = 0;
  // Appends one pair per parameter, in file order.
  virtual void GetAlgorithmParameters(UnifiedTagValuePairList& params) = 0;
  virtual int GetNumAlgorithmParameters() = 0;
  virtual int GetNumSummaryParameters() = 0;
  // Appends one pair per chip-summary parameter, in file order.
  virtual void GetSummaryParameters(UnifiedTagValuePairList& params) = 0;
  virtual std::u16string GetParentCellFile() = 0;
  virtual std::u16string GetProgID() = 0;
  // The value as text; empty when the file has no such parameter.
  virtual std::u16string GetAlgorithmParameter(const std::u16string& tag) = 0;
  virtual std::u16string GetSummaryParameter(const std::u16string& tag) = 0;
  // Count, smooth factor, and the zones appended to the info's list.
  virtual void GetBackgroundZoneInfo(UnifiedBackgroundZoneInfo& info) = 0;
  // Appends every zone to the list.
  virtual void GetBackgroundZones(std::vector<UnifiedBackgroundZone>& zones) = 0;
  // The zone of that index in file order; zeros outside the list.
  virtual UnifiedBackgroundZone GetBackgroundZone(int index) = 0;
  // Magic and version of the file (59 and 1 for the generic format); wider
  // than a byte because the legacy forms store 32-bit words.
  virtual int GetMagic() = 0;
  virtual int GetVersion() = 0;
};

}  // namespace unified_io
