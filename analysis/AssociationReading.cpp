// Reading the genotype calls of an association's samples from their CHP files.
#include <algorithm>
#include <exception>
#include <memory>

#include "analysis/AssociationData.h"
#include "arrayfiles/cdf/UnifiedCDFData.h"
#include "arrayfiles/unified/UnifiedCHPData.h"
#include "core/ArrayTypes.h"
#include "core/GlobalData.h"
#include "core/ProgressBar.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace core = qova::core;

namespace {

constexpr const char* kCallsNotPerformed = "SNPs call is not performed";

std::uint8_t CallCode(const std::string& call) {
  if (call == "A") return 1;
  if (call == "AB") return 2;
  if (call == "B") return 3;
  return 0;
}

// The indexes of the library file's SNP probe sets ("SNP..." names), in file
// order; none when the file cannot be read.
std::vector<int> SnpProbeSets(const std::string& libraryPath) {
  unified_io::UnifiedCDFData cdf;
  cdf.SetFileName(libraryPath);
  std::vector<int> sets;
  if (!cdf.Read()) return sets;
  const int count = cdf.GetHeader().GetNumProbeSets();
  for (int j = 0; j < count; ++j) {
    if (cdf.GetProbeSetName(j).starts_with("SNP")) sets.push_back(j);
  }
  return sets;
}

// Reads one CHP file's calls of the SNP probe sets into `table` at first + k
// for the k-th SNP set. False when no reader gives the file's results; a
// reader may also throw, which counts the same. A probe set beyond the CHP's
// own rows is a no call.
bool ReadChpCalls(const std::string& path, const std::vector<int>& snpSets, std::int32_t first,
                  std::vector<std::uint8_t>& table) {
  std::fill(table.begin(), table.end(), 0);
  try {
    std::unique_ptr<unified_io::UnifiedCHPData> data = unified_io::UnifiedCHPDataReg::Read(path);
    unified_io::UnifiedCHPLegacyData* chp = unified_io::UnifiedCHPLegacyData::FromBase(data.get());
    if (chp == nullptr) return false;
    const int rows = chp->Adapter().GetHeader()->GetNumProbeSets();
    const std::size_t room = table.size() - static_cast<std::size_t>(first);
    const std::size_t taken = std::min(snpSets.size(), room);
    unified_io::UnifiedGenotypeProbeSetResults result;
    for (std::size_t k = 0; k < taken; ++k) {
      const int row = snpSets[k];
      if (row >= rows) continue;
      result = {};
      if (!chp->GetGenotypingResults(row, result)) continue;
      table[static_cast<std::size_t>(first) + k] = CallCode(result.GetAssignmentCallString());
    }
    return true;
  } catch (const std::exception&) {
    std::fill(table.begin(), table.end(), 0);
    return false;
  }
}

}  // namespace

bool AssociationData::ReadChpChipType(const std::string& path, std::u16string& chipType) {
  try {
    std::unique_ptr<unified_io::UnifiedCHPData> data = unified_io::UnifiedCHPDataReg::Read(path);
    unified_io::UnifiedCHPLegacyData* chp = unified_io::UnifiedCHPLegacyData::FromBase(data.get());
    if (chp == nullptr) return false;
    chipType = chp->GetHeader().GetChipType();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool AssociationData::ReadGenotypeCalls() {
  const CProgramSetting& setting = *global_->ProgramSetting;
  const std::string libraryPath = platform::JoinPath(setting.DefaultLibraryFolder, core::LibraryFileName(arrayType));
  if (!platform::FileExists(libraryPath)) return false;
  const core::ArrayTypeInfo* type = core::FindArrayType(arrayType);
  const CBasicData* annotation = type ? global_->BasicDataOfType(type->type) : nullptr;
  if (annotation == nullptr || annotation->IndexMap.size() < static_cast<std::size_t>(type->snpCount)) {
    // Without the family's table the calls cannot be put in position order.
    AfxMessageBox(platform::Format("The annotation table of %s is not loaded", arrayType.c_str()));
    return false;
  }
  const int t = type->type;
  const std::int32_t first = global_->ArrayFirstSnpIndex[t];
  const std::int32_t last = global_->ArrayLastSnpIndexX[t];
  const std::int32_t n = global_->ArraySnpCount[t];
  const std::vector<int> snpSets = SnpProbeSets(libraryPath);

  AllocateArrays();
  std::vector<std::uint8_t> table(static_cast<std::size_t>(n), 0);
  BOOL keepGoing = TRUE;
  CProgressBar progress(&keepGoing);
  progress.SetPosition(1);
  progress.SetPosition(0);
  std::vector<const std::string*> names;
  for (const std::string& name : caseNames) names.push_back(&name);
  for (const std::string& name : controlNames) names.push_back(&name);
  for (std::size_t s = 0; s < names.size(); ++s) {
    if (!keepGoing) {
      ReleaseArrays();
      return false;
    }
    const std::string& name = *names[s];
    progress.SetStatusText(platform::Format("Reading %s", name.c_str()));
    if (ReadChpCalls(platform::JoinPath(setting.DefaultDataFolder, name), snpSets, first, table)) {
      std::vector<std::uint8_t>& sample = calls[s];
      for (std::int32_t i = first; i <= last; ++i) {
        const std::int32_t row = annotation->IndexMap[static_cast<std::size_t>(i)];
        sample[static_cast<std::size_t>(i)] = row >= 0 && row < n ? table[static_cast<std::size_t>(row)] : 0;
      }
    } else {
      AfxMessageBox(kCallsNotPerformed);
    }
    progress.SetPosition(static_cast<int>(100 * (s + 1) / names.size()));
    CProgressBar::PumpMessages();
  }
  return true;
}
